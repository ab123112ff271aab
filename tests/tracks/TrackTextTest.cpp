// The text the exports are written with: numbers and times as the C library would print them,
// also where they fall across the blocks the text is written in.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <random>
#include <sstream>
#include <string>

#include "tracks/TrackText.h"

namespace {

std::string printed(double value, int decimals) {
    char text[400];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string result = text;
    // Never "-0.000": a value that rounds to zero has no sign.
    if (result.front() == '-' && result.find_first_not_of("-0.") == std::string::npos)
        result.erase(0, 1);
    return result;
}

TEST(TrackTextTest, NumbersAreWrittenAsPrintfWouldAcrossBlocks) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> around(-1000, 1000);
    std::ostringstream out, expected;
    {
        TextBlock text(out);
        // Zeros, carries into a new digit, the largest exact and beyond, with 0 to 9 decimals.
        const double special[] = {0,        -0.0004,     0.0005,   0.9999999949, 47.458999035, -8.55081681,
                                  9.999995, -99.9999996, 999999.5, 8.9e14,       1e20,         -3e17};
        constexpr int kSpecial = sizeof special / sizeof special[0];
        for (int i = 0; i < 60000; ++i) {
            const int decimals = i % 10;
            const double value =
                i < 10 * kSpecial ? special[i / 10] : around(random) * std::pow(10.0, static_cast<int>(i % 7) - 3);
            text.fixed(value, decimals) << ' ';
            expected << printed(value, decimals) << ' ';
        }
        text.flush();
    }
    EXPECT_GT(out.str().size(), 3u * 65536) << "across several blocks";
    // Rounding may differ from printf's exact one by one unit in the last place on the rare value
    // a half unit from two; every other number is the same text.
    std::istringstream got(out.str()), want(expected.str());
    std::string a, b;
    int differing = 0;
    while (want >> b) {
        ASSERT_TRUE(got >> a);
        if (a != b) {
            ++differing;
            EXPECT_NEAR(std::stod(b), std::stod(a), 1.01e-8 * std::max(1.0, std::abs(std::stod(b)))) << b;
        }
    }
    EXPECT_FALSE(got >> a);
    EXPECT_LT(differing, 60) << "under one number in a thousand";
}

TEST(TrackTextTest, TimesAreIsoWithTheirMillisecondsAcrossDays) {
    std::ostringstream out;
    std::string expected;
    {
        TextBlock text(out);
        for (int i = 0; i < 20000; ++i) {
            // From 2024-02-28 on, over the leap day, a point every 13.25 s.
            const double time = 1709078400.0 + i * 13.25;
            text.isoTime(time) << '\n';
            const auto seconds = static_cast<std::time_t>(std::floor(time));
            std::tm utc{};
            gmtime_r(&seconds, &utc);
            char line[64];
            std::strftime(line, sizeof line, "%Y-%m-%dT%H:%M:%S", &utc);
            const int milliseconds = static_cast<int>(std::lround((time - std::floor(time)) * 1000));
            expected += line;
            if (milliseconds != 0) {
                char fraction[8];
                std::snprintf(fraction, sizeof fraction, ".%03d", milliseconds);
                expected += fraction;
            }
            expected += "Z\n";
        }
        text.flush();
    }
    EXPECT_EQ(expected, out.str());
}

} // namespace
