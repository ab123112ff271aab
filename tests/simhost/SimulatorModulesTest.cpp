// The host modules as an add-on binds them: numbers per version, and the version-dependent forms
// of the message line and of texts drawn into views.
#include <cstring>

#include "SimulatorFixture.h"

namespace {

struct ModuleRoles {
    const char* name;
    int entries;
    int data;
};

// The numbering document's lists, by module.
constexpr ModuleRoles kModules[] = {
    {"sim1.dll", 2, 0}, {"fs-traffic.dll", 3, 0}, {"main.dll", 4, 4},   {"simscheduler.dll", 3, 0},
    {"api.dll", 8, 4},  {"acontain.dll", 3, 0},   {"flight.dll", 2, 0}, {"window.dll", 10, 2},
    {"g2d.dll", 2, 0},  {"g3d.dll", 4, 0},        {"fe.dll", 1, 0},
};

constexpr const char* kXuiNames[] = {"XuiDynamicMenuCreate",          "XuiElementAddChild",
                                     "XuiDynamicMenuInvalidate",      "XuiDynamicMenuAppendItem",
                                     "XuiDynamicMenuAppendSeparator", "XuiDynamicMenuRemoveItem",
                                     "XuiDynamicMenuSetItemEnable",   "XuiDynamicMenuSetItemText",
                                     "XuiDynamicMenuSetItemCheck",    "XuiMenuGetPositionForCommandId"};

class SimulatorVersionTest : public ::testing::TestWithParam<int> {};

// Every entry and data word is at the version's number and at no other version's.
TEST_P(SimulatorVersionTest, ModulesAnswerAtTheNumbersOfTheirVersionOnly) {
    SimulatorFixture f(GetParam());
    const int other = (f.v + 1) % HostVersion::kAccepted;
    for (const ModuleRoles& roles : kModules) {
        const ZHostModule* m = zhostGetModule(roles.name);
        ASSERT_NE(nullptr, m) << roles.name;
        for (int r = 0; r < roles.entries; ++r) {
            EXPECT_NE(nullptr, m->entry(m, HostNumbers::entry(f.v, r))) << roles.name << " entry " << r;
            EXPECT_EQ(nullptr, m->entry(m, HostNumbers::entry(other, r))) << roles.name << " entry " << r;
        }
        for (int r = 0; r < roles.data; ++r) {
            EXPECT_NE(nullptr, m->data(m, HostNumbers::data(f.v, r))) << roles.name << " data " << r;
            EXPECT_EQ(nullptr, m->data(m, HostNumbers::data(other, r))) << roles.name << " data " << r;
        }
        EXPECT_EQ(nullptr, m->entry(m, HostNumbers::entry(f.v, roles.entries))) << roles.name;
    }
    const ZHostModule* xuipc = zhostGetModule("xuipc.dll");
    for (const char* name : kXuiNames)
        EXPECT_NE(nullptr, xuipc->entryByName(xuipc, name)) << name;
    EXPECT_NE(nullptr, f.simState());

    // The data words hold what the simulator has: the date, the rate, the main view.
    using namespace HostNumbers;
    const ZHostDateTime now = *f.data<ZHostDateTime>("main.dll", Main::DateTime);
    EXPECT_EQ(SimulatorSetup{}.dateTime.year, now.year);
    EXPECT_EQ(256u, *f.data<uint32_t>("main.dll", Main::RateWord));
    EXPECT_EQ(256u, f.entry<ZHostGetRateFn>("simscheduler.dll", Scheduler::GetRate)());
    ZHostView* const* mainView = f.data<ZHostView*>("window.dll", Window::MainView);
    ASSERT_NE(nullptr, mainView);
    EXPECT_NE(nullptr, *mainView);
}

// Crash detection is word 19 of the options block on the first two versions, 20 on the others.
TEST_P(SimulatorVersionTest, CrashDetectionIsTheOptionsWordOfTheVersion) {
    SimulatorFixture f(GetParam());
    using namespace HostNumbers;
    uint8_t* options = f.entry<ZHostGetOptionsFn>("main.dll", Main::GetOptions)();
    const std::size_t word = (f.v <= 1 ? 19 : 20) * 4;
    uint32_t value = 0;
    std::memcpy(&value, options + word, 4);
    EXPECT_EQ(1u, value);
    EXPECT_TRUE(f.sim->crashDetection());
    uint8_t copy[ZHOST_OPTIONS_SIZE];
    std::memcpy(copy, options, sizeof copy);
    std::memset(copy + word, 0, 4);
    f.entry<ZHostSetOptionsFn>("main.dll", Main::SetOptions)(copy);
    EXPECT_FALSE(f.sim->crashDetection());
}

// Clearing the line takes " " on the first version and "" on the others.
TEST_P(SimulatorVersionTest, TheMessageLineIsClearedInTheVersionsForm) {
    SimulatorFixture f(GetParam());
    auto showText = f.entry<ZHostShowTextFn>("window.dll", HostNumbers::Window::ShowText);
    showText("Recording", 3, 36);
    EXPECT_EQ("Recording", f.sim->messageLine().text);
    EXPECT_EQ(3, f.sim->messageLine().kind);
    for (int frame = 0; frame < 30; ++frame) // one second
        f.sim->frame();
    EXPECT_EQ(18u, f.sim->messageLine().ticksLeft);

    const bool first = f.v == 0;
    showText(first ? "" : " ", 4, 0);
    EXPECT_EQ(1u, f.wrongForms());
    showText(first ? " " : "", 4, 0);
    EXPECT_EQ(1u, f.wrongForms());
    EXPECT_EQ("", f.sim->messageLine().text);
}

// Draw modes 7 and 13 on the older hosts, 9 and 15 on the newer; handles count from 1.
TEST_P(SimulatorVersionTest, TextsAreDrawnOnlyInTheDrawModesOfTheVersion) {
    SimulatorFixture f(GetParam());
    using namespace HostNumbers;
    auto create = f.entry<ZHostTextCreateFn>("g2d.dll", G2d::TextCreate);
    auto release = f.entry<ZHostTextFreeFn>("g2d.dll", G2d::TextFree);
    auto draw = f.entry<ZHostDrawTextFn>("window.dll", Window::DrawText);
    ZHostView* view = *f.data<ZHostView*>("window.dll", Window::MainView);
    const uint32_t status = create("status");
    const uint32_t caption = create("caption");
    EXPECT_EQ(1u, status);
    EXPECT_EQ(2u, caption);

    const bool older = f.v <= 2;
    draw(view, status, 10, 20, older ? 7 : 9);
    draw(view, caption, 10, 40, older ? 13 : 15);
    draw(view, status, 10, 20, older ? 9 : 7);
    EXPECT_EQ((std::vector<std::string>{"status", "caption"}), f.sim->drawnTexts());
    EXPECT_EQ(1u, f.wrongForms());
    release(status);
    draw(view, status, 10, 20, older ? 7 : 9);
    release(status);
    EXPECT_EQ(3u, f.wrongForms()) << "drawing and freeing a freed text";
    f.sim->frame();
    EXPECT_TRUE(f.sim->drawnTexts().empty());
}

INSTANTIATE_TEST_SUITE_P(AllVersions, SimulatorVersionTest, ::testing::Range(0, HostVersion::kAccepted));

TEST(SimulatorTrafficTest, TheAmountWordsSetTheLiveTrafficAndTheOthersStay) {
    SimulatorFixture f(3);
    using namespace HostNumbers;
    ZHostTrafficSettings settings{};
    f.entry<ZHostGetTrafficFn>("fs-traffic.dll", Traffic::GetTraffic)(&settings);
    EXPECT_EQ(0u, settings.words[2]);
    EXPECT_EQ(0u, settings.words[5]);
    settings.words[2] = 50;
    settings.words[5] = 100;
    f.entry<ZHostSetTrafficFn>("fs-traffic.dll", Traffic::SetTraffic)(&settings);
    EXPECT_EQ(0u, f.wrongForms());
    f.sim->frame();
    EXPECT_GT(f.sim->world().liveTrafficCount(), 0u);
    settings.words[3] += 1;
    f.entry<ZHostSetTrafficFn>("fs-traffic.dll", Traffic::SetTraffic)(&settings);
    EXPECT_EQ(1u, f.wrongForms());
}

} // namespace
