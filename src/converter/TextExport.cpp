#include "converter/TextExport.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <vector>

#include "common/DataBuffer.h"
#include "common/Ticks.h"
#include "common/ZflFile.h"
#include "converter/ExportColumns.h"
#include "converter/FileFailure.h"
#include "converter/StagedOutput.h"
#include "converter/TextLine.h"

namespace {

// Continuous records are read this many at a time: few reads, and memory that does not grow with
// the track.
constexpr uint32_t kContChunk = 4096;
constexpr uint32_t kNoFurtherChange = 0xFFFFFFFFu;
constexpr std::size_t kWriteBuffer = 1 << 20;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using TextFile = std::unique_ptr<std::FILE, FileCloser>;

class Exporter {
public:
    Exporter(std::FILE* out, ZflFile& recording, bool altitudeInMeters, const std::string& outputPath)
        : out_(out), recording_(recording), altitudeInMeters_(altitudeInMeters), outputPath_(outputPath) {}

    void writeTrack(uint32_t track);
    void writeMarkers();

private:
    void write(const std::string& text);
    void flushLine();

    std::FILE* out_;
    ZflFile& recording_;
    bool altitudeInMeters_;
    const std::string& outputPath_;
    TextLine line_;
    std::vector<unsigned char> contRecords_;
    std::vector<unsigned char> discRecord_;
};

void Exporter::write(const std::string& text) {
    if (std::fputs(text.c_str(), out_) == EOF)
        throw fileFailure(ErrorCode::FileWriteFailed, outputPath_, errno);
}

void Exporter::flushLine() {
    if (!line_.writeTo(out_))
        throw fileFailure(ErrorCode::FileWriteFailed, outputPath_, errno);
}

void Exporter::writeTrack(uint32_t track) {
    const TrackInfo& info = recording_.getTrackInfo(track);
    const DataFormat& format = info.format;

    line_.clear();
    line_.append("// Track ");
    line_.integer(track + 1, 0);
    line_.append("\n#Aircraft: \"");
    line_.append(info.title);
    line_.append("\"\n#TailNumber: \"");
    line_.append(info.tailNumber);
    line_.append("\"\n#StaticCGtoGround: ");
    line_.fixed(info.staticCGtoGround, 0, 5);
    line_.append("\n#Data: ");
    ExportColumns::writeTitles(line_, format);
    line_.append("\n");
    flushLine();

    contRecords_.resize(std::size_t{kContChunk} * format.contRecordSize);
    discRecord_.resize(format.discRecordSize);
    DataBuffer buffer(contRecords_.data(), discRecord_.data(), format);

    // The discrete state in force, and the next one to come into force. A track without any
    // discrete record shows an all-zero state throughout.
    DiscData current{};
    DiscData next{};
    uint32_t nextIndex = 0;
    if (info.nDisc > 0) {
        recording_.readDiscData(track, 0, 1, discRecord_.data());
        buffer.getDiscData(0, current);
        next = current;
    } else {
        next.timestamp = kNoFurtherChange;
    }

    ContData cont{};
    for (uint32_t first = 0; first < info.nCont; first += kContChunk) {
        const uint32_t count = recording_.readContData(track, first, kContChunk, contRecords_.data());
        for (uint32_t k = 0; k < count; ++k) {
            buffer.getContData(k, cont);
            // At most one discrete record comes into force per line.
            if (cont.timestamp >= next.timestamp) {
                current = next;
                if (++nextIndex < info.nDisc) {
                    recording_.readDiscData(track, nextIndex, 1, discRecord_.data());
                    buffer.getDiscData(0, next);
                } else {
                    next.timestamp = kNoFurtherChange;
                }
            }
            line_.clear();
            ExportColumns::writeValues(line_, format, cont, current, altitudeInMeters_);
            line_.append("\n");
            flushLine();
        }
    }
    write("\n");
}

void Exporter::writeMarkers() {
    write("// Markers\n");
    const uint32_t count = recording_.getNMarkers();
    for (uint32_t i = 0; i < count; ++i) {
        const Marker marker = recording_.readMarker(i);
        const char* chapter = (marker.flags & Marker::kChapter) != 0 ? "chapter" : "";
        line_.clear();
        switch (marker.type) {
        case Marker::None:
            if ((marker.flags & Marker::kChapter) == 0)
                continue;
            line_.append("$Chapter: ");
            break;
        case Marker::PlaySound:
            line_.append("$PlaySound: ");
            break;
        case Marker::DisplayText:
            line_.append("$DisplayText: ");
            break;
        case Marker::Pause:
            line_.append("$Pause: ");
            break;
        default:
            continue;
        }
        line_.fixed(static_cast<double>(marker.time) / kTicksPerSecond, 0, 4);
        line_.append(" ");
        if (marker.type == Marker::PlaySound) {
            static const char* const kWhere[] = {"never", "inside", "outside", "always"};
            line_.append(kWhere[marker.flags & 3u]);
            line_.append(" ");
        } else if (marker.type == Marker::DisplayText) {
            line_.integer(marker.flags & 0x3fu, 0);
            line_.append((marker.flags & 0x40u) != 0 ? " scroll " : " static ");
        }
        line_.append("\"");
        line_.append(marker.text.c_str()); // up to a NUL, as the text is shown
        line_.append("\"");
        if (marker.type != Marker::None) {
            line_.append(" ");
            line_.append(chapter);
        }
        line_.append("\n");
        flushLine();
    }
}

} // namespace

void exportText(const std::string& inputPath, const std::string& outputPath, bool altitudeInMeters) {
    StagedOutput output(outputPath, inputPath);
    std::vector<char> writeBuffer(kWriteBuffer); // outlives the stream that uses it
    TextFile out(std::fopen(output.stagingPath().c_str(), "w"));
    if (!out)
        throw fileFailure(ErrorCode::FileNotOpened, outputPath, errno);
    std::setvbuf(out.get(), writeBuffer.data(), _IOFBF, writeBuffer.size());

    ZflFile recording;
    withOsReason(inputPath, [&] { recording.open(inputPath, ZflFile::Read); });
    Exporter exporter(out.get(), recording, altitudeInMeters, outputPath);
    for (uint32_t track = 0; track < recording.getNTracks(); ++track)
        exporter.writeTrack(track);
    exporter.writeMarkers();
    recording.close();

    if (std::fclose(out.release()) != 0)
        throw fileFailure(ErrorCode::FileWriteFailed, outputPath, errno);
    output.commit();
}
