// What reading the word file left out, and the one line that tells the player.
#include "typing/word_report.h"

#include "media/text.h"
#include "state/game_state.h"
#include "typing/word_data.h"

namespace typing {
namespace {

// Long items are cut in the message: the line number finds the rest.
constexpr std::size_t kShownItemLength = 20;

// The item in quotes, readable on a terminal whatever its bytes.
std::string Quoted(const std::string& item) {
  const std::u32string text = media::DecodeGameText(item);
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size() && i < kShownItemLength; ++i) {
    const char32_t c = text[i];
    media::AppendUtf8(out, (c < 0x20 || (c >= 0x7F && c < 0xA0)) ? U'?' : c);
  }
  if (text.size() > kShownItemLength) out += "...";
  return out + "\"";
}

std::string Why(WordProblem problem, const std::string& failure) {
  switch (problem) {
    case WordProblem::kBadCharacter:
      return "only A-Z, 0-9 and - are allowed";
    case WordProblem::kTooShort:
      return "fewer than " + std::to_string(kMinWordLength) + " characters";
    case WordProblem::kWordLimit:
      return "the " + std::to_string(state::kMaxWords) + "-word limit";
    case WordProblem::kLetterLimit:
      return "the " + std::to_string(state::kMaxLetters) + "-letter limit";
    case WordProblem::kWordCut:
      return "cut at the " + std::to_string(state::kMaxLetters) + "-letter limit";
    case WordProblem::kItemTooLong:
      return "an item longer than " + std::to_string(kMaxItemLength) + " characters";
    case WordProblem::kReadFailed:
      return failure;
  }
  return {};
}

std::string Describe(const WordNote& note, const std::string& failure) {
  std::string out = "line " + std::to_string(note.line);
  if (!note.item.empty()) out += " " + Quoted(note.item);
  return out + ": " + Why(note.problem, failure);
}

// What was folded, dropped and where the reading stopped; empty when none.
std::string Details(const WordReport& r) {
  std::string what;
  if (r.folded > 0) {
    what = std::to_string(r.folded) + (r.folded == 1 ? " word" : " words") +
           " with accented letters folded (";
    for (std::size_t i = 0; i < r.firstFolded.size(); ++i) {
      const FoldNote& note = r.firstFolded[i];
      what += (i ? "; line " : "line ") + std::to_string(note.line) + " " + Quoted(note.item) +
              " as " + Quoted(note.word);
    }
    what += r.folded > static_cast<int>(r.firstFolded.size()) ? "; ...)" : ")";
  }
  if (r.dropped > 0) {
    what += what.empty() ? "" : "; ";
    what += std::to_string(r.dropped) + (r.dropped == 1 ? " item" : " items") + " dropped (";
    for (std::size_t i = 0; i < r.firstDropped.size(); ++i)
      what += (i ? "; " : "") + Describe(r.firstDropped[i], r.failure);
    what += r.dropped > static_cast<int>(r.firstDropped.size()) ? "; ...)" : ")";
  }
  if (r.stopped)
    what += (what.empty() ? "" : "; ") + ("reading stopped at " + Describe(*r.stopped, r.failure));
  return what;
}

}  // namespace

void WordReport::Drop(WordProblem problem, int line, std::string_view item) {
  if (firstDropped.size() < kShownDrops) firstDropped.push_back({problem, line, std::string(item)});
  ++dropped;
}

void WordReport::Fold(int line, std::string_view item, const std::string& word) {
  if (firstFolded.size() < kShownDrops) firstFolded.push_back({line, std::string(item), word});
  ++folded;
}

std::string WhyNoWords(const WordReport& r) {
  if (!r.opened) return "cannot open it: " + r.failure;
  const std::string what = Details(r);
  if (!what.empty()) return what;
  return r.empty ? "the file is empty" : "the file holds no items";
}

std::string DescribeWordReport(const WordReport& r, const std::string& file) {
  if (r.words == 0) return file + ": no words loaded, nothing will fall; " + WhyNoWords(r);
  const std::string what = Details(r);
  return what.empty() ? what : file + ": " + what;
}

}  // namespace typing
