// Binding the module to a host: the version check and every missing module, entry point and data
// word, against the stand-in simulator's published modules.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "Errors.h"
#include "HostBinder.h"
#include "HostModules.h"
#include "TempLog.h"

namespace {

int first() { return 1; }
int fourth() { return 4; }

class HostBinderTest : public TempLogTest {
protected:
    // What init reports: a failure that disables the module, placed in FSinterface::init.
    static void expectDisabling(const std::optional<ZephrelException>& e, uint32_t code, const std::string& log) {
        ASSERT_TRUE(e.has_value());
        EXPECT_EQ(code, e->code);
        EXPECT_EQ(3u, e->severity);
        EXPECT_EQ("FSinterface::init", e->function);
        EXPECT_NE(std::string::npos, e->logText.find(log)) << e->logText;
    }
};

TEST_F(HostBinderTest, TakesTheVersionIndexOfEachAcceptedHostAndRefusesAnyOther) {
    for (int i = 0; i < kHostVersionCount; ++i) {
        HostModules host(HostVersion::accepted(i));
        HostBinder binder(&zhostGetModule);
        host.install();
        EXPECT_EQ(i, binder.checkVersion(binder.module("api.dll")));
        EXPECT_EQ(i, binder.versionIndex());
    }
    HostModules host(*HostVersion::parse("10.0.61637.1"));
    host.install();
    HostBinder binder(&zhostGetModule);
    const auto e = thrown([&] { binder.checkVersion(binder.module("api.dll")); });
    expectDisabling(e, 1, "Unsupported FS version 10.0.61637.1");
    EXPECT_EQ("Zephrel is not compatible with your version of FS!", e->userText);
}

TEST_F(HostBinderTest, BindsTheNumberOfTheHostsVersion) {
    HostModules host(HostVersion::accepted(3));
    host.install();
    HostModule& sim = host.module("sim1.dll");
    sim.setEntry(11, reinterpret_cast<void*>(&first));
    sim.setEntry(41, reinterpret_cast<void*>(&fourth));
    int words[2] = {10, 40};
    sim.setData(0x100, &words[0]);
    sim.setData(0x400, &words[1]);

    HostBinder binder(HostBinder::findLookup()); // the test program exports the lookup, as zephrel-sim does
    binder.checkVersion(binder.module("api.dll"));
    const ZHostModule& module = binder.module("sim1.dll");
    EXPECT_EQ(4, binder.function<int (*)()>(module, {11, 21, 31, 41, 51})());
    EXPECT_EQ(40, *binder.word<int>(module, {0x100, 0x200, 0x300, 0x400, 0x500}));
}

TEST_F(HostBinderTest, EveryMissingPieceHasItsOwnText) {
    HostModules host(HostVersion::accepted(0));
    host.install();
    HostModule& api = host.module("api.dll");
    uint32_t word = 0;
    api.setEntry(7, reinterpret_cast<void*>(&first));
    api.setNamedEntry("XuiDynamicMenuCreate", reinterpret_cast<void*>(&first));
    api.setData(0x10, &word);
    api.setExported("SimState", &word);
    HostBinder binder(&zhostGetModule);
    const ZHostModule& module = binder.module("api.dll");
    binder.checkVersion(module);
    const PerVersion entry{7, 7, 7, 7, 7}, other{8, 8, 8, 8, 8}, data{0x10, 0, 0, 0, 0};

    EXPECT_FALSE(thrown([&] { binder.entry(module, entry); }));
    EXPECT_FALSE(thrown([&] { binder.entry(module, "XuiDynamicMenuCreate"); }));
    EXPECT_FALSE(thrown([&] { binder.data(module, data); }));
    EXPECT_FALSE(thrown([&] { binder.exported(module, "SimState"); }));

    expectDisabling(thrown([&] { binder.module("xuipc2.dll"); }), 0, "Module handle is NULL");
    host.withholdModule("g2d.dll");
    expectDisabling(thrown([&] { binder.module("g2d.dll"); }), 0, "Module handle is NULL");
    expectDisabling(thrown([&] { HostBinder(nullptr).module("api.dll"); }), 0, "Module handle is NULL");
    expectDisabling(thrown([&] { binder.entry(module, other); }), 0, "Function pointer is NULL");
    api.withholdNamedEntry("XuiDynamicMenuCreate");
    expectDisabling(thrown([&] { binder.entry(module, "XuiDynamicMenuCreate"); }), 0, "Function pointer is NULL");
    api.withholdData(0x10);
    expectDisabling(thrown([&] { binder.data(module, data); }), 0, "Global pointer is NULL");
    api.withholdExported("SimState");
    expectDisabling(thrown([&] { binder.exported(module, "SimState"); }), 0, "Global pointer is NULL");
}

} // namespace
