// The stand-in simulator's published modules and host versions, seen as an add-on sees them.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "modules/HostModules.h"

namespace {

TEST(HostVersionTest, AcceptsExactlyTheFiveVersionsInTheirOrder) {
    const char* const accepted[] = {"10.0.60905.0", "10.0.61355.0", "10.0.61472.0", "10.0.61637.0", "1.0.195.0"};
    for (int i = 0; i < HostVersion::kAccepted; ++i) {
        const auto version = HostVersion::parse(accepted[i]);
        ASSERT_TRUE(version.has_value()) << accepted[i];
        EXPECT_EQ(i, version->index());
        EXPECT_EQ(i <= 2, version->older()) << accepted[i];
        EXPECT_EQ(accepted[i], version->text());
        EXPECT_EQ(HostVersion::accepted(i), *version);
    }
    // All four parts must match.
    for (const char* other : {"10.0.61637.1", "10.0.61638.0", "11.0.60905.0", "1.0.195.1"}) {
        const auto version = HostVersion::parse(other);
        ASSERT_TRUE(version.has_value()) << other;
        EXPECT_FALSE(version->index().has_value()) << other;
        EXPECT_FALSE(version->older()) << other;
    }
}

TEST(HostVersionTest, ParsesOnlyFourPartsOfSixteenBits) {
    for (const char* bad : {"", "10.0.61637", "10.0.61637.0.1", "10.0.65536.0", "10..61637.0", "10.0.61637.0 ",
                            "a.b.c.d", "-1.0.0.0"})
        EXPECT_FALSE(HostVersion::parse(bad).has_value()) << '"' << bad << '"';
    EXPECT_EQ(65535, HostVersion::parse("65535.0.0.0")->parts[0]);
}

int answer() { return 42; }
int otherAnswer() { return 7; }

TEST(HostModulesTest, AnAddOnFindsTheModulesThroughTheExportedLookup) {
    HostModules host(HostVersion::accepted(3));
    host.install();
    // What an add-on does: find the lookup function among what is loaded, then ask by name.
    auto lookup = reinterpret_cast<ZHostGetModuleFn>(dlsym(RTLD_DEFAULT, ZHOST_GET_MODULE));
    ASSERT_NE(nullptr, lookup) << "the test program must export the lookup function";
    for (const char* name : HostModules::kNames) {
        const ZHostModule* module = lookup(name);
        ASSERT_NE(nullptr, module) << name;
        EXPECT_STREQ(name, module->name);
    }
    const ZHostModule* api = lookup("api.dll");
    EXPECT_EQ(10, api->fileVersion[0]);
    EXPECT_EQ(61637, api->fileVersion[2]);
    EXPECT_EQ(0, api->fileVersion[3]);
    EXPECT_EQ(nullptr, lookup("kernel32.dll"));
    EXPECT_EQ(nullptr, lookup(nullptr));

    host.withholdModule("g3d.dll");
    EXPECT_EQ(nullptr, lookup("g3d.dll"));
    EXPECT_NE(nullptr, lookup("g2d.dll"));
}

TEST(HostModulesTest, EntriesDataAndExportedRecordsCanEachBeWithheld) {
    HostModules host(HostVersion::accepted(0));
    HostModule& sim = host.module("sim1.dll");
    uint32_t word = 5;
    uint32_t record = 9;
    sim.setEntry(12, reinterpret_cast<void*>(&answer));
    sim.setEntry(13, reinterpret_cast<void*>(&otherAnswer));
    sim.setNamedEntry("XuiDynamicMenuCreate", reinterpret_cast<void*>(&answer));
    sim.setData(0x40, &word);
    sim.setExported("SimState", &record);

    const ZHostModule* m = host.find("sim1.dll");
    ASSERT_NE(nullptr, m);
    using Fn = int (*)();
    EXPECT_EQ(42, reinterpret_cast<Fn>(m->entry(m, 12))());
    EXPECT_EQ(7, reinterpret_cast<Fn>(m->entry(m, 13))());
    EXPECT_EQ(nullptr, m->entry(m, 14));
    EXPECT_EQ(42, reinterpret_cast<Fn>(m->entryByName(m, "XuiDynamicMenuCreate"))());
    EXPECT_EQ(nullptr, m->entryByName(m, "XuiDynamicMenuDestroy"));
    EXPECT_EQ(&word, m->data(m, 0x40));
    EXPECT_EQ(nullptr, m->data(m, 0x44));
    EXPECT_EQ(&record, m->exported(m, "SimState"));
    EXPECT_EQ(nullptr, m->exported(m, nullptr));

    sim.withholdEntry(12);
    sim.withholdNamedEntry("XuiDynamicMenuCreate");
    sim.withholdData(0x40);
    sim.withholdExported("SimState");
    EXPECT_EQ(nullptr, m->entry(m, 12));
    EXPECT_NE(nullptr, m->entry(m, 13));
    EXPECT_EQ(nullptr, m->entryByName(m, "XuiDynamicMenuCreate"));
    EXPECT_EQ(nullptr, m->data(m, 0x40));
    EXPECT_EQ(nullptr, m->exported(m, "SimState"));
}

TEST(HostModulesTest, TheLookupAnswersOnlyWhileASetIsInstalled) {
    {
        HostModules host(HostVersion::accepted(4));
        host.install();
        ASSERT_NE(nullptr, zhostGetModule("fe.dll"));
        EXPECT_EQ(1, zhostGetModule("fe.dll")->fileVersion[0]);
    }
    EXPECT_EQ(nullptr, zhostGetModule("fe.dll"));
}

} // namespace
