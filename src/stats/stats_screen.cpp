// The statistics screen: a table of the rounds, a chart of the last rounds, the key map.
#include "stats/stats_screen.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>

#include "media/messages.h"
#include "media/us_keyboard.h"
#include "state/colours.h"
#include "state/figures.h"
#include "state/list_label.h"
#include "stats/key_map.h"
#include "stats/keys.h"
#include "stats/summary.h"

namespace stats {

using media::Format;
using media::TextWidth;
using state::AccuracyPercent;
using state::LettersPerMinute;
using state::MissRate;
using state::OneDecimal;
using state::Tr;
namespace {

constexpr int32_t kLeft = 20;  // labels
constexpr int32_t kRight = 620;
constexpr int32_t kLine = 18;  // from one line of text to the next

// The table of rounds: a label, then the figures right-aligned at these
// edges; under a round, a line of what else it was.
constexpr int32_t kTableTop = 56;  // the columns' names
constexpr int32_t kScoreRight = 262;
constexpr int32_t kLevelRight = 334;
constexpr int32_t kPaceRight = 446;
constexpr int32_t kAccuracyRight = 556;
constexpr int32_t kUnder = kLeft + 16;

// The chart: a frame with 30 slots of bars, the last round on the right.
constexpr int32_t kChartHead = 182;
constexpr int32_t kChartTop = 200;
constexpr int32_t kChartBottom = 300;
constexpr int32_t kChartLeft = 58;
constexpr int32_t kChartRight = 582;
constexpr int32_t kSlot = 17;
constexpr int32_t kBarWidth = 13;
constexpr int32_t kPlotTop = kChartTop + 4;
constexpr int32_t kPlotBottom = kChartBottom - 3;  // the bars' base line

// The key map: 26-pixel keys, rows staggered like a keyboard's.
constexpr int32_t kKeyTop = 328;
constexpr int32_t kKeySize = 26;
constexpr int32_t kKeyStep = 28;
constexpr std::array<int32_t, 4> kRowIndent = {0, 10, 17, 27};

// Miss rates from which each shade after the first is used.
constexpr std::array<double, 4> kShadeFrom = {0.0001, 0.10, 0.25, 0.50};

// The key that switches between the list in play and every list.
const int32_t kListsKey = media::Set1FromUsCharacter('L');

std::string Fixed(double v, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, v);
  return text;
}

// text cut at a character to fit width pixels, "..." marking the cut.
std::string Fit(const std::string& text, int32_t width) {
  return media::CutToWidth(text, width, "...");
}

void DrawRight(media::Surface& back, int32_t right, int32_t y, const std::string& text) {
  if (!text.empty()) back.DrawText(right - TextWidth(text), y, text);
}

// What the screen shows: the rounds of the list in play, or of every list.
void ReadShown(state::GameState& g) {
  const ListFilter filter =
      g.progress.allLists ? ListFilter{} : ListFilter::Of(g.choices.listName, g.choices.listId);
  g.progress.summary =
      g.progress.keepHistory ? ReadSummary(g.progress.folder, filter) : state::ProgressSummary{};
}

void DrawHeader(const state::GameState& g, media::Surface& back) {
  back.SetForeColor(state::kDarkPurple);
  back.SetFillColor(state::kDarkPurple);
  back.DrawBox(10, 8, 630, 33);
  back.SetForeColor(state::kWhite);
  const std::string hint(Tr(g, "Tab, Space or Esc: back"));
  DrawRight(back, kRight, 12, hint);
  const std::string scope = g.progress.allLists ? std::string(Tr(g, "all word lists"))
                                                : state::ListLabel(g, g.choices.listName);
  back.DrawText(
      kLeft, 12,
      Fit(Format(Tr(g, "Statistics: {0}"), {scope}), kRight - TextWidth(hint) - 16 - kLeft));
}

// One row of the table: the figures of a round, or the averages of a run.
struct Row {
  std::string label;
  std::string score;
  std::string level;
  std::string pace;
  std::string accuracy;
};

std::string AccuracyText(const std::optional<double>& percent) {
  return percent ? OneDecimal(*percent) + "%" : "-";
}

void DrawRow(media::Surface& back, int32_t y, const Row& row) {
  if (!row.label.empty()) back.DrawText(kLeft, y, row.label);
  DrawRight(back, kScoreRight, y, row.score);
  DrawRight(back, kLevelRight, y, row.level);
  DrawRight(back, kPaceRight, y, row.pace);
  DrawRight(back, kAccuracyRight, y, row.accuracy);
}

Row RoundRow(std::string label, const state::RoundRecord& r) {
  return {std::move(label), std::to_string(r.score),
          std::to_string(r.level) + "/" + std::to_string(r.maxLevel),
          OneDecimal(LettersPerMinute(r.counts.destroyed)),
          AccuracyText(AccuracyPercent(r.counts.locks, r.counts.wrongKeys))};
}

Row AverageRow(std::string label, const state::Averages& a) {
  return {std::move(label), OneDecimal(a.score), "", OneDecimal(a.lettersPerMinute),
          AccuracyText(a.accuracy)};
}

// What the table's figures leave out of a round: its list when every list
// is shown, and practice.
std::string Marks(const state::GameState& g, const state::RoundRecord& r) {
  std::string marks;
  if (g.progress.allLists) marks = state::ListLabel(g, r.list);
  if (r.practice) marks += (marks.empty() ? "" : ", ") + std::string(Tr(g, "practice"));
  return marks;
}

// The line under a round: its marks first, then as many of its counts as fit, each whole
// (a count cut in two reads as another number).
void DrawUnder(const state::GameState& g, media::Surface& back, int32_t y,
               const state::RoundRecord& r) {
  const state::RoundCounts& c = r.counts;
  struct Count {
    std::string_view one, other;
    int32_t n;
  };
  const std::array<Count, 5> table = {{
      {media::Msg("{0} destroyed"), "{0} destroyed", c.destroyed},
      {media::Msg("{0} lock"), "{0} locks", c.locks},
      {media::Msg("{0} wrong"), "{0} wrong", c.wrongKeys},
      {media::Msg("{0} lost"), "{0} lost", c.lost},
      {media::Msg("{0} shot"), "{0} shots", c.shots},
  }};
  std::vector<std::string> counts;
  for (const Count& k : table) {
    counts.push_back(Format(TrN(g, k.one, k.other, k.n), {std::to_string(k.n)}));
  }
  const std::string marks = Marks(g, r);
  const std::string comma(Tr(g, ", "));
  const auto line = [&](std::size_t shown) {
    std::string text = marks;
    for (std::size_t i = 0; i <= shown && i < counts.size(); ++i) {
      const std::string item = i < shown ? counts[i] : "...";
      text += (text.empty() ? "" : i == 0 ? "   " : comma) + item;
    }
    return text;
  };
  const int32_t width = kRight - kUnder;
  std::size_t shown = counts.size();
  while (shown > 0 && TextWidth(line(shown)) > width) --shown;
  back.DrawText(kUnder, y, Fit(line(shown), width));
}

void DrawFigures(const state::GameState& g, media::Surface& back) {
  const state::ProgressSummary& s = g.progress.summary;
  back.SetForeColor(state::kDarkPurple);
  std::string rounds = std::to_string(s.rounds);
  if (s.damagedLines == 1) rounds += "  " + std::string(Tr(g, "(1 damaged line skipped)"));
  if (s.damagedLines > 1) {
    rounds += "  " + Format(Tr(g, "({0} damaged lines skipped)"), {std::to_string(s.damagedLines)});
  }
  const std::string lists(g.progress.allLists ? Tr(g, "L: this list only")
                                              : Tr(g, "L: all word lists"));
  const std::string label(Tr(g, "Rounds played"));
  back.DrawText(kLeft, 38, Fit(label + "  " + rounds, kRight - TextWidth(lists) - 16 - kLeft));
  DrawRight(back, kRight, 38, lists);
  if (s.rounds == 0) {
    back.DrawText(kLeft, kTableTop,
                  std::string(Tr(g, "No finished round yet: play one, and it shows here.")));
    return;
  }
  DrawRow(back, kTableTop,
          {"", std::string(Tr(g, "score")), std::string(Tr(g, "level")),
           std::string(Tr(g, "letters/min")), std::string(Tr(g, "accuracy"))});
  int32_t y = kTableTop + kLine;
  DrawRow(back, y, RoundRow(std::string(Tr(g, "Last round")), *s.last));
  y += kLine;
  DrawUnder(g, back, y, *s.last);
  y += kLine;
  DrawRow(back, y, RoundRow(std::string(Tr(g, "Best round")), *s.best));
  y += kLine;
  DrawUnder(g, back, y, *s.best);
  y += kLine;
  DrawRow(back, y,
          AverageRow(Format(TrN(g, "Last {0}, average", "Last {0}, average", s.recent.rounds),
                            {std::to_string(s.recent.rounds)}),
                     s.recent));
  if (s.before.rounds > 0) {
    y += kLine;
    DrawRow(back, y,
            AverageRow(Format(Tr(g, "{0} before, average"), {std::to_string(s.before.rounds)}),
                       s.before));
  }
}

// A round per slot, the last on the right: its pace as a bar, its accuracy
// as a dot; both scales start at 0, so the middle line is half of each.
void DrawChart(const state::GameState& g, media::Surface& back) {
  const state::ProgressSummary& s = g.progress.summary;
  int32_t x = kLeft;
  back.SetForeColor(state::kDarkPurple);
  const std::string head = Format(Tr(g, "Last {0} rounds:"), {std::to_string(kChartRounds)});
  back.DrawText(x, kChartHead, head);
  x += TextWidth(head) + 8;
  back.SetForeColor(state::kChartBarText);
  const std::string bars(Tr(g, "letters per minute (bars)"));
  back.DrawText(x, kChartHead, bars);
  x += TextWidth(bars) + 16;
  back.SetForeColor(state::kChartDot);
  back.DrawText(x, kChartHead, std::string(Tr(g, "accuracy (dots)")));

  back.SetForeColor(state::kDarkPurple);
  back.SetFillColor(state::kWhite);
  back.DrawBox(kChartLeft, kChartTop, kChartRight, kChartBottom);

  double top = 10;  // the pace scale: a multiple of 10 at or above the fastest round
  for (const state::ChartPoint& p : s.chart) top = std::max(top, p.lettersPerMinute);
  top = std::ceil(top / 10) * 10;
  const int32_t height = kPlotBottom - kPlotTop;
  const int32_t middle = kPlotBottom - height / 2;
  back.SetForeColor(state::kChartGrid);
  back.DrawBox(kChartLeft + 1, middle, kChartRight - 1, middle + 1);

  back.SetForeColor(state::kDarkPurple);
  DrawRight(back, kChartLeft - 4, kPlotTop - 4, Fixed(top, 0));
  DrawRight(back, kChartLeft - 4, middle - 8, Fixed(top / 2, 0));
  DrawRight(back, kChartLeft - 4, kPlotBottom - 12, "0");
  back.DrawText(kChartRight + 4, kPlotTop - 4, "100%");
  back.DrawText(kChartRight + 4, middle - 8, "50%");
  back.DrawText(kChartRight + 4, kPlotBottom - 12, "0%");

  if (s.chart.empty()) {
    const std::string none(Tr(g, "no rounds yet"));
    back.DrawText((kChartLeft + kChartRight - TextWidth(none)) / 2, middle - 20, none);
    return;
  }
  const int32_t first = kChartRight - 6 - static_cast<int32_t>(s.chart.size()) * kSlot;
  for (std::size_t i = 0; i < s.chart.size(); ++i) {
    const int32_t bx = first + static_cast<int32_t>(i) * kSlot + (kSlot - kBarWidth);
    const auto bar = static_cast<int32_t>(std::lround(s.chart[i].lettersPerMinute / top * height));
    if (bar > 0) {
      back.SetForeColor(state::kChartBarText);
      back.SetFillColor(state::kChartBar);
      back.DrawBox(bx, kPlotBottom - bar, bx + kBarWidth, kPlotBottom + 1);
    }
    if (s.chart[i].accuracy) {
      const int32_t cx = bx + kBarWidth / 2;
      const auto cy =
          kPlotBottom - static_cast<int32_t>(std::lround(*s.chart[i].accuracy / 100 * height));
      back.SetForeColor(state::kChartDot);
      back.SetFillColor(state::kChartDot);
      back.DrawBox(cx - 2, cy - 2, cx + 3, cy + 3);
    }
  }
}

media::Rgb ShadeOf(const state::KeyTally& t) {
  const std::optional<double> rate = MissRate(t);
  if (!rate) return state::kKeyNoCount;
  std::size_t shade = 0;
  while (shade < kShadeFrom.size() && *rate >= kShadeFrom[shade]) ++shade;
  return state::kMissShades[shade];
}

bool IsDark(media::Rgb shade) {
  return shade == state::kMissShades[3] || shade == state::kMissShades[4];
}

void DrawKey(media::Surface& back, int32_t x, int32_t y, const std::string& name, media::Rgb shade,
             bool weak) {
  back.SetForeColor(state::kDarkPurple);
  if (weak) {
    // The weakest keys stand out by a frame three pixels wide.
    back.SetFillColor(state::kDarkPurple);
    back.DrawBox(x - 2, y - 2, x + kKeySize + 2, y + kKeySize + 2);
  }
  back.SetFillColor(shade);
  back.DrawBox(x, y, x + kKeySize, y + kKeySize);
  back.SetForeColor(IsDark(shade) ? state::kWhite : state::kDarkPurple);
  back.DrawText(x + (kKeySize - TextWidth(name)) / 2, y + (kKeySize - 16) / 2, name);
}

std::string WeakestLine(const state::GameState& g) {
  const state::ProgressSummary& s = g.progress.summary;
  if (s.weakest.empty()) return std::string(Tr(g, "none missed"));
  std::string text;
  for (int16_t code : s.weakest) {
    if (!text.empty()) text += ", ";
    text += Format(Tr(g, "{0}: {1} missed"),
                   {KeyName(code), PercentText(*MissRate(s.keys[static_cast<std::size_t>(code)]))});
  }
  return text;
}

// The keys where the player's keyboard has them, each named by what it types.
void DrawKeyMap(const state::GameState& g, media::Surface& back) {
  const state::ProgressSummary& s = g.progress.summary;
  back.SetForeColor(state::kDarkPurple);
  back.DrawText(
      kLeft, 308,
      Format(Tr(g, "Misses per key, last {0} rounds (wrong keys and letters that fell out)"),
             {std::to_string(kKeyMapRounds)}));
  media::KeyboardDevice& keyboard = *g.keyboard;
  for (const MapKey& key :
       LayOutKeyMap([&keyboard](int32_t code) { return keyboard.KeyCharacter(code); })) {
    const int32_t y = kKeyTop + key.row * kKeyStep;
    const int32_t x = kLeft + kRowIndent[static_cast<std::size_t>(key.row)] + key.column * kKeyStep;
    const state::KeyTally& t = s.keys[static_cast<std::size_t>(key.code)];
    const bool weak = std::find(s.weakest.begin(), s.weakest.end(), key.code) != s.weakest.end();
    DrawKey(back, x, y, std::string(1, key.name), ShadeOf(t), weak);
  }

  // The legend beside the map, lightest first.
  static constexpr std::array<std::string_view, 6> kLabels = {
      media::Msg("not typed"),  media::Msg("no miss"),    media::Msg("under 10%"),
      media::Msg("10% to 25%"), media::Msg("25% to 50%"), media::Msg("50% or more")};
  const int32_t lx = 372;
  for (std::size_t i = 0; i < kLabels.size(); ++i) {
    const int32_t y = kKeyTop - 2 + static_cast<int32_t>(i) * 18;
    back.SetForeColor(state::kDarkPurple);
    back.SetFillColor(i == 0 ? state::kKeyNoCount : state::kMissShades[i - 1]);
    back.DrawBox(lx, y, lx + 14, y + 14);
    back.DrawText(lx + 22, y - 1, std::string(Tr(g, kLabels[i])));
  }

  back.SetForeColor(state::kDarkPurple);
  back.DrawText(kLeft, 446, Format(Tr(g, "Weakest keys: {0}"), {WeakestLine(g)}));
}

// Tab, Space or Esc close the screen; the lists' key switches between the
// list in play and every list. One entry per frame batch, as the title
// reads them.
void ReadKeys(state::GameState& g) {
  std::array<media::KeyEvent, 5> events{};
  g.keyboard->GetDeviceData(events);
  for (const media::KeyEvent& e : events) {
    if (e.data != media::kKeyDown) continue;
    if (e.keyCode == state::kKeyTab || e.keyCode == state::kKeySpace ||
        e.keyCode == state::kKeyEsc) {
      g.progress.screenOpen = false;
    } else if (e.keyCode == kListsKey && g.progress.screenOpen) {
      g.progress.allLists = !g.progress.allLists;
      ReadShown(g);
    }
  }
}

}  // namespace

void OpenStatsScreen(state::GameState& g) {
  ReadShown(g);
  g.progress.screenOpen = true;
}

void UpdateStatsScreen(state::GameState& g) {
  ReadKeys(g);
  media::Surface& back = *g.backBuffer;
  DrawHeader(g, back);
  back.SetForeColor(state::kDarkPurple);
  back.SetFillColor(state::kPalePink);
  back.DrawBox(10, 33, 630, 472);

  DrawFigures(g, back);
  DrawChart(g, back);
  DrawKeyMap(g, back);

  // The title and play draw with the colours the title leaves; so does this.
  back.SetForeColor(state::kDarkPurple);
  back.SetFillColor(state::kPalePink);
}

}  // namespace stats
