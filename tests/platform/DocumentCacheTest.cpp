#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "profile/DocumentCache.h"

namespace {

using namespace std::chrono_literals;
using profile::DocumentCache;
using profile::FileStamp;
using profile::FileTime;

const FileTime kReadStart{1'700'000'000s};
// Quiet for longer than the settle time when read at kReadStart.
const FileStamp kSettled{11, 22, 33, kReadStart - 1h, kReadStart - 1h};

std::shared_ptr<const profile::IniDocument> document(const std::string& text) {
    return std::make_shared<const profile::IniDocument>(text);
}

TEST(DocumentCache, FindsTheDocumentKeptUnderTheSameStamp) {
    DocumentCache cache;
    const auto kept = document("[s]\nk=v\n");
    cache.keep("/a/Zephrel.ini", kSettled, kept, kReadStart);
    EXPECT_EQ(cache.find("/a/Zephrel.ini", kSettled), kept);
}

// ---- Any difference in the path or the stamp means another file or another version of it.

struct Mismatch {
    const char* name;
    const char* path;
    std::function<void(FileStamp&)> change;
};

const Mismatch mismatches[] = {
    {"OtherDevice", "/a/Zephrel.ini", [](FileStamp& s) { ++s.device; }},
    {"OtherInode", "/a/Zephrel.ini", [](FileStamp& s) { ++s.inode; }},
    {"OtherSize", "/a/Zephrel.ini", [](FileStamp& s) { ++s.size; }},
    {"ModifiedOneNanosecondLater", "/a/Zephrel.ini", [](FileStamp& s) { s.modified += 1ns; }},
    {"ModificationTimePutBack", "/a/Zephrel.ini", [](FileStamp& s) { s.modified -= 1s; }},
    {"ChangedOneNanosecondLater", "/a/Zephrel.ini", [](FileStamp& s) { s.changed += 1ns; }},
    {"OtherPath", "/b/Zephrel.ini", [](FileStamp&) {}},
    {"PathInOtherCase", "/a/zephrel.ini", [](FileStamp&) {}},
};

class DocumentCacheMismatch : public ::testing::TestWithParam<Mismatch> {};

TEST_P(DocumentCacheMismatch, FindsNothing) {
    DocumentCache cache;
    cache.keep("/a/Zephrel.ini", kSettled, document("[s]\nk=v\n"), kReadStart);
    FileStamp asked = kSettled;
    GetParam().change(asked);
    EXPECT_EQ(cache.find(GetParam().path, asked), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Cases, DocumentCacheMismatch, ::testing::ValuesIn(mismatches),
                         [](const auto& test) { return std::string(test.param.name); });

// ---- Only a file quiet for the settle time before the read is kept: a change within one
// timestamp step after the read could otherwise leave its stamp as it was.

struct Quiet {
    const char* name;
    FileTime modified;
    FileTime changed;
    bool kept;
};

const Quiet quietCases[] = {
    {"QuietForLongerThanSettleTime", kReadStart - DocumentCache::kSettleTime - 1ns,
     kReadStart - DocumentCache::kSettleTime - 1ns, true},
    {"ChangedJustAtSettleTime", kReadStart - 1h, kReadStart - DocumentCache::kSettleTime, false},
    {"ChangedWithinSettleTime", kReadStart - 1h, kReadStart - 1s, false},
    {"ModifiedWithinSettleTime", kReadStart - 1s, kReadStart - 1h, false},
    {"ChangeTimeAfterReadStart", kReadStart - 1h, kReadStart + 1h, false},
};

class DocumentCacheQuiet : public ::testing::TestWithParam<Quiet> {};

TEST_P(DocumentCacheQuiet, KeepsOnlyFilesQuietForTheSettleTime) {
    DocumentCache cache;
    const FileStamp stamp{11, 22, 33, GetParam().modified, GetParam().changed};
    cache.keep("/a/Zephrel.ini", stamp, document("[s]\nk=v\n"), kReadStart);
    EXPECT_EQ(cache.find("/a/Zephrel.ini", stamp) != nullptr, GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(Cases, DocumentCacheQuiet, ::testing::ValuesIn(quietCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(DocumentCache, AVersionNotKeptDropsTheOneBefore) {
    DocumentCache cache;
    cache.keep("/a/Zephrel.ini", kSettled, document("[s]\nk=old\n"), kReadStart);
    const FileStamp recent{11, 23, 33, kReadStart, kReadStart};
    cache.keep("/a/Zephrel.ini", recent, document("[s]\nk=new\n"), kReadStart);
    EXPECT_EQ(cache.find("/a/Zephrel.ini", kSettled), nullptr);
}

TEST(DocumentCache, ForgottenPathFindsNothing) {
    DocumentCache cache;
    cache.keep("/a/Zephrel.ini", kSettled, document("[s]\nk=v\n"), kReadStart);
    cache.keep("/b/Zephrel.ini", kSettled, document("[s]\nk=w\n"), kReadStart);
    cache.forget("/a/Zephrel.ini");
    EXPECT_EQ(cache.find("/a/Zephrel.ini", kSettled), nullptr);
    EXPECT_NE(cache.find("/b/Zephrel.ini", kSettled), nullptr);
}

TEST(DocumentCache, BeyondCapacityTheLeastRecentlyUsedGoes) {
    DocumentCache cache;
    const auto path = [](std::size_t i) { return "/f" + std::to_string(i) + ".ini"; };
    for (std::size_t i = 0; i < DocumentCache::kCapacity; ++i)
        cache.keep(path(i), kSettled, document("[s]\n"), kReadStart);
    // Finding the first makes the second the least recently used.
    ASSERT_NE(cache.find(path(0), kSettled), nullptr);
    cache.keep(path(DocumentCache::kCapacity), kSettled, document("[s]\n"), kReadStart);
    for (std::size_t i = 0; i <= DocumentCache::kCapacity; ++i)
        EXPECT_EQ(cache.find(path(i), kSettled) != nullptr, i != 1) << path(i);
}

} // namespace
