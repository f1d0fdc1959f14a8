// The texts the game shows, in the player's language: one catalogue, translated in .po files.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace media {

// The languages the game speaks. English is the language of the code; the
// others come from assets/po/CODE.po, compiled into the program.
enum class Language : int8_t { kEnglish, kJapanese, kFrench, kGerman };
constexpr std::array<Language, 4> kLanguages = {Language::kEnglish, Language::kJapanese,
                                                Language::kFrench, Language::kGerman};

// "en", "ja", "fr", "de".
std::string_view LanguageCode(Language language);
// The language's own name for itself ("日本語", "Français").
std::string_view LanguageName(Language language);
// The language of a code or a locale name: "fr", "fr_CA.UTF-8", "de-AT",
// "ja_JP.eucJP"; nothing for another or for "C" and "POSIX".
std::optional<Language> LanguageOfLocale(std::string_view locale);

// One message: its English text, then its Japanese, French and German
// (an empty translation falls back to the English).
struct CatalogueEntry {
  std::string_view id;
  std::array<std::string_view, 3> text;
};
// Every message of assets/po/, sorted by id (made at build time).
extern const std::span<const CatalogueEntry> kCatalogue;

// Marks an English text kept to be translated where it is shown (in a table
// of labels, say), so that the catalogue's check finds it.
constexpr std::string_view Msg(std::string_view id) { return id; }

// The text of the English message id in language: its translation, or id
// itself where there is none.
std::string_view Translate(Language language, std::string_view id);

// pattern with {0}, {1}, ... replaced by the arguments: a translation may
// put them in another order.
std::string Format(std::string_view pattern, std::initializer_list<std::string_view> args);

// The width of text in the font's pixels: 8 for a narrow glyph, 16 for a
// wide one (text is UTF-8 where valid, Latin-1 otherwise, as drawn).
int32_t TextWidth(std::string_view text);

}  // namespace media
