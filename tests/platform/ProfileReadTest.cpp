#include <gtest/gtest.h>

#include "support/TempDir.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "profile/Profile.h"

namespace {

using namespace std::string_literals;

class ProfileFile : public ::testing::Test {
protected:
    void write(const std::string& text) const { writeBytes(path, {text.begin(), text.end()}); }

    // The buffer after the call, all of it, and the return value.
    struct Result {
        uint32_t returned;
        std::string buffer;
    };
    Result get(const char* section, const char* key, const char* def, uint32_t size = 260,
               const char* file = nullptr) const {
        std::string buffer(size, '#');
        const uint32_t n = win::GetPrivateProfileStringA(section, key, def, buffer.data(), size,
                                                         file != nullptr ? file : path.c_str());
        return {n, buffer};
    }
    // The returned text, checked to be as long as the return value says.
    std::string value(const char* section, const char* key, const char* def,
                      const char* file = nullptr) const {
        const Result r = get(section, key, def, 260, file);
        const std::string text = r.buffer.c_str();
        EXPECT_EQ(r.returned, text.size());
        return text;
    }

    TempDir dir;
    std::string path = dir.file("test.ini");
};

// ---- Looking up one value: the same answers whichever of the three line ends the file uses.

struct Lookup {
    const char* name;
    std::string file; // lines end in \n here, replaced by the line end under test
    const char* section;
    const char* key;
    std::optional<std::string> expected; // nullopt: the key is not found
};

const Lookup lookups[] = {
    {"SectionAndKeyIgnoreCase", "[Sec]\nName=v\n", "sEC", "nAME", "v"},
    {"ValueKeepsItsCase", "[s]\nk=MiXeD\n", "s", "k", "MiXeD"},
    {"BlanksAroundKeyAndValueIgnored", "[s]\n \t\vk \t= \t v w \v\t\n", "s", "k", "v w"},
    {"BlanksInsideBracketsIgnored", "[ \t s \t]\nk=v\n", "s", "k", "v"},
    {"BlanksBeforeBracketIgnored", " \t[s]\nk=v\n", "s", "k", "v"},
    {"TextAfterClosingBracketIgnored", "[s] ; more] text\nk=v\n", "s", "k", "v"},
    {"InnerBlanksOfNamesKept", "[my section]\nmy key = v\n", "my section", "my key", "v"},
    {"SpacesAroundArgumentsIgnored", "[s]\nk=v\n", "  s  ", "  k ", "v"},
    {"TabInSectionArgumentIsPartOfTheName", "[\ts]\nk=v\n", "\ts", "k", std::nullopt},
    {"TabInKeyArgumentIsPartOfTheName", "[s]\n\tk=v\n", "s", "\tk", std::nullopt},
    {"DoubleQuotesStrippedInnerBlanksKept", "[s]\nk=  \"  v  \"  \n", "s", "k", "  v  "},
    {"SingleQuotesStripped", "[s]\nk='v'\n", "s", "k", "v"},
    {"OnlyTheOuterQuotePairStripped", "[s]\nk=\"'v'\"\n", "s", "k", "'v'"},
    {"MismatchedQuotesKept", "[s]\nk=  \"  v  '  \n", "s", "k", "\"  v  '"},
    {"LoneQuoteKept", "[s]\nk=\"\n", "s", "k", "\""},
    {"InnerQuotesKept", "[s]\nk=a\"b\"\n", "s", "k", "a\"b\""},
    {"EmptyQuotesGiveEmptyText", "[s]\nk=\"\"\n", "s", "k", ""},
    {"EmptyValueIsFound", "[s]\nk=\n", "s", "k", ""},
    {"BlankValueIsEmpty", "[s]\nk= \t \n", "s", "k", ""},
    {"EqualsSignInValueKept", "[s]\nk=a=b\n", "s", "k", "a=b"},
    {"SemicolonLineIsComment", "[s]\n;k=v\n", "s", "k", std::nullopt},
    {"CommentKeyCannotBeAskedFor", "[s]\n;k=v\n", "s", ";k", std::nullopt},
    {"IndentedSemicolonLineIsComment", "[s]\n \t\v;k=v\n", "s", "k", std::nullopt},
    {"SemicolonInValueIsText", "[s]\nk=;v\n", "s", "k", ";v"},
    {"SemicolonInKeyIsText", "[s]\na;b=v\n", "s", "a;b", "v"},
    {"SemicolonInSectionIsText", "[;s]\nk=v\n", ";s", "k", "v"},
    {"HashDoesNotStartComment", "[s]\n#k=v\n", "s", "#k", "v"},
    {"FirstDuplicateKeyWins", "[s]\nk=1\nK=2\n", "s", "k", "1"},
    {"OnlyFirstDuplicateSectionSearched", "[s]\na=1\n[t]\n[S]\nb=2\n", "s", "b", std::nullopt},
    {"FirstDuplicateSectionFound", "[s]\na=1\n[t]\n[S]\na=2\n", "s", "a", "1"},
    {"KeysBeforeFirstSectionUnreachable", "k=v\n[s]\n", "s", "k", std::nullopt},
    {"KeysBeforeFirstSectionNotInEmptySection", "k=v\n[s]\n", "", "k", std::nullopt},
    {"LineWithoutEqualsIsNotKey", "[s]\nk\n", "s", "k", std::nullopt},
    {"EmptyKeyNameMatchesLineStartingWithEquals", "[s]\n=v\n", "s", "", "v"},
    {"EmptySectionNameMatchesEmptyBrackets", "[]\nk=v\n", "", "k", "v"},
    {"BracketLineWithoutCloseIsNoHeader", "[s]\na=1\n[t\nb=2\n", "s", "b", "2"},
    {"SectionWithoutCloseCannotBeFound", "[s]\n[t\nb=2\n", "t", "b", std::nullopt},
    {"KeyInLaterSectionNotFound", "[s]\na=1\n[t]\nb=2\n", "s", "b", std::nullopt},
    {"Utf8BomHidesFirstHeader", "\xEF\xBB\xBF[s]\nk=v\n[t]\nk=w\n", "s", "k", std::nullopt},
    {"Utf8BomLeavesLaterSections", "\xEF\xBB\xBF[s]\nk=v\n[t]\nk=w\n", "t", "k", "w"},
    {"LastLineWithoutLineEndRead", "[s]\nk=v", "s", "k", "v"},
    {"BlankLinesBetweenKeysSkipped", "[s]\n\n\na=1\n\nk=v\n", "s", "k", "v"},
};

std::string withLineEnd(const std::string& text, const std::string& eol) {
    std::string out;
    for (const char c : text)
        out += c == '\n' ? eol : std::string(1, c);
    return out;
}

class ProfileLookup : public ProfileFile,
                      public ::testing::WithParamInterface<std::tuple<Lookup, std::string>> {};

TEST_P(ProfileLookup, FindsTheValueOrGivesTheDefault) {
    const auto& [c, eol] = GetParam();
    write(withLineEnd(c.file, eol));
    EXPECT_EQ(value(c.section, c.key, "<default>"), c.expected.value_or("<default>"));
}

INSTANTIATE_TEST_SUITE_P(AllLineEnds, ProfileLookup,
                         ::testing::Combine(::testing::ValuesIn(lookups),
                                            ::testing::Values("\r\n"s, "\n"s, "\r"s)),
                         [](const auto& test) {
                             const std::string& eol = std::get<1>(test.param);
                             return std::string(std::get<0>(test.param).name) +
                                    (eol == "\r\n" ? "_CrLf" : eol == "\n" ? "_Lf" : "_Cr");
                         });

// ---- The default: when it is used and what becomes of it.

struct DefaultCase {
    const char* name;
    const char* file; // nullptr: the test's path
    const char* section;
    const char* key;
    const char* def;
    std::string expected;
};

const DefaultCase defaultCases[] = {
    {"MissingSectionGivesDefault", nullptr, "none", "name1", "default", "default"},
    {"MissingKeyGivesDefault", nullptr, "section1", "none", "default", "default"},
    {"EmptySectionNameGivesDefault", nullptr, "", "name1", "default", "default"},
    {"EmptyKeyNameGivesDefault", nullptr, "section1", "", "default", "default"},
    {"MissingFileGivesDefault", "/nonexistent/none.ini", "section1", "name1", "default", "default"},
    {"EmptyFileNameGivesDefault", "", "section1", "name1", "default", "default"},
    {"NullDefaultActsAsEmpty", nullptr, "section1", "none", nullptr, ""},
    {"TrailingSpacesOfDefaultRemoved", nullptr, "section1", "none", "default  ", "default"},
    {"InnerAndLeadingSpacesOfDefaultKept", nullptr, "section1", "none", "  one two  ", "  one two"},
    {"TrailingTabOfDefaultKept", nullptr, "section1", "none", "tab\t", "tab\t"},
    {"AllSpaceDefaultBecomesEmpty", nullptr, "section1", "none", "   ", ""},
    {"EmptyValueWinsOverDefault", nullptr, "section2", "empty", "default", ""},
};

class ProfileDefault : public ProfileFile, public ::testing::WithParamInterface<DefaultCase> {};

TEST_P(ProfileDefault, GivesExpectedText) {
    write("[section1]\r\nname1=val1\r\n[section2]\r\nempty=\r\n");
    const DefaultCase& c = GetParam();
    const Result r = get(c.section, c.key, c.def, 260, c.file);
    EXPECT_EQ(r.buffer.c_str(), c.expected);
    EXPECT_EQ(r.returned, c.expected.size());
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileDefault, ::testing::ValuesIn(defaultCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(ProfileFile, NullFileNameReadsAsMissing) {
    char buffer[16];
    EXPECT_EQ(win::GetPrivateProfileStringA("s", "k", "def", buffer, sizeof buffer, nullptr), 3u);
    EXPECT_STREQ(buffer, "def");
    EXPECT_EQ(win::GetPrivateProfileIntA("s", "k", 70, nullptr), 70u);
}

TEST_F(ProfileFile, FolderGivenAsFileReadsAsMissing) {
    EXPECT_EQ(value("s", "k", "def", dir.path().c_str()), "def");
}

// ---- Buffer sizes: the text is cut to size - 1 characters and always terminated.

struct SizeCase {
    const char* key;
    uint32_t size;
    uint32_t returned;
    std::string buffer; // the whole buffer afterwards; '#' marks bytes left alone
};

const SizeCase sizeCases[] = {
    {"name1", 1, 0, "\0"s},
    {"name1", 4, 3, "val\0"s},
    {"name1", 5, 4, "val1\0"s},
    {"name1", 6, 4, "val1\0#"s},
    {"name4", 1, 0, "\0"s},
    {"name4", 3, 1, "a\0#"s},
    {"missing", 1, 0, "\0"s},
    {"missing", 4, 3, "def\0"s},
    {"missing", 8, 7, "default\0"s},
    {"missing", 9, 7, "default\0#"s},
};

class ProfileBufferSize : public ProfileFile, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(ProfileBufferSize, TruncatesToSizeMinusOne) {
    write("[section1]\r\nname1=val1\r\nname4=a\r\n");
    const SizeCase& c = GetParam();
    const Result r = get("section1", c.key, "default", c.size);
    EXPECT_EQ(r.returned, c.returned);
    EXPECT_EQ(r.buffer, c.buffer);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ProfileBufferSize, ::testing::ValuesIn(sizeCases));

TEST_F(ProfileFile, SizeZeroLeavesBufferAlone) {
    write("[s]\r\nk=v\r\n");
    for (const char* key : {"k", "missing"}) {
        char buffer[] = "####";
        EXPECT_EQ(win::GetPrivateProfileStringA("s", key, "default", buffer, 0, path.c_str()), 0u);
        EXPECT_STREQ(buffer, "####");
    }
}

TEST_F(ProfileFile, NullBufferReturnsZero) {
    write("[s]\r\nk=v\r\n");
    EXPECT_EQ(win::GetPrivateProfileStringA("s", "k", "", nullptr, 10, path.c_str()), 0u);
}

// ---- Lists of section and key names.

struct ListCase {
    const char* name;
    const char* section; // nullptr: the section names
    uint32_t size;
    uint32_t returned;
    std::string buffer; // the whole buffer afterwards
};

const ListCase listCases[] = {
    {"SectionsFit", nullptr, 30, 27, "section1\0section2\0section3\0\0##"s},
    {"SectionsFitWithOneByteToSpare", nullptr, 29, 27, "section1\0section2\0section3\0\0#"s},
    {"SectionsFillingBufferExactlyAreCut", nullptr, 28, 26, "section1\0section2\0section3\0\0"s},
    {"SectionsOneByteShortAreCut", nullptr, 27, 25, "section1\0section2\0section\0\0"s},
    {"SectionsCutInSecondName", nullptr, 16, 14, "section1\0secti\0\0"s},
    {"SectionsCutAfterFirstName", nullptr, 11, 9, "section1\0\0\0"s},
    {"SectionsSizeTwo", nullptr, 2, 0, "\0\0"s},
    {"SectionsSizeOne", nullptr, 1, 0, "\0"s},
    {"KeysFit", "section1", 20, 18, "name1\0name2\0name4\0\0#"s},
    {"KeysFillingBufferExactlyAreCut", "section1", 19, 17, "name1\0name2\0name4\0\0"s},
    {"KeysCut", "section1", 16, 14, "name1\0name2\0na\0\0"s},
    {"KeysOfEmptySectionAreOneNul", "section2", 5, 0, "\0####"s},
    {"KeysOfMissingSectionAreOneNul", "none", 5, 0, "\0####"s},
};

class ProfileList : public ProfileFile, public ::testing::WithParamInterface<ListCase> {};

TEST_P(ProfileList, FillsNulSeparatedList) {
    // The NUL at the end, as some writers leave one, does no harm.
    write("[ section1 ]\r\nname1=val1\r\nname2=\r\nname3\r\nname4=val4\r\n[section2]\r\n[section3]\r\n\0"s);
    const ListCase& c = GetParam();
    // The key argument is ignored when listing sections.
    const Result r = get(c.section, c.section == nullptr ? "name1" : nullptr, "default", c.size);
    EXPECT_EQ(r.returned, c.returned);
    EXPECT_EQ(r.buffer, c.buffer);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileList, ::testing::ValuesIn(listCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(ProfileFile, MissingFileListsNothing) {
    EXPECT_EQ(get(nullptr, nullptr, "default", 10).buffer, "\0#########"s);
    EXPECT_EQ(get("s", nullptr, "default", 10).buffer, "\0#########"s);
}

TEST_F(ProfileFile, ListsKeepDuplicatesAndLeaveOutComments) {
    write("[S]\r\nK=value\r\n;C=x\r\nK2=value2\r\nK=value3\r\n[S2]\r\n[s]\r\nL=1\r\n"s);
    EXPECT_EQ(get(nullptr, nullptr, "", 100).buffer.substr(0, 11), "S\0S2\0s\0\0"s.append("###"));
    EXPECT_EQ(get("s", nullptr, "", 100).buffer.substr(0, 10), "K\0K2\0K\0\0##"s);
}

// ---- NUL bytes in the file.

TEST_F(ProfileFile, NulByteEndsTheTextOfItsLine) {
    // "x\0y=1" has no '=' before its NUL and "[t\0]" no ']', so m belongs to s.
    write("Data \0 before\r\n[s]\r\nk=ab\0cd\r\nx\0y=1\r\n\0=2\r\nq=\"v\0\"\r\n[t\0]\r\nm=1\r\n[u]\r\n"s);
    EXPECT_EQ(value("s", "k", "def"), "ab");
    EXPECT_EQ(value("s", "x", "def"), "def");
    EXPECT_EQ(value("s", "", "def"), "def");
    EXPECT_EQ(value("s", "q", "def"), "\"v");
    EXPECT_EQ(value("s", "m", "def"), "1");
    EXPECT_EQ(get("s", nullptr, "", 20).buffer.substr(0, 9), "k\0q\0m\0\0##"s);
    EXPECT_EQ(get(nullptr, nullptr, "", 20).buffer.substr(0, 6), "s\0u\0\0#"s);
}

// ---- Integers.

struct IntCase {
    const char* stored;
    uint32_t withDefaultMinusOne;
    uint32_t withDefaultOne;
};

const IntCase intCases[] = {
    {"-1", 4294967295u, 4294967295u},
    {"1", 1, 1},
    {"+1", 1, 1},
    {"007", 7, 7},
    {"2147483648", 2147483648u, 2147483648u},
    {"-2147483648", 2147483648u, 2147483648u},
    {"4294967296", 0, 0},
    {"4294967297", 1, 1},
    {"-4294967297", 4294967295u, 4294967295u},
    {"42A94967297", 42, 42},
    {"B4294967297", 0, 0},
    {"12.9", 12, 12},
    {"0x10", 0, 0},
    {"-", 0, 0},
    {"+-1", 0, 0},
    {"\"12\"", 12, 12},
    {"\"  12\"", 12, 12},
    {"\"\"", 4294967295u, 1},
    {"", 4294967295u, 1},
};

class ProfileInt : public ProfileFile, public ::testing::WithParamInterface<IntCase> {};

TEST_P(ProfileInt, ParsesDecimalModulo2To32) {
    write("[Test]\r\nProfileInt="s + GetParam().stored + "\r\n");
    EXPECT_EQ(win::GetPrivateProfileIntA("Test", "ProfileInt", -1, path.c_str()),
              GetParam().withDefaultMinusOne);
    EXPECT_EQ(win::GetPrivateProfileIntA("test", "profileint", 1, path.c_str()), GetParam().withDefaultOne);
}

std::string intCaseName(const ::testing::TestParamInfo<IntCase>& test) {
    std::string name;
    for (const char* p = test.param.stored; *p != '\0'; ++p)
        name += *p == '-' ? "Minus" : *p == '+' ? "Plus" : *p == '"' ? "Quote" : *p == ' ' ? "Space"
                : *p == '.' ? "Dot" : std::string(1, *p);
    return name.empty() ? "Empty" : name;
}

INSTANTIATE_TEST_SUITE_P(Values, ProfileInt, ::testing::ValuesIn(intCases), intCaseName);

TEST_F(ProfileFile, IntGivesDefaultWhenNothingIsFound) {
    const std::string missing = dir.file("missing.ini");
    EXPECT_EQ(win::GetPrivateProfileIntA("Test", "ProfileInt", -1, missing.c_str()), 4294967295u);
    EXPECT_EQ(win::GetPrivateProfileIntA(nullptr, nullptr, 1, missing.c_str()), 1u);
    write("[Test]\r\nProfileInt=5\r\n");
    EXPECT_EQ(win::GetPrivateProfileIntA("Other", "ProfileInt", 9, path.c_str()), 9u);
    EXPECT_EQ(win::GetPrivateProfileIntA("Test", "Other", 9, path.c_str()), 9u);
    EXPECT_EQ(win::GetPrivateProfileIntA(nullptr, "ProfileInt", 9, path.c_str()), 9u);
    EXPECT_EQ(win::GetPrivateProfileIntA("Test", nullptr, 9, path.c_str()), 9u);
}

// ---- Nothing is cached between calls.

TEST_F(ProfileFile, EveryReadSeesTheFileAsItIsNow) {
    write("[Test]\nProfileInt=123\n");
    EXPECT_EQ(win::GetPrivateProfileIntA("Test", "ProfileInt", 421, path.c_str()), 123u);
    write("[Test]\nProfileInt=124\n");
    EXPECT_EQ(win::GetPrivateProfileIntA("Test", "ProfileInt", 421, path.c_str()), 124u);
    std::filesystem::remove(path);
    EXPECT_EQ(win::GetPrivateProfileIntA("Test", "ProfileInt", 421, path.c_str()), 421u);
}

} // namespace
