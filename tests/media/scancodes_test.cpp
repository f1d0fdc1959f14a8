// Tests of the SDL key to set-1 key code translations, by position and by character.
#include "media/scancodes.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <utility>

namespace media {
namespace {

int32_t Code(SDL_Scancode s) { return Set1FromSdlScancode(static_cast<int32_t>(s)); }

TEST(Scancodes, Set1CodesOfTheKeysTheGameReads) {
  // Letters by keyboard row, each row's codes in order.
  const std::pair<const char*, int32_t> rows[] = {
      {"QWERTYUIOP", 16}, {"ASDFGHJKL", 30}, {"ZXCVBNM", 44}};
  for (const auto& [letters, first] : rows) {
    for (int i = 0; letters[i] != '\0'; ++i)
      EXPECT_EQ(Code(SDL_Scancode(SDL_SCANCODE_A + letters[i] - 'A')), first + i) << letters[i];
  }
  for (int i = 0; i < 9; ++i) EXPECT_EQ(Code(SDL_Scancode(SDL_SCANCODE_1 + i)), 2 + i);
  const std::pair<SDL_Scancode, int32_t> keys[] = {
      {SDL_SCANCODE_0, 11},         {SDL_SCANCODE_ESCAPE, 1},      {SDL_SCANCODE_BACKSPACE, 14},
      {SDL_SCANCODE_RETURN, 28},    {SDL_SCANCODE_SPACE, 57},      {SDL_SCANCODE_KP_7, 71},
      {SDL_SCANCODE_KP_MINUS, 74},  {SDL_SCANCODE_KP_5, 76},       {SDL_SCANCODE_KP_PLUS, 78},
      {SDL_SCANCODE_KP_0, 82},      {SDL_SCANCODE_KP_PERIOD, 83},  {SDL_SCANCODE_KP_MULTIPLY, 55},
      {SDL_SCANCODE_KP_ENTER, 156}, {SDL_SCANCODE_KP_DIVIDE, 181}, {SDL_SCANCODE_UP, 200},
      {SDL_SCANCODE_LEFT, 203},     {SDL_SCANCODE_RIGHT, 205},     {SDL_SCANCODE_DOWN, 208},
      {SDL_SCANCODE_F7, 65},        {SDL_SCANCODE_END, 207},       {SDL_SCANCODE_F14, 101},
      {SDL_SCANCODE_SEMICOLON, 39}, {SDL_SCANCODE_CAPSLOCK, 58},   {SDL_SCANCODE_SCROLLLOCK, 70},
      {SDL_SCANCODE_PAGEUP, 201},   {SDL_SCANCODE_UNKNOWN, 0},     {SDL_SCANCODE_MUTE, 0},
  };
  for (const auto& [scancode, code] : keys)
    EXPECT_EQ(Code(scancode), code) << SDL_GetScancodeName(scancode);
  EXPECT_EQ(Code(SDL_SCANCODE_NONUSBACKSLASH), 86);  // the extra key of ISO keyboards
  EXPECT_EQ(Set1FromSdlScancode(-1), 0);
  EXPECT_EQ(Set1FromSdlScancode(SDL_NUM_SCANCODES), 0);
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

  const std::pair<SDL_Keycode, char32_t> caps[] = {
      {'a', U'A'},        {'z', U'Z'},       {'1', U'1'},   {'-', U'-'},          {'<', U'<'},
      {0xE9, U'\u00E9'},  // é stays as it is
      {0xDF, U'\u00DF'},  {SDLK_RETURN, 0},  {SDLK_TAB, 0}, {SDLK_DELETE, 0},     {SDLK_UP, 0},
      {SDLK_CARET, U'^'}, {SDLK_UNKNOWN, 0}, {0x85, 0},     {0x10FFFF, 0x10FFFF}, {0x110000, 0}};
  for (const auto& [keycode, cap] : caps) {
    EXPECT_EQ(KeyCapOfSdlKeycode(keycode), cap) << std::hex << keycode;
  }
}

}  // namespace
}  // namespace media
