// PC set-1 key codes (the numbering the game uses) of SDL's keys, by position or by character.
#include "media/scancodes.h"

#include <array>
#include <cstddef>
#include <string>

#include "media/letter_folds.h"
#include "media/us_keyboard.h"

namespace media {
namespace {

// SDL scancodes are the USB HID keyboard usage numbers; this file uses the
// numbers themselves so that it needs no SDL header. The names are SDL's.
struct Pair {
  int32_t sdl;
  int32_t set1;
};

// clang-format off
constexpr Pair kKeys[] = {
    // Letters: SDL_SCANCODE_A (4) .. SDL_SCANCODE_Z (29).
    {4, 30}, {5, 48}, {6, 46}, {7, 32}, {8, 18}, {9, 33}, {10, 34}, {11, 35}, {12, 23},
    {13, 36}, {14, 37}, {15, 38}, {16, 50}, {17, 49}, {18, 24}, {19, 25}, {20, 16}, {21, 19},
    {22, 31}, {23, 20}, {24, 22}, {25, 47}, {26, 17}, {27, 45}, {28, 21}, {29, 44},
    // Digits 1..9, 0: SDL 30..39.
    {30, 2}, {31, 3}, {32, 4}, {33, 5}, {34, 6}, {35, 7}, {36, 8}, {37, 9}, {38, 10}, {39, 11},
    {40, 28},   // RETURN
    {41, 1},    // ESCAPE
    {42, 14},   // BACKSPACE
    {43, 15},   // TAB
    {44, 57},   // SPACE
    {45, 12},   // MINUS
    {46, 13},   // EQUALS
    {47, 26},   // LEFTBRACKET
    {48, 27},   // RIGHTBRACKET
    {49, 43},   // BACKSLASH
    {50, 43},   // NONUSHASH: the same key position on ISO keyboards
    {51, 39},   // SEMICOLON
    {52, 40},   // APOSTROPHE
    {53, 41},   // GRAVE
    {54, 51},   // COMMA
    {55, 52},   // PERIOD
    {56, 53},   // SLASH
    {57, 58},   // CAPSLOCK
    // F1..F10: SDL 58..67; F11, F12: 68, 69.
    {58, 59}, {59, 60}, {60, 61}, {61, 62}, {62, 63}, {63, 64}, {64, 65}, {65, 66}, {66, 67},
    {67, 68}, {68, 87}, {69, 88},
    {70, 183},  // PRINTSCREEN (SysRq)
    {71, 70},   // SCROLLLOCK
    {72, 197},  // PAUSE
    {73, 210},  // INSERT
    {74, 199},  // HOME
    {75, 201},  // PAGEUP
    {76, 211},  // DELETE
    {77, 207},  // END
    {78, 209},  // PAGEDOWN
    {79, 205},  // RIGHT
    {80, 203},  // LEFT
    {81, 208},  // DOWN
    {82, 200},  // UP
    {83, 69},   // NUMLOCKCLEAR
    {84, 181},  // KP_DIVIDE
    {85, 55},   // KP_MULTIPLY
    {86, 74},   // KP_MINUS
    {87, 78},   // KP_PLUS
    {88, 156},  // KP_ENTER
    // KP_1..KP_9: SDL 89..97; KP_0: 98.
    {89, 79}, {90, 80}, {91, 81}, {92, 75}, {93, 76}, {94, 77}, {95, 71}, {96, 72}, {97, 73},
    {98, 82},
    {99, 83},   // KP_PERIOD
    {100, 86},  // NONUSBACKSLASH: the extra key of ISO keyboards
    {101, 221}, // APPLICATION (menu key)
    {103, 141}, // KP_EQUALS
    {104, 100}, {105, 101}, {106, 102},  // F13, F14, F15
    {133, 179}, // KP_COMMA
    // Japanese keyboards.
    {135, 115}, // INTERNATIONAL1: the "ro" key
    {136, 112}, // INTERNATIONAL2: katakana / hiragana
    {137, 125}, // INTERNATIONAL3: yen
    {138, 121}, // INTERNATIONAL4: henkan (convert)
    {139, 123}, // INTERNATIONAL5: muhenkan (no convert)
    {224, 29},  // LCTRL
    {225, 42},  // LSHIFT
    {226, 56},  // LALT
    {227, 219}, // LGUI
    {228, 157}, // RCTRL
    {229, 54},  // RSHIFT
    {230, 184}, // RALT
    {231, 220}, // RGUI
};
// clang-format on

constexpr int32_t kTableSize = 232;

constexpr std::array<int32_t, kTableSize> BuildTable() {
  std::array<int32_t, kTableSize> table{};
  for (const Pair& p : kKeys) table[static_cast<std::size_t>(p.sdl)] = p.set1;
  return table;
}

constexpr std::array<int32_t, kTableSize> kTable = BuildTable();

// The keys that type characters: SDL's A (4) to 0 (39), MINUS (45) to SLASH
// (56), NONUSBACKSLASH (100), and the Japanese "ro" (135) and yen (137) keys.
bool IsMainBlockKey(int32_t scancode) {
  return (scancode >= 4 && scancode <= 39) || (scancode >= 45 && scancode <= 56) ||
         scancode == 100 || scancode == 135 || scancode == 137;
}

// SDL's CAPSLOCK (57), the Ctrl, Shift, Alt (AltGr) and GUI keys (224 to 231)
// and MODE (257, AltGr on some layouts): they choose what the next key types
// or does and type nothing themselves, so the Alt of Alt+Enter costs no level.
bool IsModifierKey(int32_t scancode) {
  return scancode == 57 || (scancode >= 224 && scancode <= 231) || scancode == 257;
}

// SDL key codes of characters are the characters themselves; others carry this bit.
constexpr int32_t kSdlScancodeMask = 1 << 30;

// What a key gives as the rule below sees it: an ASCII character; kOther for
// any other character, or for a key that the layout gives no character
// (a dead key); 0 for nothing known.
constexpr char32_t kOther = 0xFFFD;

char32_t FromKeycode(int32_t keycode) {
  if (keycode == 0) return 0;
  if (keycode < 0 || (keycode & kSdlScancodeMask) != 0) return kOther;
  return keycode < 0x80 ? static_cast<char32_t>(keycode) : kOther;
}

char32_t FromText(std::string_view text) {
  if (text.empty()) return 0;
  const auto first = static_cast<unsigned char>(text[0]);
  return text.size() == 1 && first < 0x80 ? static_cast<char32_t>(first) : kOther;
}

bool IsWordCharacter(char32_t c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
}

// The keys of the plain letters an accented letter folds to (Ü: U; ß: S, S), or none
// where the text is not one such letter.
std::vector<int32_t> FoldedLetterCodes(std::string_view text) {
  bool folded = false;
  const std::string plain = FoldAccents(text, folded);
  std::vector<int32_t> codes;
  if (!folded) return codes;
  for (const char c : plain) {
    if (c < 'A' || c > 'Z') return {};
    codes.push_back(Set1FromUsCharacter(static_cast<unsigned char>(c)));
  }
  return codes;
}

}  // namespace

int32_t Set1FromSdlScancode(int32_t scancode) {
  if (scancode < 0 || scancode >= kTableSize) return 0;
  return kTable[static_cast<std::size_t>(scancode)];
}

int32_t SdlScancodeFromSet1(int32_t set1) {
  if (set1 == 0) return 0;
  for (const Pair& p : kKeys) {
    if (p.set1 == set1) return p.sdl;
  }
  return 0;
}

char32_t KeyCapOfSdlKeycode(int32_t keycode) {
  if (keycode < 0x20 || keycode == 0x7F || (keycode & kSdlScancodeMask) != 0) return 0;
  if (keycode > 0x10FFFF || (keycode >= 0x80 && keycode < 0xA0)) return 0;
  return KeyCap(static_cast<char32_t>(keycode));
}

std::vector<int32_t> Set1TypedBefore(int32_t scancode, int32_t keycode, std::string_view text) {
  // Only where the press is the folded letters' last: a key that gives a letter, digit or '-'
  // of its own is that key alone (AltGr+Z typing æ is Z).
  if (IsModifierKey(scancode) || !IsMainBlockKey(scancode)) return {};
  if (IsWordCharacter(FromText(text)) || IsWordCharacter(FromKeycode(keycode))) return {};
  std::vector<int32_t> letters = FoldedLetterCodes(text);
  if (!letters.empty()) letters.pop_back();
  return letters;
}

int32_t Set1FromTypedKey(int32_t scancode, int32_t keycode, std::string_view text) {
  if (IsModifierKey(scancode)) return 0;
  const int32_t position = Set1FromSdlScancode(scancode);
  if (!IsMainBlockKey(scancode)) return position;
  // Letters, digits and '-' come first, so that a key whose own sign the
  // words never use still types the digit it gives with Shift (AZERTY).
  const char32_t candidates[] = {FromText(text), FromKeycode(keycode)};
  for (char32_t c : candidates) {
    if (IsWordCharacter(c)) return Set1FromUsCharacter(c);
  }
  // An accented letter types its plain letter, as the word lists fold it
  // (Ü as U, é as E): a name typed "Jürgen" is JURGEN.
  if (const std::vector<int32_t> letters = FoldedLetterCodes(text); !letters.empty()) {
    return letters.back();
  }
  for (char32_t c : candidates) {
    if (const int32_t code = Set1FromUsCharacter(c)) return code;
  }
  if (candidates[0] != 0 || candidates[1] != 0) return kSet1OtherCharacter;
  return position;
}

}  // namespace media
