#include "recording/RecordingJournal.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "common/MarkerRecord.h"
#include "common/ZephrelException.h"

namespace {

constexpr char kMagic[4] = {'Z', 'R', 'J', '1'};

// Journals hold markers alone; more than this is no journal of ours.
constexpr std::streamsize kMaxJournalBytes = 32 << 20;

#pragma pack(push, 1)
struct JournalHeader {
    char magic[4];
    uint16_t year;
    uint8_t month, day, hour, minute, second;
    uint8_t unused;
};
#pragma pack(pop)
static_assert(sizeof(JournalHeader) == 12);

bool plausible(const RecordingDate& date) {
    return date.month >= 1 && date.month <= 12 && date.day >= 1 && date.day <= 31 && date.hour <= 23 &&
           date.minute <= 59 && date.second <= 60;
}

} // namespace

std::string RecordingDate::text() const {
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", unsigned{year}, unsigned{month}, unsigned{day},
                  unsigned{hour}, unsigned{minute});
    return text;
}

RecordingJournal::RecordingJournal(const std::string& baseName, const RecordingDate& began)
    : path_(path(baseName)) {
    JournalHeader header{};
    std::memcpy(header.magic, kMagic, sizeof kMagic);
    header.year = began.year;
    header.month = began.month;
    header.day = began.day;
    header.hour = began.hour;
    header.minute = began.minute;
    header.second = began.second;
    file_ = std::fopen(path_.c_str(), "wb");
    if (file_ == nullptr || std::fwrite(&header, sizeof header, 1, file_) != 1 || std::fflush(file_) != 0) {
        if (file_ != nullptr)
            std::fclose(file_);
        std::remove(path_.c_str());
        throw ZephrelException::stopping(ErrorCode::TempFileNotOpened, "RecordingJournal::RecordingJournal",
                                         __LINE__, path_);
    }
}

RecordingJournal::~RecordingJournal() {
    if (file_ != nullptr)
        std::fclose(file_);
}

bool RecordingJournal::addMarker(const Marker& marker) {
    if (file_ == nullptr)
        return false;
    const std::string record = MarkerRecord::encode(marker);
    return std::fwrite(record.data(), 1, record.size(), file_) == record.size() && std::fflush(file_) == 0;
}

void RecordingJournal::end() {
    if (file_ != nullptr)
        std::fclose(file_);
    file_ = nullptr;
    std::remove(path_.c_str());
}

std::optional<RecordingJournal::Contents> RecordingJournal::read(const std::string& baseName) {
    std::ifstream in(path(baseName), std::ios::binary | std::ios::ate);
    if (!in)
        return std::nullopt;
    const std::streamsize fileSize = std::min<std::streamsize>(in.tellg(), kMaxJournalBytes);
    std::string bytes(static_cast<std::size_t>(std::max<std::streamsize>(fileSize, 0)), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    Contents contents;
    JournalHeader header{};
    if (bytes.size() < sizeof header)
        return contents;
    std::memcpy(&header, bytes.data(), sizeof header);
    if (std::memcmp(header.magic, kMagic, sizeof kMagic) != 0)
        return contents;
    const RecordingDate began{header.year, header.month, header.day, header.hour, header.minute, header.second};
    if (plausible(began))
        contents.began = began;
    std::string_view rest = std::string_view(bytes).substr(sizeof header);
    Marker marker;
    std::size_t size = 0;
    while (MarkerRecord::decode(rest, marker, size) == MarkerRecord::Decoded::Whole) {
        marker.include = 1;
        contents.markers.push_back(marker);
        rest.remove_prefix(size);
    }
    return contents;
}
