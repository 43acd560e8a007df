#include "hostlink/Keys.h"

#include "platform/Text.h"

#include <utility>

namespace hostlink {

namespace {

const std::pair<const char*, int> KeyNameTable[] = {
    {"F1", 0x70},   {"F2", 0x71},    {"F3", 0x72},     {"F4", 0x73},     {"F5", 0x74},
    {"F6", 0x75},   {"F7", 0x76},    {"F8", 0x77},     {"F9", 0x78},     {"F10", 0x79},
    {"F11", 0x7A},  {"F12", 0x7B},   {"INSERT", 0x2D}, {"DELETE", 0x2E}, {"HOME", 0x24},
    {"END", 0x23},  {"PGUP", 0x21},  {"PGDN", 0x22},   {"TAB", 0x09},    {"ENTER", 0x0D},
    {"BKSP", 0x08}, {"PRTSC", 0x2C}, {"SHIFT", 0x10},  {"ESCAPE", 0x1B}, {"UP", 0x26},
    {"DOWN", 0x28}, {"LEFT", 0x25},  {"RIGHT", 0x27}};

} // namespace

int NamedKey(std::string_view name) {
    for (const auto& [n, vk] : KeyNameTable)
        if (platform::EqualNoCase(name, n)) return vk;
    return 0;
}

std::vector<KeyEvent> WalkKeys(std::string_view keys,
                               const std::function<int(char)>& keyOfCharacter) {
    std::vector<KeyEvent> events;
    bool alt = false, ctrl = false, shift = false;
    auto send = [&](int vk) {
        if (alt) events.push_back({VkAlt, false});
        if (ctrl) events.push_back({VkCtrl, false});
        if (shift) events.push_back({VkShift, false});
        events.push_back({vk, false});
        events.push_back({vk, true});
        if (shift) events.push_back({VkShift, true});
        if (ctrl) events.push_back({VkCtrl, true});
        if (alt) events.push_back({VkAlt, true});
        alt = ctrl = shift = false;
    };
    for (std::size_t i = 0; i < keys.size(); ++i) {
        char c = keys[i];
        if (c == '@') {
            alt = true;
        } else if (c == '^') {
            ctrl = true;
        } else if (c == '~') {
            shift = true;
        } else if (c == '{') {
            std::size_t close = keys.find('}', i + 1);
            std::string_view name = keys.substr(
                i + 1, close == std::string_view::npos ? std::string_view::npos : close - i - 1);
            int vk = name.size() <= 7 ? NamedKey(name) : 0;
            if (vk == 0 || close == std::string_view::npos) break;
            send(vk);
            i = close;
        } else {
            send(keyOfCharacter(c) & 0xFF);
        }
    }
    return events;
}

} // namespace hostlink
