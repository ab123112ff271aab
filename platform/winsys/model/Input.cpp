#include "winsys/Input.h"

#include <limits>

#include "winsys/Messages.h"
#include "winsys/Transcript.h"
#include "winsys/model/Cursors.h"
#include "winsys/model/WindowStore.h"

namespace win {

struct CursorObject {
    int id;
    const char* name;
};

namespace {

constexpr CursorObject kStandardCursors[] = {{IDC_ARROW, "arrow"}, {IDC_CROSS, "cross"}};

void recordCursor(CursorEntry entry) {
    CurrentTranscript().add(std::move(entry));
}

} // namespace

namespace model {

const char* cursorName(HCURSOR cursor) {
    return cursor == nullptr ? "none" : cursor->name;
}

void placeCursor(POINT screen) {
    store().cursor.position = screen;
}

} // namespace model

int16_t GetAsyncKeyState(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 255)
        return 0;
    const bool down = model::store().keyDown[static_cast<size_t>(virtualKey)];
    return down ? std::numeric_limits<int16_t>::min() : int16_t{0};
}

bool GetCursorPos(POINT* point) {
    if (point == nullptr)
        return false;
    *point = model::store().cursor.position;
    return true;
}

bool SetCursorPos(int x, int y) {
    model::placeCursor(POINT{x, y});
    recordCursor(CursorEntry{CursorEntry::Position, {}, true, POINT{x, y}});
    return true;
}

int ShowCursor(bool show) {
    int& count = model::store().cursor.displayCount;
    const bool wasVisible = count >= 0;
    count += show ? 1 : -1;
    const bool visible = count >= 0;
    if (visible != wasVisible)
        recordCursor(CursorEntry{CursorEntry::Visibility, {}, visible, {}});
    return count;
}

HCURSOR SetCursor(HCURSOR cursor) {
    HCURSOR& shape = model::store().cursor.shape;
    const HCURSOR previous = shape;
    if (cursor != previous) {
        shape = cursor;
        recordCursor(CursorEntry{CursorEntry::Shape, model::cursorName(cursor), true, {}});
    }
    return previous;
}

HCURSOR LoadCursor(HINSTANCE instance, int cursorId) {
    if (instance != nullptr)
        return nullptr;
    for (const CursorObject& cursor : kStandardCursors)
        if (cursor.id == cursorId)
            return &cursor;
    return nullptr;
}

} // namespace win
