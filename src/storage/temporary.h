// The names of temporary files: unguessable, and known again when a game died leaving one.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace storage {

// A temporary is named after the file it stands in for: PATH.tmp-XXXXXXXXXXXX.
constexpr std::string_view kTemporaryInfix = ".tmp-";
constexpr std::size_t kRandomNameLength = 12;

// path followed by the infix and kRandomNameLength random letters and
// digits: a name no one can plant a file or a link at ahead of time.
std::string TemporaryName(const std::string& path);

// A name that ends in the infix and such random letters and digits.
bool IsTemporaryName(std::string_view name);

// Fills bytes with random bytes, from the system, else from the clock.
void RandomBytes(unsigned char* bytes, std::size_t count);

}  // namespace storage
