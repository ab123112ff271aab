#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "converter/TextScanner.h"

namespace {

template <typename T> struct Case {
    std::string text;
    bool ok;
    T value;
    std::string rest;           // what follows the value when it is read
    std::size_t min = 0, max = 0; // length limits of quoted text and words
};

// Runs one reader over its table; a failing reader must leave the value alone.
template <typename T, typename Read>
void expectReads(const std::vector<Case<T>>& cases, const T& initial, Read read) {
    for (const Case<T>& c : cases) {
        SCOPED_TRACE("'" + c.text.substr(0, 24) + "'");
        TextScanner scanner(c.text);
        T value = initial;
        const bool ok = read(scanner, value, c);
        EXPECT_EQ(c.ok, ok);
        EXPECT_EQ(c.ok ? c.value : initial, value);
        if (ok) {
            EXPECT_EQ(c.rest, scanner.rest());
        }
    }
}

TEST(TextScannerTest, SignedIntegerTakesOneOptionalSignAndDigitsUpToABlank) {
    expectReads<int64_t>({{"42", true, 42, ""},
                          {"+42", true, 42, ""},
                          {"-42 next", true, -42, " next"},
                          {" \t\v-7\t1", true, -7, "\t1"},
                          {"-", false, 0, ""},
                          {"+", false, 0, ""},
                          {"- 4", false, 0, ""},
                          {"--4", false, 0, ""},
                          {"+-4", false, 0, ""},
                          {"4a", false, 0, ""},
                          {"4.0", false, 0, ""},
                          {"", false, 0, ""},
                          {"18446744073709551617", true, 1, ""},                  // 2^64 + 1
                          {"99999999999999999999", true, 7766279631452241919, ""}, // 10^20 - 1 modulo 2^64
                          {"-18446744073709551615", true, 1, ""}},                // -(2^64 - 1)
                         12345, [](TextScanner& s, int64_t& v, const auto&) { return s.signedInteger(v); });
}

TEST(TextScannerTest, UnsignedIntegerTakesDigitsOnly) {
    expectReads<uint64_t>({{"65535", true, 65535, ""},
                           {"\r\f12 3", true, 12, " 3"},
                           {"007", true, 7, ""},
                           {"18446744073709551621", true, 5, ""}, // 2^64 + 5
                           {"+5", false, 0, ""},
                           {"-5", false, 0, ""},
                           {"5x", false, 0, ""},
                           {"0x5", false, 0, ""},
                           {"", false, 0, ""}},
                          999, [](TextScanner& s, uint64_t& v, const auto&) { return s.unsignedInteger(v); });
}

TEST(TextScannerTest, DecimalHasAtMostOnePointAndNoExponent) {
    expectReads<double>({{"1.5", true, 1.5, ""},  {"-2.25", true, -2.25, ""}, {"+3", true, 3, ""},
                         {".5", true, 0.5, ""},   {"-.5", true, -0.5, ""},    {"+.25", true, 0.25, ""},
                         {"5.", true, 5, ""},     {"\t 7.125 x", true, 7.125, " x"},
                         {"1.2.3", false, 0, ""}, {"1e5", false, 0, ""},      {"1E5", false, 0, ""},
                         {".", false, 0, ""},     {"-", false, 0, ""},        {"+", false, 0, ""},
                         {"+-1", false, 0, ""},   {"--1", false, 0, ""},      {"-+1", false, 0, ""},
                         {"0x10", false, 0, ""},  {"inf", false, 0, ""},      {"nan", false, 0, ""},
                         {"1,5", false, 0, ""},   {"2-", false, 0, ""},       {"", false, 0, ""},
                         // More digits than a double can hold make the value malformed.
                         {"1" + std::string(400, '0'), false, 0, ""}},
                        77, [](TextScanner& s, double& v, const auto&) { return s.decimal(v); });
}

TEST(TextScannerTest, QuotedTextAndWordsKeepTheirLengthLimits) {
    expectReads<std::string>({{"\"abc\"", true, "abc", "", 0, 255},
                              {" \t\"a b\" chapter", true, "a b", " chapter", 1, 255},
                              {"\"\"", true, "", "", 0, 255},
                              {"\"\"", false, "", "", 1, 255},
                              {"\"abc\"", true, "abc", "", 3, 3},
                              {"\"abcd\"", false, "", "", 0, 3},
                              {"\"abc", false, "", "", 0, 255},
                              {"abc\"", false, "", "", 0, 255},
                              {"\"ab\ncd\"", false, "", "", 0, 255},
                              {"", false, "", "", 0, 255}},
                             "unchanged", [](TextScanner& s, std::string& v, const auto& c) {
                                 return s.quoted(v, c.min, c.max);
                             });
    expectReads<std::string>({{"abc def", true, "abc", " def", 1, 3},
                              {"abcd", false, "", "", 1, 3},
                              {"ab", false, "", "", 3, 5},
                              {"", false, "", "", 1, 3},
                              {"\t2011-08-15\r", true, "2011-08-15", "\r", 6, 10}},
                             "unchanged", [](TextScanner& s, std::string& v, const auto& c) {
                                 std::string_view word;
                                 if (!s.word(word, c.min, c.max))
                                     return false;
                                 v = word;
                                 return true;
                             });
}

TEST(TextScannerTest, KeywordIgnoresAsciiCaseAndLeadingBlanksButNotWordEnds) {
    struct KeywordCase {
        std::string text, keyword;
        bool ok;
        std::string rest;
    };
    const std::vector<KeywordCase> cases = {
        {"#Data: x", "#Data:", true, " x"},
        {"#dAtA:", "#Data:", true, ""},
        {" \t\n\v\f\r#DATA:", "#Data:", true, ""},
        {"#Data:latitude", "#Data:", true, "latitude"}, // no word-boundary test
        {"chapterX", "chapter", true, "X"},
        {"#Datum:", "#Data:", false, ""},
        {"# Data:", "#Data:", false, ""},
        {"#Dat", "#Data:", false, ""},
        {"$offset;", "$Offset:", false, ""},
        {"{", "[", false, ""}, // only letters compare without case
        {"`", "@", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("'" + c.text + "' for '" + c.keyword + "'");
        TextScanner scanner(c.text);
        ASSERT_EQ(c.ok, scanner.keyword(c.keyword));
        if (c.ok) {
            EXPECT_EQ(c.rest, scanner.rest());
        }
    }
    TextScanner blanks(" \t\r\n");
    EXPECT_TRUE(blanks.atEnd());
    TextScanner text(" \tx");
    EXPECT_FALSE(text.atEnd());
}

} // namespace
