// The readers and tables against the case files of tests/*/cases/: each line is
// "READER ARGUMENTS => RESULT", the reader's result written as text: those of media/ in
// tests/media/cases/, the others' beside their folders' tests (HACKING.md lists them).
// And the message catalogues whose patterns and locales cases/messages.txt reads.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <regex>

#include "app/choices.h"
#include "app/cli.h"
#include "game/settings.h"
#include "media/display_common.h"
#include "media/font.h"
#include "media/frame_scaler.h"
#include "media/letter_folds.h"
#include "media/messages.h"
#include "media/pass_pacer.h"
#include "media/scancodes.h"
#include "media/shown_frame.h"
#include "media/surface.h"
#include "media/text.h"
#include "media/wav.h"
#include "ranking/name_entry.h"
#include "ranking/rank_key.h"
#include "script/script_parser.h"
#include "state/arith.h"
#include "state/figures.h"
#include "state/progress.h"
#include "storage/folder_lock.h"
#include "support/case_file.h"
#include "support/fakes.h"
#include "support/test_files.h"
#include "typing/judge.h"
#include "typing/key_tables.h"

namespace media {
namespace {

// The arguments of a case: "text" (no escapes), hex bytes (0a0b0c), uN:V or iN:V fields of N
// bits little-endian, $NAME for the words of a line "let NAME = ..." above; a word but a quoted
// one followed by *N is repeated N times.
struct Word {
  std::string text;
  bool quoted = false;
  int times = 1;
};

struct Args {
  std::vector<Word> words;

  std::string Bytes(size_t from = 0) const {
    std::string out;
    for (size_t i = from; i < words.size(); ++i) {
      std::string one;
      const std::string& w = words[i].text;
      if (words[i].quoted) {
        one = w;
      } else if (const size_t colon = w.find(':'); colon != std::string::npos) {
        const uint64_t v = std::stoull(w.substr(colon + 1), nullptr, 0);
        for (int b = 0; b < std::stoi(w.substr(1, colon - 1)) / 8; ++b) one += char(v >> 8 * b);
      } else {
        for (size_t at = 0; at + 1 < w.size(); at += 2)
          one += char(std::stoi(w.substr(at, 2), 0, 16));
      }
      for (int n = 0; n < words[i].times; ++n) out += one;
    }
    return out;
  }
  const std::string& operator[](size_t i) const { return words.at(i).text; }
  int64_t Int(size_t i) const { return std::stoll(words.at(i).text, nullptr, 0); }
};

Args Parse(const std::string& text, const std::map<std::string, Args>& lets) {
  Args a;
  for (size_t at = text.find_first_not_of(' '); at < text.size();
       at = text.find_first_not_of(' ', at)) {
    const bool quoted = text[at] == '"';
    const size_t end =
        quoted ? text.find('"', at + 1) + 1 : std::min(text.find(' ', at), text.size());
    Word w{quoted ? text.substr(at + 1, end - at - 2) : text.substr(at, end - at), quoted};
    at = end;
    if (const size_t star = w.text.rfind('*'); !quoted && star != std::string::npos) {
      w.times = std::stoi(w.text.substr(star + 1));
      w.text.resize(star);
    }
    if (!quoted && w.text[0] == '$') {
      const Args& let = lets.at(w.text.substr(1));
      a.words.insert(a.words.end(), let.words.begin(), let.words.end());
    } else {
      a.words.push_back(w);
    }
  }
  return a;
}

std::string Hex(std::string_view bytes) {
  std::string out;
  for (const unsigned char c : bytes)
    out += "0123456789abcdef"[c >> 4], out += "0123456789abcdef"[c & 15];
  return out;
}

std::string CodePoint(char32_t c) {
  char text[12];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
  return text;
}

template <typename T>
std::string List(const std::vector<T>& v) {
  std::string out;
  for (const T& x : v) out += (out.empty() ? "" : ",") + std::to_string(x);
  return out;
}

std::span<const uint8_t> Span(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

std::string Bmp(const std::string& bytes) {
  std::shared_ptr<SoftSurface> s;
  const std::string error =
      test_files::ErrorOf([&] { s = LoadBmp8(Span(bytes).data(), bytes.size(), "picture"); });
  if (!s) return error;
  std::string out = std::to_string(s->Width()) + "x" + std::to_string(s->Height());
  const std::vector<uint8_t>& pixels = std::as_const(*s).Pixels();
  if (pixels.size() <= 64)
    out += " " + Hex({reinterpret_cast<const char*>(pixels.data()), pixels.size()});
  const auto& colors = s->GetPalette()->Colors();
  for (size_t i = 0; i < colors.size(); ++i) {
    if (colors[i] == Color{}) continue;
    out += " " + std::to_string(i) + ":" +
           Hex(std::string{char(colors[i].r), char(colors[i].g), char(colors[i].b)});
  }
  return out;
}

// A key by SDL's name for it, or by its number (0x...).
int32_t Keycode(const std::string& word) {
  return word.rfind("0x", 0) == 0 ? std::stoi(word, nullptr, 16) : SDL_GetKeyFromName(word.c_str());
}
int32_t Scancode(const std::string& word) {
  return word.rfind("0x", 0) == 0 ? std::stoi(word, nullptr, 16)
                                  : SDL_GetScancodeFromName(word.c_str());
}
std::string ScancodeName(int32_t s) {
  const std::string name = SDL_GetScancodeName(SDL_Scancode(s));
  char number[12];
  std::snprintf(number, sizeof number, "0x%X", static_cast<unsigned>(s));
  return name.empty() ? number : name;
}

// The fields a command line sets, as one string.
std::string Flags(const app::Options& o) {
  return std::string(o.window ? "window " : "") + (o.headless ? "headless " : "") +
         (o.keysByPosition ? "position " : "") + (o.mute ? "mute " : "") +
         (o.stats ? "stats " : "") + (o.allLists ? "all-lists " : "") +
         (o.words.empty() ? "" : "words " + o.words + " ") + (o.practice ? "practice " : "") +
         "scale " + std::to_string(o.scale) + (o.dir.empty() ? "" : " dir " + o.dir) +
         (o.script.empty() ? "" : " script " + o.script) +
         (o.online.empty() ? "" : " online " + o.online);
}

// The words of a text split at blanks, '' an empty one.
std::vector<std::string> Split(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w == "''" ? "" : w);
  return words;
}

std::string Figure(std::optional<double> v) { return v ? state::OneDecimal(*v) : "none"; }

// The scancodes that have a set-1 code in the cases: every other has none.
std::set<int> listedScancodes;

const std::map<std::string, std::function<std::string(const Args&)>> kReaders = {
    {"bmp", [](const Args& a) { return Bmp(a.Bytes()); }},
    // Every file the bytes begin with, from 2 bytes to all but the last 2, is cut short.
    {"bmp-cut",
     [](const Args& a) {
       const std::string whole = a.Bytes();
       for (size_t n = 2; n + 1 < whole.size(); ++n) {
         if (const std::string r = Bmp(whole.substr(0, n)); r != "truncated")
           return std::to_string(n) + ": " + r;
       }
       return std::string("truncated");
     }},
    {"wav",
     [](const Args& a) {
       const std::string bytes = a.Bytes();
       WaveInfo w;
       const std::string error = test_files::ErrorOf([&] { w = ReadWaveInfo(Span(bytes)); });
       if (error != "no error") return error;
       return "format " + std::to_string(w.formatTag) + ", " + std::to_string(w.channels) +
              " channels, " + std::to_string(w.samplesPerSecond) + " Hz, " +
              std::to_string(w.bytesPerSecond) + " bytes/s, blocks of " +
              std::to_string(w.blockAlign) + ", " + std::to_string(w.bitsPerSample) + " bits, " +
              std::to_string(w.dataBytes) + " bytes";
     }},
    {"font",
     [](const Args& a) {
       const std::string bytes = a.Bytes();
       const std::optional<Font> f = Font::Parse(Span(bytes));
       if (!f) return std::string("damaged");
       std::string out = "height " + std::to_string(f->Height()) + ", " +
                         std::to_string(f->GlyphCount()) + " glyphs, \"AB\" " +
                         std::to_string(f->TextWidth(U"AB")) + " wide, A's first row ";
       for (int x = 0; x < 8; ++x) out += f->Find('A')->Ink(x, 0) ? '#' : '.';
       const bool replaced = f->Find(0xFFFD) && f->GlyphFor('B') == f->Find(0xFFFD);
       return out + (replaced ? ", B drawn as U+FFFD" : "");
     }},
    {"text",
     [](const Args& a) {
       std::string out;
       for (const char32_t c : DecodeGameText(a.Bytes()))
         out += (out.empty() ? "" : " ") + CodePoint(c);
       return out;
     }},
    // The text cut to WIDTH pixels, with the marker given where it was cut: the text shown.
    {"cut",
     [](const Args& a) {
       return CutToWidth(a[0], static_cast<int32_t>(a.Int(1)), a.words.size() > 2 ? a[2] : "");
     }},
    {"utf16le", [](const Args& a) { return Hex(Utf16ToUtf8(a.Bytes(), false)); }},
    {"utf16be", [](const Args& a) { return Hex(Utf16ToUtf8(a.Bytes(), true)); }},
    {"utf8-of",
     [](const Args& a) {
       std::string out;
       AppendUtf8(out, static_cast<char32_t>(a.Int(0)));
       return Hex(out);
     }},
    // Valid UTF-8 of the same text as the game reads the bytes.
    {"json",
     [](const Args& a) {
       const std::string in = a.Bytes(), out = ToJsonUtf8(in);
       const bool same = DecodeGameText(out) == DecodeGameText(in) && ToJsonUtf8(out) == out;
       return Hex(out) + (same ? "" : " (another text)");
     }},
    {"locale",
     [](const Args& a) {
       const auto language = LanguageOfLocale(a.Bytes());
       return std::string(language ? LanguageCode(*language) : "none");
     }},
    {"format",
     [](const Args& a) {
       const std::string p = a[0];
       return a.words.size() == 1   ? Format(p, {})
              : a.words.size() == 2 ? Format(p, {a[1]})
                                    : Format(p, {a[1], a[2]});
     }},
    {"file-name", [](const Args& a) { return FileNameOf(a.Bytes()); }},
    // A text that counts, in a language (by code), for a count.
    {"count",
     [](const Args& a) {
       const Language language = *LanguageOfLocale(a[0]);
       return Format(TranslateCount(language, a[1], a[2], a.Int(3)), {a[3]});
     }},
    {"set1",
     [](const Args& a) {
       const int32_t s = Scancode(a[0]);
       listedScancodes.insert(s);
       return s == 0 ? "no key " + a[0] : std::to_string(Set1FromSdlScancode(s));
     }},
    // The key's place by SDL's name, its keycode (a name or a number), the text typed.
    {"typed",
     [](const Args& a) {
       return std::to_string(Set1FromTypedKey(Scancode(a[0]), Keycode(a[1]), a.Bytes(2)));
     }},
    {"typed-before",
     [](const Args& a) {
       std::string out;
       for (const int32_t code : Set1TypedBefore(Scancode(a[0]), Keycode(a[1]), a.Bytes(2)))
         out += std::to_string(code) + " ";
       return out.empty() ? std::string("none") : out.substr(0, out.size() - 1);
     }},
    {"key-at",
     [](const Args& a) {
       const int32_t s = SdlScancodeFromSet1(static_cast<int32_t>(a.Int(0)));
       return s == 0 ? std::string("none") : ScancodeName(s);
     }},
    {"cap",
     [](const Args& a) {
       const char32_t c = KeyCapOfSdlKeycode(Keycode(a[0]));
       return c == 0 ? std::string("none") : CodePoint(c);
     }},
    // A frame of nothing but 0 shown, then the pixels given (x,y; a-b a range) set to 1.
    {"bands",
     [](const Args& a) {
       const auto w = static_cast<int32_t>(a.Int(0)), h = static_cast<int32_t>(a.Int(1));
       std::vector<uint8_t> frame(static_cast<size_t>(w * h));
       ShownFrame shown;
       shown.Update(frame, w, h, Palette());
       const auto range = [](const std::string& r) {
         return std::pair(std::stoi(r), std::stoi(r.substr(r.find('-') + 1)));
       };
       for (size_t i = 2; i < a.words.size(); ++i) {
         const size_t comma = a[i].find(',');
         const auto [x0, x1] = range(a[i].substr(0, comma));
         const auto [y0, y1] = range(a[i].substr(comma + 1));
         for (int32_t y = y0; y <= y1; ++y) std::fill_n(frame.begin() + y * w + x0, x1 - x0 + 1, 1);
       }
       std::string out;
       for (const Band& b : shown.Update(frame, w, h, Palette()))
         out += (out.empty() ? "" : " ") +
                List(std::vector<int32_t>{b.left, b.top, b.right, b.bottom});
       return shown.Pixels() == frame ? out : out + " (not kept)";
     }},
    {"place",
     [](const Args& a) {
       const Placement p = PlacePicture(a.Int(0), a.Int(1), a.Int(2), a.Int(3));
       return List(std::vector<int32_t>{p.x, p.y, p.width, p.height});
     }},
    {"axis",
     [](const Args& a) {
       const ScaleAxis x(static_cast<int32_t>(a.Int(0)), static_cast<int32_t>(a.Int(1)));
       return "source " + List(x.source) + "; share " + List(x.share) + "; first showing " +
              List(x.firstShowing) + "; first after " + List(x.firstAfter) + "; pick " +
              List(x.pick) + "; mix " + List(x.mixShare) + (x.exact ? "; exact" : "");
     }},
    {"command-line",
     [](const Args& a) {
       std::vector<std::string> args;
       for (const Word& w : a.words) args.push_back(w.text == "''" ? "" : w.text);
       std::string error;
       const auto o = app::ParseCommandLine(args, error);
       return o ? Flags(*o) + (error.empty() ? "" : " and " + error) : "refused: " + error;
     }},
    {"choices",
     [](const Args& a) {
       std::string error, lines;
       const auto options = app::ParseCommandLine(Split(a[0]), error);
       for (const std::string& line : Split(a[1])) lines += line + "\n";
       const state::Settings settings = game::ParseSettings(lines).settings;
       const state::Choices c = app::ChooseChoices(*options, settings, a[2] == "''" ? "" : a[2]);
       return std::string(LanguageCode(c.language)) + (c.practice ? " practice" : "") +
              (c.sound ? "" : " mute") + (c.keysByPosition ? " position" : "") +
              (c.fullscreen ? "" : " window") + " scale " + std::to_string(c.scale) +
              (c.online.server.empty() ? "" : " server " + c.online.server) +
              (c.online.on ? " online" : "") +
              (c.settings == settings ? "" : " (the settings not kept as read)");
     }},
    // A settings file (escapes read) cut where the second word says, as the settings it chooses
    // written back (\n a line end) and what it says of the lines it ignored.
    {"settings",
     [](const Args& a) {
       const game::SettingsFile f =
           game::ParseSettings(testing_support::Unescaped(a[0]), a.words.size() > 1 ? a[1] : "");
       std::string out, bytes = game::SettingsBytes(f.settings);
       for (const char c : bytes) out += c == '\n' ? std::string("\\n") : std::string(1, c);
       const bool back = game::ParseSettings(bytes).settings == f.settings;
       return out + (f.Report().empty() ? "" : " / " + f.Report()) + (back ? "" : " (not as read)");
     }},
    {"script-line",
     [](const Args& a) {
       static const char* const kKinds[] = {"start", "down",      "up",        "press", "type",
                                            "click", "focus out", "focus in",  "tick",  "state",
                                            "frame", "checksum",  "screenshot"};
       std::optional<script::Command> c;
       try {
         c = script::ParseLine(a.Bytes(), 7);
       } catch (const script::ScriptError& e) {
         return std::string(e.what());
       }
       if (!c) return std::string("nothing");
       std::string keys = List(c->keys);
       return kKinds[static_cast<int>(c->kind)] + (" " + (keys.empty() ? "-" : keys)) + " " +
              std::to_string(c->kind == script::Command::Kind::Start ? c->startTick : c->ms) +
              " x" + std::to_string(c->passes) + (c->path.empty() ? "" : " " + c->path) +
              (c->line == 7 ? "" : " on line " + std::to_string(c->line));
     }},
    {"lock",
     [](const Args& a) {
       testing_support::Rig r;
       const auto slot = static_cast<int16_t>(a.Int(0)), key = testing_support::Rig::CodeOf('A');
       r.g.targets[static_cast<size_t>(slot)].keyCode = key;
       r.g.lockTail = static_cast<int16_t>(a.Int(1));
       const bool locked = typing::TryLock(r.g, slot, key);
       return (locked ? "locked, " : "refused, ") + std::to_string(r.g.lockCount) + " locked";
     }},
    {"name-keys",
     [](const Args& a) {
       testing_support::Rig r;
       typing::BuildKeyTables(r.g);
       for (size_t i = 1; i < a.words.size(); ++i) {
         const size_t colon = a[i].find(':');
         r.keys->queue.push_back({std::stoi(a[i]), std::stoi(a[i].substr(colon + 1))});
       }
       const std::string name = ranking::ReadNameKeys(r.g, a[0]);
       return name + (r.g.entryDone ? " (entered)" : "");
     }},
    {"rank-key",
     [](const Args& a) {
       return std::to_string(ranking::ComputeRankKey(a.Int(0), a.Int(1), a.Int(2)));
     }},
    {"insert-rank",
     [](const Args& a) {
       state::GameState g;
       g.level = g.maxLevel = static_cast<int16_t>(a.Int(0));
       ranking::InsertRanking(g, static_cast<int32_t>(a.Int(1)));
       return std::to_string(g.rankKeys[0]);
     }},
    // The state's numbers: rounding (half to even), saturation, the figures.
    {"round", [](const Args& a) { return std::to_string(state::RoundHalfEven(std::stod(a[0]))); }},
    {"floor", [](const Args& a) { return std::to_string(state::FloorToInt(std::stod(a[0]))); }},
    {"to16", [](const Args& a) { return std::to_string(state::Saturate16(a.Int(0))); }},
    {"to32", [](const Args& a) { return std::to_string(state::Saturate32(a.Int(0))); }},
    {"pace", [](const Args& a) { return state::OneDecimal(state::LettersPerMinute(a.Int(0))); }},
    {"accuracy", [](const Args& a) { return Figure(state::AccuracyPercent(a.Int(0), a.Int(1))); }},
    {"miss-rate",
     [](const Args& a) {
       return Figure(state::MissRate({int(a.Int(0)), int(a.Int(1)), int(a.Int(2))}));
     }},
    {"decimal", [](const Args& a) { return state::OneDecimal(std::stod(a[0])); }},
    // A letter of a word file (by itself or U+XXXX) as the plain letters it folds to.
    {"fold",
     [](const Args& a) {
       return std::string(FoldedLetter(a[0].starts_with("U+") ? std::stoi(a[0].substr(2), 0, 16)
                                                              : DecodeGameText(a[0]).at(0)));
     }},
    // An item of a word file (\xHH: a byte) folded; its bytes past ASCII as \xHH.
    {"fold-text",
     [](const Args& a) {
       bool folded = false;
       std::string out;
       for (const unsigned char c : FoldAccents(testing_support::Unescaped(a[0]), folded)) {
         char byte[5] = {char(c)};
         if (c >= 0x80) std::snprintf(byte, sizeof byte, "\\x%02X", c);
         out += byte;
       }
       return out + (folded ? " (folded)" : "");
     }},
    // A pacer of PERIOD us: when its first pass is due, then the next after a pass begun at
    // each time given (us; pN: a period of N us from the next pass on).
    {"pacer",
     [](const Args& a) {
       using std::chrono::microseconds;
       PassPacer pacer(microseconds(a.Int(0)));
       const auto due = [&pacer] {
         const auto since = pacer.Due().time_since_epoch();
         return std::to_string(std::chrono::duration_cast<microseconds>(since).count());
       };
       std::string out = due();
       for (size_t i = 1; i < a.words.size(); ++i) {
         if (a[i][0] == 'p') {
           pacer.SetPeriod(microseconds(std::stoll(a[i].substr(1))));
         } else {
           pacer.Begin(PassPacer::Clock::time_point(microseconds(a.Int(i))));
           out += " " + due();
         }
       }
       return out;
     }},
    // The lock's wait of WAITMS on a clock from 1000 that moves 7 ms a pause, each try finding
    // what the next word says (the last one again and again): what it came to, as said when the
    // lock is not had; the tries; the clock then.
    {"lock-wait",
     [](const Args& a) {
       using storage::LockTry;
       static const std::map<std::string, LockTry> kFound = {{"locked", LockTry::kLocked},
                                                             {"busy", LockTry::kBusy},
                                                             {"no-locks", LockTry::kNoLocks},
                                                             {"failed", LockTry::kFailed}};
       int64_t now = 1000;
       size_t tries = 0;
       const storage::LockAttempt lock = storage::WaitForLock(
           [&] {
             const LockTry found = kFound.at(a[std::min(++tries, a.words.size() - 1)]);
             return storage::LockAttempt{found, found == LockTry::kFailed ? EIO : 0};
           },
           a.Int(0), [&] { return now; }, [&] { now += 7; });
       const std::string how = lock.result == LockTry::kLocked ? "locked"
                               : lock.result == LockTry::kNoLocks
                                   ? "no locks"
                                   : storage::LockFailure("d/f", lock);
       return how + "; tries " + std::to_string(tries) + ", clock " + std::to_string(now);
     }},
    // The 5 x 4 picture whose pixel (x, y) is 10 * y + x + 1 copied onto a W x H one of 0s at
    // (X, Y), the part of it LEFT TOP RIGHT BOTTOM (none: all of it): the rectangle written
    // (left,top,right,bottom), or refused; a pixel not the picture's at its place says so.
    {"blit",
     [](const Args& a) {
       SoftSurface picture(5, 4, "sprite");
       SoftSurface onto(static_cast<int32_t>(a.Int(0)), static_cast<int32_t>(a.Int(1)), "back");
       for (int32_t i = 0; i < 20; ++i)
         picture.Pixels()[i] = static_cast<uint8_t>(10 * (i / 5) + i % 5 + 1);
       Rect part{};
       if (a.words.size() > 4)
         part = Rect{int32_t(a.Int(4)), int32_t(a.Int(5)), int32_t(a.Int(6)), int32_t(a.Int(7))};
       const auto x = static_cast<int32_t>(a.Int(2)), y = static_cast<int32_t>(a.Int(3));
       const bool drawn = onto.FastBlit(x, y, picture, part, BlitFlags::Wait);
       std::vector<int32_t> written = {onto.Width(), onto.Height(), 0, 0};
       bool copied = true;
       int32_t count = 0;
       for (int32_t py = 0; py < onto.Height(); ++py) {
         for (int32_t px = 0; px < onto.Width(); ++px) {
           if (const int v = onto.At(px, py); v != 0 && ++count) {
             written = {std::min(written[0], px), std::min(written[1], py),
                        std::max(written[2], px + 1), std::max(written[3], py + 1)};
             copied = copied && v == 10 * (py - y + part.top) + px - x + part.left + 1;
           }
         }
       }
       if (!drawn) return std::string(written[2] == 0 ? "refused" : "refused, yet written");
       copied = copied && count == (written[2] - written[0]) * (written[3] - written[1]);
       return List(written) + (copied ? "" : " (not the picture)");
     }},
    // Boxes (LEFT TOP RIGHT BOTTOM each) drawn one after another on a W x H picture of '.', in
    // the fore colour 'R' around the fill colour 'g': its rows; or why there is no picture.
    {"box",
     [](const Args& a) {
       std::array<Color, 256> colors{};
       colors[3] = {0, 0, 255};
       colors[4] = {255, 0, 0};
       colors[5] = {0, 255, 0};
       std::optional<SoftSurface> s;
       const std::string error =
           test_files::ErrorOf([&] { s.emplace(int32_t(a.Int(0)), int32_t(a.Int(1)), "back"); });
       if (!s) return error;
       s->SetPalette(std::make_shared<Palette>(colors));
       std::fill(s->Pixels().begin(), s->Pixels().end(), 3);
       s->SetForeColor(MakeRgb(250, 0, 0));
       s->SetFillColor(MakeRgb(0, 240, 10));
       for (size_t i = 2; i + 3 < a.words.size(); i += 4)
         s->DrawBox(int32_t(a.Int(i)), int32_t(a.Int(i + 1)), int32_t(a.Int(i + 2)),
                    int32_t(a.Int(i + 3)));
       std::string rows;
       for (int32_t y = 0; y < s->Height(); ++y) {
         rows += y == 0 ? "" : " ";
         for (int32_t x = 0; x < s->Width(); ++x) rows += "???.Rg?"[std::min<int>(s->At(x, y), 6)];
       }
       return rows;
     }},
    // A round's counts, every one from START, after each lock:CODE, wrong:CODE or
    // fall:CODE:CLEARED: the totals, then the tallies (locked/wrong/lost) of the keys moved.
    {"counts",
     [](const Args& a) {
       const auto start = static_cast<int32_t>(a.Int(0));
       state::RoundCounts c{.locks = start, .wrongKeys = start, .lost = start};
       c.keys.fill({start, start, start});
       for (size_t i = 1; i < a.words.size(); ++i) {
         const int32_t code = std::stoi(a[i].substr(a[i].find(':') + 1));
         if (a[i].starts_with("lock")) state::CountLock(c, code);
         if (a[i].starts_with("wrong")) state::CountWrongKey(c, code);
         if (a[i].starts_with("fall"))
           state::CountFallOut(c, code, std::stoi(a[i].substr(a[i].rfind(':') + 1)));
       }
       std::string out = "locks " + std::to_string(c.locks) + ", wrong " +
                         std::to_string(c.wrongKeys) + ", lost " + std::to_string(c.lost);
       for (size_t k = 0; k < c.keys.size(); ++k) {
         if (c.keys[k] == state::KeyTally{start, start, start}) continue;
         out += "; key " + std::to_string(k) + " " +
                List(std::vector{c.keys[k].locked, c.keys[k].wrong, c.keys[k].lost});
       }
       return out;
     }},
};

TEST(Readers, EachCaseGivesItsResult) {
  namespace fs = std::filesystem;
  std::map<std::string, int> count;
  for (const auto& entry : fs::recursive_directory_iterator(RAPIKO_SOURCE_DIR "/tests")) {
    if (entry.path().parent_path().filename() != "cases" || entry.path().extension() != ".txt")
      continue;
    std::ifstream in(entry.path());
    std::map<std::string, Args> lets;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
      ++number;
      if (line.empty() || line[0] == '#') continue;
      const std::string where = fs::relative(entry.path(), RAPIKO_SOURCE_DIR "/tests").string() +
                                ":" + std::to_string(number);
      if (line.rfind("let ", 0) == 0) {
        const size_t eq = line.find(" = ");
        lets[line.substr(4, eq - 4)] = Parse(line.substr(eq + 3), lets);
        continue;
      }
      // " =>" ends the arguments: a result may be nothing.
      const size_t arrow = line.find(" =>"), space = line.find(' ');
      ASSERT_NE(arrow, std::string::npos) << where;
      const std::string reader = line.substr(0, space);
      ASSERT_TRUE(kReaders.contains(reader)) << where;
      EXPECT_EQ(kReaders.at(reader)(Parse(line.substr(space, arrow - space), lets)),
                line.substr(std::min(arrow + 4, line.size())))
          << where;
      ++count[reader];
    }
  }
  // A file gone would pass unnoticed.
  EXPECT_EQ(count.size(), kReaders.size());
  for (int s = -1; s <= SDL_NUM_SCANCODES; ++s) {
    if (!listedScancodes.contains(s)) {
      EXPECT_EQ(Set1FromSdlScancode(s), 0) << ScancodeName(s);
    }
  }
  for (int32_t code = 1; code < 256; ++code) {
    if (const int32_t s = SdlScancodeFromSet1(code); s != 0) {
      EXPECT_EQ(Set1FromSdlScancode(s), code) << code;
    }
  }
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

// The message catalogues: every translation keeps its placeholders and the font draws it.
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
