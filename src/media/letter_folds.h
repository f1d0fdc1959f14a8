// Accented Latin letters as the plain letters a player types for them: É as E, ß as SS.
#pragma once

#include <string>
#include <string_view>

namespace media {

// The plain upper-case letters that stand for the letter c: one for a
// letter with a diacritic (É, ü, Ç, Ł, ...), two for ß, ẞ, Æ, Œ and Ĳ in
// either case. Empty for anything else: other scripts, signs, and the Latin
// letters that are not a plain letter with a mark (Þ, þ).
std::string_view FoldedLetter(char32_t c);

// The UTF-8 text with each letter that FoldedLetter folds replaced by its
// plain letters, and each combining accent (U+0300 to U+036F) that follows a
// letter removed. Every other byte, valid text or not, is kept as it is, so
// what the word table cannot hold still drops its item. Sets folded when
// anything was replaced or removed.
std::string FoldAccents(std::string_view text, bool& folded);

}  // namespace media
