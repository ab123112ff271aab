#include "desktop/VirtualKeys.h"

#include <gdk/gdkkeysyms.h>

#include <cstdio>
#include <iterator>

namespace desktop {

namespace {

struct KeyCode {
    unsigned keyval;
    int virtualKey;
};

// The keypad's keys count as its digits whether Num Lock is on or not: the simulator's views and
// hand-flying keys live there.
constexpr KeyCode kKeys[] = {
    {GDK_KEY_BackSpace, 0x08},    {GDK_KEY_Tab, 0x09},         {GDK_KEY_ISO_Left_Tab, 0x09},
    {GDK_KEY_Return, 0x0D},       {GDK_KEY_KP_Enter, 0x0D},    {GDK_KEY_Shift_L, 0x10},
    {GDK_KEY_Shift_R, 0x10},      {GDK_KEY_Control_L, 0x11},   {GDK_KEY_Control_R, 0x11},
    {GDK_KEY_Alt_L, 0x12},        {GDK_KEY_Alt_R, 0x12},       {GDK_KEY_Meta_L, 0x12},
    {GDK_KEY_Pause, 0x13},        {GDK_KEY_Caps_Lock, 0x14},   {GDK_KEY_Escape, 0x1B},
    {GDK_KEY_space, 0x20},        {GDK_KEY_Page_Up, 0x21},     {GDK_KEY_Page_Down, 0x22},
    {GDK_KEY_End, 0x23},          {GDK_KEY_Home, 0x24},        {GDK_KEY_Left, 0x25},
    {GDK_KEY_Up, 0x26},           {GDK_KEY_Right, 0x27},       {GDK_KEY_Down, 0x28},
    {GDK_KEY_Print, 0x2C},        {GDK_KEY_Insert, 0x2D},      {GDK_KEY_Delete, 0x2E},
    {GDK_KEY_KP_Insert, 0x60},    {GDK_KEY_KP_End, 0x61},      {GDK_KEY_KP_Down, 0x62},
    {GDK_KEY_KP_Page_Down, 0x63}, {GDK_KEY_KP_Left, 0x64},     {GDK_KEY_KP_Begin, 0x65},
    {GDK_KEY_KP_Right, 0x66},     {GDK_KEY_KP_Home, 0x67},     {GDK_KEY_KP_Up, 0x68},
    {GDK_KEY_KP_Page_Up, 0x69},   {GDK_KEY_KP_Multiply, 0x6A}, {GDK_KEY_KP_Add, 0x6B},
    {GDK_KEY_KP_Subtract, 0x6D},  {GDK_KEY_KP_Decimal, 0x6E},  {GDK_KEY_KP_Delete, 0x6E},
    {GDK_KEY_KP_Divide, 0x6F},    {GDK_KEY_Num_Lock, 0x90},    {GDK_KEY_Scroll_Lock, 0x91},
    {GDK_KEY_semicolon, 0xBA},    {GDK_KEY_equal, 0xBB},       {GDK_KEY_comma, 0xBC},
    {GDK_KEY_minus, 0xBD},        {GDK_KEY_period, 0xBE},      {GDK_KEY_slash, 0xBF},
    {GDK_KEY_grave, 0xC0},        {GDK_KEY_bracketleft, 0xDB}, {GDK_KEY_backslash, 0xDC},
    {GDK_KEY_bracketright, 0xDD}, {GDK_KEY_apostrophe, 0xDE},
};

struct KeyName {
    int virtualKey;
    const char* name;
};

constexpr KeyName kNames[] = {
    {0x08, "Backspace"}, {0x09, "Tab"},     {0x0D, "Enter"},     {0x13, "Pause"}, {0x1B, "Esc"},
    {0x20, "Space"},     {0x21, "Page Up"}, {0x22, "Page Down"}, {0x23, "End"},   {0x24, "Home"},
    {0x25, "Left"},      {0x26, "Up"},      {0x27, "Right"},     {0x28, "Down"},  {0x2D, "Insert"},
    {0x2E, "Delete"},    {0x6A, "Num *"},   {0x6B, "Num +"},     {0x6D, "Num -"}, {0x6E, "Num Del"},
    {0x6F, "Num /"},     {0xBA, ";"},       {0xBB, "="},         {0xBC, ","},     {0xBD, "-"},
    {0xBE, "."},         {0xBF, "/"},       {0xC0, "`"},         {0xDB, "["},     {0xDC, "\\"},
    {0xDD, "]"},         {0xDE, "'"},
};

} // namespace

std::string keyName(int virtualKey) {
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z'))
        return std::string(1, static_cast<char>(virtualKey));
    if (virtualKey >= 0x70 && virtualKey <= 0x87)
        return "F" + std::to_string(virtualKey - 0x6F);
    if (virtualKey >= 0x60 && virtualKey <= 0x69)
        return "Num " + std::to_string(virtualKey - 0x60);
    for (const KeyName& key : kNames)
        if (key.virtualKey == virtualKey)
            return key.name;
    char hex[16];
    std::snprintf(hex, sizeof hex, "Key 0x%02X", static_cast<unsigned>(virtualKey & 0xFF));
    return hex;
}

int virtualKeyOf(const GdkEventKey& event) {
    guint keyval = 0;
    gdk_keymap_translate_keyboard_state(gdk_keymap_get_for_display(gdk_display_get_default()),
                                        event.hardware_keycode, static_cast<GdkModifierType>(0), event.group,
                                        &keyval, nullptr, nullptr, nullptr);
    return virtualKeyOf(keyval != 0 ? keyval : event.keyval);
}

int virtualKeyOf(unsigned keyval) {
    if (keyval >= GDK_KEY_a && keyval <= GDK_KEY_z)
        return static_cast<int>('A' + (keyval - GDK_KEY_a));
    if (keyval >= GDK_KEY_A && keyval <= GDK_KEY_Z)
        return static_cast<int>(keyval);
    if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9)
        return static_cast<int>(keyval);
    if (keyval >= GDK_KEY_KP_0 && keyval <= GDK_KEY_KP_9)
        return static_cast<int>(0x60 + (keyval - GDK_KEY_KP_0));
    if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F24)
        return static_cast<int>(0x70 + (keyval - GDK_KEY_F1));
    for (const KeyCode& key : kKeys)
        if (key.keyval == keyval)
            return key.virtualKey;
    return 0;
}

} // namespace desktop
