// Binding the module to a host: the version check and every missing module, entry point and data
// word, against the stand-in simulator's published modules.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "host/HostBinder.h"
#include "modules/HostModules.h"
#include "support/Errors.h"
#include "support/TempLog.h"

namespace {

int first() { return 1; }
int fourth() { return 4; }

class HostBinderTest : public TempLogTest {
protected:
    // What init reports: a failure that disables the module, placed in FSinterface::init.
    static void expectDisabling(const std::optional<ZephrelException>& e, ErrorCode code, const std::string& log) {
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
    expectDisabling(e, ErrorCode::NotCompatible, "Unsupported FS version 10.0.61637.1");
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

// The lookups no host offers; every withheld module, entry and word is checked through init.
TEST_F(HostBinderTest, AnUnknownModuleOrNoLookupIsAMissingModule) {
    HostModules host(HostVersion::accepted(0));
    host.install();
    expectDisabling(thrown([] { HostBinder(&zhostGetModule).module("xuipc2.dll"); }), ErrorCode::InitializationFailed,
                    "Module handle is NULL");
    expectDisabling(thrown([] { HostBinder(nullptr).module("api.dll"); }), ErrorCode::InitializationFailed,
                    "Module handle is NULL");
}

} // namespace
