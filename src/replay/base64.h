// Base64, the form in which a recording carries the bytes of a file on one line.
#pragma once

#include <string>

namespace replay {

std::string Base64(const std::string& bytes);
// Decodes up to the first character that is not of the alphabet ('=' padding, a line's end).
std::string FromBase64(const std::string& text);

}  // namespace replay
