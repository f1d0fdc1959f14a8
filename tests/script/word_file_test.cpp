// The word file as the whole game reads it at start-up, seen through `state`.
#include <gtest/gtest.h>

#include "support/script_run.h"

namespace {

using nlohmann::json;
using testing_support::GameDir;
using testing_support::ReadFileBytes;
using testing_support::RunScript;

json StateFor(const std::string& words) {
  GameDir dir(words);
  auto r = RunScript(dir, "state\n");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  return r.States().at(0);
}

TEST(WordFile, ExamplesOfTheFormat) {
  const json s = StateFor("cat,Dog\r\nEMU\r\nNEW YORK\nNEW,YORK\nX-1\n\"a,b c\"\nok\n\n,,\n");
  EXPECT_EQ(s["wordCount"], 6);
  EXPECT_EQ(s["words"][1], "CAT");
  EXPECT_EQ(s["words"][3], "EMU");
  EXPECT_EQ(s["words"][4], "NEW");
  EXPECT_EQ(s["words"][5], "YORK");
  EXPECT_EQ(s["words"][6], "X-1");
  EXPECT_EQ(s["wordStart"][2], 3);
  EXPECT_EQ(s["letterCount"], 19);
  const std::vector<int> first = {46, 30, 20, 32, 24, 34, 18, 50, 22};
  for (size_t i = 0; i < first.size(); ++i) EXPECT_EQ(s["letterKeys"][i], first[i]) << i;
  EXPECT_EQ(s["letterKeys"][16], 45);
  EXPECT_EQ(s["letterKeys"][17], 12);
  EXPECT_EQ(s["letterKeys"][18], 2);
}

TEST(WordFile, TheFirstHundredOfAHundredAndFiftyWords) {
  std::string words;
  for (int i = 0; i < 150; ++i)
    words += "W" + std::string(1, static_cast<char>('A' + i % 26)) + "X\r\n";
  const json s = StateFor(words);
  EXPECT_EQ(s["wordCount"], 100);
  EXPECT_EQ(s["letterCount"], 300);
  EXPECT_EQ(s["words"][100], "WVX");
}

TEST(WordFile, AWordPastTheLetterLimitIsCutAndEndsTheReading) {
  // 98 words of 10 letters and one of 15: 995 letters; then 8 more.
  std::string words;
  for (int i = 0; i < 98; ++i) words += "ABCDEFGHIJ\n";
  words += "ABCDEFGHIJKLMNO\nABCDEFGH\nCAT\n";
  const json s = StateFor(words);
  EXPECT_EQ(s["wordCount"], 100);
  EXPECT_EQ(s["letterCount"], 1001);
  EXPECT_EQ(s["wordStart"][100], 995);
  EXPECT_EQ(s["words"][100], "ABCDEFGH");
  EXPECT_EQ(s["letterKeys"][995], 30);
  EXPECT_EQ(s["letterKeys"][1000], 33);  // F, the sixth letter
}

TEST(WordFile, TheShippedPracticeListsLoadWhole) {
  for (const char* name : {"home", "top", "bottom", "digits", "english"}) {
    const std::string text =
        ReadFileBytes(std::string(RAPIKO_ASSETS_DIR) + "/words/" + name + ".ini");
    std::vector<std::string> lines;
    for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
      lines.push_back(text.substr(at, end - at));
    ASSERT_FALSE(lines.empty()) << name;
    const json s = StateFor(text);
    ASSERT_EQ(s["wordCount"], lines.size()) << name;
    for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(s["words"][i + 1], lines[i]) << name;
  }
}

}  // namespace
