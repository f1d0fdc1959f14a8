// Tests of the SDL key to set-1 key code translations, by position and by character.
#include "media/scancodes.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <utility>

namespace media {
namespace {

int32_t Code(SDL_Scancode s) { return Set1FromSdlScancode(static_cast<int32_t>(s)); }

// Every key by SDL's name against the code a PC keyboard sends for it in set 1 (keys sent
// with the E0 prefix have 0x80 added); every other scancode has no code.
TEST(Scancodes, EveryKeyHasItsSet1CodeAndNoOtherKeyHasOne) {
  std::map<int, int32_t> expected;
  const std::pair<const char*, int32_t> rows[] = {
      {"QWERTYUIOP", 0x10}, {"ASDFGHJKL", 0x1E}, {"ZXCVBNM", 0x2C}};
  for (const auto& [letters, first] : rows) {
    for (int i = 0; letters[i] != '\0'; ++i)
      expected[SDL_SCANCODE_A + letters[i] - 'A'] = first + i;
  }
  for (int i = 0; i < 10; ++i) expected[SDL_SCANCODE_1 + i] = 0x02 + i;  // 1 to 9, then 0
  for (int i = 0; i < 10; ++i) expected[SDL_SCANCODE_F1 + i] = 0x3B + i;
  // The pad's = and , of Japanese keyboards have no set-1 code: 0x8D and 0xB3 are the game's own.
  // clang-format off
  const std::pair<SDL_Scancode, int32_t> keys[] = {
    {SDL_SCANCODE_ESCAPE, 0x01}, {SDL_SCANCODE_MINUS, 0x0C}, {SDL_SCANCODE_EQUALS, 0x0D},
    {SDL_SCANCODE_BACKSPACE, 0x0E}, {SDL_SCANCODE_TAB, 0x0F}, {SDL_SCANCODE_LEFTBRACKET, 0x1A},
    {SDL_SCANCODE_RIGHTBRACKET, 0x1B}, {SDL_SCANCODE_RETURN, 0x1C}, {SDL_SCANCODE_LCTRL, 0x1D},
    {SDL_SCANCODE_SEMICOLON, 0x27}, {SDL_SCANCODE_APOSTROPHE, 0x28}, {SDL_SCANCODE_GRAVE, 0x29},
    {SDL_SCANCODE_LSHIFT, 0x2A}, {SDL_SCANCODE_BACKSLASH, 0x2B}, {SDL_SCANCODE_NONUSHASH, 0x2B},
    {SDL_SCANCODE_COMMA, 0x33}, {SDL_SCANCODE_PERIOD, 0x34}, {SDL_SCANCODE_SLASH, 0x35},
    {SDL_SCANCODE_RSHIFT, 0x36}, {SDL_SCANCODE_KP_MULTIPLY, 0x37}, {SDL_SCANCODE_LALT, 0x38},
    {SDL_SCANCODE_SPACE, 0x39}, {SDL_SCANCODE_CAPSLOCK, 0x3A}, {SDL_SCANCODE_NUMLOCKCLEAR, 0x45},
    {SDL_SCANCODE_SCROLLLOCK, 0x46}, {SDL_SCANCODE_KP_7, 0x47}, {SDL_SCANCODE_KP_8, 0x48},
    {SDL_SCANCODE_KP_9, 0x49}, {SDL_SCANCODE_KP_MINUS, 0x4A}, {SDL_SCANCODE_KP_4, 0x4B},
    {SDL_SCANCODE_KP_5, 0x4C}, {SDL_SCANCODE_KP_6, 0x4D}, {SDL_SCANCODE_KP_PLUS, 0x4E},
    {SDL_SCANCODE_KP_1, 0x4F}, {SDL_SCANCODE_KP_2, 0x50}, {SDL_SCANCODE_KP_3, 0x51},
    {SDL_SCANCODE_KP_0, 0x52}, {SDL_SCANCODE_KP_PERIOD, 0x53}, {SDL_SCANCODE_NONUSBACKSLASH, 0x56},
    {SDL_SCANCODE_F11, 0x57}, {SDL_SCANCODE_F12, 0x58}, {SDL_SCANCODE_F13, 0x64},
    {SDL_SCANCODE_F14, 0x65}, {SDL_SCANCODE_F15, 0x66}, {SDL_SCANCODE_INTERNATIONAL2, 0x70},
    {SDL_SCANCODE_INTERNATIONAL1, 0x73}, {SDL_SCANCODE_INTERNATIONAL4, 0x79},
    {SDL_SCANCODE_INTERNATIONAL5, 0x7B}, {SDL_SCANCODE_INTERNATIONAL3, 0x7D},
    {SDL_SCANCODE_KP_ENTER, 0x9C}, {SDL_SCANCODE_RCTRL, 0x9D}, {SDL_SCANCODE_KP_DIVIDE, 0xB5},
    {SDL_SCANCODE_PRINTSCREEN, 0xB7}, {SDL_SCANCODE_RALT, 0xB8}, {SDL_SCANCODE_PAUSE, 0xC5},
    {SDL_SCANCODE_HOME, 0xC7}, {SDL_SCANCODE_UP, 0xC8}, {SDL_SCANCODE_PAGEUP, 0xC9},
    {SDL_SCANCODE_LEFT, 0xCB}, {SDL_SCANCODE_RIGHT, 0xCD}, {SDL_SCANCODE_END, 0xCF},
    {SDL_SCANCODE_DOWN, 0xD0}, {SDL_SCANCODE_PAGEDOWN, 0xD1}, {SDL_SCANCODE_INSERT, 0xD2},
    {SDL_SCANCODE_DELETE, 0xD3}, {SDL_SCANCODE_LGUI, 0xDB}, {SDL_SCANCODE_RGUI, 0xDC},
    {SDL_SCANCODE_APPLICATION, 0xDD}, {SDL_SCANCODE_KP_EQUALS, 0x8D},
    {SDL_SCANCODE_KP_COMMA, 0xB3},
  };
  // clang-format on
  for (const auto& [scancode, code] : keys) expected[scancode] = code;
  for (int s = -1; s <= SDL_NUM_SCANCODES; ++s) {
    const auto it = expected.find(s);
    EXPECT_EQ(Set1FromSdlScancode(s), it == expected.end() ? 0 : it->second)
        << SDL_GetScancodeName(SDL_Scancode(std::max(s, 0))) << " (" << s << ")";
  }
}

// Keys at the edges of the main block are read by the character they type;
// the keys next to them keep their place whatever they type.
TEST(Scancodes, OnlyTheMainBlockIsReadByCharacter) {
  for (const SDL_Scancode s :
       {SDL_SCANCODE_A, SDL_SCANCODE_0, SDL_SCANCODE_MINUS, SDL_SCANCODE_SLASH,
        SDL_SCANCODE_NONUSBACKSLASH, SDL_SCANCODE_INTERNATIONAL1, SDL_SCANCODE_INTERNATIONAL3}) {
    EXPECT_EQ(Set1FromTypedKey(s, 'q', "q"), 0x10) << SDL_GetScancodeName(s);
  }
  for (const SDL_Scancode s :
       {SDL_SCANCODE_RETURN, SDL_SCANCODE_SPACE, SDL_SCANCODE_KP_PERIOD, SDL_SCANCODE_APPLICATION,
        SDL_SCANCODE_INTERNATIONAL2, SDL_SCANCODE_INTERNATIONAL4, SDL_SCANCODE_F1}) {
    EXPECT_EQ(Set1FromTypedKey(s, 'q', "q"), Code(s)) << SDL_GetScancodeName(s);
  }
}

TEST(Scancodes, KeysByTheCharacterTheyTypeOnEachLayout) {
  // What SDL reports for a press: the key's place, the layout's character
  // for it without modifiers (SDL gives the digit row digits on AZERTY), and
  // the text the press typed.
  struct Case {
    const char* what;
    SDL_Scancode place;
    SDL_Keycode keycode;
    const char* text;
    int32_t code;
  };
  const Case cases[] = {
      {"us a", SDL_SCANCODE_A, 'a', "a", 30},
      {"us shift a", SDL_SCANCODE_A, 'a', "A", 30},
      {"us shift = (+)", SDL_SCANCODE_EQUALS, '=', "+", 13},
      {"us ctrl a (no text)", SDL_SCANCODE_A, 'a', "", 30},
      {"fr a on the Q place", SDL_SCANCODE_Q, 'a', "a", 30},
      {"fr q on the A place", SDL_SCANCODE_A, 'q', "q", 16},
      {"fr & key is 1", SDL_SCANCODE_1, '1', "&", 2},
      {"fr - key types -", SDL_SCANCODE_6, '6', "-", 12},
      {"fr shift - key is 6", SDL_SCANCODE_6, '6', "6", 7},
      {"fr ; key", SDL_SCANCODE_COMMA, ';', ";", 39},
      {"fr shift ; key (.)", SDL_SCANCODE_COMMA, ';', ".", 52},
      {"fr ! key", SDL_SCANCODE_SLASH, '!', "!", kSet1OtherCharacter},
      {"de z on the Y place", SDL_SCANCODE_Y, 'z', "z", 44},
      {"de sharp s on the - place", SDL_SCANCODE_MINUS, 0xDF, "\xC3\x9F", kSet1OtherCharacter},
      {"de - on the / place", SDL_SCANCODE_SLASH, '-', "-", 12},
      {"de ^ key", SDL_SCANCODE_GRAVE, SDLK_CARET, "", kSet1OtherCharacter},
      {"dvorak - on the ' place", SDL_SCANCODE_APOSTROPHE, '-', "-", 12},
      {"input method text", SDL_SCANCODE_A, 'a', "\xE3\x81\x82", 30},
      {"de dead acute", SDL_SCANCODE_EQUALS, SDL_SCANCODE_TO_KEYCODE(SDL_SCANCODE_UNKNOWN), "",
       kSet1OtherCharacter},
      {"layout unknown", SDL_SCANCODE_A, SDLK_UNKNOWN, "", 30},
      {"pad - stays the pad", SDL_SCANCODE_KP_MINUS, SDLK_KP_MINUS, "-", 74},
      {"space by place", SDL_SCANCODE_SPACE, ' ', " ", 57},
      {"esc by place", SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, "", 1},
      // Modifiers are part of the next key, so the Alt of Alt+Enter costs no level.
      {"caps lock", SDL_SCANCODE_CAPSLOCK, SDLK_CAPSLOCK, "", 0},
      {"left ctrl, the first", SDL_SCANCODE_LCTRL, SDLK_LCTRL, "", 0},
      {"altgr as the mode key", SDL_SCANCODE_MODE, SDLK_MODE, "", 0},
      {"right gui, the last", SDL_SCANCODE_RGUI, SDLK_RGUI, "", 0},
      {"jp yen key", SDL_SCANCODE_INTERNATIONAL3, 0xA5, "\xC2\xA5", kSet1OtherCharacter},
      {"the key after the modifiers", SDL_SCANCODE_APPLICATION, SDLK_APPLICATION, "", 221},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Set1FromTypedKey(c.place, c.keycode, c.text), c.code) << c.what;
  }
  // Another character counts as the ISO keyboards' extra key, which no word's letter matches.
  EXPECT_EQ(kSet1OtherCharacter, Code(SDL_SCANCODE_NONUSBACKSLASH));
}

// A letter, digit or '-' typed wins over the key's own character, at each end of each range;
// a sign next to those ranges gives way to the key's letter.
TEST(Scancodes, ATypedLetterDigitOrDashComesBeforeTheKeysOwnCharacter) {
  const std::pair<const char*, int32_t> cases[] = {
      {"a", 30}, {"z", 44}, {"A", 30}, {"Z", 44}, {"0", 11}, {"9", 10}, {"-", 12},
      {"`", 16}, {"{", 16}, {"@", 16}, {"[", 16}, {"/", 16}, {":", 16}, {";", 16}};
  for (const auto& [text, code] : cases) {
    EXPECT_EQ(Set1FromTypedKey(SDL_SCANCODE_A, 'q', text), code) << text;
  }
}

// The statistics' key map asks which SDL key stands at each game key code,
// and what its key code shows on the cap.
TEST(Scancodes, TheKeyOfEachCodeAndWhatItsCapShows) {
  for (int32_t code = 1; code < 256; ++code) {
    const int32_t scancode = SdlScancodeFromSet1(code);
    if (scancode != 0) EXPECT_EQ(Set1FromSdlScancode(scancode), code) << code;
  }
  const std::pair<int32_t, SDL_Scancode> places[] = {
      {30, SDL_SCANCODE_A},
      {2, SDL_SCANCODE_1},
      {12, SDL_SCANCODE_MINUS},
      {43, SDL_SCANCODE_BACKSLASH},  // not the ISO one
      {86, SDL_SCANCODE_NONUSBACKSLASH},
      {0, SDL_SCANCODE_UNKNOWN},
      {84, SDL_SCANCODE_UNKNOWN}};
  for (const auto& [code, scancode] : places)
    EXPECT_EQ(SdlScancodeFromSet1(code), scancode) << code;

  const std::pair<SDL_Keycode, char32_t> caps[] = {{'a', U'A'},
                                                   {'z', U'Z'},
                                                   {'1', U'1'},
                                                   {'-', U'-'},
                                                   {'<', U'<'},
                                                   {0xE9, U'\u00E9'},  // é stays as it is
                                                   {0xDF, U'\u00DF'},
                                                   {SDLK_RETURN, 0},
                                                   {SDLK_TAB, 0},
                                                   {SDLK_DELETE, 0},
                                                   {SDLK_UP, 0},
                                                   {SDLK_CARET, U'^'},
                                                   {SDLK_UNKNOWN, 0},
                                                   {0x85, 0},
                                                   {0x10FFFF, 0x10FFFF},
                                                   {0x110000, 0},
                                                   // Each end of the control characters' ranges.
                                                   {0x1F, 0},
                                                   {' ', U' '},
                                                   {'~', U'~'},
                                                   {0x80, 0},
                                                   {0x9F, 0},
                                                   {0xA0, U'\u00A0'}};
  for (const auto& [keycode, cap] : caps) {
    EXPECT_EQ(KeyCapOfSdlKeycode(keycode), cap) << std::hex << keycode;
  }
}

}  // namespace
}  // namespace media
