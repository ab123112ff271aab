#include "run/ScenarioParser.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "run/DialogSteps.h"
#include "run/ScenarioError.h"
#include "run/ScenarioLine.h"
#include "run/VirtualKeys.h"
#include "services/SimViews.h"
#include "winsys/Messages.h"

namespace {

using namespace scenario;

constexpr double kMaxFeet = 60000;
constexpr double kMaxTaxiMetres = 100000;
constexpr double kMaxStartAltitudeMetres = 20000;
constexpr int64_t kMaxAircraft = 1000000;
constexpr int64_t kMaxPictureSide = 8192; // as zephrel-sim --size takes it
constexpr int64_t kMaxViews = SimViews::kMaxViews;
// Smooth edges and lighting move a colour by a few steps; a wrong colour is far off.
constexpr int kPixelTolerance = 24;

// "2026-06-21" or "12:00:00": exactly three plain numbers between the separators.
bool splitFields(std::string_view text, char separator, std::array<int, 3>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::size_t end = i + 1 < fields.size() ? text.find(separator) : text.size();
        if (end == std::string_view::npos || end == 0 || text[0] == '-')
            return false;
        const auto [next, error] = std::from_chars(text.data(), text.data() + end, fields[i]);
        if (error != std::errc() || next != text.data() + end)
            return false;
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return true;
}

// A day and a time of day, as date-time and local-time give them.
struct DayAndTime {
    std::chrono::year_month_day day;
    std::array<int, 3> time{}; // hours, minutes, seconds
    int milliseconds = 0;
};

// "YYYY-MM-DD HH:MM:SS", with ".mmm" after the seconds when `withMilliseconds`.
DayAndTime dayAndTime(ScenarioLine& line, bool withMilliseconds) {
    const std::string date = line.word("date (YYYY-MM-DD)");
    const std::string form = withMilliseconds ? "HH:MM:SS[.mmm]" : "HH:MM:SS";
    const std::string time = line.word("time of day (" + form + ")");
    std::array<int, 3> d{};
    DayAndTime result;
    if (splitFields(date, '-', d) && d[0] >= 1 && d[0] <= 9999 && d[1] >= 1 && d[2] >= 1)
        result.day = std::chrono::year_month_day(std::chrono::year(d[0]),
                                                 std::chrono::month(static_cast<unsigned>(d[1])),
                                                 std::chrono::day(static_cast<unsigned>(d[2])));
    if (!result.day.ok())
        line.fail("date must be a day YYYY-MM-DD, not " + quote(date));
    std::string_view clock = time;
    const std::size_t point = withMilliseconds ? clock.find('.') : std::string_view::npos;
    bool valid = true;
    if (point != std::string_view::npos) {
        const std::string_view fraction = clock.substr(point + 1);
        const auto [next, error] =
            std::from_chars(fraction.data(), fraction.data() + fraction.size(), result.milliseconds);
        valid = fraction.size() == 3 && fraction[0] != '-' && error == std::errc() &&
                next == fraction.data() + fraction.size();
        clock = clock.substr(0, point);
    }
    std::array<int, 3>& t = result.time;
    if (!valid || !splitFields(clock, ':', t) || t[0] > 23 || t[1] > 59 || t[2] > 59)
        line.fail("time of day must be " + form + ", not " + quote(time));
    return result;
}

ZHostDateTime dateTime(ScenarioLine& line) {
    const DayAndTime at = dayAndTime(line, false);
    return ZHostDateTime{static_cast<uint16_t>(static_cast<int>(at.day.year())),
                         static_cast<uint16_t>(static_cast<unsigned>(at.day.month())),
                         static_cast<uint16_t>(static_cast<unsigned>(at.day.day())),
                         static_cast<uint16_t>(at.time[0]),
                         static_cast<uint16_t>(at.time[1]),
                         static_cast<uint16_t>(at.time[2])};
}

std::chrono::local_time<std::chrono::milliseconds> localTime(ScenarioLine& line) {
    using namespace std::chrono;
    const DayAndTime at = dayAndTime(line, true);
    return local_days(at.day) + hours(at.time[0]) + minutes(at.time[1]) + seconds(at.time[2]) +
           milliseconds(at.milliseconds);
}

StartPosition startPosition(ScenarioLine& line) {
    StartPosition start;
    start.latitude = line.number("latitude", -90, 90);
    start.longitude = line.number("longitude", -180, 180);
    if (!line.atEnd())
        start.altitudeAboveGround = line.number("altitude above the ground", 0, kMaxStartAltitudeMetres);
    if (!line.atEnd())
        start.heading = line.number("heading", 0, 360);
    return start;
}

uint32_t trafficPercent(ScenarioLine& line) {
    return static_cast<uint32_t>(line.integer("traffic percent", 0, 100));
}

class Parser {
public:
    explicit Parser(const std::string& baseFolder) : baseFolder_(baseFolder) {}

    void read(ScenarioLine& line) {
        const std::string first = line.keyword("setting or action");
        if (first == "at")
            return readAction(line);
        const auto setting = std::find_if(kSettings.begin(), kSettings.end(),
                                          [&](const Setting& s) { return s.name == first; });
        if (setting == kSettings.end())
            line.fail("unknown setting " + quote(first));
        const auto [earlier, isNew] = settingLines_.emplace(first, line.number());
        if (!isNew)
            line.fail(first + " given twice (first on line " + std::to_string(earlier->second) + ")");
        (this->*setting->read)(line);
        line.end();
    }

    Scenario finish() {
        for (const ScenarioAction& action : scenario_.actions)
            if (action.time > scenario_.settings.duration)
                throw ScenarioError(action.line, "action at " + formatNumber(action.time) +
                                                     " s comes after the end of the run (duration " +
                                                     formatNumber(scenario_.settings.duration) + " s)");
        std::stable_sort(scenario_.actions.begin(), scenario_.actions.end(),
                         [](const ScenarioAction& a, const ScenarioAction& b) { return a.time < b.time; });
        return std::move(scenario_);
    }

private:
    struct Setting {
        std::string_view name;
        void (Parser::*read)(ScenarioLine& line);
    };
    static const std::array<Setting, 11> kSettings;

    void hostVersion(ScenarioLine& line) {
        const std::string text = line.word("host version");
        scenario_.settings.hostVersion = HostVersion::parse(text);
        if (!scenario_.settings.hostVersion)
            line.fail("host version must be X.Y.Z.W, not " + quote(text));
    }
    std::string path(ScenarioLine& line) {
        const std::string text = line.text("folder");
        if (text.empty())
            line.fail("empty folder");
        const std::filesystem::path path(text);
        return baseFolder_.empty() || path.is_absolute() ? text : (baseFolder_ / path).string();
    }
    void root(ScenarioLine& line) { scenario_.settings.root = path(line); }
    void appdata(ScenarioLine& line) { scenario_.settings.appdata = path(line); }
    void flights(ScenarioLine& line) { scenario_.settings.flightsFolder = path(line); }
    void userAircraft(ScenarioLine& line) { scenario_.settings.userTitle = line.text("aircraft title"); }
    void start(ScenarioLine& line) { scenario_.settings.start = startPosition(line); }
    void traffic(ScenarioLine& line) { scenario_.settings.trafficPercent = trafficPercent(line); }
    void frameStep(ScenarioLine& line) { scenario_.settings.frameStep = line.number("frame step", 0.001, 1); }
    void duration(ScenarioLine& line) { scenario_.settings.duration = line.number("duration", 0, kMaxTime); }
    void date(ScenarioLine& line) { scenario_.settings.dateTime = dateTime(line); }
    void clock(ScenarioLine& line) { scenario_.settings.localTime = localTime(line); }

    void readAction(ScenarioLine& line) {
        if (scenario_.actions.size() == kMaxActions)
            line.fail("more than " + std::to_string(kMaxActions) + " actions");
        const double time = line.number("time", 0, kMaxTime);
        scenario_.actions.push_back(ScenarioAction{time, line.number(), line.source(), action(line)});
        line.end();
    }

    static Action action(ScenarioLine& line);

    std::filesystem::path baseFolder_;
    Scenario scenario_;
    std::map<std::string, int, std::less<>> settingLines_;
};

const std::array<Parser::Setting, 11> Parser::kSettings = {{
    {"host-version", &Parser::hostVersion},
    {"root", &Parser::root},
    {"appdata", &Parser::appdata},
    {"flights", &Parser::flights},
    {"user-aircraft", &Parser::userAircraft},
    {"start", &Parser::start},
    {"traffic", &Parser::traffic},
    {"frame-step", &Parser::frameStep},
    {"duration", &Parser::duration},
    {"date-time", &Parser::date},
    {"local-time", &Parser::clock},
}};

Key readKey(ScenarioLine& line) {
    Key key;
    if (line.accept("down"))
        key.stroke = Key::Down;
    else if (line.accept("up"))
        key.stroke = Key::Up;
    else if (line.accept("press"))
        key.stroke = Key::Press;
    else
        line.fail("key must be followed by down, up or press");
    const std::string name = line.word("key");
    const auto code = parseVirtualKey(name);
    if (!code)
        line.fail("unknown key " + quote(name));
    key.virtualKey = *code;
    return key;
}

std::string menuPath(ScenarioLine& line) {
    std::string path = line.text("menu item path");
    if (path.empty() || path.front() == '/' || path.back() == '/' || path.find("//") != std::string::npos)
        line.fail("menu item path " + quote(path) + " has an empty item text");
    return path;
}

Fly readFly(ScenarioLine& line) {
    const std::string word = line.keyword("manoeuvre");
    Fly fly;
    ManoeuvreOrder& order = fly.order;
    if (!parseManoeuvre(word, order.kind))
        line.fail("unknown manoeuvre " + quote(word));
    switch (order.kind) {
    case ManoeuvreOrder::Taxi:
        order.distance = line.number("taxi distance", 0, kMaxTaxiMetres);
        break;
    case ManoeuvreOrder::TakeOff:
    case ManoeuvreOrder::Circuit:
        if (!line.atEnd())
            order.altitude = line.number("altitude above the ground", 0, kMaxFeet);
        break;
    case ManoeuvreOrder::Route:
        do {
            const double latitude = line.number("waypoint latitude", -90, 90);
            const double longitude = line.number("waypoint longitude", -180, 180);
            order.route.push_back(
                Waypoint{latitude, longitude, line.number("waypoint altitude", -1500, kMaxFeet)});
        } while (!line.atEnd());
        break;
    default:
        break;
    }
    return fly;
}

// What follows a dialog answer: `title "T"`, the dialog's title, or nothing.
std::string dialogTitle(ScenarioLine& line) {
    return line.accept("title") ? line.text("dialog title") : std::string();
}

int messageBoxAnswer(ScenarioLine& line) {
    struct Answer {
        std::string_view name;
        int id;
    };
    static constexpr std::array<Answer, 4> kAnswers = {
        {{"ok", win::IDOK}, {"cancel", win::IDCANCEL}, {"yes", win::IDYES}, {"no", win::IDNO}}};
    const std::string word = line.keyword("message box answer");
    for (const Answer& answer : kAnswers)
        if (answer.name == word)
            return answer.id;
    line.fail("message box answer must be OK, CANCEL, YES or NO, not " + quote(word));
}

Action readAnswer(ScenarioLine& line) {
    if (line.accept("box")) {
        AnswerMessageBox box{messageBoxAnswer(line), {}};
        if (!line.atEnd())
            box.match.textContains = line.text("text the box contains");
        if (!line.atEnd())
            box.match.captionContains = line.text("text the caption contains");
        return box;
    }
    if (line.accept("file")) {
        AnswerFileDialog file;
        bool titled = false;
        while (!line.atEnd() && !(titled = line.accept("title")))
            file.paths.push_back(line.text("file path"));
        if (file.paths.empty())
            line.fail("file path missing");
        if (titled)
            file.title = line.text("dialog title");
        return file;
    }
    if (line.accept("folder")) {
        AnswerFolderBrowser folder{line.text("folder path"), {}};
        if (folder.path.empty())
            line.fail("empty folder path (cancel folder cancels)");
        folder.title = dialogTitle(line);
        return folder;
    }
    line.fail("answer must be followed by box, file or folder");
}

Action readCancel(ScenarioLine& line) {
    if (line.accept("file"))
        return AnswerFileDialog{{}, dialogTitle(line)};
    if (line.accept("folder"))
        return AnswerFolderBrowser{{}, dialogTitle(line)};
    line.fail("cancel must be followed by file or folder");
}

Action readDialog(ScenarioLine& line) {
    ScriptDialog dialog;
    if (line.nextIsQuoted())
        dialog.title = line.quoted("dialog title");
    else
        dialog.templateId = static_cast<uint16_t>(line.integer("dialog template id", 1, 0xFFFF));
    dialog.steps = parseDialogSteps(line);
    return dialog;
}

// A text to expect, or the bare word none for no text.
std::optional<std::string> expectedText(ScenarioLine& line, const std::string& what) {
    if (line.accept("none"))
        return std::nullopt;
    return line.text(what);
}

expect::MenuItem::State menuItemState(ScenarioLine& line) {
    struct State {
        std::string_view name;
        expect::MenuItem::State state;
    };
    using enum expect::MenuItem::State;
    static constexpr std::array<State, 6> kStates = {{{"enabled", Enabled},
                                                      {"disabled", Disabled},
                                                      {"checked", Checked},
                                                      {"unchecked", Unchecked},
                                                      {"missing", Missing},
                                                      {"present", Present}}};
    const std::string word = line.keyword("menu item state");
    for (const State& state : kStates)
        if (state.name == word)
            return state.state;
    line.fail("menu item state must be enabled, disabled, checked, unchecked, missing or present, not " +
              quote(word));
}

// view open | view close N | view activate N
// A command number in decimal or, after 0x, in hexadecimal; a value after it, 0 when none.
Action readViewCommand(ScenarioLine& line) {
    const std::string text = line.word("view command");
    const bool hex = text.starts_with("0x") || text.starts_with("0X");
    const char* first = text.data() + (hex ? 2 : 0);
    uint32_t number = 0;
    const auto [end, error] = std::from_chars(first, text.data() + text.size(), number, hex ? 16 : 10);
    if (error != std::errc() || end != text.data() + text.size() || first == end)
        line.fail("view command must be a number, not " + quote(text));
    scenario::ViewCommand command{number, 0};
    if (!line.atEnd())
        command.value = static_cast<int32_t>(line.integer("view command value", INT32_MIN, INT32_MAX));
    return command;
}

Action readView(ScenarioLine& line) {
    if (line.accept("open"))
        return scenario::View{scenario::View::Open, 0};
    if (line.accept("command"))
        return readViewCommand(line);
    const bool close = line.accept("close");
    if (!close && !line.accept("activate"))
        line.fail("view must be followed by open, close, activate or command");
    const auto index = static_cast<std::size_t>(line.integer("view index", 0, kMaxViews - 1));
    return scenario::View{close ? scenario::View::Close : scenario::View::Activate, index};
}

// move N X Y, wheel N DELTA, middle N down|up
Action readMouse(ScenarioLine& line) {
    using enum scenario::Mouse::Kind;
    scenario::Mouse mouse;
    if (line.accept("move"))
        mouse.kind = Move;
    else if (line.accept("wheel"))
        mouse.kind = Wheel;
    else if (line.accept("middle"))
        mouse.kind = Middle;
    else
        line.fail("mouse must be followed by move, wheel or middle");
    mouse.index = static_cast<std::size_t>(line.integer("view index", 0, kMaxViews - 1));
    if (mouse.kind == Move) {
        mouse.x = static_cast<int>(line.integer("mouse x", -kMaxPictureSide, kMaxPictureSide));
        mouse.y = static_cast<int>(line.integer("mouse y", -kMaxPictureSide, kMaxPictureSide));
    } else if (mouse.kind == Wheel) {
        mouse.delta = static_cast<int>(line.integer("wheel delta", -32768, 32767));
    } else if (line.accept("down")) {
        mouse.down = true;
    } else if (!line.accept("up")) {
        line.fail("mouse middle N must be followed by down or up");
    }
    return mouse;
}

// X Y near R G B [within D]
expect::Pixel readPixel(ScenarioLine& line) {
    expect::Pixel pixel;
    pixel.x = static_cast<int>(line.integer("pixel x", 0, kMaxPictureSide - 1));
    pixel.y = static_cast<int>(line.integer("pixel y", 0, kMaxPictureSide - 1));
    if (!line.accept("near"))
        line.fail("expect pixel X Y must be followed by near R G B");
    for (int& component : pixel.rgb)
        component = static_cast<int>(line.integer("colour component", 0, 255));
    pixel.tolerance = line.accept("within") ? static_cast<int>(line.integer("tolerance", 0, 255)) : kPixelTolerance;
    return pixel;
}

Action readExpect(ScenarioLine& line) {
    if (line.accept("status"))
        return Expect{expect::Status{expectedText(line, "status text")}};
    if (line.accept("message"))
        return Expect{expect::Message{expectedText(line, "message text")}};
    if (line.accept("menu")) {
        std::string path = menuPath(line);
        return Expect{expect::MenuItem{std::move(path), menuItemState(line)}};
    }
    if (line.accept("aircraft")) {
        const int64_t count = line.integer("aircraft count", 0, kMaxAircraft);
        return Expect{expect::AircraftCount{static_cast<uint32_t>(count)}};
    }
    if (line.accept("sound"))
        return Expect{expect::Sound{expectedText(line, "sound file")}};
    if (line.accept("paused"))
        return Expect{expect::Paused{line.onOff("paused")}};
    if (line.accept("camera"))
    {
        expect::Camera camera{line.text("camera title"), std::nullopt};
        if (line.accept("written"))
            camera.written = true;
        else if (line.accept("unwritten"))
            camera.written = false;
        return Expect{camera};
    }
    if (line.accept("view-count"))
        return Expect{expect::ViewCount{static_cast<std::size_t>(line.integer("view count", 1, kMaxViews))}};
    if (line.accept("pixel"))
        return Expect{readPixel(line)};
    if (line.accept("window")) {
        expect::Window window{line.quoted("window title"), expect::Window::Shown};
        using enum expect::Window::State;
        if (line.accept("shown"))
            window.state = Shown;
        else if (line.accept("hidden"))
            window.state = Hidden;
        else if (line.accept("missing"))
            window.state = Missing;
        else
            line.fail("expect window \"TITLE\" must be followed by shown, hidden or missing");
        return Expect{window};
    }
    if (line.accept("text")) {
        std::string title = line.quoted("window title");
        const auto id = static_cast<int>(line.integer("control id", 0, 65535));
        return Expect{expect::ControlText{std::move(title), id, line.quoted("control text")}};
    }
    line.fail("expect must be followed by status, message, menu, aircraft, sound, paused, camera, view-count, pixel, "
              "window or text");
}

Action Parser::action(ScenarioLine& line) {
    const std::string word = line.keyword("action");
    if (word == "key")
        return readKey(line);
    if (word == "menu")
        return Menu{menuPath(line)};
    if (word == "pause")
        return Pause{line.onOff("pause")};
    if (word == "rate")
        return Rate{line.number("rate", 0.25, 128)};
    if (word == "load" && line.accept("flight"))
        return LoadFlight{line.text("flight name")};
    if (word == "save" && line.accept("flight")) {
        SaveFlight save{line.text("flight name"), line.text("flight title"), {}};
        if (!line.atEnd())
            save.description = line.text("flight description");
        return save;
    }
    if (word == "aircraft")
        return ChangeAircraft{line.text("aircraft title")};
    if (word == "traffic")
        return Traffic{trafficPercent(line)};
    if (word == "fly")
        return readFly(line);
    if (word == "camera")
        return Camera{line.text("camera title")};
    if (word == "view")
        return readView(line);
    if (word == "mouse")
        return readMouse(line);
    if (word == "close")
        return Close{};
    if (word == "crash")
        return Crash{};
    if (word == "rebuild-menus")
        return RebuildMenus{};
    if (word == "answer")
        return readAnswer(line);
    if (word == "cancel")
        return readCancel(line);
    if (word == "dialog")
        return readDialog(line);
    if (word == "expect")
        return readExpect(line);
    if (word == "perform") {
        Perform perform{line.quoted("window title"), {}};
        perform.steps = parseDialogSteps(line);
        return perform;
    }
    if (word == "load" || word == "save")
        line.fail(word + " must be followed by flight");
    line.fail("unknown action " + quote(word));
}

} // namespace

Scenario parseScenario(std::string_view text, const std::string& baseFolder) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    Parser parser(baseFolder);
    for (int number = 1; !text.empty(); ++number) {
        if (static_cast<std::size_t>(number) > kMaxLines)
            throw ScenarioError(number, "more than " + std::to_string(kMaxLines) + " lines");
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view content = text.substr(0, end);
        if (content.ends_with('\r'))
            content.remove_suffix(1);
        text.remove_prefix(std::min(end + 1, text.size()));
        ScenarioLine line(content, number);
        if (!line.atEnd())
            parser.read(line);
    }
    return parser.finish();
}

Scenario loadScenario(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    std::ifstream in(path, std::ios::binary);
    if (error || !in)
        throw ScenarioError(0, "scenario " + path + " cannot be read");
    if (size > kMaxFileBytes)
        throw ScenarioError(0, "scenario " + path + " is larger than " + std::to_string(kMaxFileBytes) +
                                   " bytes");
    std::string text(static_cast<std::size_t>(size), '\0');
    if (!in.read(text.data(), static_cast<std::streamsize>(text.size())))
        throw ScenarioError(0, "scenario " + path + " cannot be read");
    return parseScenario(text, std::filesystem::absolute(path).parent_path().string());
}
