// The texts the game shows, in the player's language: one catalogue, translated in .po files.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace media {

// A language the game speaks: its place in the one list of languages
// (messages.cpp), in the order the options screen offers them. English, the
// language of the code, comes first; each other language has its catalogue,
// assets/po/CODE.po, compiled into the program, whose header gives its own
// name. Adding a language is its code in that list and its .po file.
struct Language {
  int8_t index = 0;
  bool operator==(const Language&) const = default;
  static const Language kEnglish;
};
inline constexpr Language Language::kEnglish{};

// How many languages the game speaks: Language{0} up to this, not included.
int LanguageCount();
// "en", "ja", "fr", "de".
std::string_view LanguageCode(Language language);
// The language's own name for itself ("日本語", "Français").
std::string_view LanguageName(Language language);
// Every language's code, as a help text names them: "en, ja, fr or de".
std::string LanguageCodeList();
// The language of a code or a locale name: "fr", "fr_CA.UTF-8", "de-AT",
// "ja_JP.eucJP"; nothing for another or for "C" and "POSIX".
std::optional<Language> LanguageOfLocale(std::string_view locale);

// One message of a catalogue: its English text and its translation (an
// empty translation falls back to the English); a text that counts has its
// second form too (msgstr[1]), for the counts the language's rule says.
struct CatalogueEntry {
  std::string_view id;
  std::string_view text;
  std::string_view other = {};
};
// Which counts take a text's second form (the .po header's Plural-Forms).
enum class Plurals : uint8_t {
  kOneOther,      // all but 1 (English, German)
  kZeroOneOther,  // all above 1 (French)
  kOneForm,       // none (Japanese)
};
// The messages of one assets/po/CODE.po, sorted by id, and the language's
// own name for itself (the header's X-Language-Name).
struct Catalogue {
  std::string_view code;
  std::string_view name;
  std::span<const CatalogueEntry> entries;
  Plurals plurals = Plurals::kOneOther;
};
// Every catalogue of assets/po/, by code (made at build time).
extern const std::span<const Catalogue> kCatalogues;

// Marks an English text kept to be translated where it is shown (in a table
// of labels, say), so that the catalogue's check finds it.
constexpr std::string_view Msg(std::string_view id) { return id; }

// The text of the English message id in language: its translation, or id
// itself where there is none.
std::string_view Translate(Language language, std::string_view id);
// The form of a text that counts n things: in English one for 1, other for
// the rest; in another language the form its rule gives for n.
std::string_view TranslateCount(Language language, std::string_view one, std::string_view other,
                                int64_t n);

// pattern with {0}, {1}, ... replaced by the arguments: a translation may
// put them in another order.
std::string Format(std::string_view pattern, std::initializer_list<std::string_view> args);

// The width of text in the font's pixels: 8 for a narrow glyph, 16 for a
// wide one (text is UTF-8 where valid, Latin-1 otherwise, as drawn).
int32_t TextWidth(std::string_view text);

// The text cut, a whole character at a time, to at most width pixels, marker (say "...")
// added where it was cut and counted in the width.
std::string CutToWidth(std::string text, int32_t width, std::string_view marker = "");

}  // namespace media
