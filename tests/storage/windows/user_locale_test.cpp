// The player's locale on Windows: the variables a player or a test sets, else the system's
// language.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "storage/user_folder.h"

namespace {

// Sets the locale variables (nullptr unsets one) and puts them back at the end.
class LocaleVariables : public ::testing::Test {
 protected:
  static constexpr const char* kNames[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  LocaleVariables() {
    for (const char* name : kNames) {
      const char* value = std::getenv(name);
      saved_.push_back(value ? value : "");
    }
  }
  ~LocaleVariables() override {
    for (std::size_t i = 0; i < saved_.size(); ++i) _putenv_s(kNames[i], saved_[i].c_str());
  }
  void Set(const char* all, const char* messages, const char* lang) {
    const char* values[] = {all, messages, lang};
    for (std::size_t i = 0; i < 3; ++i) _putenv_s(kNames[i], values[i] ? values[i] : "");
  }

 private:
  std::vector<std::string> saved_;
};

// The first variable set wins, as on Linux. Windows sets none of them: then the language Windows
// speaks to the player, as a name whose first part is the language ("en-US").
TEST_F(LocaleVariables, TheFirstVariableSetElseTheSystemsLanguage) {
  Set("fr_FR.UTF-8", "de_DE", "ja_JP.UTF-8");
  EXPECT_EQ(storage::UserLocale(), "fr_FR.UTF-8");
  Set(nullptr, "de_DE", "ja_JP.UTF-8");
  EXPECT_EQ(storage::UserLocale(), "de_DE");
  Set(nullptr, nullptr, "ja_JP.UTF-8");
  EXPECT_EQ(storage::UserLocale(), "ja_JP.UTF-8");
  Set(nullptr, nullptr, nullptr);
  const std::string locale = storage::UserLocale();
  ASSERT_GE(locale.size(), 2u);
  EXPECT_TRUE(std::islower(static_cast<unsigned char>(locale[0])) &&
              std::islower(static_cast<unsigned char>(locale[1])))
      << locale;
  EXPECT_TRUE(locale.size() == 2 || locale[2] == '-') << locale;
}

}  // namespace
