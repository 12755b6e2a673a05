#include "framework/HostKeys.h"

#include <gtest/gtest.h>

namespace {

struct SKey {
    const char* name;
    UINT vk;
    UINT mods;
};
const UINT C = CHostKeys::CTRL, A = CHostKeys::ALT, S = CHostKeys::SHIFT;

} // namespace

// The browser's commands in each of their forms are swallowed.
TEST(HostKeysTest, TheBrowsersCommandsAreSwallowed) {
    for (const SKey& key : {SKey{"Ctrl+N", 'N', C},    {"Ctrl+Shift+N", 'N', C | S},
                            {"Ctrl+O", 'O', C},        {"Ctrl+S", 'S', C},
                            {"Ctrl+P", 'P', C},        {"Ctrl+F", 'F', C},
                            {"F3", 0x72, 0},           {"F5", 0x74, 0},
                            {"Ctrl+F5", 0x74, C},      {"Shift+F5", 0x74, S},
                            {"Ctrl+R", 'R', C},        {"Ctrl+L", 'L', C},
                            {"Ctrl+D", 'D', C},        {"Alt+D", 'D', A},
                            {"F4", 0x73, 0},           {"F6", 0x75, 0},
                            {"F11", 0x7A, 0},          {"F1", 0x70, 0},
                            {"Shift+F1", 0x70, S},     {"Alt+Left", 0x25, A},
                            {"Alt+Right", 0x27, A},    {"Alt+Home", 0x24, A},
                            {"Browser Back", 0xA6, 0}, {"Browser Refresh", 0xA8, 0},
                            {"Browser Home", 0xAC, 0}, {"Ctrl+T", 'T', C},
                            {"Ctrl+W", 'W', C},        {"Ctrl+E", 'E', C},
                            {"F12", 0x7B, 0}})
        EXPECT_TRUE(CHostKeys::IsBrowserCommand(key.vk, key.mods)) << key.name;
}

// Everything a form needs passes: typing (also with AltGr, Ctrl+Alt), the
// editing and moving keys, the clipboard, undo, Backspace and Alt+F4.
TEST(HostKeysTest, KeysAFormNeedsPass) {
    for (const SKey& key : {SKey{"a", 'A', 0},      {"Shift+N", 'N', S},      {"7", '7', 0},
                            {"Tab", 0x09, 0},       {"Shift+Tab", 0x09, S},   {"Enter", 0x0D, 0},
                            {"Delete", 0x2E, 0},    {"Backspace", 0x08, 0},   {"Left", 0x25, 0},
                            {"Ctrl+Left", 0x25, C}, {"Shift+Right", 0x27, S}, {"Up", 0x26, 0},
                            {"Home", 0x24, 0},      {"Ctrl+C", 'C', C},       {"Ctrl+V", 'V', C},
                            {"Ctrl+X", 'X', C},     {"Ctrl+A", 'A', C},       {"Ctrl+Z", 'Z', C},
                            {"Ctrl+Y", 'Y', C},     {"AltGr+Q", 'Q', C | A},  {"Alt+F4", 0x73, A},
                            {"Space", 0x20, 0},     {"Esc", 0x1B, 0},         {"F2", 0x71, 0},
                            {"Alt+N", 'N', A}})
        EXPECT_FALSE(CHostKeys::IsBrowserCommand(key.vk, key.mods)) << key.name;
}
