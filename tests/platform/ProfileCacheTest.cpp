#include <gtest/gtest.h>

#include <sys/stat.h>

#include "support/TempDir.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "profile/DocumentCache.h"
#include "profile/Profile.h"

// Reads between which the file changes must see the change, whichever program made it, while the
// parse of the file is kept between the reads.
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string kOld = "[s]\r\nk=old\r\n";
const std::string kNew = "[s]\r\nk=new\r\n"; // as long as kOld

// Another program's write: the file is truncated and written in place, keeping its inode.
void writeInPlace(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::string readValue(const std::string& path) {
    char buffer[64];
    win::GetPrivateProfileStringA("s", "k", "<default>", buffer, sizeof buffer, path.c_str());
    return buffer;
}

class ProfileCache : public ::testing::Test {
protected:
    void SetUp() override {
        writeInPlace(path, kOld);
        fs::last_write_time(path, lastHour);
    }

    TempDir dir;
    std::string path = dir.file("Zephrel.ini");
    const fs::file_time_type lastHour = fs::file_time_type::clock::now() - 1h;
};

// With no settle time every file read is kept, so that the next read is served from the cache
// unless the file's stamp tells the change.
class ProfileCacheKeepingEveryFile : public ProfileCache {
protected:
    void SetUp() override {
        ProfileCache::SetUp();
        profile::DocumentCache::instance().setSettleTime(0ns);
    }
    void TearDown() override {
        profile::DocumentCache::instance().setSettleTime(profile::DocumentCache::kSettleTime);
    }
};

struct Change {
    const char* name;
    std::function<void(const std::string& path, fs::file_time_type oldTime)> make;
    const char* expected;
};

const Change changes[] = {
    {"RewrittenLonger",
     [](const std::string& path, fs::file_time_type oldTime) {
         writeInPlace(path, "[s]\r\nk=longer\r\n");
         fs::last_write_time(path, oldTime);
     },
     "longer"},
    {"RewrittenSameSizeOtherModificationTime",
     [](const std::string& path, fs::file_time_type oldTime) {
         writeInPlace(path, kNew);
         fs::last_write_time(path, oldTime - 1h);
     },
     "new"},
    {"ReplacedByRenameSameSizeSameModificationTime",
     [](const std::string& path, fs::file_time_type oldTime) {
         const std::string other = path + ".other";
         writeInPlace(other, kNew);
         fs::last_write_time(other, oldTime);
         fs::rename(other, path);
     },
     "new"},
    {"Deleted", [](const std::string& path, fs::file_time_type) { std::remove(path.c_str()); }, "<default>"},
    {"WrittenByTheProfileFunctions",
     [](const std::string& path, fs::file_time_type) {
         win::WritePrivateProfileStringA("s", "k", "new", path.c_str());
     },
     "new"},
    {"KeyDeletedByTheProfileFunctions",
     [](const std::string& path, fs::file_time_type) {
         win::WritePrivateProfileStringA("s", "k", nullptr, path.c_str());
     },
     "<default>"},
};

class ProfileCacheChange : public ProfileCacheKeepingEveryFile,
                           public ::testing::WithParamInterface<Change> {};

TEST_P(ProfileCacheChange, NextReadSeesIt) {
    ASSERT_EQ(readValue(path), "old");
    ASSERT_EQ(readValue(path), "old");
    GetParam().make(path, lastHour);
    EXPECT_EQ(readValue(path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileCacheChange, ::testing::ValuesIn(changes),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(ProfileCacheKeepingEveryFile, ReadKeepsTheParseUnderTheFileStampAndAWriteDropsIt) {
    struct stat status {};
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    const profile::FileStamp stamp = profile::stampOf(status);
    profile::DocumentCache& cache = profile::DocumentCache::instance();
    ASSERT_EQ(readValue(path), "old");
    EXPECT_NE(cache.find(path, stamp), nullptr);
    ASSERT_TRUE(win::WritePrivateProfileStringA("s", "k", "new", path.c_str()));
    EXPECT_EQ(cache.find(path, stamp), nullptr);
}

TEST_F(ProfileCacheKeepingEveryFile, ReadsThroughOtherPathsSeeOwnWrites) {
    const std::string samePath = (dir.path() / "." / "Zephrel.ini").string();
    ASSERT_EQ(readValue(samePath), "old");
    ASSERT_TRUE(win::WritePrivateProfileStringA("s", "k", "new", path.c_str()));
    EXPECT_EQ(readValue(samePath), "new");
}

// A change that keeps the file's size, inode and modification time shows only in its change time,
// which may not tell it within one timestamp step; a file read that soon after a change is not
// kept, so the next read sees such a change too.
TEST_F(ProfileCache, SameSizeRewriteWithModificationTimePutBackIsSeen) {
    ASSERT_EQ(readValue(path), "old");
    writeInPlace(path, kNew);
    fs::last_write_time(path, lastHour);
    EXPECT_EQ(readValue(path), "new");
}

} // namespace
