#include "converter/TextImport.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "common/DataBuffer.h"
#include "common/Ticks.h"
#include "common/ZflFile.h"
#include "converter/ConversionError.h"
#include "converter/FileFailure.h"
#include "converter/ImportColumns.h"
#include "converter/ImportEncoding.h"
#include "converter/StagedRecording.h"
#include "converter/TextCommands.h"
#include "converter/TextScanner.h"

namespace {

constexpr std::size_t kReadChunk = 1024; // at most 1023 characters per line
constexpr std::size_t kReadBuffer = 1 << 20;
constexpr std::size_t kMaxTitle = 255;
constexpr std::size_t kMaxTailNumber = 9;
constexpr double kMaxSeconds = 4294967295.0 / kTicksPerSecond;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using TextFile = std::unique_ptr<std::FILE, FileCloser>;

std::size_t at(Field field) { return static_cast<std::size_t>(field); }

std::size_t at(Field first, int engine) { return at(first) + static_cast<std::size_t>(engine); }

// Values beyond a float's range are kept as its largest.
float toFloat(double value) {
    constexpr double kMax = std::numeric_limits<float>::max();
    return static_cast<float>(value > kMax ? kMax : value < -kMax ? -kMax : value);
}

// The current track: its columns, settings and pending discrete records.
struct Track {
    ColumnList columns;
    bool hasTimestamp = false;
    bool hasVelocity[3] = {};
    bool hasDate = false;
    bool hasTime = false;
    DataFormat format{};
    ImportEncoding::Offset offset;
    double timeOffset = 0;
    uint32_t dataLines = 0;

    std::array<double, kFieldCount> values{};
    std::string dateText;
    std::string timeText;

    double previousTime = 0;
    double previousLatitude = 0;
    double previousLongitude = 0;
    double previousAltitude = 0; // feet

    // A recording stores all continuous records of a track before its discrete ones.
    std::vector<DiscData> pendingDisc;
    DiscData lastDisc{};
};

class Importer {
public:
    Importer(StagedRecording& recording, bool altitudeInMeters)
        : recording_(recording), altitudeInMeters_(altitudeInMeters) {}

    // A line of the input, or a piece of a longer one, with the number of the line it is on and
    // the character of that line it starts at.
    void line(std::string_view text, uint64_t number, uint64_t character);
    void finish();
    const SkippedLines& skipped() const { return skipped_; }

private:
    void headerLine(std::string_view text);
    void dataHeader(std::string_view titles);
    void dataLine(std::string_view text);
    // The values of the columns; false, with the scanner at the failed column's text, when one
    // is missing or malformed.
    bool readValues(TextScanner& scanner, std::size_t& column);
    void skip(std::string reason = {}) { skipped_.note(lineNumber_, character_, std::move(reason)); }
    void finishTrack();
    void resetValues();
    double lineTime() const;
    ContData contRecord(double time, uint32_t timestamp) const;
    DiscData discRecord(uint32_t timestamp) const;

    StagedRecording& recording_;
    bool altitudeInMeters_;

    std::string title_;
    std::string tailNumber_;
    float staticCGtoGround_ = 0;
    double interval_ = 1; // for the whole file
    std::vector<Marker> markers_;

    bool trackStarted_ = false;
    bool columnsActive_ = false;
    Track track_;
    alignas(8) unsigned char contBuffer_[sizeof(ContData)] = {};
    alignas(8) unsigned char discBuffer_[sizeof(DiscData)] = {};
    std::optional<DataBuffer> buffer_;

    uint64_t lineNumber_ = 0;
    uint64_t character_ = 1;
    SkippedLines skipped_;
};

const char* kindName(ValueKind kind) {
    switch (kind) {
    case ValueKind::Decimal:
        return "a decimal number";
    case ValueKind::Signed:
        return "a whole number";
    case ValueKind::Unsigned:
        return "an unsigned number";
    case ValueKind::Date:
        return "a date";
    case ValueKind::Time:
        return "a time of day";
    }
    return "a value";
}

void Importer::line(std::string_view text, uint64_t number, uint64_t character) {
    lineNumber_ = number;
    character_ = character;
    if (text.starts_with('#'))
        headerLine(text);
    else if (text.starts_with('$')) {
        TextCommand command = readTextCommand(text);
        switch (command.kind) {
        case TextCommand::Offset:
            track_.offset = command.offset;
            break;
        case TextCommand::TimeOffset:
            track_.timeOffset = command.seconds;
            break;
        case TextCommand::Interval:
            interval_ = command.seconds;
            break;
        case TextCommand::AddMarker:
            markers_.push_back(std::move(command.marker));
            break;
        }
    } else if (!text.starts_with("//"))
        dataLine(text);
}

void Importer::headerLine(std::string_view text) {
    TextScanner scanner(text);
    if (scanner.keyword("#Aircraft:")) {
        if (!scanner.quoted(title_, 1, kMaxTitle))
            throw ConversionError{"Aircraft title has to be enclosed in \"double quotes\" and cannot be empty!"};
        columnsActive_ = false;
    } else if (scanner.keyword("#TailNumber:")) {
        if (!scanner.quoted(tailNumber_, 0, kMaxTailNumber))
            throw ConversionError{"Tail number has to be enclosed in \"double quotes\"!"};
        columnsActive_ = false;
    } else if (scanner.keyword("#StaticCGtoGround:")) {
        double cg = 0;
        if (!scanner.decimal(cg))
            throw ConversionError{"Invalid StaticCGtoGround value!"};
        staticCGtoGround_ = toFloat(cg);
        columnsActive_ = false;
    } else if (scanner.keyword("#Data:")) {
        dataHeader(scanner.rest());
    } else {
        throw ConversionError{"Invalid entry: " + std::string(text)};
    }
}

void Importer::dataHeader(std::string_view titles) {
    if (trackStarted_) {
        if (track_.dataLines == 0)
            throw ConversionError{"Empty track is not allowed!"};
        finishTrack();
    }
    if (title_.empty())
        throw ConversionError{"No aircraft title specified!"};

    Track& t = track_;
    t.columns = readColumnTitles(titles);
    t.hasTimestamp = t.columns.has(Field::Timestamp);
    t.hasVelocity[0] = t.columns.has(Field::VelocityX);
    t.hasVelocity[1] = t.columns.has(Field::VelocityY);
    t.hasVelocity[2] = t.columns.has(Field::VelocityZ);
    t.hasDate = t.columns.has(Field::Date);
    t.hasTime = t.columns.has(Field::Time);
    const uint32_t nEngines = t.columns.nEngines;
    t.format = {static_cast<uint8_t>(nEngines), t.columns.contFlags, t.columns.discFlags,
                contRecordSize(t.columns.contFlags, nEngines), discRecordSize(t.columns.discFlags)};
    resetValues();

    TrackInfo info{};
    std::strncpy(info.title, title_.c_str(), sizeof info.title - 1);
    std::strncpy(info.tailNumber, tailNumber_.c_str(), sizeof info.tailNumber - 1);
    info.staticCGtoGround = staticCGtoGround_;
    info.format = t.format;
    info.originalRecording = 0;
    recording_.addTrack(info);
    buffer_.emplace(contBuffer_, discBuffer_, t.format);
    trackStarted_ = true;
    columnsActive_ = true;
}

void Importer::resetValues() {
    Track& t = track_;
    t.values.fill(0);
    t.values[at(Field::Nav1Frq)] = 108.0;
    t.values[at(Field::Nav2Frq)] = 108.0;
    t.values[at(Field::AdfFrq)] = 500.0;
    t.values[at(Field::Com1Frq)] = 118.0;
    t.values[at(Field::Com2Frq)] = 118.0;
    t.values[at(Field::Squawk)] = 1200;
    t.values[at(Field::Gear)] = 1;
    for (int engine = 0; engine < kMaxEngines; ++engine)
        t.values[at(Field::Engine1, engine)] = 1;
    t.offset = {};
    t.timeOffset = 0;
    t.dataLines = 0;
    t.dateText.clear();
    t.timeText.clear();
    t.lastDisc = {};
    t.pendingDisc.clear();
}

void Importer::finishTrack() {
    for (const DiscData& disc : track_.pendingDisc) {
        buffer_->setDiscData(0, disc);
        recording_.writeDiscData(discBuffer_);
    }
    track_.pendingDisc.clear();
}

bool Importer::readValues(TextScanner& scanner, std::size_t& i) {
    Track& t = track_;
    for (i = 0; i < t.columns.count; ++i) {
        const ColumnInfo& column = *t.columns.columns[i];
        double& value = t.values[at(column.field)];
        switch (column.kind) {
        case ValueKind::Decimal:
            if (!scanner.decimal(value))
                return false;
            break;
        case ValueKind::Signed: {
            int64_t number = 0;
            if (!scanner.signedInteger(number))
                return false;
            value = static_cast<int16_t>(static_cast<uint16_t>(number));
            break;
        }
        case ValueKind::Unsigned: {
            uint64_t number = 0;
            if (!scanner.unsignedInteger(number))
                return false;
            value = static_cast<uint16_t>(number);
            break;
        }
        case ValueKind::Date:
        case ValueKind::Time: {
            const bool isDate = column.kind == ValueKind::Date;
            std::string_view word;
            if (!scanner.word(word, isDate ? 6 : 5, isDate ? 10 : 8))
                return false;
            (isDate ? t.dateText : t.timeText).assign(word);
            break;
        }
        }
    }
    return true;
}

double Importer::lineTime() const {
    const Track& t = track_;
    const double base = t.hasTimestamp ? t.values[at(Field::Timestamp)] : interval_ * t.dataLines;
    return base + t.timeOffset;
}

ContData Importer::contRecord(double time, uint32_t timestamp) const {
    const Track& t = track_;
    const auto& v = t.values;
    auto i16 = [&](Field f) { return static_cast<int16_t>(v[at(f)]); };
    auto u16 = [&](Field f) { return static_cast<uint16_t>(v[at(f)]); };
    auto f32 = [&](Field f) { return toFloat(v[at(f)]); };

    ContData cont{};
    cont.timestamp = timestamp;
    const double altitudeFeet = altitudeInMeters_ ? v[at(Field::Altitude)] / 0.3048 : v[at(Field::Altitude)];
    const auto stored = ImportEncoding::position(v[at(Field::Latitude)], v[at(Field::Longitude)], altitudeFeet,
                                                 v[at(Field::Pitch)], v[at(Field::Bank)], v[at(Field::Heading)],
                                                 t.offset);
    cont.latitude = stored.latitude;
    cont.longitude = stored.longitude;
    cont.altitude = stored.altitude;
    cont.pitch = ImportEncoding::storedPitchOrBank(v[at(Field::Pitch)]);
    cont.bank = ImportEncoding::storedPitchOrBank(v[at(Field::Bank)]);
    cont.heading = ImportEncoding::storedHeading(v[at(Field::Heading)]);

    double velocity[3] = {v[at(Field::VelocityX)], v[at(Field::VelocityY)], v[at(Field::VelocityZ)]};
    const double dt = time - t.previousTime;
    if (t.dataLines > 0 && dt > 0) {
        const auto derived =
            ImportEncoding::derivedVelocity(v[at(Field::Latitude)], v[at(Field::Longitude)], altitudeFeet,
                                            t.previousLatitude, t.previousLongitude, t.previousAltitude, dt);
        const double derivedValues[3] = {derived.x, derived.y, derived.z};
        for (int axis = 0; axis < 3; ++axis)
            if (!t.hasVelocity[axis])
                velocity[axis] = derivedValues[axis];
    }
    cont.velocityX = velocity[0];
    cont.velocityY = velocity[1];
    cont.velocityZ = velocity[2];

    cont.elevators = i16(Field::Elevators);
    cont.ailerons = i16(Field::Ailerons);
    cont.rudder = i16(Field::Rudder);
    for (int engine = 0; engine < kMaxEngines; ++engine) {
        cont.throttle[engine] = static_cast<int16_t>(v[at(Field::Throttle1, engine)]);
        cont.prop[engine] = static_cast<int16_t>(v[at(Field::Prop1, engine)]);
        cont.mix[engine] = static_cast<int16_t>(v[at(Field::Mix1, engine)]);
    }
    cont.spoilers = u16(Field::Spoilers);
    cont.IAS = f32(Field::IAS);
    cont.TAS = f32(Field::TAS);
    cont.mainexit = f32(Field::MainExit);
    cont.tailhook = f32(Field::Tailhook);
    cont.wingfoldL = f32(Field::WingFoldL);
    cont.wingfoldR = f32(Field::WingFoldR);
    cont.windDir = u16(Field::WindDir);
    cont.windSpd = u16(Field::WindSpd);
    cont.mach = f32(Field::Mach);
    return cont;
}

DiscData Importer::discRecord(uint32_t timestamp) const {
    const auto& v = track_.values;
    auto u16 = [&](Field f) { return static_cast<uint16_t>(v[at(f)]); };
    auto u8 = [&](Field f) { return static_cast<uint8_t>(u16(f)); };

    DiscData disc{};
    disc.timestamp = timestamp;
    disc.onground = u8(Field::OnGround);
    disc.flaps = u8(Field::Flaps);
    disc.gear = u16(Field::Gear) != 0 ? 0x3FFF : 0;
    disc.lights = u16(Field::Lights);
    disc.parkbrake = u8(Field::ParkBrake);
    for (int engine = 0; engine < kMaxEngines; ++engine)
        disc.engines |= static_cast<uint8_t>((static_cast<uint16_t>(v[at(Field::Engine1, engine)]) & 1u) << engine);
    disc.nav1 = ImportEncoding::navComBcd(v[at(Field::Nav1Frq)]) | uint32_t{u16(Field::Nav1Obs)} << 16;
    disc.nav2 = ImportEncoding::navComBcd(v[at(Field::Nav2Frq)]) | uint32_t{u16(Field::Nav2Obs)} << 16;
    disc.adf = ImportEncoding::adfBcd(v[at(Field::AdfFrq)]);
    disc.com = ImportEncoding::navComBcd(v[at(Field::Com1Frq)]) |
               uint32_t{ImportEncoding::navComBcd(v[at(Field::Com2Frq)])} << 16;
    disc.squawk = ImportEncoding::squawkBcd(u16(Field::Squawk));
    disc.smoke = u8(Field::Smoke);
    disc.autopilot = u8(Field::Autopilot);
    disc.concnose = u8(Field::ConcNose);
    return disc;
}

void Importer::dataLine(std::string_view text) {
    // Lines outside a track, and lines with a value missing or malformed, are skipped; blank
    // lines are no data lines at all.
    TextScanner scanner(text);
    if (scanner.atEnd())
        return;
    Track& t = track_;
    if (!columnsActive_) {
        skip("no \"#Data:\" line before it");
        return;
    }
    std::size_t failed = 0;
    if (!readValues(scanner, failed)) {
        if (!skipped_.wantsReason()) {
            skip();
            return;
        }
        const ColumnInfo& column = *t.columns.columns[failed];
        const std::string_view found = scanner.nextWord();
        skip("column " + std::string(column.title) + ": " +
             (found.empty() ? std::string("missing")
                            : "\"" + std::string(found) + "\" is not " + kindName(column.kind)));
        return;
    }

    const double time = lineTime();
    if (time < 0)
        throw ConversionError{"Timestamps cannot be negative!"};
    if (t.dataLines > 0 && time < t.previousTime)
        throw ConversionError{"Timestamps have to be monotonically increasing!"};
    if (time > kMaxSeconds)
        throw ConversionError{"Timestamps cannot exceed 429496.7295 seconds!"};
    const auto timestamp = static_cast<uint32_t>(std::llround(time * kTicksPerSecond));

    ContData cont = contRecord(time, timestamp);
    DiscData disc = discRecord(timestamp);
    if (t.hasDate) {
        const auto date = ImportEncoding::parseDate(t.dateText);
        if (!date)
            throw ConversionError{"Invalid date '" + t.dateText +
                                  "'! Valid formats are 'yyyy-mm-dd', 'dd.mm.yyyy', 'mm/dd/yyyy'."};
        disc.year = date->year;
        disc.month = date->month;
        disc.day = date->day;
    }
    if (t.hasTime) {
        const auto timeOfDay = ImportEncoding::parseTime(t.timeText);
        if (!timeOfDay)
            throw ConversionError{"Invalid time '" + t.timeText + "'! Valid format is 'hh:mm:ss'."};
        cont.hour = timeOfDay->hour;
        cont.minute = timeOfDay->minute;
        cont.second = timeOfDay->second;
    }

    buffer_->setContData(0, cont);
    recording_.writeContData(contBuffer_);
    if (t.dataLines == 0 || !discDataEqual(disc, t.lastDisc, t.format.DiscFlags, t.format.nEngines)) {
        t.pendingDisc.push_back(disc);
        t.lastDisc = disc;
    }

    t.previousTime = time;
    t.previousLatitude = t.values[at(Field::Latitude)];
    t.previousLongitude = t.values[at(Field::Longitude)];
    t.previousAltitude = altitudeInMeters_ ? t.values[at(Field::Altitude)] / 0.3048 : t.values[at(Field::Altitude)];
    ++t.dataLines;
}

void Importer::finish() {
    if (trackStarted_) {
        if (track_.dataLines == 0)
            throw ConversionError{"Empty track is not allowed!"};
        finishTrack();
    }
    for (const Marker& marker : markers_)
        recording_.addMarker(marker);
}

// One read of at most 1023 characters, without its line end.
std::string_view withoutLineEnd(const char* chunk) {
    std::string_view text(chunk);
    if (text.ends_with('\n'))
        text.remove_suffix(1);
    if (text.ends_with('\r'))
        text.remove_suffix(1);
    return text;
}

} // namespace

SkippedLines importText(const std::string& inputPath, const std::string& outputPath, bool altitudeInMeters) {
    StagedRecording recording(outputPath, inputPath);
    std::vector<char> readBuffer(kReadBuffer); // outlives the stream that uses it
    TextFile input(std::fopen(inputPath.c_str(), "r"));
    if (!input)
        throw fileFailure(ErrorCode::FileNotOpened, inputPath, errno);
    std::setvbuf(input.get(), readBuffer.data(), _IOFBF, readBuffer.size());

    Importer importer(recording, altitudeInMeters);
    char chunk[kReadChunk];
    uint64_t lineNumber = 0;
    uint64_t character = 1; // where in its line the piece starts
    bool lineEnded = true;  // by the piece read before
    while (std::fgets(chunk, sizeof chunk, input.get()) != nullptr) {
        const std::size_t length = std::strlen(chunk);
        if (lineEnded) {
            ++lineNumber;
            character = 1;
        }
        importer.line(withoutLineEnd(chunk), lineNumber, character);
        lineEnded = length > 0 && chunk[length - 1] == '\n';
        character += length;
    }
    if (std::ferror(input.get()))
        throw fileFailure(ErrorCode::FileReadFailed, inputPath, errno);
    importer.finish();
    input.reset();
    recording.commit();
    return importer.skipped();
}
