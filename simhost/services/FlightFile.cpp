#include "services/FlightFile.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "profile/Profile.h"

namespace {

constexpr uint32_t kValueSize = 1024;

struct Number {
    const char* section;
    const char* key;
    double FlightFile::*field;
};

constexpr Number kPosition[] = {
    {"SimVars.0", "Latitude", &FlightFile::latitude}, {"SimVars.0", "Longitude", &FlightFile::longitude},
    {"SimVars.0", "Altitude", &FlightFile::altitude}, {"SimVars.0", "Pitch", &FlightFile::pitch},
    {"SimVars.0", "Bank", &FlightFile::bank},         {"SimVars.0", "Heading", &FlightFile::heading},
    {"SimVars.0", "Speed", &FlightFile::speed},
};

struct DatePart {
    const char* key;
    uint16_t ZHostDateTime::*field;
};

constexpr DatePart kDateTime[] = {{"Year", &ZHostDateTime::year},     {"Month", &ZHostDateTime::month},
                                  {"Day", &ZHostDateTime::day},       {"Hour", &ZHostDateTime::hour},
                                  {"Minute", &ZHostDateTime::minute}, {"Second", &ZHostDateTime::second}};

std::string text(const char* section, const char* key, const std::string& path) {
    char value[kValueSize] = {};
    win::GetPrivateProfileStringA(section, key, "", value, kValueSize, path.c_str());
    return value;
}

// Full precision: a flight loaded back is where it was saved.
std::string number(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

} // namespace

bool FlightFile::write(const std::string& path) const {
    const char* file = path.c_str();
    bool written = win::WritePrivateProfileStringA("Main", "Title", title.c_str(), file) &&
                   win::WritePrivateProfileStringA("Main", "Description", description.c_str(), file) &&
                   win::WritePrivateProfileStringA("Sim.0", "Sim", aircraft.c_str(), file);
    for (const Number& n : kPosition)
        written = written &&
                  win::WritePrivateProfileStringA(n.section, n.key, number(this->*n.field).c_str(), file);
    written = written &&
              win::WritePrivateProfileStringA("SimVars.0", "SimOnGround", onGround ? "True" : "False", file);
    const ZHostDateTime d = dateTime;
    for (const DatePart& part : kDateTime)
        written = written && win::WritePrivateProfileStringA("DateTime", part.key,
                                                             std::to_string(d.*part.field).c_str(), file);
    return written;
}

std::optional<FlightFile> FlightFile::read(const std::string& path) {
    if (!std::ifstream(path).is_open())
        return std::nullopt;
    FlightFile flight;
    flight.title = text("Main", "Title", path);
    flight.description = text("Main", "Description", path);
    flight.aircraft = text("Sim.0", "Sim", path);
    if (flight.aircraft.empty())
        return std::nullopt;
    for (const Number& n : kPosition) {
        const std::string value = text(n.section, n.key, path);
        char* end = nullptr;
        flight.*n.field = std::strtod(value.c_str(), &end);
        if (value.empty() || *end != '\0')
            return std::nullopt;
    }
    flight.onGround = text("SimVars.0", "SimOnGround", path) == "True";
    ZHostDateTime d{};
    for (const DatePart& part : kDateTime)
        d.*part.field =
            static_cast<uint16_t>(win::GetPrivateProfileIntA("DateTime", part.key, 0, path.c_str()));
    flight.dateTime = d;
    return flight;
}
