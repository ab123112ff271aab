// GDK's keys as the original's virtual-key codes, which the module's hot keys and the simulator's
// keys are written in.
#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>

#include <utility>

#include "desktop/VirtualKeys.h"

namespace {

TEST(DesktopVirtualKeysTest, KeysHaveTheOriginalsCodes) {
    const struct {
        unsigned keyval;
        int virtualKey;
    } cases[] = {
        {GDK_KEY_a, 'A'},
        {GDK_KEY_z, 'Z'},
        {GDK_KEY_R, 'R'},
        {GDK_KEY_0, '0'},
        {GDK_KEY_9, '9'},
        {GDK_KEY_F1, 0x70},
        {GDK_KEY_F12, 0x7B},
        {GDK_KEY_F24, 0x87},
        {GDK_KEY_KP_0, 0x60},
        {GDK_KEY_KP_9, 0x69},
        {GDK_KEY_KP_Up, 0x68},
        {GDK_KEY_KP_Begin, 0x65},
        {GDK_KEY_KP_Insert, 0x60},
        {GDK_KEY_KP_Add, 0x6B},
        {GDK_KEY_KP_Subtract, 0x6D},
        {GDK_KEY_KP_Enter, 0x0D},
        {GDK_KEY_Return, 0x0D},
        {GDK_KEY_Escape, 0x1B},
        {GDK_KEY_space, 0x20},
        {GDK_KEY_BackSpace, 0x08},
        {GDK_KEY_Left, 0x25},
        {GDK_KEY_Down, 0x28},
        {GDK_KEY_Page_Up, 0x21},
        {GDK_KEY_Shift_R, 0x10},
        {GDK_KEY_Control_L, 0x11},
        {GDK_KEY_Alt_L, 0x12},
        {GDK_KEY_period, 0xBE},
        {GDK_KEY_bracketleft, 0xDB},
        {GDK_KEY_apostrophe, 0xDE},
        // Keys the original has no code for.
        {GDK_KEY_Super_L, 0},
        {GDK_KEY_eacute, 0},
        {GDK_KEY_VoidSymbol, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.virtualKey, desktop::virtualKeyOf(c.keyval)) << "keyval 0x" << std::hex << c.keyval;
}

TEST(DesktopVirtualKeysTest, AHotKeyFieldNamesTheKey) {
    const std::pair<int, const char*> cases[] = {
        {'R', "R"},      {'0', "0"},         {0x70, "F1"},        {0x87, "F24"},   {0x60, "Num 0"},
        {0x69, "Num 9"}, {0x24, "Home"},     {0x22, "Page Down"}, {0x6B, "Num +"}, {0xDC, "\\"},
        {0xDE, "'"},     {0x05, "Key 0x05"}, {0xFE, "Key 0xFE"},
    };
    for (const auto& [virtualKey, name] : cases)
        EXPECT_EQ(name, desktop::keyName(virtualKey)) << "key 0x" << std::hex << virtualKey;
}

} // namespace
