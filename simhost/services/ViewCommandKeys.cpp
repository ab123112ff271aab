#include "services/ViewCommandKeys.h"

namespace {

struct Binding {
    int key;
    bool shift, ctrl;
    uint32_t command;
};

constexpr int kBack = 0x08;
constexpr int kReturn = 0x0D;
constexpr int kSpace = 0x20;
constexpr int kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28;
constexpr int kNumpad0 = 0x60;
constexpr int kAdd = 0x6B, kSubtract = 0x6D;

constexpr Binding kBindings[] = {
    // Eye moves: up, down, right, left, forward, back, back to the camera's own eye.
    {kReturn, true, false, 0x103DC},
    {kBack, true, false, 0x103DD},
    {kReturn, true, true, 0x103DE},
    {kBack, true, true, 0x103DF},
    {kReturn, false, true, 0x103E0},
    {kBack, false, true, 0x103E1},
    {kSpace, true, true, 0x103E2},
    // Looks with Shift and the numeric keypad (8 ahead, clockwise round to 7, 5 down); one level up
    // with Ctrl as well.
    {kNumpad0 + 8, true, false, 0x1008A},
    {kNumpad0 + 9, true, false, 0x1008B},
    {kNumpad0 + 6, true, false, 0x1008C},
    {kNumpad0 + 3, true, false, 0x1008D},
    {kNumpad0 + 2, true, false, 0x1008E},
    {kNumpad0 + 1, true, false, 0x1008F},
    {kNumpad0 + 4, true, false, 0x10090},
    {kNumpad0 + 7, true, false, 0x10091},
    {kNumpad0 + 5, true, false, 0x10092},
    {kNumpad0 + 8, true, true, 0x10259},
    {kNumpad0 + 9, true, true, 0x1025A},
    {kNumpad0 + 6, true, true, 0x1025B},
    {kNumpad0 + 3, true, true, 0x1025C},
    {kNumpad0 + 2, true, true, 0x1025D},
    {kNumpad0 + 1, true, true, 0x1025E},
    {kNumpad0 + 4, true, true, 0x1025F},
    {kNumpad0 + 7, true, true, 0x10260},
    {kNumpad0 + 5, true, true, 0x10261},
    // Pans with Shift and the arrows; Ctrl+Space levels the look again.
    {kUp, true, false, 0x10087},
    {kDown, true, false, 0x10088},
    {kLeft, true, false, 0x100C6},
    {kRight, true, false, 0x100C7},
    {kSpace, false, true, 0x10153},
    // Zooms on the numeric keypad: + and − in large steps, with Shift in fine ones, with Ctrl in
    // small ones; Backspace back to 1.
    {kAdd, false, false, 0x100B7},
    {kSubtract, false, false, 0x100B6},
    {kAdd, true, false, 0x10086},
    {kSubtract, true, false, 0x10089},
    {kAdd, false, true, 0x10078},
    {kSubtract, false, true, 0x10077},
    {kBack, false, false, 0x1000E},
};

} // namespace

std::optional<uint32_t> viewCommandForKey(int virtualKey, bool shift, bool ctrl) {
    for (const Binding& b : kBindings)
        if (b.key == virtualKey && b.shift == shift && b.ctrl == ctrl)
            return b.command;
    return std::nullopt;
}
