// The texts the game shows, in the player's language: one catalogue, translated in .po files.
#include "media/messages.h"

#include <algorithm>

#include "media/font.h"
#include "media/text.h"

namespace media {
namespace {

struct LanguageInfo {
  Language language;
  std::string_view code;
  std::string_view name;
};
constexpr LanguageInfo kInfo[] = {{Language::kEnglish, "en", "English"},
                                  {Language::kJapanese, "ja", "日本語"},
                                  {Language::kFrench, "fr", "Français"},
                                  {Language::kGerman, "de", "Deutsch"}};

const LanguageInfo& InfoOf(Language language) { return kInfo[static_cast<std::size_t>(language)]; }

}  // namespace

std::string_view LanguageCode(Language language) { return InfoOf(language).code; }
std::string_view LanguageName(Language language) { return InfoOf(language).name; }

std::optional<Language> LanguageOfLocale(std::string_view locale) {
  // The language is the part before the territory, the encoding and the modifier.
  const std::string_view code = locale.substr(0, locale.find_first_of("_-.@"));
  for (const LanguageInfo& info : kInfo) {
    if (code.size() == 2 && std::equal(code.begin(), code.end(), info.code.begin(),
                                       [](char a, char b) { return (a | 0x20) == b; })) {
      return info.language;
    }
  }
  return std::nullopt;
}

std::string_view Translate(Language language, std::string_view id) {
  if (language == Language::kEnglish) return id;
  const auto at =
      std::lower_bound(kCatalogue.begin(), kCatalogue.end(), id,
                       [](const CatalogueEntry& e, std::string_view v) { return e.id < v; });
  if (at == kCatalogue.end() || at->id != id) return id;
  const std::string_view text = at->text[static_cast<std::size_t>(language) - 1];
  return text.empty() ? id : text;
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

}  // namespace media
