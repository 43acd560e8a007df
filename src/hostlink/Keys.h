// The key strings the finder sends the chart ("{RIGHT}", "^{F4}"): the walk that turns one into
// key presses and releases, plain code so that the Windows-side bridge and the tests share it.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

namespace hostlink {

struct KeyEvent {
    int virtualKey;
    bool up;
    bool operator==(const KeyEvent&) const = default;
};

constexpr int VkAlt = 0x12, VkCtrl = 0x11, VkShift = 0x10;

// The virtual key of a name of the key name table ("PGDN", any case); 0 when it has none.
int NamedKey(std::string_view name);

// "@" marks Alt, "^" Ctrl and "~" Shift for the next key; "{NAME}" is a named key; any other
// character is the virtual key `keyOfCharacter` gives (the low byte of the platform's key scan).
// A name not in the table or longer than 7 characters ends the walk. Each key: the marked
// modifiers pressed (Alt, Ctrl, Shift), the key pressed and released, the modifiers released
// (Shift, Ctrl, Alt).
std::vector<KeyEvent> WalkKeys(std::string_view keys,
                               const std::function<int(char)>& keyOfCharacter);

} // namespace hostlink
