// The numbers of track files: what is read as a number and what is refused, and that every
// decimal of up to 15 digits is read to the same bit as the standard library reads it.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>
#include <string_view>

#include "tracks/DecimalText.h"

namespace {

TEST(DecimalTextTest, WhatIsANumberAndWhatIsNot) {
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"47.45899903", 47.45899903},
        {"-8.55081681", -8.55081681},
        {" +8.5 ", 8.5},
        {"12345678", 12345678},
        {"123456789.12345678", 123456789.12345678},
        {"0.000000001", 1e-9},
        {".5", 0.5},
        {"5.", 5},
        {"1e3", 1000},
        {"-2.5E-2", -0.025},
        {"1234567890123456789", 1234567890123456789.0},
        {"0.12345678901234567", 0.12345678901234567},
        {"", std::nullopt},
        {"-", std::nullopt},
        {".", std::nullopt},
        {"1.2.3", std::nullopt},
        {"12345678x", std::nullopt},
        {"1234567/", std::nullopt},
        {"47.4589990x", std::nullopt},
        {"1234567e3", 1234567e3},
        {"-1234.5678901", -1234.5678901},
        {"12:34:56", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"1e999", std::nullopt},
        {"4 7", std::nullopt},
        {"--1", std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<double> read = decimalNumber(c.text);
        ASSERT_EQ(c.value.has_value(), read.has_value()) << c.text;
        if (c.value) {
            EXPECT_DOUBLE_EQ(*c.value, *read) << c.text;
        }
    }
}

TEST(DecimalTextTest, EveryShortDecimalIsReadToTheLastBit) {
    // Digits of every count up to 15 with the point anywhere, eight-digit runs across it included.
    std::mt19937_64 random(20261210);
    for (int i = 0; i < 200000; ++i) {
        const int count = 1 + static_cast<int>(random() % 15);
        std::string text = random() % 2 == 0 ? "-" : "";
        const int point = static_cast<int>(random() % static_cast<uint64_t>(count + 1));
        for (int d = 0; d < count; ++d) {
            if (d == point)
                text += '.';
            text += static_cast<char>('0' + random() % 10);
        }
        double expected = 0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        const std::optional<double> read = decimalNumber(text);
        ASSERT_TRUE(read.has_value()) << text;
        ASSERT_EQ(expected, *read) << text;
    }
}

TEST(DecimalTextTest, AnyByteThatIsNoneOfANumbersIsRefusedWherever) {
    // Numbers of every length read a word at a time, each byte in turn made every byte a number
    // has no place for: bytes past '9' and above 0x7F, which carry across a word's bytes, among them.
    const std::string numbers[] = {"1.25",       "150.3",       "1500.30",           "-47.4589",
                                   "8.55081681", "47.45899903", "-1234567.12345678", "1234567.1234567"};
    for (const std::string& number : numbers) {
        ASSERT_TRUE(decimalNumber(number).has_value()) << number;
        for (std::size_t at = 0; at < number.size(); ++at)
            for (int byte = 0; byte < 256; ++byte) {
                const char c = static_cast<char>(byte);
                if ((c >= '0' && c <= '9') || std::string_view(".-+eE \t\n\r").find(c) != std::string_view::npos)
                    continue;
                std::string text = number;
                text[at] = c;
                ASSERT_FALSE(decimalNumber(text).has_value()) << number << " with byte " << byte << " at " << at;
            }
    }
}

} // namespace
