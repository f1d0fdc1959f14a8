// Tests of the SDL scancode to set-1 key code table, against SDL's own names.
#include <SDL.h>
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "media/scancodes.h"

namespace media {
namespace {

int32_t Code(SDL_Scancode s) { return Set1FromSdlScancode(static_cast<int32_t>(s)); }

TEST(Scancodes, LettersAndDigitsOfTheMainBlock) {
  const char* rows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
  const int32_t firstCode[] = {16, 30, 44};
  for (int r = 0; r < 3; ++r) {
    for (int i = 0; rows[r][i] != '\0'; ++i) {
      const SDL_Scancode s = static_cast<SDL_Scancode>(SDL_SCANCODE_A + (rows[r][i] - 'A'));
      EXPECT_EQ(Code(s), firstCode[r] + i) << rows[r][i];
    }
  }
  EXPECT_EQ(Code(SDL_SCANCODE_1), 2);
  EXPECT_EQ(Code(SDL_SCANCODE_9), 10);
  EXPECT_EQ(Code(SDL_SCANCODE_0), 11);
  EXPECT_EQ(Code(SDL_SCANCODE_MINUS), 12);
  EXPECT_EQ(Code(SDL_SCANCODE_EQUALS), 13);
  EXPECT_EQ(Code(SDL_SCANCODE_ESCAPE), 1);
  EXPECT_EQ(Code(SDL_SCANCODE_BACKSPACE), 14);
  EXPECT_EQ(Code(SDL_SCANCODE_RETURN), 28);
  EXPECT_EQ(Code(SDL_SCANCODE_SPACE), 57);
  EXPECT_EQ(Code(SDL_SCANCODE_GRAVE), 41);
  EXPECT_EQ(Code(SDL_SCANCODE_NONUSBACKSLASH), 86);
  EXPECT_EQ(Code(SDL_SCANCODE_F10), 68);
  EXPECT_EQ(Code(SDL_SCANCODE_F11), 87);
  EXPECT_EQ(Code(SDL_SCANCODE_F12), 88);
}

TEST(Scancodes, NumberPad) {
  const std::map<SDL_Scancode, int32_t> pad = {
      {SDL_SCANCODE_KP_7, 71},      {SDL_SCANCODE_KP_8, 72},        {SDL_SCANCODE_KP_9, 73},
      {SDL_SCANCODE_KP_MINUS, 74},  {SDL_SCANCODE_KP_4, 75},        {SDL_SCANCODE_KP_5, 76},
      {SDL_SCANCODE_KP_6, 77},      {SDL_SCANCODE_KP_PLUS, 78},     {SDL_SCANCODE_KP_1, 79},
      {SDL_SCANCODE_KP_2, 80},      {SDL_SCANCODE_KP_3, 81},        {SDL_SCANCODE_KP_0, 82},
      {SDL_SCANCODE_KP_PERIOD, 83}, {SDL_SCANCODE_KP_MULTIPLY, 55}, {SDL_SCANCODE_NUMLOCKCLEAR, 69},
      {SDL_SCANCODE_KP_ENTER, 156}, {SDL_SCANCODE_KP_DIVIDE, 181}};
  for (const auto& [scancode, code] : pad)
    EXPECT_EQ(Code(scancode), code) << SDL_GetScancodeName(scancode);
}

TEST(Scancodes, ExtendedKeysHave128Added) {
  const std::map<SDL_Scancode, int32_t> keys = {
      {SDL_SCANCODE_UP, 200},          {SDL_SCANCODE_LEFT, 203},
      {SDL_SCANCODE_RIGHT, 205},       {SDL_SCANCODE_DOWN, 208},
      {SDL_SCANCODE_HOME, 199},        {SDL_SCANCODE_END, 207},
      {SDL_SCANCODE_PAGEUP, 201},      {SDL_SCANCODE_PAGEDOWN, 209},
      {SDL_SCANCODE_INSERT, 210},      {SDL_SCANCODE_DELETE, 211},
      {SDL_SCANCODE_RCTRL, 157},       {SDL_SCANCODE_RALT, 184},
      {SDL_SCANCODE_LGUI, 219},        {SDL_SCANCODE_RGUI, 220},
      {SDL_SCANCODE_APPLICATION, 221}, {SDL_SCANCODE_PRINTSCREEN, 183},
      {SDL_SCANCODE_PAUSE, 197}};
  for (const auto& [scancode, code] : keys)
    EXPECT_EQ(Code(scancode), code) << SDL_GetScancodeName(scancode);
}

TEST(Scancodes, EveryMainBlockCodeHasAKeyAndNoCodeTwoKeys) {
  std::map<int32_t, SDL_Scancode> seen;
  for (int s = 0; s < SDL_NUM_SCANCODES; ++s) {
    const int32_t code = Set1FromSdlScancode(s);
    if (code == 0) continue;
    EXPECT_GT(code, 0);
    EXPECT_LT(code, 256);
    auto [it, fresh] = seen.emplace(code, static_cast<SDL_Scancode>(s));
    // Only the ISO key beside Enter shares the backslash key's position.
    if (!fresh) {
      EXPECT_EQ(code, 43);
      EXPECT_EQ(s, SDL_SCANCODE_NONUSHASH);
    }
  }
  for (int32_t code = 1; code <= 88; ++code) {
    if (code == 84 || code == 85) continue;  // no key of a PC keyboard has these
    EXPECT_TRUE(seen.count(code)) << "no key gives " << code;
  }
}

TEST(Scancodes, UnknownAndOutOfRangeGiveZero) {
  EXPECT_EQ(Code(SDL_SCANCODE_UNKNOWN), 0);
  EXPECT_EQ(Code(SDL_SCANCODE_MUTE), 0);
  EXPECT_EQ(Set1FromSdlScancode(-1), 0);
  EXPECT_EQ(Set1FromSdlScancode(SDL_NUM_SCANCODES), 0);
  EXPECT_EQ(Set1FromSdlScancode(1 << 30), 0);
}

}  // namespace
}  // namespace media
