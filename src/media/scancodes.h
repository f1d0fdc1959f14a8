// PC set-1 key codes (the numbering the game uses) of SDL's keys, by position or by character.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace media {

// The set-1 code of an SDL scancode (SDL_Scancode as an int), or 0 for a
// key that has none. Keys of the extended set have 128 added (arrows, the
// number pad's Enter and slash, right Ctrl and Alt, ...).
int32_t Set1FromSdlScancode(int32_t scancode);

// The SDL scancode of a set-1 code: the first key of that code (the ISO
// keyboards' key beside Enter shares the US backslash's), or 0 for none.
int32_t SdlScancodeFromSet1(int32_t set1);

// What a key's cap shows of an SDL key code: its character, a letter as its
// capital; 0 for a code of no printable character (Enter, Tab, arrows, ...).
char32_t KeyCapOfSdlKeycode(int32_t keycode);

// The code of a key that types only characters the game has no key for
// (such as a German sharp s), or a dead key: the ISO keyboards' extra key,
// which types nothing in a name and matches no letter, so it counts as a
// wrong key.
constexpr int32_t kSet1OtherCharacter = 86;

// The set-1 code of a key read by the character it types on the player's
// layout. keycode is SDL's key code (the layout's character for the key
// without modifiers, or a code without a character), text what the press
// typed with the modifiers held (empty when it typed nothing).
//
// Shift and Caps Lock are part of the character typed with them and report
// nothing (0). The other keys outside the main block (Esc, Backspace, Enter,
// Space, the number pad, Ctrl, Alt, function keys, ...) keep their position.
// A main-block key counts as the first of: the letter, digit or '-' it
// typed; the letter, digit or '-' of its key code; the plain letter of the
// accented letter it typed (é as E; ß as the last S of SS); the US key of
// the sign it typed; that of its key code. A key that gives only other
// characters, or none (a dead key), reports kSet1OtherCharacter; one whose
// key code is unknown (0) and that typed nothing keeps its position.
int32_t Set1FromTypedKey(int32_t scancode, int32_t keycode, std::string_view text);
// The letters a key's typed text stands for before the one Set1FromTypedKey
// gives it, each a press of its own: the first S of ß. None for any other key.
std::vector<int32_t> Set1TypedBefore(int32_t scancode, int32_t keycode, std::string_view text);

}  // namespace media
