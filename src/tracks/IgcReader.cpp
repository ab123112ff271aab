#include "tracks/IgcReader.h"

#include <chrono>
#include <cstring>

#include "tracks/TrackError.h"

namespace {

constexpr std::size_t kLongestLine = 1024; // the standard's lines have 76 characters at most
constexpr double kSecondsPerDay = 86400;
constexpr std::size_t kFixLength = 35; // "B" HHMMSS DDMMmmmN DDDMMmmmE V PPPPP GGGGG

// The number in text[from, from + count), digits only; nullopt otherwise.
std::optional<int> digits(const std::string& text, std::size_t from, std::size_t count) {
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// An altitude field of five characters: digits, or a minus sign and four digits.
std::optional<int> altitude(const std::string& text, std::size_t from) {
    if (text[from] == '-') {
        const auto value = digits(text, from + 1, 4);
        return value ? std::optional(-*value) : std::nullopt;
    }
    return digits(text, from, 5);
}

// Degrees from DDMMmmm (or DDDMMmmm) and the hemisphere letter; nullopt when out of range.
std::optional<double> angle(const std::string& text, std::size_t from, std::size_t degreeDigits,
                            char positive, char negative, int most) {
    const auto degrees = digits(text, from, degreeDigits);
    const auto thousandths = digits(text, from + degreeDigits, 5); // minutes times 1000
    const char hemisphere = text[from + degreeDigits + 5];
    if (!degrees || !thousandths || *thousandths >= 60000 ||
        (hemisphere != positive && hemisphere != negative))
        return std::nullopt;
    const double value = *degrees + *thousandths / 60000.0;
    if (value > most)
        return std::nullopt;
    return hemisphere == positive ? value : -value;
}

bool startsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

} // namespace

IgcReader::IgcReader(std::istream& in, std::string name) : in_(in), name_(std::move(name)) {
    while (readLine()) {
        if (!line_.empty() && line_[0] == 'B') {
            pending_ = true;
            break;
        }
        readHeaderLine();
    }
    if (lineNumber_ == 0)
        throw TrackError(name_, 1, "the file is empty");
    if (pending_ && !dayStart_)
        throw TrackError(name_, lineNumber_, "the first fix comes before the date (HFDTE)");
}

bool IgcReader::readLine() {
    char buffer[kLongestLine];
    in_.getline(buffer, sizeof buffer);
    if (in_.fail() && !in_.eof() && in_.gcount() == static_cast<std::streamsize>(sizeof buffer - 1))
        throw TrackError(name_, lineNumber_ + 1,
                         "the line is longer than " + std::to_string(kLongestLine) +
                             " characters: this is no IGC flight log");
    if (in_.gcount() == 0 && in_.eof())
        return false;
    ++lineNumber_;
    line_.assign(buffer);
    if (!line_.empty() && line_.back() == '\r')
        line_.pop_back();
    return true;
}

void IgcReader::readHeaderLine() {
    if (startsWith(line_, "HFDTE")) {
        // HFDTE170219 or HFDTEDATE:150423,01
        std::size_t at = 5;
        if (startsWith(line_.substr(at), "DATE:"))
            at += 5;
        const auto day = line_.size() >= at + 6 ? digits(line_, at, 2) : std::nullopt;
        const auto month = day ? digits(line_, at + 2, 2) : std::nullopt;
        const auto year = month ? digits(line_, at + 4, 2) : std::nullopt;
        using namespace std::chrono;
        // Two-digit years: 80 to 99 are the last century, as loggers began in the 1990s.
        const year_month_day date{std::chrono::year(year ? (*year >= 80 ? 1900 : 2000) + *year : 0),
                                  std::chrono::month(month ? static_cast<unsigned>(*month) : 0),
                                  std::chrono::day(day ? static_cast<unsigned>(*day) : 0)};
        if (!year || !date.ok())
            throw TrackError(name_, lineNumber_, "the date \"" + line_ + "\" is not DDMMYY");
        dayStart_ = sys_days(date).time_since_epoch().count() * static_cast<int64_t>(kSecondsPerDay);
        return;
    }
    // "HFGTYGLIDERTYPE:Discus 2c", "HFGIDGLIDERID:CGCFP": the text after the colon, trimmed.
    const auto value = [&] {
        const std::size_t colon = line_.find(':');
        std::string text = colon == std::string::npos ? std::string() : line_.substr(colon + 1);
        const std::size_t first = text.find_first_not_of(' ');
        const std::size_t last = text.find_last_not_of(' ');
        return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
    };
    if (startsWith(line_, "HFGTY"))
        aircraftType_ = value();
    else if (startsWith(line_, "HFGID"))
        registration_ = value();
}

double IgcReader::secondsOfDay() const {
    return *digits(line_, 1, 2) * 3600.0 + *digits(line_, 3, 2) * 60.0 + *digits(line_, 5, 2);
}

std::optional<TrackPoint> IgcReader::fix(std::string& refusal) const {
    refusal = "a malformed fix";
    if (line_.size() < kFixLength)
        return std::nullopt;
    const auto hours = digits(line_, 1, 2), minutes = digits(line_, 3, 2), seconds = digits(line_, 5, 2);
    if (!hours || !minutes || !seconds || *hours > 23 || *minutes > 59 || *seconds > 59)
        return std::nullopt;
    const auto latitude = angle(line_, 7, 2, 'N', 'S', 90);
    const auto longitude = angle(line_, 15, 3, 'E', 'W', 180);
    const auto pressure = altitude(line_, 25), gnss = altitude(line_, 30);
    if (!latitude || !longitude || !pressure || !gnss || (line_[24] != 'A' && line_[24] != 'V'))
        return std::nullopt;
    if (line_[24] == 'V') {
        refusal = "no 3-D fix (V)";
        return std::nullopt;
    }
    TrackPoint point;
    point.latitude = *latitude;
    point.longitude = *longitude;
    point.altitude = *gnss != 0 ? *gnss : *pressure;
    return point;
}

bool IgcReader::nextTrack() {
    const bool first = !trackGiven_;
    trackGiven_ = true;
    return first;
}

bool IgcReader::next(TrackPoint& point) {
    while (pending_ || readLine()) {
        pending_ = false;
        if (line_.empty() || line_[0] != 'B') {
            readHeaderLine();
            continue;
        }
        report_.read();
        std::string refusal;
        std::optional<TrackPoint> found = fix(refusal);
        if (!found) {
            report_.skipped(refusal, lineNumber_);
            continue;
        }
        double time = static_cast<double>(*dayStart_) + static_cast<double>(daysLater_) * kSecondsPerDay +
                      secondsOfDay();
        if (order_.last() && time < *order_.last() - kSecondsPerDay / 2) {
            ++daysLater_; // past midnight
            time += kSecondsPerDay;
        }
        if (!order_.keep(time, report_, lineNumber_))
            continue;
        found->time = time;
        point = *found;
        return true;
    }
    return false;
}
