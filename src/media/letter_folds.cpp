// Accented Latin letters as the plain letters a player types for them: É as E, ß as SS.
#include "media/letter_folds.h"

#include <cstddef>
#include <cstdint>
#include <iterator>

namespace media {
namespace {

// U+00C0 to U+017F, the letters of Latin-1 and Latin Extended-A, eight to a
// row. Letters with a stroke, a dot or a hook (Ø, Đ, Ł, Ŀ, ı, Ŋ), the kra
// and the long s fold to the plain letter they are written like; the
// ligatures to their two letters.
constexpr char32_t kFirstFolded = 0xC0;
// clang-format off
constexpr std::string_view kFolds[] = {
    "A",  "A",  "A",  "A",  "A",  "A",  "AE", "C",  // À Á Â Ã Ä Å Æ Ç
    "E",  "E",  "E",  "E",  "I",  "I",  "I",  "I",  // È É Ê Ë Ì Í Î Ï
    "D",  "N",  "O",  "O",  "O",  "O",  "O",  "",   // Ð Ñ Ò Ó Ô Õ Ö ×
    "O",  "U",  "U",  "U",  "U",  "Y",  "",   "SS", // Ø Ù Ú Û Ü Ý Þ ß
    "A",  "A",  "A",  "A",  "A",  "A",  "AE", "C",  // à á â ã ä å æ ç
    "E",  "E",  "E",  "E",  "I",  "I",  "I",  "I",  // è é ê ë ì í î ï
    "D",  "N",  "O",  "O",  "O",  "O",  "O",  "",   // ð ñ ò ó ô õ ö ÷
    "O",  "U",  "U",  "U",  "U",  "Y",  "",   "Y",  // ø ù ú û ü ý þ ÿ
    "A",  "A",  "A",  "A",  "A",  "A",  "C",  "C",  // Ā ā Ă ă Ą ą Ć ć
    "C",  "C",  "C",  "C",  "C",  "C",  "D",  "D",  // Ĉ ĉ Ċ ċ Č č Ď ď
    "D",  "D",  "E",  "E",  "E",  "E",  "E",  "E",  // Đ đ Ē ē Ĕ ĕ Ė ė
    "E",  "E",  "E",  "E",  "G",  "G",  "G",  "G",  // Ę ę Ě ě Ĝ ĝ Ğ ğ
    "G",  "G",  "G",  "G",  "H",  "H",  "H",  "H",  // Ġ ġ Ģ ģ Ĥ ĥ Ħ ħ
    "I",  "I",  "I",  "I",  "I",  "I",  "I",  "I",  // Ĩ ĩ Ī ī Ĭ ĭ Į į
    "I",  "I",  "IJ", "IJ", "J",  "J",  "K",  "K",  // İ ı Ĳ ĳ Ĵ ĵ Ķ ķ
    "K",  "L",  "L",  "L",  "L",  "L",  "L",  "L",  // ĸ Ĺ ĺ Ļ ļ Ľ ľ Ŀ
    "L",  "L",  "L",  "N",  "N",  "N",  "N",  "N",  // ŀ Ł ł Ń ń Ņ ņ Ň
    "N",  "N",  "N",  "N",  "O",  "O",  "O",  "O",  // ň ŉ Ŋ ŋ Ō ō Ŏ ŏ
    "O",  "O",  "OE", "OE", "R",  "R",  "R",  "R",  // Ő ő Œ œ Ŕ ŕ Ŗ ŗ
    "R",  "R",  "S",  "S",  "S",  "S",  "S",  "S",  // Ř ř Ś ś Ŝ ŝ Ş ş
    "S",  "S",  "T",  "T",  "T",  "T",  "T",  "T",  // Š š Ţ ţ Ť ť Ŧ ŧ
    "U",  "U",  "U",  "U",  "U",  "U",  "U",  "U",  // Ũ ũ Ū ū Ŭ ŭ Ů ů
    "U",  "U",  "U",  "U",  "W",  "W",  "Y",  "Y",  // Ű ű Ų ų Ŵ ŵ Ŷ ŷ
    "Y",  "Z",  "Z",  "Z",  "Z",  "Z",  "Z",  "S",  // Ÿ Ź ź Ż ż Ž ž ſ
};
// clang-format on
constexpr char32_t kEndFolded = kFirstFolded + std::size(kFolds);
static_assert(kEndFolded == 0x180, "one entry for each letter of the two blocks");

// The capital sharp s, the one letter outside the two blocks.
constexpr char32_t kCapitalSharpS = 0x1E9E;

constexpr char32_t kFirstCombiningAccent = 0x300;
constexpr char32_t kLastCombiningAccent = 0x36F;

bool IsContinuation(uint8_t b) { return (b & 0xC0) == 0x80; }

// The code point of the valid two- or three-byte UTF-8 sequence at text[i]
// and its length, or 0 for anything else. Every letter and accent folded
// here is written in two bytes, but ẞ, in three starting E1; a lead byte is
// never part of another valid sequence, so a match is always a whole one.
std::size_t SequenceAt(std::string_view text, std::size_t i, char32_t& cp) {
  const auto at = [&](std::size_t k) { return static_cast<uint8_t>(text[i + k]); };
  const std::size_t left = text.size() - i;
  if (at(0) >= 0xC2 && at(0) <= 0xDF && left >= 2 && IsContinuation(at(1))) {
    cp = static_cast<char32_t>((at(0) & 0x1F) << 6 | (at(1) & 0x3F));
    return 2;
  }
  if (at(0) == 0xE1 && left >= 3 && IsContinuation(at(1)) && IsContinuation(at(2))) {
    cp = static_cast<char32_t>(0x1000 | (at(1) & 0x3F) << 6 | (at(2) & 0x3F));
    return 3;
  }
  return 0;
}

bool EndsInLetter(const std::string& s) {
  if (s.empty()) return false;
  const char c = s.back();
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

std::string_view FoldedLetter(char32_t c) {
  if (c >= kFirstFolded && c < kEndFolded) return kFolds[c - kFirstFolded];
  if (c == kCapitalSharpS) return "SS";
  return {};
}

std::string FoldAccents(std::string_view text, bool& folded) {
  folded = false;
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    char32_t cp = 0;
    const std::size_t length = SequenceAt(text, i, cp);
    if (length > 0) {
      const std::string_view plain = FoldedLetter(cp);
      const bool accent = cp >= kFirstCombiningAccent && cp <= kLastCombiningAccent;
      if (!plain.empty() || (accent && EndsInLetter(out))) {
        out += plain;
        folded = true;
        i += length;
        continue;
      }
    }
    out += text[i++];
  }
  return out;
}

}  // namespace media
