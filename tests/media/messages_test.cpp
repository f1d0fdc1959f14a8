// The message catalogues: every translation keeps its placeholders and the font draws it (the
// languages of locale names and the patterns: cases/messages.txt).
#include "media/messages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "media/font.h"
#include "media/text.h"

namespace media {
namespace {

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
  const Font* font = EmbeddedFont();
  ASSERT_TRUE(font);
  const auto expectDrawn = [font](std::string_view text) {
    for (char32_t cp : DecodeGameText(std::string(text))) {
      const Glyph* glyph = font->Find(cp);
      EXPECT_TRUE(glyph && glyph != font->Find(0xFFFD))
          << text << " U+" << std::hex << static_cast<uint32_t>(cp);
    }
  };
  // Each language but English (the code's own) has its catalogue, and each catalogue a language.
  std::set<std::string_view> codes;
  for (int i = 0; i < LanguageCount(); ++i) {
    const Language language{static_cast<int8_t>(i)};
    expectDrawn(LanguageName(language));
    if (language != Language::kEnglish) codes.insert(LanguageCode(language));
  }
  std::set<std::string_view> catalogues;
  for (const Catalogue& c : kCatalogues) catalogues.insert(c.code);
  EXPECT_EQ(catalogues, codes);

  for (const Catalogue& c : kCatalogues) {
    ASSERT_FALSE(c.entries.empty()) << c.code;
    // Sorted by id, each once: a translation is found by a binary search.
    EXPECT_TRUE(std::is_sorted(c.entries.begin(), c.entries.end(),
                               [](const auto& a, const auto& b) { return a.id <= b.id; }));
    const Language language = *LanguageOfLocale(c.code);
    for (const CatalogueEntry& e : c.entries) {
      const std::string_view text = Translate(language, e.id);
      EXPECT_EQ(text, e.text.empty() ? e.id : e.text);
      EXPECT_EQ(Placeholders(text), Placeholders(e.id)) << text;
      expectDrawn(text);
      EXPECT_EQ(Placeholders(e.other),
                e.other.empty() ? std::multiset<std::string>{} : Placeholders(e.id))
          << e.other;
      expectDrawn(e.other);
      EXPECT_EQ(Translate(Language::kEnglish, e.id), e.id);
    }
    EXPECT_EQ(Translate(language, "no such text"), "no such text");
  }
}

}  // namespace
}  // namespace media
