#include <gtest/gtest.h>

#include "support/TempDir.h"

#include <cctype>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "profile/ProfileValues.h"
#include "system/Guid.h"

namespace {

// "<index>_<the stored text with only letters and digits kept>", or "<index>_missing".
std::string caseName(std::size_t index, const std::optional<std::string>& stored) {
    std::string name = std::to_string(index) + "_";
    if (!stored)
        return name + "missing";
    for (const char c : *stored)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

class ProfileValues : public ::testing::Test {
protected:
    // A file holding [S] K=<stored>, or no key at all.
    void storeK(const std::optional<std::string>& stored) const {
        const std::string contents = "[S]\r\nOther=1\r\n" + (stored ? "K=" + *stored + "\r\n" : std::string());
        writeBytes(path, {contents.begin(), contents.end()});
    }
    std::string text() const {
        const auto bytes = readBytes(path);
        return {bytes.begin(), bytes.end()};
    }

    TempDir dir;
    std::string path = dir.file("values.ini");
};

// ---- Integers and booleans.

struct IntCase {
    std::optional<std::string> stored;
    int32_t def;
    int32_t asInt;
    bool asBool; // read with the default def > 0
};

const IntCase intCases[] = {
    {"-1", 1, -1, false}, // an "enabled" flag written as -1 reads as off
    {"0", 1, 0, false},
    {"1", 0, 1, true},
    {"2", 0, 2, true},
    {"2147483648", 0, std::numeric_limits<int32_t>::min(), false},
    {"yes", 1, 0, false},
    {"", 1, 1, true},
    {"", 0, 0, false},
    {std::nullopt, 7, 7, true},
    {std::nullopt, -3, -3, false},
};

class ProfileIntValue : public ProfileValues, public ::testing::WithParamInterface<IntCase> {};

TEST_P(ProfileIntValue, ReadsAsProfileIntegerAndBoolAboveZero) {
    const IntCase& c = GetParam();
    storeK(c.stored);
    EXPECT_EQ(profile::readInt(path, "S", "K", c.def), c.asInt);
    EXPECT_EQ(profile::readBool(path, "S", "K", c.def > 0), c.asBool);
}

INSTANTIATE_TEST_SUITE_P(Values, ProfileIntValue, ::testing::ValuesIn(intCases),
                         [](const auto& test) { return caseName(test.index, test.param.stored); });

TEST_F(ProfileValues, MissingFileGivesDefaults) {
    const std::string missing = dir.file("none.ini");
    EXPECT_EQ(profile::readInt(missing, "S", "K", 42), 42);
    EXPECT_TRUE(profile::readBool(missing, "S", "K", true));
    EXPECT_FALSE(profile::readBool(missing, "S", "K", false));
    EXPECT_EQ(profile::readFloat(missing, "S", "K", 2.5), 2.5);
    EXPECT_EQ(profile::readString(missing, "S", "K", "def"), "def");
}

TEST_F(ProfileValues, IntegersAndBooleansWriteDecimalText) {
    ASSERT_TRUE(profile::writeInt(path, "S", "Int", -5));
    ASSERT_TRUE(profile::writeInt(path, "S", "Min", std::numeric_limits<int32_t>::min()));
    ASSERT_TRUE(profile::writeBool(path, "S", "On", true));
    ASSERT_TRUE(profile::writeBool(path, "S", "Off", false));
    EXPECT_EQ(text(), "[S]\r\nInt=-5\r\nMin=-2147483648\r\nOn=1\r\nOff=0\r\n");
    EXPECT_EQ(profile::readInt(path, "S", "Min", 0), std::numeric_limits<int32_t>::min());
}

// ---- Floats.

struct FloatCase {
    std::optional<std::string> stored;
    double expected; // with the default 7.5
};

const FloatCase floatCases[] = {
    {"1.5", 1.5},
    {"-2.25", -2.25},
    {"+3", 3.0},
    {".5", 0.5},
    {"1e3", 1000.0},
    {"29.97", 29.97},
    {"1.5kg", 1.5},
    {"1,5", 1.0},
    {"\" 2.5\"", 2.5},
    {"abc", 0.0},
    {"inf", 0.0},
    {"nan", 0.0},
    {"0x1A", 0.0},
    {"1e999", 0.0},
    {"-", 0.0},
    {".", 0.0},
    // Only the first 31 characters count.
    {"1234567890123456789012345678901234", 1234567890123456789012345678901.0},
    {"", 7.5},
    {std::nullopt, 7.5},
};

class ProfileFloatValue : public ProfileValues, public ::testing::WithParamInterface<FloatCase> {};

TEST_P(ProfileFloatValue, ReadsDecimalNumberOrDefault) {
    storeK(GetParam().stored);
    EXPECT_EQ(profile::readFloat(path, "S", "K", 7.5), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, ProfileFloatValue, ::testing::ValuesIn(floatCases),
                         [](const auto& test) { return caseName(test.index, test.param.stored); });

struct FloatText {
    double value;
    int decimals;
    const char* text;
};

const FloatText floatTexts[] = {
    {1.5, -1, "1.500000"},
    {25.0, -1, "25.000000"},
    {0.1, -1, "0.100000"},
    {-0.0, -1, "-0.000000"},
    {1e20, -1, "100000000000000000000.000000"},
    {2.345, 2, "2.35"},
    {0.125, 2, "0.12"}, // exactly halfway: to even, as printf does
    {1234.5678, 1, "1234.6"},
    {1.5, 0, "2"},
    {-0.5, 0, "-0"},
    {0.1, 20, "0.10000000000000000555"},
};

class ProfileFloatWrite : public ProfileValues, public ::testing::WithParamInterface<FloatText> {};

TEST_P(ProfileFloatWrite, WritesFixedPointText) {
    const FloatText& c = GetParam();
    ASSERT_TRUE(profile::writeFloat(path, "S", "F", c.value, c.decimals));
    EXPECT_EQ(text(), std::string("[S]\r\nF=") + c.text + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(Values, ProfileFloatWrite, ::testing::ValuesIn(floatTexts),
                         [](const auto& test) { return caseName(test.index, test.param.text); });

TEST_F(ProfileValues, FloatWithSixDecimalsReadsBack) {
    ASSERT_TRUE(profile::writeFloat(path, "VIDEO", "FPS", 29.97));
    EXPECT_EQ(profile::readFloat(path, "VIDEO", "FPS", 0.0), 29.97);
}

// ---- Strings.

TEST_F(ProfileValues, StringsOfAnyLengthReadInFull) {
    const std::string longValue(100000, 'x');
    ASSERT_TRUE(profile::writeString(path, "S", "Long", longValue));
    EXPECT_EQ(profile::readString(path, "S", "Long", ""), longValue);
}

TEST_F(ProfileValues, StringReadsTrimmedUnquotedTextOrDefaultAsGiven) {
    storeK("  \" quoted \"  ");
    EXPECT_EQ(profile::readString(path, "S", "K", "def"), " quoted ");
    EXPECT_EQ(profile::readString(path, "S", "Missing", " def  "), " def  ");
    storeK("");
    EXPECT_EQ(profile::readString(path, "S", "K", "def"), "");
}

TEST_F(ProfileValues, StringWrittenAsGiven) {
    ASSERT_TRUE(profile::writeString(path, "Dialogs", "ZflPath", " /home/me/flights "));
    EXPECT_EQ(text(), "[Dialogs]\r\nZflPath= /home/me/flights \r\n");
}

// ---- Identifiers.

TEST_F(ProfileValues, GuidWrittenInTextFormReadsBack) {
    const Guid guid = *Guid::parse("00112233-4455-6677-8899-aabbccddeeff");
    ASSERT_TRUE(profile::writeGuid(path, "CAMERA", "Guid", guid));
    EXPECT_EQ(text(), "[CAMERA]\r\nGuid=00112233-4455-6677-8899-aabbccddeeff\r\n");
    EXPECT_EQ(profile::readGuid(path, "CAMERA", "Guid"), guid);
}

TEST_F(ProfileValues, GuidInOriginalFormReads) {
    storeK("{00112233-4455-6677-8899-AABBCCDDEEFF}");
    EXPECT_EQ(profile::readGuid(path, "S", "K").toString(), "00112233-4455-6677-8899-aabbccddeeff");
}

TEST_F(ProfileValues, MissingOrBadGuidGivesNewRandomOne) {
    for (const auto& stored : {std::optional<std::string>(), std::optional<std::string>("not a guid")}) {
        storeK(stored);
        const Guid first = profile::readGuid(path, "S", "K");
        const Guid second = profile::readGuid(path, "S", "K");
        EXPECT_NE(first, second);
        EXPECT_EQ(first.data3 >> 12, 4); // a version 4 identifier
    }
}

// ---- Sections and failures.

TEST_F(ProfileValues, DeleteSectionRemovesItsKeys) {
    ASSERT_TRUE(profile::writeString(path, "AUTOPLAY.000", "FLT", "a.flt"));
    ASSERT_TRUE(profile::writeString(path, "AUTOPLAY.001", "FLT", "b.flt"));
    ASSERT_TRUE(profile::deleteSection(path, "AUTOPLAY.000"));
    EXPECT_EQ(profile::readString(path, "AUTOPLAY.000", "FLT", "none"), "none");
    EXPECT_EQ(text(), "[AUTOPLAY.001]\r\nFLT=b.flt\r\n");
    EXPECT_TRUE(profile::deleteSection(path, "AUTOPLAY.000")); // nothing left to delete
}

TEST_F(ProfileValues, WritesToUnwritablePlaceReturnFalse) {
    writeBytes(dir.file("afile"), {'x'});
    const std::string bad = dir.file("afile/values.ini");
    EXPECT_FALSE(profile::writeInt(bad, "S", "K", 1));
    EXPECT_FALSE(profile::writeBool(bad, "S", "K", true));
    EXPECT_FALSE(profile::writeFloat(bad, "S", "K", 1.0));
    EXPECT_FALSE(profile::writeString(bad, "S", "K", "v"));
    EXPECT_FALSE(profile::writeGuid(bad, "S", "K", Guid::create()));
    EXPECT_FALSE(profile::writeString(path, "S", "K", "two\nlines"));
}

} // namespace
