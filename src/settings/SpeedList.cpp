#include "settings/SpeedList.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace SpeedList {

namespace {
constexpr double kSlowest = 0.03;
constexpr double kFastest = 100.0;
constexpr const char* kDefaultText = "0.1|0.2|0.3|0.5|1|2|3|5|10";

double roundToStep(double value) { return std::floor(value * 256.0 + 0.5) / 256.0; }

bool valid(const std::vector<double>& speeds) {
    bool hasNormalSpeed = false;
    for (std::size_t i = 0; i < speeds.size(); ++i) {
        double v = speeds[i];
        if (!(v > 0) || std::fabs(v) < kSlowest || std::fabs(v) > kFastest)
            return false;
        if (i > 0 && !(v > speeds[i - 1]))
            return false;
        hasNormalSpeed = hasNormalSpeed || v == 1.0;
    }
    return hasNormalSpeed;
}
} // namespace

std::vector<double> defaults() { return *parse(kDefaultText, kFileSeparator); }

std::optional<std::vector<double>> parse(const std::string& text, char separator) {
    std::vector<double> speeds;
    std::size_t start = 0;
    while (true) {
        std::size_t end = text.find(separator, start);
        std::string piece = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        speeds.push_back(roundToStep(std::atof(piece.c_str())));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    if (!valid(speeds))
        return std::nullopt;
    return speeds;
}

std::string format(const std::vector<double>& speeds, char separator) {
    std::string text;
    char piece[64];
    for (std::size_t i = 0; i < speeds.size(); ++i) {
        if (i == 0)
            std::snprintf(piece, sizeof piece, "%.2g", speeds[i]);
        else
            std::snprintf(piece, sizeof piece, "%c%.2g", separator, speeds[i]);
        text += piece;
    }
    return text;
}

} // namespace SpeedList
