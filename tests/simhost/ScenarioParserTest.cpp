// Scenario files: every setting and action, the words and strings of a line, and the errors,
// each with its line.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <tuple>
#include <vector>

#include "run/ScenarioError.h"
#include "run/ScenarioLine.h"
#include "run/ScenarioParser.h"
#include "run/VirtualKeys.h"
#include "support/TempDir.h"
#include "winsys/CommonControls.h"

namespace {

namespace script = win::headless;
using namespace scenario;

template <typename T> const T& actionAt(const Scenario& s, std::size_t i) {
    EXPECT_LT(i, s.actions.size());
    const T* action = std::get_if<T>(&s.actions.at(i).action);
    EXPECT_NE(nullptr, action) << "action " << i << " (line " << s.actions.at(i).line << ") has another kind";
    static const T none{};
    return action != nullptr ? *action : none;
}

// The line number and the text of the error the scenario gives.
std::pair<int, std::string> errorOf(const std::string& text) {
    try {
        parseScenario(text);
    } catch (const ScenarioError& e) {
        return {e.line(), e.what()};
    }
    return {0, "no error"};
}

TEST(ScenarioParserTest, ReadsEverySetting) {
    const Scenario s = parseScenario("host-version 10.0.61355.0\nroot /fs\nappdata \"/home/u/app data\"\n"
                                     "flights /fs/Flights\nuser-aircraft \"Cessna 172 Skyhawk\"\n"
                                     "start 47.5 8.5 100 270\ntraffic 40\nframe-step 0.05\nduration 120\n"
                                     "date-time 2024-02-29 23:59:58\n");
    const ScenarioSettings& set = s.settings;
    EXPECT_EQ(HostVersion::accepted(1), set.hostVersion);
    EXPECT_EQ("/fs", set.root);
    EXPECT_EQ("/home/u/app data", set.appdata);
    EXPECT_EQ("/fs/Flights", set.flightsFolder);
    EXPECT_EQ("Cessna 172 Skyhawk", set.userTitle);
    ASSERT_TRUE(set.start.has_value());
    EXPECT_EQ((std::vector<double>{47.5, 8.5, 100, 270}),
              (std::vector<double>{set.start->latitude, set.start->longitude, set.start->altitudeAboveGround,
                                   set.start->heading}));
    EXPECT_EQ(40u, set.trafficPercent);
    EXPECT_EQ(0.05, set.frameStep);
    EXPECT_EQ(120, set.duration);
    ASSERT_TRUE(set.dateTime.has_value());
    const ZHostDateTime d = *set.dateTime;
    EXPECT_EQ((std::vector<int>{2024, 2, 29, 23, 59, 58}),
              (std::vector<int>{d.year, d.month, d.day, d.hour, d.minute, d.second}));
    EXPECT_TRUE(s.actions.empty());

    // Unset settings stay unset; the start position keeps what is not given.
    const Scenario few = parseScenario("start -33.9 151.2\n");
    EXPECT_FALSE(few.settings.root.has_value());
    EXPECT_EQ(StartPosition{}.heading, few.settings.start->heading);
    EXPECT_EQ(60, few.settings.duration);
}

TEST(ScenarioParserTest, ReadsEveryActionKind) {
    const Scenario s = parseScenario(R"(duration 100
at 1 key down SHIFT
at 1 key up 0x41
at 1 key press f5
at 2 menu "Zephrel/Record..."
at 3 pause on
at 3 pause off
at 4 rate 0.25
at 5 load flight Circuit
at 6 save flight "my flight" "A title" "A description"
at 7 aircraft "Learjet 45"
at 8 traffic 100
at 9 fly taxi 250
at 9 fly route 47.1 8.2 3000 47.3 8.4 4500
at 9 fly takeoff
at 10 close
at 11 answer box YES "Overwrite" "Zephrel"
at 11 answer file "/tmp/a.zfl" "/tmp/b.zfl" title "Open"
at 11 cancel file
at 11 answer folder /tmp title "Video folder"
at 11 cancel folder
at 12 dialog 136 settext 1000 "x y" check 1001 off select 1002 3 selecttext 1003 Two position 1004 -5 hotkey 1005 ctrl+shift+F5 treecheck 1006 on "Top" "Child" treeselect 1007 "Top" press 1 hold 2 release 2 contextmenu 1007 "Check all Tracks" close
at 13 dialog "Settings" close
at 14 perform "Zephrel" press 1010
at 15 rebuild-menus
at 16 crash
at 17 camera "virtual COCKPIT"
at 18 view open
at 18 view close 2
at 18 view ACTIVATE 1
at 19 view command 0x10370 -1
at 19 view command 65671
at 19 mouse move 1 -5 40
at 19 mouse wheel 0 -120
at 19 mouse middle 2 down
)");
    ASSERT_EQ(34u, s.actions.size());
    EXPECT_EQ(2, s.actions[0].line);
    EXPECT_EQ(1.0, s.actions[0].time);
    const Key keys[] = {actionAt<Key>(s, 0), actionAt<Key>(s, 1), actionAt<Key>(s, 2)};
    EXPECT_EQ((std::vector<int>{Key::Down, 0x10, Key::Up, 0x41, Key::Press, 0x74}),
              (std::vector<int>{keys[0].stroke, keys[0].virtualKey, keys[1].stroke, keys[1].virtualKey,
                                keys[2].stroke, keys[2].virtualKey}));
    EXPECT_EQ("Zephrel/Record...", actionAt<Menu>(s, 3).path);
    EXPECT_TRUE(actionAt<Pause>(s, 4).on);
    EXPECT_FALSE(actionAt<Pause>(s, 5).on);
    EXPECT_EQ(0.25, actionAt<Rate>(s, 6).rate);
    EXPECT_EQ("Circuit", actionAt<LoadFlight>(s, 7).name);
    const SaveFlight& save = actionAt<SaveFlight>(s, 8);
    EXPECT_EQ((std::vector<std::string>{"my flight", "A title", "A description"}),
              (std::vector<std::string>{save.name, save.title, save.description}));
    EXPECT_EQ("Learjet 45", actionAt<ChangeAircraft>(s, 9).title);
    EXPECT_EQ(100u, actionAt<Traffic>(s, 10).percent);
    EXPECT_EQ(ManoeuvreOrder::Taxi, actionAt<Fly>(s, 11).order.kind);
    EXPECT_EQ(250, actionAt<Fly>(s, 11).order.distance);
    const ManoeuvreOrder& route = actionAt<Fly>(s, 12).order;
    EXPECT_EQ(ManoeuvreOrder::Route, route.kind);
    ASSERT_EQ(2u, route.route.size());
    EXPECT_EQ(47.3, route.route[1].latitude);
    EXPECT_EQ(4500, route.route[1].altitude);
    EXPECT_EQ(ManoeuvreOrder::TakeOff, actionAt<Fly>(s, 13).order.kind);
    EXPECT_EQ(ManoeuvreOrder{}.altitude, actionAt<Fly>(s, 13).order.altitude);
    actionAt<scenario::Close>(s, 14);
    const AnswerMessageBox& box = actionAt<AnswerMessageBox>(s, 15);
    EXPECT_EQ(win::IDYES, box.answer);
    EXPECT_EQ("Overwrite", box.match.textContains);
    EXPECT_EQ("Zephrel", box.match.captionContains);
    EXPECT_EQ((std::vector<std::string>{"/tmp/a.zfl", "/tmp/b.zfl"}),
              actionAt<AnswerFileDialog>(s, 16).paths);
    EXPECT_EQ("Open", actionAt<AnswerFileDialog>(s, 16).title);
    EXPECT_TRUE(actionAt<AnswerFileDialog>(s, 17).paths.empty());
    EXPECT_EQ("/tmp", actionAt<AnswerFolderBrowser>(s, 18).path);
    EXPECT_EQ("Video folder", actionAt<AnswerFolderBrowser>(s, 18).title);
    EXPECT_TRUE(actionAt<AnswerFolderBrowser>(s, 19).path.empty());

    const ScriptDialog& dialog = actionAt<ScriptDialog>(s, 20);
    EXPECT_EQ(136, dialog.templateId);
    ASSERT_EQ(13u, dialog.steps.size());
    EXPECT_EQ("x y", std::get<script::SetText>(dialog.steps[0]).text);
    EXPECT_FALSE(std::get<script::SetCheck>(dialog.steps[1]).checked);
    EXPECT_EQ(3, std::get<script::SelectIndex>(dialog.steps[2]).index);
    EXPECT_EQ("Two", std::get<script::SelectText>(dialog.steps[3]).text);
    EXPECT_EQ(-5, std::get<script::SetPosition>(dialog.steps[4]).position);
    const auto& hotKey = std::get<script::SetHotKey>(dialog.steps[5]);
    EXPECT_EQ(1005, hotKey.id);
    EXPECT_EQ(0x74, hotKey.virtualKey);
    EXPECT_EQ(win::HOTKEYF_CONTROL | win::HOTKEYF_SHIFT, hotKey.modifiers);
    const auto& treeCheck = std::get<script::SetTreeCheck>(dialog.steps[6]);
    EXPECT_EQ((std::vector<std::string>{"Top", "Child"}), treeCheck.path);
    EXPECT_TRUE(treeCheck.checked);
    EXPECT_EQ(std::vector<std::string>{"Top"}, std::get<script::SelectTreeItem>(dialog.steps[7]).path);
    EXPECT_EQ(1, std::get<script::Press>(dialog.steps[8]).id);
    EXPECT_EQ(2, std::get<script::Hold>(dialog.steps[9]).id);
    EXPECT_EQ(2, std::get<script::Release>(dialog.steps[10]).id);
    const auto& contextMenu = std::get<script::ContextMenu>(dialog.steps[11]);
    EXPECT_EQ((std::pair<int, std::string>{1007, "Check all Tracks"}),
              (std::pair<int, std::string>{contextMenu.id, contextMenu.item}));
    EXPECT_TRUE(std::holds_alternative<script::Close>(dialog.steps[12]));
    EXPECT_EQ("Settings", actionAt<ScriptDialog>(s, 21).title);
    EXPECT_EQ(0, actionAt<ScriptDialog>(s, 21).templateId);
    EXPECT_EQ("Zephrel", actionAt<Perform>(s, 22).windowTitle);
    EXPECT_EQ(1010, std::get<script::Press>(actionAt<Perform>(s, 22).steps.at(0)).id);
    actionAt<RebuildMenus>(s, 23);
    actionAt<Crash>(s, 24);
    EXPECT_EQ("virtual COCKPIT", actionAt<scenario::Camera>(s, 25).title);
    EXPECT_EQ(scenario::View::Open, actionAt<scenario::View>(s, 26).kind);
    EXPECT_EQ(scenario::View::Close, actionAt<scenario::View>(s, 27).kind);
    EXPECT_EQ(2u, actionAt<scenario::View>(s, 27).index);
    EXPECT_EQ(scenario::View::Activate, actionAt<scenario::View>(s, 28).kind);
    EXPECT_EQ(1u, actionAt<scenario::View>(s, 28).index);
    EXPECT_EQ(0x10370u, actionAt<scenario::ViewCommand>(s, 29).number);
    EXPECT_EQ(-1, actionAt<scenario::ViewCommand>(s, 29).value);
    EXPECT_EQ(0x10087u, actionAt<scenario::ViewCommand>(s, 30).number);
    EXPECT_EQ(0, actionAt<scenario::ViewCommand>(s, 30).value);
    const auto move = actionAt<scenario::Mouse>(s, 31);
    EXPECT_EQ((std::vector<int>{scenario::Mouse::Move, 1, -5, 40}),
              (std::vector<int>{move.kind, static_cast<int>(move.index), move.x, move.y}));
    EXPECT_EQ(-120, actionAt<scenario::Mouse>(s, 32).delta);
    EXPECT_TRUE(actionAt<scenario::Mouse>(s, 33).down);
    EXPECT_EQ(scenario::Mouse::Middle, actionAt<scenario::Mouse>(s, 33).kind);
}

TEST(ScenarioParserTest, ReadsTheLocalTimeToTheMillisecond) {
    using namespace std::chrono;
    const std::pair<const char*, local_time<milliseconds>> cases[] = {
        {"local-time 2024-02-29 23:59:58", local_days(2024y / 2 / 29) + 23h + 59min + 58s},
        {"local-time 0001-01-01 00:00:00.007", local_days(1y / 1 / 1) + 7ms},
        {"local-time 2026-06-21 12:30:05.250", local_days(2026y / 6 / 21) + 12h + 30min + 5s + 250ms},
    };
    for (const auto& [text, expected] : cases) {
        const Scenario s = parseScenario(text);
        ASSERT_TRUE(s.settings.localTime.has_value()) << text;
        EXPECT_EQ(expected, *s.settings.localTime) << text;
        EXPECT_FALSE(s.settings.dateTime.has_value()) << "the simulator's date stays its own";
    }
}

TEST(ScenarioParserTest, ReadsEveryCheck) {
    using State = expect::MenuItem::State;
    const Scenario s = parseScenario(R"(at 1 expect status "RECORDING [3 seconds]"
at 1 EXPECT STATUS None
at 1 expect status "none"
at 1 expect message Saved
at 1 expect message none
at 1 expect menu "Flights/Load Flight..." ENABLED
at 1 expect menu Zephrel missing
at 1 expect menu "Views/Full Screen" unchecked
at 1 expect aircraft 3
at 1 expect sound "C:\\chime.wav"
at 1 expect sound none
at 1 expect paused ON
at 1 expect camera "Zephrel Tower" written
at 1 expect pixel 10 479 near 120 171 227
at 1 expect pixel 0 0 near 0 0 255 within 3
at 1 expect view-count 2
at 1 expect window "Zephrel Data" HIDDEN
at 1 expect window "Zephrel" missing
at 1 expect text "Zephrel Data" 1124 "12.5sec"
)");
    ASSERT_EQ(19u, s.actions.size());
    const auto check = [&](std::size_t i) { return actionAt<Expect>(s, i).check; };
    EXPECT_EQ("RECORDING [3 seconds]", std::get<expect::Status>(check(0)).text);
    EXPECT_EQ(std::nullopt, std::get<expect::Status>(check(1)).text);
    EXPECT_EQ("none", std::get<expect::Status>(check(2)).text) << "quoted, it is a text";
    EXPECT_EQ("Saved", std::get<expect::Message>(check(3)).text);
    EXPECT_EQ(std::nullopt, std::get<expect::Message>(check(4)).text);
    const std::pair<const char*, State> items[] = {{"Flights/Load Flight...", State::Enabled},
                                                   {"Zephrel", State::Missing},
                                                   {"Views/Full Screen", State::Unchecked}};
    for (std::size_t i = 0; i < std::size(items); ++i) {
        const auto item = std::get<expect::MenuItem>(check(5 + i));
        EXPECT_EQ(items[i].first, item.path);
        EXPECT_EQ(items[i].second, item.state) << item.path;
    }
    EXPECT_EQ(3u, std::get<expect::AircraftCount>(check(8)).count);
    EXPECT_EQ("C:\\chime.wav", std::get<expect::Sound>(check(9)).file);
    EXPECT_EQ(std::nullopt, std::get<expect::Sound>(check(10)).file);
    EXPECT_TRUE(std::get<expect::Paused>(check(11)).paused);
    EXPECT_EQ("Zephrel Tower", std::get<expect::Camera>(check(12)).title);
    EXPECT_EQ(std::optional<bool>(true), std::get<expect::Camera>(check(12)).written);
    const auto pixel = std::get<expect::Pixel>(check(13));
    EXPECT_EQ(10, pixel.x);
    EXPECT_EQ(479, pixel.y);
    EXPECT_EQ((std::array<int, 3>{120, 171, 227}), pixel.rgb);
    EXPECT_EQ(24, pixel.tolerance);
    EXPECT_EQ(3, std::get<expect::Pixel>(check(14)).tolerance);
    EXPECT_EQ(2u, std::get<expect::ViewCount>(check(15)).count);
    EXPECT_EQ("Zephrel Data", std::get<expect::Window>(check(16)).title);
    EXPECT_EQ(expect::Window::Hidden, std::get<expect::Window>(check(16)).state);
    EXPECT_EQ(expect::Window::Missing, std::get<expect::Window>(check(17)).state);
    const auto text = std::get<expect::ControlText>(check(18));
    EXPECT_EQ((std::tuple<std::string, int, std::string>{"Zephrel Data", 1124, "12.5sec"}),
              std::tie(text.title, text.id, text.text));
}

TEST(ScenarioParserTest, ReadsQuotesCommentsAndLineEnds) {
    const Scenario s = parseScenario(
        "\xEF\xBB\xBF# a comment\r\n\n   \t\r\nAT 1 Aircraft \"a \\\"b\\\" c\\\\d # e\\x\" # f\r\n"
        "at 2 load flight \"\"\nat 3 menu File/Exit#comment");
    ASSERT_EQ(3u, s.actions.size());
    EXPECT_EQ(4, s.actions[0].line);
    EXPECT_EQ("a \"b\" c\\d # e\\x", actionAt<ChangeAircraft>(s, 0).title);
    EXPECT_EQ("", actionAt<LoadFlight>(s, 1).name);
    EXPECT_EQ("File/Exit", actionAt<Menu>(s, 2).path);
}

TEST(ScenarioParserTest, OrdersActionsByTimeKeepingTheFileOrderOfEqualTimes) {
    const Scenario s = parseScenario("at 5 rate 2\nat 1 rate 1\nat 5 rate 4\nat 0 rate 8\n");
    std::vector<int> lines;
    for (const ScenarioAction& a : s.actions)
        lines.push_back(a.line);
    EXPECT_EQ((std::vector<int>{4, 2, 1, 3}), lines);
}

TEST(ScenarioParserTest, TakesRelativeFoldersInTheBaseFolder) {
    const Scenario s = parseScenario("root sim\nappdata /abs/app\nflights ../f\n", "/base");
    EXPECT_EQ("/base/sim", s.settings.root);
    EXPECT_EQ("/abs/app", s.settings.appdata);
    EXPECT_EQ("/base/../f", s.settings.flightsFolder);
    TempDir dir;
    { std::ofstream(dir.file("s.scenario")) << "root sim\n"; }
    EXPECT_EQ((dir.path() / "sim").string(), loadScenario(dir.file("s.scenario")).settings.root);
}

TEST(ScenarioParserTest, NamesTheLineOfEveryError) {
    struct Case {
        std::string text;
        int line;
        const char* what;
    };
    const Case cases[] = {
        {"frobnicate 3", 1, "unknown setting \"frobnicate\""},
        {"\"root\" /x", 1, "setting or action expected"},
        {"root /a\nroot /b", 2, "root given twice (first on line 1)"},
        {"root", 1, "folder missing"},
        {"root \"\"", 1, "empty folder"},
        {"root /a /b", 1, "unexpected \"/b\""},
        {"host-version 10.0.61637", 1, "host version must be X.Y.Z.W"},
        {"start 91 8", 1, "latitude 91 out of range -90 to 90"},
        {"start 47 8 10 361", 1, "heading 361 out of range 0 to 360"},
        {"traffic 101", 1, "traffic percent 101 out of range 0 to 100"},
        {"traffic 5.5", 1, "must be a whole number"},
        {"frame-step 0", 1, "frame step 0 out of range 0.001 to 1"},
        {"duration nan", 1, "duration must be a number"},
        {"duration 1e8", 1, "out of range 0 to 10000000"},
        {"date-time 2023-02-29 12:00:00", 1, "date must be a day YYYY-MM-DD"},
        {"date-time 2023-13-01 12:00:00", 1, "date must be a day"},
        {"date-time 2023-01-01 24:00:00", 1, "time of day must be HH:MM:SS"},
        {"date-time 2023-01-01 12:00", 1, "time of day must be HH:MM:SS"},
        {"local-time 2023-02-29 12:00:00", 1, "date must be a day YYYY-MM-DD"},
        {"local-time 2023-01-01 12:00:60", 1, "time of day must be HH:MM:SS[.mmm]"},
        {"local-time 2023-01-01 12:00:00.5", 1, "time of day must be HH:MM:SS[.mmm], not \"12:00:00.5\""},
        {"local-time 2023-01-01 12:00:00.-12", 1, "time of day must be HH:MM:SS[.mmm]"},
        {"local-time 2023-01-01 12:00:00.", 1, "time of day must be HH:MM:SS[.mmm]"},
        {"date-time 2023-01-01 12:00:00.000", 1, "time of day must be HH:MM:SS, not"},
        {"local-time 2023-01-01", 1, "time of day (HH:MM:SS[.mmm]) missing"},
        {"at 1 expect", 1,
         "expect must be followed by status, message, menu, aircraft, sound, paused, camera, view-count, pixel, "
         "window or text"},
        {"at 1 expect weather", 1,
         "expect must be followed by status, message, menu, aircraft, sound, paused, camera, view-count, pixel, "
         "window or text"},
        {"at 1 camera", 1, "camera title missing"},
        {"at 1 expect camera", 1, "camera title missing"},
        {"at 1 view", 1, "view must be followed by open, close, activate or command"},
        {"at 1 view command 0xZZ", 1, "view command must be a number, not \"0xZZ\""},
        {"at 1 view command 0x", 1, "view command must be a number"},
        {"at 1 view command 65671 x", 1, "view command value must be a whole number"},
        {"at 1 mouse", 1, "mouse must be followed by move, wheel or middle"},
        {"at 1 mouse move 0 10", 1, "mouse y missing"},
        {"at 1 mouse middle 0", 1, "mouse middle N must be followed by down or up"},
        {"at 1 mouse wheel 9 120", 1, "view index 9 out of range 0 to 7"},
        {"at 1 view close", 1, "view index missing"},
        {"at 1 view activate 8", 1, "view index 8 out of range 0 to 7"},
        {"at 1 expect view-count 0", 1, "view count 0 out of range 1 to 8"},
        {"at 1 expect window \"Zephrel\" open", 1, "expect window \"TITLE\" must be followed by shown, hidden or missing"},
        {"at 1 expect text \"Zephrel\" 70000 \"x\"", 1, "control id 70000 out of range 0 to 65535"},
        {"at 1 expect pixel 10", 1, "pixel y missing"},
        {"at 1 expect pixel 10 10 120 171 227", 1, "expect pixel X Y must be followed by near R G B"},
        {"at 1 expect pixel 10 10 near 120 171 256", 1, "colour component 256 out of range 0 to 255"},
        {"at 1 expect pixel 8192 10 near 0 0 0", 1, "pixel x 8192 out of range 0 to 8191"},
        {"at 1 expect pixel 1 1 near 0 0 0 within", 1, "tolerance missing"},
        {"at 1 expect status", 1, "status text missing"},
        {"at 1 expect message none now", 1, "unexpected \"now\" at the end"},
        {"at 1 expect menu \"Zephrel/\" present", 1, "empty item text"},
        {"at 1 expect menu Zephrel", 1, "menu item state missing"},
        {"at 1 expect menu Zephrel grey", 1,
         "menu item state must be enabled, disabled, checked, unchecked, missing or present, not \"grey\""},
        {"at 1 expect aircraft -1", 1, "aircraft count -1 out of range 0 to 1000000"},
        {"at 1 expect aircraft many", 1, "aircraft count must be a whole number"},
        {"\n\nat", 3, "time missing"},
        {"at -1 close", 1, "time -1 out of range"},
        {"at 1", 1, "action missing"},
        {"at 1 jump", 1, "unknown action \"jump\""},
        {"at 1 close now", 1, "unexpected \"now\" at the end"},
        {"at 1 key hold A", 1, "key must be followed by down, up or press"},
        {"at 1 key press NOKEY", 1, "unknown key \"NOKEY\""},
        {"at 1 menu \"Zephrel//Record\"", 1, "empty item text"},
        {"at 1 pause maybe", 1, "pause must be on or off, not \"maybe\""},
        {"at 1 rate 256", 1, "rate 256 out of range 0.25 to 128"},
        {"at 1 load NAME", 1, "load must be followed by flight"},
        {"at 1 save flight a", 1, "flight title missing"},
        {"at 1 fly loop", 1, "unknown manoeuvre \"loop\""},
        {"at 1 fly taxi", 1, "taxi distance missing"},
        {"at 1 fly route 47 8", 1, "waypoint altitude missing"},
        {"at 1 answer box MAYBE", 1, "message box answer must be OK, CANCEL, YES or NO"},
        {"at 1 answer dialog", 1, "answer must be followed by box, file or folder"},
        {"at 1 answer file", 1, "file path missing"},
        {"at 1 answer file title \"Open\"", 1, "file path missing"},
        {"at 1 answer folder \"\"", 1, "empty folder path"},
        {"at 1 cancel box", 1, "cancel must be followed by file or folder"},
        {"at 1 dialog 0 close", 1, "dialog template id 0 out of range 1 to 65535"},
        {"at 1 dialog 136", 1, "dialog step missing"},
        {"at 1 dialog 136 wiggle 3", 1, "unknown dialog step \"wiggle\""},
        {"at 1 dialog 136 press", 1, "control id missing"},
        {"at 1 dialog 136 hotkey 5 meta+A", 1, "unknown hot-key modifier \"meta\""},
        {"at 1 dialog 136 treeselect 5 Top", 1, "tree item must be quoted"},
        {"at 1 perform Zephrel press 1", 1, "window title must be quoted"},
        {"at 1 aircraft \"open", 1, "quoted string not closed"},
        {"at 1 aircraft \"a\"b", 1, "a blank must follow the quoted string \"a\""},
        {"at 1 aircraft a\"b\"", 1, "a quote inside the word"},
        {"at 1 close\x01", 1, "control character 1"},
        {"duration 10\nat 11 close", 2, "action at 11 s comes after the end of the run (duration 10 s)"},
    };
    for (const Case& c : cases) {
        const auto [line, text] = errorOf(c.text);
        EXPECT_EQ(c.line, line) << c.text << ": " << text;
        EXPECT_EQ(0u, text.find("scenario line " + std::to_string(c.line) + ": ")) << text;
        EXPECT_NE(std::string::npos, text.find(c.what)) << c.text << ": " << text;
    }
}

TEST(ScenarioParserTest, KeepsToItsLimits) {
    const std::string longest = "at 1 aircraft \"" + std::string(ScenarioLine::kMaxLength - 16, 'x') + "\"";
    EXPECT_EQ(ScenarioLine::kMaxLength, longest.size());
    EXPECT_NO_THROW(parseScenario(longest));
    const auto [tooLong, tooLongText] = errorOf("\n" + longest + "x\n");
    EXPECT_EQ(2, tooLong);
    EXPECT_NE(std::string::npos, tooLongText.find("longer than 4096 characters")) << tooLongText;

    std::string many;
    for (std::size_t i = 0; i < kMaxActions; ++i)
        many += "at 1 close\n";
    EXPECT_EQ(kMaxActions, parseScenario(many).actions.size());
    const auto [line, text] = errorOf(many + "at 1 close\n");
    EXPECT_EQ(static_cast<int>(kMaxActions) + 1, line);
    EXPECT_NE(std::string::npos, text.find("more than 100000 actions")) << text;

    EXPECT_EQ(kMaxTime, parseScenario("duration 10000000\nat 10000000 close").actions.at(0).time);
    EXPECT_EQ(2, errorOf("duration 10000000\nat 10000001 close").first);
}

TEST(ScenarioParserTest, NamesVirtualKeysAsThePlatformDoes) {
    const std::pair<const char*, int> keys[] = {
        {"A", 0x41},       {"z", 0x5A},     {"0", 0x30},      {"9", 0x39},      {"F1", 0x70},  {"f12", 0x7B},
        {"F24", 0x87},     {"SPACE", 0x20}, {"Escape", 0x1B}, {"RETURN", 0x0D}, {"TAB", 0x09}, {"LEFT", 0x25},
        {"NUMPAD3", 0x63}, {"0x41", 0x41},  {"0XfE", 0xFE},   {"DELETE", 0x2E}, {"ADD", 0x6B},
    };
    for (const auto& [name, code] : keys)
        EXPECT_EQ(code, parseVirtualKey(name)) << name;
    for (const char* bad :
         {"", "AA", "F0", "F25", "F01", "NUMPAD10", "0x", "0x00", "0xFF", "0x1G", "-1", "\xC4"})
        EXPECT_FALSE(parseVirtualKey(bad).has_value()) << bad;
}

TEST(ScenarioParserTest, ReportsAScenarioFileItCannotRead) {
    try {
        loadScenario("/nonexistent/run.scenario");
        FAIL() << "no error";
    } catch (const ScenarioError& e) {
        EXPECT_STREQ("scenario /nonexistent/run.scenario cannot be read", e.what());
    }
}

} // namespace
