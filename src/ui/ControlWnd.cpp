#include "ui/ControlWnd.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iterator>
#include <limits>
#include <utility>

#include "alerts/ShowError.h"
#include "common/Log.h"
#include "common/ZephrelException.h"
#include "settings/Settings.h"
#include "ui/ModuleResources.h"

namespace {

using Command = void (PlaybackCommands::*)();

// One child control, in pixels of the client area.
struct ControlSpec {
    int id;
    const char* className;
    win::DWORD style;
    const char* text;
    int x, y, width, height;
    Command click;   // what a click sends; none for the slider, the loop box and the search buttons
    int searchLevel; // search buttons: backward (< 0) or forward (> 0) at this level while held
};

constexpr win::DWORD kButton = win::BS_PUSHBUTTON;
constexpr win::DWORD kSearchButton = win::BS_OWNERDRAW;
constexpr win::DWORD kLoopBox = win::BS_AUTOCHECKBOX | win::BS_PUSHLIKE;
constexpr win::DWORD kSpeedText = win::SS_CENTER | win::SS_SUNKEN | win::SS_NOTIFY;
using PC = PlaybackCommands;
using CW = ControlWnd;

constexpr ControlSpec kControls[] = {
    {CW::kProgressId, win::TRACKBAR_CLASS, win::TBS_BOTH, "Progress", 0, 0, 350, 40, nullptr, 0},
    {CW::kPreviousMarkerId, win::WC_BUTTON, kButton, "|<", 5, 40, 20, 20, &PC::previousMarker, 0},
    {CW::kBackward3Id, win::WC_BUTTON, kSearchButton, "<<<", 25, 40, 20, 20, nullptr, -3},
    {CW::kBackward2Id, win::WC_BUTTON, kSearchButton, "<<", 45, 40, 20, 20, nullptr, -2},
    {CW::kBackward1Id, win::WC_BUTTON, kSearchButton, "<", 65, 40, 20, 20, nullptr, -1},
    {CW::kLoopInId, win::WC_BUTTON, kButton, "[", 95, 40, 20, 20, &PC::loopIn, 0},
    {CW::kLoopId, win::WC_BUTTON, kLoopBox, "~", 115, 40, 20, 20, nullptr, 0},
    {CW::kLoopOutId, win::WC_BUTTON, kButton, "]", 135, 40, 20, 20, &PC::loopOut, 0},
    {CW::kSlowerId, win::WC_BUTTON, kButton, "-", 165, 40, 20, 20, &PC::slower, 0},
    {CW::kSpeedId, win::WC_STATIC, kSpeedText, "100%", 186, 40, 48, 20, &PC::normalSpeed, 0},
    {CW::kFasterId, win::WC_BUTTON, kButton, "+", 235, 40, 20, 20, &PC::faster, 0},
    {CW::kForward1Id, win::WC_BUTTON, kSearchButton, ">", 265, 40, 20, 20, nullptr, 1},
    {CW::kForward2Id, win::WC_BUTTON, kSearchButton, ">>", 285, 40, 20, 20, nullptr, 2},
    {CW::kForward3Id, win::WC_BUTTON, kSearchButton, ">>>", 305, 40, 20, 20, nullptr, 3},
    {CW::kNextMarkerId, win::WC_BUTTON, kButton, ">|", 325, 40, 20, 20, &PC::nextMarker, 0},
};
static_assert(std::size(kControls) == CW::kControlCount);

// The speed text's click arrives as a button's.
static_assert(win::BN_CLICKED == win::STN_CLICKED);

constexpr win::DWORD kWindowStyle = win::WS_POPUP | win::WS_CAPTION | win::WS_SYSMENU;
constexpr win::DWORD kWindowExStyle = win::WS_EX_TOOLWINDOW;

// The table position of a control, or -1.
int indexOf(int id) {
    for (int i = 0; i < CW::kControlCount; ++i)
        if (kControls[i].id == id)
            return i;
    return -1;
}

// trunc(value), with what no int holds brought to its nearest end (and no number to 0): the
// values come from the player and must not make the conversion undefined.
int truncated(double value) {
    if (std::isnan(value))
        return 0;
    constexpr double kLowest = std::numeric_limits<int>::min(), kHighest = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(value, kLowest, kHighest));
}

int trackPosition(double fraction) {
    return truncated(fraction * CW::kTrackRange);
}

} // namespace

ControlWnd::ControlWnd(win::HWND owner, PlaybackCommands& commands, std::string settingsFile)
    : owner_(owner), commands_(commands), settingsFile_(std::move(settingsFile)) {
    if (owner == nullptr)
        throw ZephrelException(ErrorCode::Unexpected, ZephrelException::DisablesModule,
                               "ControlWnd::ControlWnd", __LINE__, "NULL pointer passed");
    createWindow();
    createControls();
}

ControlWnd::~ControlWnd() {
    if (win::IsWindow(hwnd_))
        win::DestroyWindow(hwnd_);
}

void ControlWnd::createWindow() {
    // A second window of the class finds it registered already, which is fine.
    win::WNDCLASS windowClass;
    windowClass.style = win::CS_HREDRAW | win::CS_VREDRAW;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = ModuleResources::instance();
    windowClass.hCursor = win::LoadCursor(nullptr, win::IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    win::RegisterClass(windowClass);

    WindowPositions positions;
    readWindowPositions(settingsFile_, positions);
    win::RECT frame{0, 0, kClientWidth, kClientHeight};
    win::AdjustWindowRectEx(&frame, kWindowStyle, kWindowExStyle);
    hwnd_ = win::CreateWindowEx(kWindowExStyle, kClassName, kTitle, kWindowStyle, positions.controlWndXPos,
                                positions.controlWndYPos, frame.right - frame.left, frame.bottom - frame.top,
                                owner_, 0, ModuleResources::instance(), this);
    if (hwnd_ == nullptr)
        throw ZephrelException(ErrorCode::Unexpected, ZephrelException::DisablesModule,
                               "ControlWnd::ControlWnd", __LINE__, "Window not created");
}

void ControlWnd::createControls() {
    for (const ControlSpec& c : kControls)
        win::CreateWindowEx(0, c.className, c.text, win::WS_CHILD | win::WS_VISIBLE | c.style, c.x, c.y,
                            c.width, c.height, hwnd_, c.id, ModuleResources::instance(), nullptr);
    win::SendDlgItemMessage(hwnd_, kProgressId, win::TBM_SETRANGE, 1, win::MAKELPARAM(0, kTrackRange));
    win::SendDlgItemMessage(hwnd_, kProgressId, win::TBM_SETPOS, 1, 0);
}

void ControlWnd::show() {
    win::ShowWindow(hwnd_, win::SW_SHOW);
    visible_ = true;
}

void ControlWnd::hide() {
    win::ShowWindow(hwnd_, win::SW_HIDE);
    visible_ = false;
}

bool ControlWnd::toggle() {
    if (visible_)
        hide();
    else
        show();
    return visible_;
}

void ControlWnd::setPosition(double fraction) {
    win::SendDlgItemMessage(hwnd_, kProgressId, win::TBM_SETPOS, 1, trackPosition(fraction));
}

void ControlWnd::setLoop(double inFraction, double outFraction, bool loopOn) {
    win::SendDlgItemMessage(hwnd_, kProgressId, win::TBM_CLEARTICS, 1, 0);
    win::SendDlgItemMessage(hwnd_, kProgressId, win::TBM_SETTIC, 0, trackPosition(inFraction));
    win::SendDlgItemMessage(hwnd_, kProgressId, win::TBM_SETTIC, 0, trackPosition(outFraction));
    win::CheckDlgButton(hwnd_, kLoopId, loopOn ? win::BST_CHECKED : win::BST_UNCHECKED);
}

void ControlWnd::setSpeed(float speed) {
    char text[16];
    std::snprintf(text, sizeof text, "%d%%", truncated(static_cast<double>(speed) * 100 + 0.5));
    win::SetDlgItemText(hwnd_, kSpeedId, text);
}

win::LRESULT ControlWnd::windowProc(win::HWND hwnd, win::UINT message, win::WPARAM wParam,
                                    win::LPARAM lParam) {
    if (message == win::WM_NCCREATE) {
        auto* window =
            static_cast<ControlWnd*>(reinterpret_cast<const win::CREATESTRUCT*>(lParam)->lpCreateParams);
        win::SetWindowLongPtr(hwnd, win::GWLP_USERDATA, reinterpret_cast<win::LONG_PTR>(window));
        window->hwnd_ = hwnd;
    }
    auto* window = reinterpret_cast<ControlWnd*>(win::GetWindowLongPtr(hwnd, win::GWLP_USERDATA));
    if (window == nullptr)
        return win::DefWindowProc(hwnd, message, wParam, lParam);
    // The window procedure is an entry point of the module: nothing may escape into the window system.
    try {
        return window->route(message, wParam, lParam);
    } catch (const ZephrelException& e) {
        showError(e.userText, e.severity);
    } catch (const std::exception& e) {
        Log::log(std::string("Error: unexpected exception in the control window: ") + e.what(), 1, false);
    } catch (...) {
        Log::log("Error: unexpected exception in the control window", 1, false);
    }
    return 0;
}

win::LRESULT ControlWnd::route(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) {
    switch (message) {
    case win::WM_COMMAND:
        onCommand(win::LOWORD(wParam), win::HIWORD(wParam));
        return 0;
    case win::WM_HSCROLL:
        if (reinterpret_cast<win::HWND>(lParam) == win::GetDlgItem(hwnd_, kProgressId))
            onScroll(win::LOWORD(wParam));
        return 0;
    case win::WM_DRAWITEM:
        onDrawItem(*reinterpret_cast<const win::DRAWITEMSTRUCT*>(lParam));
        return 1;
    case win::WM_EXITSIZEMOVE:
        savePosition();
        return 0;
    case win::WM_ACTIVATE:
        // The simulator's keys must keep working while the user clicks the buttons.
        if (win::LOWORD(wParam) != win::WA_INACTIVE)
            win::SetFocus(owner_);
        return 0;
    case win::WM_CLOSE:
        // Closing only hides: the window lives as long as the controller.
        hide();
        return 0;
    default:
        return win::DefWindowProc(hwnd_, message, wParam, lParam);
    }
}

void ControlWnd::onCommand(int id, int notifyCode) {
    // A search button's click is the end of its hold, which its redraw has already sent.
    const int index = indexOf(id);
    if (notifyCode != win::BN_CLICKED || index < 0)
        return;
    if (id == kLoopId)
        commands_.setLoop(win::IsDlgButtonChecked(hwnd_, kLoopId) == win::BST_CHECKED);
    else if (const Command click = kControls[index].click)
        (commands_.*click)();
}

void ControlWnd::onScroll(int scrollCode) {
    // TB_ENDTRACK only closes a scroll whose positions were reported before it.
    if (scrollCode == win::TB_ENDTRACK)
        return;
    const auto track = win::SendDlgItemMessage(hwnd_, kProgressId, win::TBM_GETPOS, 0, 0);
    commands_.position(static_cast<double>(track) / kTrackRange);
}

// The search buttons search while they are drawn pressed. Redraws come with every change of the
// pressed state but also when the window is repainted, so only a change of the held mark sends.
// The model has no device context: the button's pressed look is its state.
void ControlWnd::onDrawItem(const win::DRAWITEMSTRUCT& draw) {
    const int index = indexOf(static_cast<int>(draw.CtlID));
    if (index < 0 || kControls[index].searchLevel == 0)
        return;
    const bool pressed = (draw.itemState & win::ODS_SELECTED) != 0;
    bool& held = held_[static_cast<size_t>(index)];
    if (pressed == held)
        return;
    held = pressed;
    const int searchLevel = kControls[index].searchLevel;
    const int level = pressed ? std::abs(searchLevel) : 0;
    if (searchLevel > 0)
        commands_.forward(level);
    else
        commands_.backward(level);
}

void ControlWnd::savePosition() const {
    win::RECT rect;
    if (win::GetWindowRect(hwnd_, &rect))
        writeControlWindowPosition(settingsFile_, rect.left, rect.top);
}
