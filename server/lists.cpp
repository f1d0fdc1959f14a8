// The word lists the server ranks: those the game ships, and an operator's.
#include "server/lists.h"

#include <algorithm>
#include <stdexcept>

#include "replay/ticket_start.h"
#include "server/crypto.h"
#include "state/game_state.h"
#include "storage/folders.h"
#include "storage/read.h"
#include "typing/word_data.h"

namespace server {
namespace {

std::vector<std::string> WordsOf(const std::string& bytes) {
  auto g = std::make_unique<state::GameState>();
  typing::LoadWordDataFromBytes(*g, bytes);
  return {g->words.begin() + 1, g->words.begin() + 1 + g->wordCount};
}

}  // namespace

WordLists::WordLists(const std::string& folder) {
  for (const auto& [name, bytes] : ShippedLists()) Add(name, bytes);
  if (folder.empty()) return;
  std::vector<std::string> names = storage::ListFolder(folder);
  std::sort(names.begin(), names.end());
  for (const std::string& file : names) {
    if (file.size() <= 4 || !file.ends_with(".ini")) continue;
    const storage::FileRead read =
        storage::ReadWholeFile(folder + "/" + file, typing::kMaxWordFileBytes);
    if (!read.complete) throw std::runtime_error("--lists: cannot read " + folder + "/" + file);
    Add(file.substr(0, file.size() - 4), read.bytes);
  }
}

void WordLists::Add(const std::string& name, const std::string& bytes) {
  if (Find(name)) throw std::runtime_error("two word lists named " + name);
  WordList list{.name = name, .words = WordsOf(bytes), .hash = {}};
  // A ticket carries the words one a line: they must read back as they are.
  const std::string text = replay::TicketWordText(list.words);
  if (list.words.empty()) throw std::runtime_error("the word list " + name + " gives no word");
  if (WordsOf(text) != list.words) {
    throw std::runtime_error("the word list " + name +
                             " cannot be sent one word a line (a word cut at the letter limit)");
  }
  list.hash = Sha256Hex(text);
  lists_.push_back(std::move(list));
}

const WordList* WordLists::Find(const std::string& name) const {
  for (const WordList& list : lists_) {
    if (list.name == name) return &list;
  }
  return nullptr;
}

}  // namespace server
