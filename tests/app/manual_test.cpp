// The manual page against --help: every option, key and file of the help is in the manual page.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/script_run.h"

namespace {

// The entries of each section of the help ("Options", "Keys", "Files"), by
// the section's first word: an entry is a line of two blanks and its name.
std::map<std::string, std::vector<std::string>> HelpEntries(const std::string& help) {
  std::map<std::string, std::vector<std::string>> sections;
  std::string section;
  std::istringstream lines(help);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line[0] != ' ' && line.back() == ':') {
      section = line.substr(0, line.find_first_of(" :"));
    } else if (!section.empty() && line.rfind("  ", 0) == 0 && line[2] != ' ') {
      sections[section].push_back(line.substr(2, line.find(' ', 2) - 2));
    }
  }
  return sections;
}

// The source of the manual page's section NAME, up to the next section.
std::string ManSection(const std::string& page, const std::string& name) {
  const std::size_t at = page.find("\n.SH " + name + "\n");
  if (at == std::string::npos) return "";
  return page.substr(at, page.find("\n.SH ", at + 1) - at);
}

// A name as troff source writes it: every hyphen escaped.
std::string Troff(const std::string& name) {
  std::string out;
  for (const char c : name) out += c == '-' ? std::string("\\-") : std::string(1, c);
  return out;
}

bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-'; }

// Whether text holds name as a whole word: \-\-mute is not in \-\-muted.
bool HoldsWord(const std::string& text, const std::string& name) {
  for (std::size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + 1)) {
    const std::size_t end = at + name.size();
    const bool before = at == 0 || !IsNameChar(text[at - 1]);
    const bool after = end == text.size() || !IsNameChar(name.back()) ||
                       (!IsNameChar(text[end]) && text.compare(end, 2, "\\-") != 0);
    if (before && after) return true;
  }
  return false;
}

// The lines of text that are troff requests (.B \-\-mute), where a manual
// page names what it describes.
std::string Requests(const std::string& text) {
  std::string out;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);)
    if (line.rfind(".", 0) == 0) out += line + "\n";
  return out;
}

TEST(Manual, ListsEveryOptionKeyAndFileOfTheHelp) {
  const auto help = testing_support::RunBinary({"--help"});
  ASSERT_EQ(help.exitCode, 0);
  const std::string page =
      testing_support::ReadFileBytes(std::string(RAPIKO_SOURCE_DIR) + "/dist/rapiko.6");
  const auto entries = HelpEntries(help.out);
  const std::pair<const char*, const char*> sections[] = {
      {"Options", "OPTIONS"}, {"Keys", "CONTROLS"}, {"Files", "FILES"}};
  for (const auto& [helpSection, manSection] : sections) {
    const auto found = entries.find(helpSection);
    ASSERT_NE(found, entries.end()) << "no " << helpSection << " in the help:\n" << help.out;
    ASSERT_GE(found->second.size(), 3u) << helpSection;
    const std::string text = ManSection(page, manSection);
    ASSERT_FALSE(text.empty()) << "no section " << manSection << " in the manual page";
    // An option has an entry of its own; a key or a file may be named in the text.
    const std::string where = manSection == std::string("OPTIONS") ? Requests(text) : text;
    for (const std::string& name : found->second)
      EXPECT_TRUE(HoldsWord(where, Troff(name)))
          << helpSection << " " << name << " of the help is not in the manual's " << manSection;
  }
}

// And the other way: an option the manual describes is one the program takes.
TEST(Manual, DescribesNoOptionTheProgramDoesNotTake) {
  const auto entries = HelpEntries(testing_support::RunBinary({"--help"}).out)["Options"];
  const std::string options = ManSection(
      testing_support::ReadFileBytes(std::string(RAPIKO_SOURCE_DIR) + "/dist/rapiko.6"), "OPTIONS");
  std::istringstream lines(options);
  int described = 0;
  for (std::string line; std::getline(lines, line);) {
    // A described option: ".B \-\-mute", ".BI \-\-dir " DIR"", ".BR \-h ", " \-\-help".
    const std::size_t at = line.find(" \\-\\-");
    if (line.rfind(".B", 0) != 0 || at == std::string::npos) continue;
    std::string name = line.substr(at + 1, line.find_first_of(" \"", at + 1) - at - 1);
    for (std::size_t e; (e = name.find("\\-")) != std::string::npos;) name.erase(e, 1);
    ++described;
    EXPECT_NE(std::find(entries.begin(), entries.end(), name), entries.end())
        << name << " is in the manual page but not in --help";
  }
  EXPECT_GE(described, static_cast<int>(entries.size()) - 1);  // --words comes twice in the help
}

}  // namespace
