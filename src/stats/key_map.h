// Where the statistics' keyboard map draws each word key: at the key that types it.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace stats {

// A word key on the map: its row (0 the digits, 3 the lowest), its column
// within the row (0 where a US keyboard's row begins, -1 for the ISO
// keyboards' key left of it), the character it stands for and that
// character's key code, whose tallies colour it.
struct MapKey {
  int32_t row = 0;
  int32_t column = 0;
  char name = '\0';
  int16_t code = 0;
  bool operator==(const MapKey&) const = default;
};

// The 37 word keys at the places of the keys that type them, as `typed`
// says what the key of each game key code types (KeyboardDevice::
// KeyCharacter), in rows top first, each left to right. A word character
// that no key types (a layout without Latin letters, a sign typed only with
// Shift) goes to its place on a US keyboard, or when another key stands
// there to the next free place on its right. With a US keyboard the map is
// the US rows.
std::vector<MapKey> LayOutKeyMap(const std::function<char32_t(int32_t)>& typed);

}  // namespace stats
