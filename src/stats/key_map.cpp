// The statistics' keyboard map in the player's layout: each word key where the key typing it is.
#include "stats/key_map.h"

#include <algorithm>
#include <array>
#include <optional>

#include "media/us_keyboard.h"
#include "stats/keys.h"

namespace stats {
namespace {

struct Place {
  int32_t row;
  int32_t column;
  int32_t code;  // the game key code of the key there
};

// The keys of the main block that may type a word character, by the place
// of each (set-1 codes run along the rows). The key left of 1 and the one
// beside Enter are left out: the map has no room for them.
const std::vector<Place>& Places() {
  static const std::vector<Place> places = [] {
    std::vector<Place> made;
    const auto row = [&](int32_t r, int32_t firstCode, int32_t count) {
      for (int32_t c = 0; c < count; ++c) made.push_back({r, c, firstCode + c});
    };
    row(0, 2, 12);                // 1 to =
    row(1, 16, 12);               // Q to ]
    row(2, 30, 11);               // A to '
    made.push_back({3, -1, 86});  // the ISO keyboards' extra key
    row(3, 44, 10);               // Z to /
    return made;
  }();
  return places;
}

std::optional<std::size_t> PlaceOfCode(int32_t code) {
  for (std::size_t i = 0; i < Places().size(); ++i) {
    if (Places()[i].code == code) return i;
  }
  return std::nullopt;
}

}  // namespace

std::vector<MapKey> LayOutKeyMap(const std::function<char32_t(int32_t)>& typed) {
  const std::vector<Place>& places = Places();
  std::vector<char> shown(places.size(), '\0');  // the word character at each place
  std::string placed;
  for (std::size_t i = 0; i < places.size(); ++i) {
    const char32_t c = typed(places[i].code);
    if (c == 0 || c >= 0x80 || !KeyCodeOfName(std::string(1, static_cast<char>(c)))) continue;
    if (placed.find(static_cast<char>(c)) != std::string::npos) continue;  // typed twice
    shown[i] = static_cast<char>(c);
    placed += static_cast<char>(c);
  }
  for (const std::string& row : KeyboardRows()) {
    for (const char c : row) {
      if (placed.find(c) != std::string::npos) continue;
      // Its US place, else the next free one on the right, else any free one.
      std::size_t at = *PlaceOfCode(media::Set1FromUsCharacter(static_cast<unsigned char>(c)));
      const int32_t usRow = places[at].row;
      while (at < places.size() && (shown[at] != '\0' || places[at].row != usRow)) ++at;
      if (at == places.size()) {
        at = static_cast<std::size_t>(std::find(shown.begin(), shown.end(), '\0') - shown.begin());
      }
      shown[at] = c;
      placed += c;
    }
  }
  std::vector<MapKey> keys;
  for (std::size_t i = 0; i < places.size(); ++i) {
    if (shown[i] == '\0') continue;
    keys.push_back(
        {places[i].row, places[i].column, shown[i], *KeyCodeOfName(std::string(1, shown[i]))});
  }
  return keys;
}

}  // namespace stats
