// What an append adds to a file, the same on every system: each side's AppendLines writes it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace storage {

// The bytes that AppendLines writes after a file's oldSize bytes, whose last
// byte is lastByte (not looked at when oldSize is 0): header as the first
// line of an empty file; a line end first when the last line was cut short
// by a crash, so that it stays a line of its own (and is skipped when read)
// instead of running into the first new one; then lines.
std::string AppendedBytes(uint64_t oldSize, char lastByte, std::string_view header,
                          std::string_view lines);

}  // namespace storage
