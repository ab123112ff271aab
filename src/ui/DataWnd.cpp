#include "ui/DataWnd.h"

#include <algorithm>
#include <cassert>
#include <span>

#include "alerts/HostWindow.h"
#include "alerts/ShowError.h"
#include "common/Log.h"
#include "common/ZephrelException.h"
#include "settings/Settings.h"
#include "ui/ModuleResources.h"

namespace {

namespace F = DataWndFields;

struct Field {
    const char* label;
    int id;
};

// A group box of labels with their value fields, one row each.
struct Group {
    const char* title;
    int labelWidth;
    std::span<const Field> fields;
};

constexpr Field kPosition[] = {{"Latitude:", F::kLatitude},
                               {"Longitude:", F::kLongitude},
                               {"Altitude:", F::kAltitude},
                               {"AGL:", F::kAGL}};
constexpr Field kAttitude[] = {
    {"Pitch:", F::kPitch}, {"Bank:", F::kBank}, {"Heading (true):", F::kHeadingTrue},
    {"FPA:", F::kFPA},     {"AoA:", F::kAoA},   {"Heading (mag):", F::kHeadingMag}};
constexpr Field kSpeeds[] = {
    {"IAS:", F::kIAS}, {"TAS:", F::kTAS}, {"GS:", F::kGS}, {"Mach:", F::kMach}, {"V/S:", F::kVS}};
constexpr Field kFlightControls[] = {{"Elevators:", F::kElevators},
                                     {"Ailerons:", F::kAilerons},
                                     {"Rudder:", F::kRudder},
                                     {"Spoilers:", F::kSpoilers},
                                     {"Flaps:", F::kFlaps}};
constexpr Field kThrottles[] = {
    {"1:", F::kThrottles[0]}, {"2:", F::kThrottles[1]}, {"3:", F::kThrottles[2]}, {"4:", F::kThrottles[3]}};
constexpr Field kPropellers[] = {{"1:", F::kPropellers[0]},
                                 {"2:", F::kPropellers[1]},
                                 {"3:", F::kPropellers[2]},
                                 {"4:", F::kPropellers[3]}};
constexpr Field kMixtures[] = {
    {"1:", F::kMixtures[0]}, {"2:", F::kMixtures[1]}, {"3:", F::kMixtures[2]}, {"4:", F::kMixtures[3]}};
constexpr Field kMiscellaneous[] = {{"Timecode:", F::kTimecode},   {"Landing Gear:", F::kLandingGear},
                                    {"Autopilot:", F::kAutopilot}, {"Wind:", F::kWind},
                                    {"Date:", F::kDate},           {"Time:", F::kTime}};

// The groups from top to bottom; the groups of one band stand side by side.
constexpr Group kPositionBand[] = {{"Position", 60, kPosition}};
constexpr Group kAttitudeBand[] = {{"Attitude", 60, kAttitude}};
constexpr Group kSpeedsBand[] = {{"Speeds", 40, kSpeeds}, {"Flight Controls", 40, kFlightControls}};
constexpr Group kEnginesBand[] = {
    {"Throttles", 10, kThrottles}, {"Propellers", 10, kPropellers}, {"Mixtures", 10, kMixtures}};
constexpr Group kMiscellaneousBand[] = {{"Miscellaneous", 60, kMiscellaneous}};
constexpr std::span<const Group> kBands[] = {kPositionBand, kAttitudeBand, kSpeedsBand, kEnginesBand,
                                             kMiscellaneousBand};

// Dialog units.
constexpr int kWidth = 219;
constexpr int kHeight = 378;
constexpr int kMargin = 7;
constexpr int kGap = 4;       // between groups side by side
constexpr int kBandGap = 6;   // between bands
constexpr int kGroupTop = 13; // the group box's title, above its first row
constexpr int kGroupBottom = 5;
constexpr int kRowPitch = 10;
constexpr int kTextHeight = 8;
constexpr int kInset = 7;      // of the labels from the group box's sides
constexpr int kLabelSpace = 2; // between a label and its value
constexpr int kNoId = -1;

void addGroup(std::vector<win::ControlTemplate>& controls, const Group& group, win::DialogRect box) {
    using enum win::ControlKind;
    controls.push_back({kNoId, GroupBox, group.title, box, 0});
    const int labelX = box.x + kInset;
    const int valueX = labelX + group.labelWidth + kLabelSpace;
    const int valueWidth = box.x + box.width - kInset - valueX;
    int y = box.y + kGroupTop;
    for (const Field& field : group.fields) {
        controls.push_back({kNoId, Text, field.label, {labelX, y, group.labelWidth, kTextHeight}, 0});
        controls.push_back({field.id, Text, "", {valueX, y, valueWidth, kTextHeight}, 0});
        y += kRowPitch;
    }
}

std::vector<win::ControlTemplate> layout() {
    std::vector<win::ControlTemplate> controls;
    constexpr int kInnerWidth = kWidth - 2 * kMargin;
    int top = kMargin;
    for (std::span<const Group> band : kBands) {
        const int count = static_cast<int>(band.size());
        std::size_t rows = 0;
        for (const Group& group : band)
            rows = std::max(rows, group.fields.size());
        const int height = kGroupTop + static_cast<int>(rows) * kRowPitch + kGroupBottom;
        const int width = (kInnerWidth - kGap * (count - 1)) / count;
        int x = kMargin;
        for (int at = 0; at < count; ++at) {
            // The last group takes what the division left over.
            const int groupWidth = at + 1 == count ? kMargin + kInnerWidth - x : width;
            addGroup(controls, band[static_cast<std::size_t>(at)], {x, top, groupWidth, height});
            x += groupWidth + kGap;
        }
        top += height + kBandGap;
    }
    return controls;
}

// The window class is the standard dialog class under the window's own name. Registered on first
// use; classes outlive the windows, so a later window finds it registered.
void registerWindowClass() {
    win::WNDCLASS windowClass;
    if (win::GetClassInfo(ModuleResources::instance(), DataWnd::kClassName, &windowClass))
        return;
    const bool found = win::GetClassInfo(nullptr, win::WC_DIALOG, &windowClass);
    assert(found && "the window system has the standard dialog class");
    (void)found;
    windowClass.hInstance = ModuleResources::instance();
    windowClass.lpszClassName = DataWnd::kClassName;
    win::RegisterClass(windowClass);
}

} // namespace

DataWnd::DataWnd(std::string settingsFile, DataWndFields::Surroundings surroundings,
                 std::function<void(bool shown)> shownChanged, win::HWND owner)
    : settingsFile_(std::move(settingsFile)), surroundings_(std::move(surroundings)),
      shownChanged_(std::move(shownChanged)) {
    registerWindowClass();
    hwnd_ = win::CreateDialogParam(ModuleResources::instance(), ModuleResources::kDataWindow,
                                   owner != nullptr ? owner : HostWindow::mainWindow(), dialogProc,
                                   reinterpret_cast<win::LPARAM>(this));
    assert(hwnd_ != nullptr && "the module's dialogs are registered before the data window is made");
    WindowPositions positions;
    readWindowPositions(settingsFile_, positions);
    win::SetWindowPos(hwnd_, nullptr, positions.dataWndXPos, positions.dataWndYPos, 0, 0,
                      win::SWP_NOSIZE | win::SWP_NOZORDER | win::SWP_NOACTIVATE);
}

DataWnd::~DataWnd() {
    win::SetWindowLongPtr(hwnd_, win::GWLP_USERDATA, 0);
    win::DestroyWindow(hwnd_);
}

win::DialogTemplate DataWnd::dialogTemplate() {
    win::DialogTemplate data;
    data.id = ModuleResources::kDataWindow;
    data.title = "Zephrel Data";
    data.width = kWidth;
    data.height = kHeight;
    data.font = "Ms Shell Dlg 2";
    data.fontSize = 8;
    data.className = kClassName;
    data.controls = layout();
    return data;
}

void DataWnd::show() {
    setShown(true);
}

void DataWnd::hide() {
    setShown(false);
}

void DataWnd::toggle() {
    setShown(!visible_);
}

bool DataWnd::isShown() const {
    return visible_;
}

void DataWnd::setShown(bool shown) {
    if (shown == visible_)
        return;
    visible_ = shown;
    // Shown without activation: the keyboard stays with the simulator.
    win::ShowWindow(hwnd_, shown ? win::SW_SHOWNA : win::SW_HIDE);
    if (shownChanged_)
        shownChanged_(shown);
}

void DataWnd::setData(const ContData& cont, const DiscData& disc, const DataFormat& format) {
    for (const DataWndFields::FieldText& field : DataWndFields::texts(cont, disc, format, surroundings_))
        win::SetDlgItemText(hwnd_, field.id, field.text);
}

void DataWnd::keepPosition() const {
    win::RECT rect;
    if (win::GetWindowRect(hwnd_, &rect) && !writeDataWindowPosition(settingsFile_, rect.left, rect.top))
        Log::log("Error: the data window's position could not be written to " + settingsFile_, 1, false);
}

win::INT_PTR DataWnd::dialogProc(win::HWND hwnd, win::UINT message, win::WPARAM wParam, win::LPARAM lParam) {
    if (message == win::WM_INITDIALOG) {
        win::SetWindowLongPtr(hwnd, win::GWLP_USERDATA, lParam);
        reinterpret_cast<DataWnd*>(lParam)->hwnd_ = hwnd;
        return 0; // no focus taken: the keyboard stays with the simulator
    }
    auto* window = reinterpret_cast<DataWnd*>(win::GetWindowLongPtr(hwnd, win::GWLP_USERDATA));
    if (window == nullptr)
        return 0;
    // A window procedure is an entry point of the module: nothing may escape into the window system.
    try {
        return window->onMessage(message, wParam) ? 1 : 0;
    } catch (const ZephrelException& e) {
        showError(e.userText, e.severity);
    } catch (const std::exception& e) {
        Log::log(std::string("Error: unexpected exception in the data window: ") + e.what(), 1, false);
    } catch (...) {
        Log::log("Error: unexpected exception in the data window", 1, false);
    }
    return 0;
}

bool DataWnd::onMessage(win::UINT message, win::WPARAM wParam) {
    switch (message) {
    case win::WM_EXITSIZEMOVE:
        keepPosition();
        return true;
    case win::WM_COMMAND:
        // The close box and Esc: the window is put away, not destroyed.
        if (win::LOWORD(wParam) != win::IDCANCEL)
            return false;
        hide();
        return true;
    default:
        return false;
    }
}
