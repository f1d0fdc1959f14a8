// The key codes with a role of their own: PC set-1 codes, as the keyboard device delivers them.
#pragma once

namespace state {

constexpr int kKeyEsc = 1;
constexpr int kKeyBackspace = 14;
constexpr int kKeyTab = 15;
constexpr int kKeyEnter = 28;
constexpr int kKeySpace = 57;
// Keys of the extended set, 128 above the key they share a code with: the
// number pad's Enter, the arrows (the options screen's).
constexpr int kKeyPadEnter = 156;
constexpr int kKeyArrowUp = 200;
constexpr int kKeyArrowLeft = 203;
constexpr int kKeyArrowRight = 205;
constexpr int kKeyArrowDown = 208;

// The letter keys that screens read (O on the title, L on the statistics)
// come from the US rows, media::Set1FromUsCharacter.

}  // namespace state
