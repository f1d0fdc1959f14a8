// Tests of the SDL scancode to set-1 key code table.
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
      {SDL_SCANCODE_UNKNOWN, 0},    {SDL_SCANCODE_MUTE, 0},
  };
  for (const auto& [scancode, code] : keys)
    EXPECT_EQ(Code(scancode), code) << SDL_GetScancodeName(scancode);
  EXPECT_EQ(Set1FromSdlScancode(-1), 0);
  EXPECT_EQ(Set1FromSdlScancode(SDL_NUM_SCANCODES), 0);
}

}  // namespace
}  // namespace media
