// The texts the game shows, in the player's language: one catalogue, translated in .po files.
#include "media/messages.h"

#include <algorithm>

#include "media/font.h"
#include "media/text.h"

namespace media {
namespace {

// The one list of languages, by code, in the order the options screen
// offers them: English, then each language of a catalogue assets/po/CODE.po.
constexpr std::string_view kCodes[] = {"en", "ja", "fr", "de"};

// The catalogue of a language; none for English, the code's own.
const Catalogue* CatalogueOf(Language language) {
  const std::string_view code = LanguageCode(language);
  const auto at = std::find_if(kCatalogues.begin(), kCatalogues.end(),
                               [code](const Catalogue& c) { return c.code == code; });
  return at == kCatalogues.end() ? nullptr : &*at;
}

}  // namespace

int LanguageCount() { return static_cast<int>(std::size(kCodes)); }
std::string_view LanguageCode(Language language) {
  return kCodes[static_cast<std::size_t>(language.index)];
}
std::string_view LanguageName(Language language) {
  const Catalogue* catalogue = CatalogueOf(language);
  return catalogue ? catalogue->name : "English";
}

std::string LanguageCodeList() {
  std::string list;
  for (std::size_t i = 0; i < std::size(kCodes); ++i) {
    if (i > 0) list += i + 1 < std::size(kCodes) ? ", " : " or ";
    list += kCodes[i];
  }
  return list;
}

std::optional<Language> LanguageOfLocale(std::string_view locale) {
  // The language is the part before the territory, the encoding and the modifier.
  const std::string_view code = locale.substr(0, locale.find_first_of("_-.@"));
  for (std::size_t i = 0; i < std::size(kCodes); ++i) {
    const std::string_view known = kCodes[i];
    if (code.size() == known.size() && std::equal(code.begin(), code.end(), known.begin(),
                                                  [](char a, char b) { return (a | 0x20) == b; })) {
      return Language{static_cast<int8_t>(i)};
    }
  }
  return std::nullopt;
}

namespace {

const CatalogueEntry* EntryOf(const Catalogue& catalogue, std::string_view id) {
  const std::span<const CatalogueEntry> entries = catalogue.entries;
  const auto at =
      std::lower_bound(entries.begin(), entries.end(), id,
                       [](const CatalogueEntry& e, std::string_view v) { return e.id < v; });
  return at == entries.end() || at->id != id ? nullptr : &*at;
}

}  // namespace

std::string_view Translate(Language language, std::string_view id) {
  const Catalogue* catalogue = CatalogueOf(language);
  if (!catalogue) return id;  // English, the code's own
  const CatalogueEntry* entry = EntryOf(*catalogue, id);
  return entry && !entry->text.empty() ? entry->text : id;
}

std::string_view TranslateCount(Language language, std::string_view one, std::string_view other,
                                int64_t n) {
  const Catalogue* catalogue = CatalogueOf(language);
  const CatalogueEntry* entry = catalogue ? EntryOf(*catalogue, one) : nullptr;
  if (!entry || entry->text.empty()) return n == 1 ? one : other;
  bool second = n != 1;
  if (catalogue->plurals == Plurals::kZeroOneOther) second = n > 1;
  if (catalogue->plurals == Plurals::kOneForm) second = false;
  return second && !entry->other.empty() ? entry->other : entry->text;
}

std::string Format(std::string_view pattern, std::initializer_list<std::string_view> args) {
  std::string out;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const std::size_t n = i + 2 < pattern.size() && pattern[i] == '{' && pattern[i + 2] == '}'
                              ? static_cast<std::size_t>(pattern[i + 1] - '0')
                              : args.size();
    if (n < args.size()) {
      out += args.begin()[n];
      i += 2;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

int32_t TextWidth(std::string_view text) {
  const Font* font = EmbeddedFont();
  return font ? font->TextWidth(DecodeGameText(std::string(text))) : 0;
}

std::string CutToWidth(std::string text, int32_t width, std::string_view marker) {
  if (TextWidth(text) <= width) return text;
  while (!text.empty() && TextWidth(text + std::string(marker)) > width) {
    while ((static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) text.pop_back();
    text.pop_back();
  }
  return text + std::string(marker);
}

}  // namespace media
