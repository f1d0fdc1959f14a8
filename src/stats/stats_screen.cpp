// The statistics screen: the last round's figures, a chart of the last rounds, the key map.
#include "stats/stats_screen.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>

#include "state/colours.h"
#include "state/figures.h"
#include "stats/keys.h"
#include "stats/summary.h"

namespace stats {

using state::AccuracyPercent;
using state::LettersPerMinute;
using state::MissRate;
using state::OneDecimal;
namespace {

constexpr int32_t kCharWidth = 8;  // the font's ASCII glyphs
constexpr int32_t kLeft = 20;      // labels
constexpr int32_t kValues = 132;   // values after the labels
constexpr int32_t kRight = 620;

// The chart: a frame with 30 slots of bars, the last round on the right.
constexpr int32_t kChartTop = 168;
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

std::string Fixed(double v, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, v);
  return text;
}

int32_t TextWidth(const std::string& text) {
  return static_cast<int32_t>(text.size()) * kCharWidth;
}

// One entry per frame batch, as the title reads them.
bool ReadCloseKeys(state::GameState& g) {
  std::array<media::KeyEvent, 5> events{};
  g.keyboard->GetDeviceData(events);
  bool close = false;
  for (const media::KeyEvent& e : events) {
    if (e.data != media::kKeyDown) continue;
    if (e.keyCode == state::kKeyTab || e.keyCode == state::kKeySpace ||
        e.keyCode == state::kKeyEsc) {
      close = true;
    }
  }
  return close;
}

void DrawFigures(media::Surface& back, const state::ProgressSummary& s) {
  back.SetForeColor(state::kDarkPurple);
  if (s.rounds == 0) {
    back.DrawText(kLeft, 38, "No finished round yet: play one, and it shows here.");
    return;
  }
  const state::RoundRecord& last = *s.last;
  const state::RoundCounts& c = last.counts;
  const std::string damaged = s.damagedLines > 0 ? "  " + DamagedText(s.damagedLines) : "";
  const auto line = [&](int32_t y, const std::string& label, const std::string& value) {
    back.DrawText(kLeft, y, label);
    back.DrawText(kValues, y, value);
  };
  line(38, "Rounds played", std::to_string(s.rounds) + damaged);
  line(56, "Last round", RoundText(last));
  line(74, "",
       std::to_string(c.destroyed) + " destroyed, " + std::to_string(c.locks) + " locks, " +
           std::to_string(c.wrongKeys) + " wrong, " + std::to_string(c.lost) + " lost, " +
           std::to_string(c.shots) + " shots");
  line(92, "Best round", RoundText(*s.best));
  // Short labels: the values need the width.
  line(110, "Last " + std::to_string(s.recent.rounds), AveragesText(s.recent));
  if (s.before.rounds > 0) {
    line(128, std::to_string(s.before.rounds) + " before", AveragesText(s.before));
  }
}

// A round per slot, the last on the right: its pace as a bar, its accuracy
// as a dot; both scales start at 0, so the middle line is half of each.
void DrawChart(media::Surface& back, const state::ProgressSummary& s) {
  int32_t x = kLeft;
  back.SetForeColor(state::kDarkPurple);
  const std::string head = "Last " + std::to_string(kChartRounds) + " rounds: ";
  back.DrawText(x, 150, head);
  x += TextWidth(head);
  back.SetForeColor(state::kChartBarText);
  back.DrawText(x, 150, "letters per minute (bars)");
  x += TextWidth("letters per minute (bars)");
  back.SetForeColor(state::kDarkPurple);
  back.DrawText(x, 150, ", ");
  x += TextWidth(", ");
  back.SetForeColor(state::kChartDot);
  back.DrawText(x, 150, "accuracy (dots)");

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
  const auto leftLabel = [&](int32_t y, const std::string& text) {
    back.DrawText(kChartLeft - 4 - TextWidth(text), y, text);
  };
  leftLabel(kPlotTop - 4, Fixed(top, 0));
  leftLabel(middle - 8, Fixed(top / 2, 0));
  leftLabel(kPlotBottom - 12, "0");
  back.DrawText(kChartRight + 4, kPlotTop - 4, "100%");
  back.DrawText(kChartRight + 4, middle - 8, "50%");
  back.DrawText(kChartRight + 4, kPlotBottom - 12, "0%");

  if (s.chart.empty()) {
    back.DrawText((kChartLeft + kChartRight - TextWidth("no rounds yet")) / 2, middle - 20,
                  "no rounds yet");
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
  back.DrawText(x + (kKeySize - kCharWidth) / 2, y + (kKeySize - 16) / 2, name);
}

void DrawKeyMap(media::Surface& back, const state::ProgressSummary& s) {
  back.SetForeColor(state::kDarkPurple);
  back.DrawText(kLeft, 308,
                "Misses per key, last " + std::to_string(kKeyMapRounds) +
                    " rounds (wrong presses and lost letters)");
  for (std::size_t row = 0; row < KeyboardRows().size(); ++row) {
    const int32_t y = kKeyTop + static_cast<int32_t>(row) * kKeyStep;
    int32_t x = kLeft + kRowIndent[row];
    for (char c : KeyboardRows()[row]) {
      const int16_t code = *KeyCodeOfName(std::string(1, c));
      const state::KeyTally& t = s.keys[static_cast<std::size_t>(code)];
      const bool weak = std::find(s.weakest.begin(), s.weakest.end(), code) != s.weakest.end();
      DrawKey(back, x, y, std::string(1, c), ShadeOf(t), weak);
      x += kKeyStep;
    }
  }

  // The legend beside the map, lightest first.
  const std::array<std::string, 6> labels = {"not typed",  "no miss",    "under 10%",
                                             "10% to 25%", "25% to 50%", "50% or more"};
  const int32_t lx = 372;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const int32_t y = kKeyTop - 2 + static_cast<int32_t>(i) * 18;
    back.SetForeColor(state::kDarkPurple);
    back.SetFillColor(i == 0 ? state::kKeyNoCount : state::kMissShades[i - 1]);
    back.DrawBox(lx, y, lx + 14, y + 14);
    back.DrawText(lx + 22, y - 1, labels[i]);
  }

  back.SetForeColor(state::kDarkPurple);
  back.DrawText(kLeft, 446, "Weakest keys: " + WeakestText(s));
}

}  // namespace

void OpenStatsScreen(state::GameState& g) {
  g.progress.summary =
      g.progress.keepHistory ? ReadSummary(g.progress.folder) : state::ProgressSummary{};
  g.progress.screenOpen = true;
}

void UpdateStatsScreen(state::GameState& g) {
  if (ReadCloseKeys(g)) g.progress.screenOpen = false;
  media::Surface& back = *g.backBuffer;
  const state::ProgressSummary& s = g.progress.summary;

  back.SetForeColor(state::kDarkPurple);
  back.SetFillColor(state::kDarkPurple);
  back.DrawBox(10, 8, 630, 33);
  back.SetForeColor(state::kWhite);
  back.DrawText(kLeft, 12, "Statistics");
  const std::string back_hint = "Tab, Space or Esc: back";
  back.DrawText(kRight - TextWidth(back_hint), 12, back_hint);
  back.SetForeColor(state::kDarkPurple);
  back.SetFillColor(state::kPalePink);
  back.DrawBox(10, 33, 630, 472);

  DrawFigures(back, s);
  DrawChart(back, s);
  DrawKeyMap(back, s);

  // The title and play draw with the colours the title leaves; so does this.
  back.SetForeColor(state::kDarkPurple);
  back.SetFillColor(state::kPalePink);
}

}  // namespace stats
