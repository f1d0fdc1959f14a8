// The message catalogue: languages of locale names, patterns, and translations the font can draw.
#include "media/messages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "media/font.h"
#include "media/text.h"

namespace media {
namespace {

TEST(Messages, TheLanguageOfALocaleIsItsFirstPartAlone) {
  const std::pair<std::string_view, std::optional<Language>> cases[] = {
      {"fr_FR.UTF-8", Language::kFrench},
      {"de-AT", Language::kGerman},
      {"ja_JP.eucJP", Language::kJapanese},
      {"en_US@euro", Language::kEnglish},
      {"FR", Language::kFrench},
      {"ja", Language::kJapanese},
      {"C", std::nullopt},
      {"POSIX", std::nullopt},
      {"C.UTF-8", std::nullopt},
      {"pt_BR.UTF-8", std::nullopt},
      {"fra", std::nullopt},
      {"", std::nullopt},
      {"_FR", std::nullopt},
  };
  for (const auto& [locale, language] : cases)
    EXPECT_EQ(LanguageOfLocale(locale), language) << locale;
  for (Language l : kLanguages) EXPECT_EQ(LanguageOfLocale(LanguageCode(l)), l);
}

TEST(Messages, PatternsTakeTheirArgumentsInAnyOrder) {
  // An initializer_list kept in a table would outlive its elements: the cases hold vectors.
  const auto format = [](std::string_view pattern, const std::vector<std::string_view>& a) {
    switch (a.size()) {
      case 0:
        return Format(pattern, {});
      case 1:
        return Format(pattern, {a[0]});
      default:
        return Format(pattern, {a[0], a[1]});
    }
  };
  const std::tuple<std::string_view, std::vector<std::string_view>, std::string> cases[] = {
      {"{1} after {0}", {"a", "b"}, "b after a"},
      {"{0}{0}", {"x"}, "xx"},
      {"{2} stays", {"a", "b"}, "{2} stays"},  // no such argument
      {"{a} {", {"x"}, "{a} {"},
      {"100%", {}, "100%"},
  };
  for (const auto& [pattern, args, out] : cases) EXPECT_EQ(format(pattern, args), out) << pattern;
}

std::multiset<std::string> Placeholders(std::string_view text) {
  static const std::regex place(R"(\{\d\})");
  std::multiset<std::string> out;
  const std::string s(text);
  for (auto it = std::sregex_iterator(s.begin(), s.end(), place); it != std::sregex_iterator();
       ++it)
    out.insert(it->str());
  return out;
}

TEST(Messages, EachTranslationKeepsItsPlaceholdersAndTheFontDrawsIt) {
  ASSERT_FALSE(kCatalogue.empty());
  // Sorted by id, each once: a translation is found by a binary search.
  EXPECT_TRUE(std::is_sorted(kCatalogue.begin(), kCatalogue.end(),
                             [](const auto& a, const auto& b) { return a.id <= b.id; }));
  const Font* font = EmbeddedFont();
  ASSERT_TRUE(font);
  for (const CatalogueEntry& e : kCatalogue) {
    for (std::size_t i = 0; i < e.text.size(); ++i) {
      const Language language = kLanguages[i + 1];
      const std::string_view text = Translate(language, e.id);
      EXPECT_EQ(text, e.text[i].empty() ? e.id : e.text[i]);
      EXPECT_EQ(Placeholders(text), Placeholders(e.id)) << text;
      for (char32_t cp : DecodeGameText(std::string(text))) {
        const Glyph* glyph = font->Find(cp);
        EXPECT_TRUE(glyph && glyph != font->Find(0xFFFD))
            << text << " U+" << std::hex << static_cast<uint32_t>(cp);
      }
    }
    EXPECT_EQ(Translate(Language::kEnglish, e.id), e.id);
  }
  EXPECT_EQ(Translate(Language::kFrench, "no such text"), "no such text");
}

}  // namespace
}  // namespace media
