// The word lists the server ranks: those the game ships, and an operator's.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace server {

struct WordList {
  std::string name;
  std::vector<std::string> words;  // as the game's word reader reads them
  std::string hash;                // of their word file's text
};

// The lists the game ships, built into the server: (name, file bytes).
std::vector<std::pair<std::string, std::string>> ShippedLists();

class WordLists {
 public:
  // The shipped lists, and each NAME.ini of folder (when not empty) as the
  // list NAME, as the game's words/ folder names them. Throws
  // std::runtime_error, saying which, for a list that gives no word, one
  // whose words the reader would not read back the same, or a name twice.
  explicit WordLists(const std::string& folder);

  const WordList* Find(const std::string& name) const;
  const std::vector<WordList>& All() const { return lists_; }

 private:
  void Add(const std::string& name, const std::string& bytes);
  std::vector<WordList> lists_;
};

}  // namespace server
