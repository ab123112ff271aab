#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "support/TempDir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "profile/Profile.h"

namespace {

using namespace std::string_literals;
namespace fs = std::filesystem;

std::string fileText(const std::string& path) {
    const auto bytes = readBytes(path);
    return {bytes.begin(), bytes.end()};
}

void writeText(const std::string& path, const std::string& text) {
    writeBytes(path, {text.begin(), text.end()});
}

// One call of WritePrivateProfileStringA; nullptr arguments as in the call.
struct Write {
    const char* section;
    const char* key;
    const char* value;
};

struct Edit {
    const char* name;
    std::string before;
    std::vector<Write> writes;
    std::string after; // the whole file, byte for byte
};

const Edit edits[] = {
    // Creating.
    {"SectionsAndKeysGoInOrderWithoutBlankLines", "",
     {{"App1", "key1", "string1"}, {"App1", "key2", "string2"}, {"App1", "key3", "string3"},
      {"App2", "key4", "string4"}, {"App3", "key5", "string5"}},
     "[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey3=string3\r\n"
     "[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=string5\r\n"},
    {"NewKeysGoInTheOrderWritten", "", {{"S", "z", ""}, {"S", "a", ""}, {"S", "y", ""}, {"S", "b", ""}},
     "[S]\r\nz=\r\na=\r\ny=\r\nb=\r\n"},
    {"ExistingKeysKeepTheirPlace", "[S]\r\nb=value\r\na=value\r\n",
     {{"S", "z", ""}, {"S", "b", ""}, {"S", "y", ""}, {"S", "a", ""}}, "[S]\r\nb=\r\na=\r\nz=\r\ny=\r\n"},
    {"NamesLoseSpacesValueWrittenAsGiven", "", {{"   sec   ", "  key  ", " value "}},
     "[sec]\r\nkey= value \r\n"},
    {"TabsInNamesKept", "", {{"\tsec", "key\t", "v"}}, "[\tsec]\r\nkey\t=v\r\n"},
    {"ValueTextNeverEscaped", "", {{"s", "k", ";x #y \"z\" 'w' [a]=b"}},
     "[s]\r\nk=;x #y \"z\" 'w' [a]=b\r\n"},
    {"CommentKeyWrittenAsGiven", "[S]\r\n", {{"S", ";key", "V"}}, "[S]\r\n;key=V\r\n"},
    {"EmptySectionAndKeyNamesWritten", "", {{"", "", "v"}}, "[]\r\n=v\r\n"},
    // Changing a value.
    {"ExistingSpellingOfNamesKept", "[Sec]\r\nKey=old\r\n", {{"SEC", "kEY", "New"}}, "[Sec]\r\nKey=New\r\n"},
    {"SpacingBeforeValueKept", "[s]\r\n \tk = old  \r\nx=1\r\n", {{"s", "k", "new"}},
     "[s]\r\n \tk = new\r\nx=1\r\n"},
    {"BlankOldValueReplaced", "[s]\r\nk=   \r\n", {{"s", "k", "new"}}, "[s]\r\nk=new\r\n"},
    {"ValueHiddenBehindNulReplacedWhole", "[s]\r\nk=ab\0cd\r\nx=1\r\n"s, {{"s", "k", "new"}},
     "[s]\r\nk=new\r\nx=1\r\n"},
    {"QuotedOldValueReplaced", "[s]\r\nk=\"old\"\r\n", {{"s", "k", "new"}}, "[s]\r\nk=new\r\n"},
    {"OnlyFirstDuplicateKeyChanged", "[s]\r\nk=1\r\nk=2\r\n", {{"s", "k", "new"}}, "[s]\r\nk=new\r\nk=2\r\n"},
    {"ValueChangedOnLastLineWithoutLineEnd", "[s]\r\nk=1", {{"s", "k", "22"}}, "[s]\r\nk=22"},
    {"SectionHeaderSpacingKept", "[ a ] note\r\nk=1\r\n", {{"a", "k", "2"}}, "[ a ] note\r\nk=2\r\n"},
    // Adding a key.
    {"NewKeyGoesIntoFirstDuplicateSection", "[s]\r\na=1\r\n[s]\r\nb=2\r\n", {{"s", "b", "3"}},
     "[s]\r\na=1\r\nb=3\r\n[s]\r\nb=2\r\n"},
    {"NewKeyGoesBeforeBlankLinesAndCommentsEndingSection", "[a]\r\nk=1\r\n\r\n; about b\r\n[b]\r\nx=1\r\n",
     {{"a", "n", "2"}}, "[a]\r\nk=1\r\nn=2\r\n\r\n; about b\r\n[b]\r\nx=1\r\n"},
    {"NewKeyGoesAfterLastKeyPastInnerComments", "[a]\r\nk=1\r\n; inner\r\nj=2\r\nno equals\r\n",
     {{"a", "n", "3"}}, "[a]\r\nk=1\r\n; inner\r\nj=2\r\nn=3\r\nno equals\r\n"},
    {"NewKeyOfSectionWithoutKeysGoesAfterHeader", "[a]\r\n\r\n[b]\r\n", {{"a", "k", "v"}},
     "[a]\r\nk=v\r\n\r\n[b]\r\n"},
    {"NewKeyAfterLastLineWithoutLineEnd", "[a]\r\nk=1", {{"a", "n", "2"}}, "[a]\r\nk=1\r\nn=2\r\n"},
    {"CommentKeyDoesNotCountAsExisting", "[S]\r\n;key=V\r\n", {{"S", "key", "W"}},
     "[S]\r\nkey=W\r\n;key=V\r\n"},
    // Adding a section.
    {"NewSectionFollowsTextWithoutLineEnd", "Data \0 before \0 first \0 section"s,
     {{"section1", "key1", "string1"}},
     "Data \0 before \0 first \0 section\r\n[section1]\r\nkey1=string1\r\n"s},
    {"NewSectionGoesAfterTrailingBlankLines", "[a]\r\nk=1\r\n\r\n", {{"b", "x", "y"}},
     "[a]\r\nk=1\r\n\r\n[b]\r\nx=y\r\n"},
    {"NulBytesOutsideTheEditKept", "[s]\r\n\0junk\r\nk=1\r\n[t\0]\r\n"s, {{"s", "n", "2"}, {"s", "k", "3"}},
     "[s]\r\n\0junk\r\nk=3\r\nn=2\r\n[t\0]\r\n"s},
    {"NewSectionAfterNulAtEnd", "[a]\r\nk=1\r\n\0"s, {{"b", "x", "y"}},
     "[a]\r\nk=1\r\n\0\r\n[b]\r\nx=y\r\n"s},
    {"SectionHiddenByBomIsAddedAgain", "\xEF\xBB\xBF[a]\r\nk=1\r\n", {{"a", "k", "2"}},
     "\xEF\xBB\xBF[a]\r\nk=1\r\n[a]\r\nk=2\r\n"},
    // Line ends of new lines.
    {"LfFileGetsLf", "[a]\nk=1\n", {{"a", "n", "2"}, {"b", "x", "y"}}, "[a]\nk=1\nn=2\n[b]\nx=y\n"},
    {"CrFileGetsCr", "[a]\rk=1\r", {{"a", "n", "2"}, {"b", "x", "y"}}, "[a]\rk=1\rn=2\r[b]\rx=y\r"},
    {"FirstLineEndDecides", "[a]\nk=1\r\n", {{"a", "n", "2"}}, "[a]\nk=1\r\nn=2\n"},
    {"FileWithoutLineEndGetsCrLf", "[a]", {{"a", "k", "v"}}, "[a]\r\nk=v\r\n"},
    // Deleting a key.
    {"KeyDeletedTwiceChangesNothingMore", "[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey3=string3\r\n",
     {{"App1", "key2", nullptr}, {"App1", "key2", nullptr}}, "[App1]\r\nkey1=string1\r\nkey3=string3\r\n"},
    {"KeyDeletedWithEveryCopyInFirstSectionOnly", "[s]\r\nk=1\r\nx=2\r\n K =3\r\n[s]\r\nk=4\r\n",
     {{"s", "k", nullptr}}, "[s]\r\nx=2\r\n[s]\r\nk=4\r\n"},
    {"EmptySectionHeaderStaysAfterLastKey", "[App3]\r\nkey5=string5\r\n", {{"App3", "key5", nullptr}},
     "[App3]\r\n"},
    {"KeyDeletedFromLastLineWithoutLineEnd", "[s]\r\na=1\r\nk=2", {{"s", "k", nullptr}}, "[s]\r\na=1\r\n"},
    {"CommentWithKeyNameNotDeleted", "[s]\r\n;k=1\r\nk=2\r\n", {{"s", "k", nullptr}}, "[s]\r\n;k=1\r\n"},
    {"MissingKeyDeleteChangesNothing", "[s]\r\na=1\r\n", {{"s", "b", nullptr}, {"t", "a", nullptr}},
     "[s]\r\na=1\r\n"},
    // Deleting a section.
    {"SectionsDeletedValueIgnored",
     "[App1]\r\nkey1=string1\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=string5\r\n",
     {{"App1", nullptr, "string1"}, {"App2", nullptr, nullptr}}, "[App3]\r\nkey5=string5\r\n"},
    {"SectionDeletedKeepsItsComments", "[a]\r\nk=1\r\n; note\r\n\r\nj=2\r\njunk\r\n[b]\r\nx=1\r\n",
     {{"a", nullptr, nullptr}}, "; note\r\n[b]\r\nx=1\r\n"},
    {"SectionDeletedWhereverItAppears", "[a]\r\nk=1\r\n[b]\r\n[ A ]\r\nk=2\r\n", {{"a", nullptr, nullptr}},
     "[b]\r\n"},
    {"SectionDeletedKeepsTextBeforeFirstSection", "junk\r\nk=0\r\n[a]\r\nk=1", {{"a", nullptr, nullptr}},
     "junk\r\nk=0\r\n"},
    {"MissingSectionDeleteChangesNothing", "[a]\r\nk=1\r\n", {{"b", nullptr, nullptr}}, "[a]\r\nk=1\r\n"},
};

class ProfileWrite : public ::testing::Test {
protected:
    bool write(const char* section, const char* key, const char* value) const {
        return win::WritePrivateProfileStringA(section, key, value, path.c_str());
    }
    std::string get(const char* section, const char* key) const {
        char buffer[260];
        win::GetPrivateProfileStringA(section, key, "<default>", buffer, sizeof buffer, path.c_str());
        return buffer;
    }
    std::vector<std::string> folderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.path()))
            names.push_back(entry.path().filename().string());
        return names;
    }

    TempDir dir;
    std::string path = dir.file("test.ini");
};

class ProfileEdit : public ProfileWrite, public ::testing::WithParamInterface<Edit> {};

TEST_P(ProfileEdit, ChangesOnlyWhatItMust) {
    const Edit& edit = GetParam();
    writeText(path, edit.before);
    for (const Write& w : edit.writes)
        EXPECT_TRUE(write(w.section, w.key, w.value));
    EXPECT_EQ(fileText(path), edit.after);
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"test.ini"}); // no temporary file left
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileEdit, ::testing::ValuesIn(edits),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(ProfileWrite, MissingFileIsCreated) {
    EXPECT_TRUE(write("App", "key", ""));
    EXPECT_EQ(fileText(path), "[App]\r\nkey=\r\n");
}

TEST_F(ProfileWrite, DeletingFromMissingFileSucceedsWithoutCreatingIt) {
    EXPECT_TRUE(write("App", nullptr, "string"));
    EXPECT_TRUE(write("App", "key", nullptr));
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(ProfileWrite, NullSectionFailsAndCreatesNothing) {
    EXPECT_FALSE(write(nullptr, "key", "string"));
    EXPECT_FALSE(fs::exists(path));
    writeText(path, "");
    EXPECT_FALSE(write(nullptr, "key", "string"));
    EXPECT_EQ(fileText(path), "");
}

TEST_F(ProfileWrite, WrittenValuesReadBackTrimmedAndUnquoted) {
    ASSERT_TRUE(write("   sec   ", "  key  ", " value "));
    ASSERT_TRUE(write("sec", "quoted", "\"  q  \""));
    ASSERT_TRUE(write("sec", ";hidden", "V"));
    EXPECT_EQ(get("sec", "key"), "value");
    EXPECT_EQ(get("SEC", "QUOTED"), "  q  ");
    EXPECT_EQ(get("sec", ";hidden"), "<default>");
    EXPECT_EQ(get("sec", "hidden"), "<default>");
}

// ---- Writes that must fail and leave everything as it was.

struct Failure {
    const char* name;
    const char* section;
    const char* key;
    const char* value;
};

const Failure lineBreaks[] = {
    {"LineFeedInValue", "s", "k", "a\nb"},
    {"CarriageReturnInValue", "s", "k", "a\rb"},
    {"LineBreakInKey", "s", "k\r\nx", "v"},
    {"LineBreakInSection", "s]\n[t", "k", "v"},
    {"LineBreakInSectionToDelete", "s\n", nullptr, nullptr},
};

class ProfileWriteRefused : public ProfileWrite, public ::testing::WithParamInterface<Failure> {};

TEST_P(ProfileWriteRefused, LeavesFileUnchanged) {
    const std::string before = "[s]\r\nk=1\r\n";
    writeText(path, before);
    const Failure& f = GetParam();
    EXPECT_FALSE(write(f.section, f.key, f.value));
    EXPECT_EQ(fileText(path), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileWriteRefused, ::testing::ValuesIn(lineBreaks),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(ProfileWrite, UnwritableLocationsFailWithNothingCreated) {
    writeText(dir.file("afile"), "not a folder");
    const std::string folderAsFile = dir.file("folder.ini");
    fs::create_directory(folderAsFile);
    const std::string paths[] = {dir.file("missing/x.ini"), dir.file("afile/x.ini"), folderAsFile, ""};
    for (const std::string& p : paths) {
        SCOPED_TRACE(p);
        EXPECT_FALSE(win::WritePrivateProfileStringA("App", "key", "string", p.c_str()));
    }
    EXPECT_FALSE(win::WritePrivateProfileStringA("App", "key", "string", nullptr));
    EXPECT_FALSE(win::WritePrivateProfileStringA("App", nullptr, nullptr, folderAsFile.c_str()));
    EXPECT_FALSE(fs::exists(dir.file("missing")));
    EXPECT_TRUE(fs::is_directory(folderAsFile));
    EXPECT_TRUE(fs::is_empty(folderAsFile));
    EXPECT_EQ(fileText(dir.file("afile")), "not a folder");
}

// Permission bits do not stop root, so as root the checks run in a child process that has
// given up its privileges.
template <typename Checks> void runUnprivileged(const fs::path& folder, Checks checks) {
    if (geteuid() != 0) {
        checks();
        return;
    }
    fs::permissions(folder, fs::perms::all);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0)
            _exit(2);
        checks();
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the unprivileged checks failed";
}

TEST_F(ProfileWrite, PermissionBitsAreRespected) {
    writeText(path, "[s]\r\nk=1\r\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const fs::path locked = dir.path() / "locked";
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                fs::perms::others_exec);
    const std::string inLocked = (locked / "x.ini").string();
    runUnprivileged(dir.path(), [&] {
        EXPECT_FALSE(write("s", "k", "2"));
        EXPECT_FALSE(win::WritePrivateProfileStringA("App", "key", "string", inLocked.c_str()));
    });
    EXPECT_EQ(fileText(path), "[s]\r\nk=1\r\n");
    EXPECT_TRUE(fs::is_empty(locked));
    fs::permissions(locked, fs::perms::owner_all);
}

TEST_F(ProfileWrite, FileModeIsKept) {
    writeText(path, "[s]\r\nk=1\r\n");
    const auto mode =
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_exec;
    fs::permissions(path, mode);
    ASSERT_TRUE(write("s", "k", "2"));
    EXPECT_EQ(fs::status(path).permissions(), mode);
}

TEST_F(ProfileWrite, NewFileGetsModeFromUmask) {
    const mode_t old = ::umask(027);
    const bool written = write("s", "k", "v");
    ::umask(old);
    ASSERT_TRUE(written);
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(ProfileWrite, SymbolicLinkIsFollowed) {
    const std::string target = dir.file("real.ini");
    writeText(target, "[s]\r\nk=1\r\n");
    fs::create_symlink("real.ini", path);
    ASSERT_TRUE(write("s", "k", "2"));
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_EQ(fileText(target), "[s]\r\nk=2\r\n");
}

} // namespace
