// Decoding of the game's text bytes: UTF-8 where valid, Latin-1 otherwise.
#pragma once

#include <string>
#include <string_view>

namespace media {

// Valid UTF-8 sequences become their code points; every byte that does not
// start a valid sequence becomes the code point of that byte (Latin-1), so
// files written in either encoding read sensibly and nothing is lost.
std::u32string DecodeGameText(const std::string& bytes);

// The same decoding re-encoded as valid UTF-8, for JSON output.
std::string ToJsonUtf8(const std::string& bytes);

// Appends one code point as UTF-8 (U+FFFD for surrogates and values above
// U+10FFFF, which UTF-8 cannot carry).
void AppendUtf8(std::string& out, char32_t cp);

// UTF-16 text (after its byte-order mark) as UTF-8. An unpaired surrogate
// and a last odd byte become U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian);

}  // namespace media
