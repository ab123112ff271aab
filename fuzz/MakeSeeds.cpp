// Writes the seed corpora of the fuzz targets into <folder>/<target>/:
//   ZflFileReaderFuzz: small current-format recordings (two tracks, one with a digest, markers of
//                      every kind) and variants: minor version 1, longer headers, no markers;
//   ZflFileV1Fuzz:     first-generation recordings of versions 0x01000004, 0x01000005 and
//                      0x01000006 with a few records each, and the current-format recording;
//   ProfileFuzz:       INI texts: a settings file in the original's style (CR LF, comments, blank
//                      lines, odd spacing, quotes, a repeated section, text before the first
//                      section), the same with LF and with CR line ends, and one with a UTF-8 BOM,
//                      NUL bytes and a header without its ']'.
//   TextImportFuzz:    recording texts, written as text (this program links the module's copy of
//                      the recording file layer, not the converter's): two tracks as the export
//                      writes them (a twin with a few groups, an airliner with every column) and a
//                      marker line of every kind; the same with CR LF line ends; and one written by
//                      hand: no timestamp column, odd case and order of columns, $Interval,
//                      $Offset and $TimeOffset lines, the three date formats, a skipped line.
//   PlayPathFuzz:      the current-format recordings of ZflFileReaderFuzz.
//   InterruptedRecordingFuzz: the journal and temporary files of recordings that did not end,
//                      framed as the target reads them: two tracks in blocks with markers, the
//                      same with a block cut short by the crash, and one without a journal.
// Every seed is a few KiB at most.

#include <unistd.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "common/DataBuffer.h"
#include "common/Log.h"
#include "common/ZephrelException.h"
#include "common/ZflFile.h"
#include "common/ZflFormat.h"
#include "recording/RecordingJournal.h"
#include "recording/TempFile.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

Bytes readAll(const fs::path& path) {
    Bytes bytes(fs::file_size(path));
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr || std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size())
        throw std::runtime_error("cannot read " + path.string());
    std::fclose(f);
    return bytes;
}

void writeAll(const fs::path& path, const Bytes& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0)
        throw std::runtime_error("cannot write " + path.string());
    std::printf("  %s (%zu bytes)\n", path.c_str(), bytes.size());
}

template <typename T> void put(Bytes& out, T value) {
    const auto* p = reinterpret_cast<const unsigned char*>(&value);
    out.insert(out.end(), p, p + sizeof value);
}

template <typename T> void patch(Bytes& bytes, std::size_t offset, T value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

ContData sampleCont(uint32_t i) {
    ContData c{};
    c.timestamp = 10000 + i * 500;
    c.latitude = (int64_t{2200000000} << 20) + i * 40000;
    c.longitude = (int64_t{-500000000} << 28) + i * 90000;
    c.altitude = (int64_t{300} + i) << 32;
    c.pitch = -0x01000000;
    c.bank = static_cast<int32_t>(i) << 20;
    c.heading = 0x40000000u + i * 0x10000;
    c.velocityX = 100.5 + i;
    c.velocityY = 2.25;
    c.velocityZ = -30.0;
    c.elevators = static_cast<int16_t>(-1200 + 100 * static_cast<int>(i));
    c.ailerons = 300;
    c.rudder = -50;
    for (int e = 0; e < kMaxEngines; ++e) {
        c.throttle[e] = static_cast<int16_t>(12000 + e);
        c.prop[e] = static_cast<int16_t>(16000 + e);
        c.mix[e] = static_cast<int16_t>(16383 - e);
    }
    c.spoilers = 0;
    c.IAS = 120.0f + static_cast<float>(i);
    c.TAS = 131.0f + static_cast<float>(i);
    c.mainexit = 0.0f;
    c.tailhook = 0.0f;
    c.wingfoldL = c.wingfoldR = 0.0f;
    c.windDir = 270;
    c.windSpd = 12;
    c.mach = 0.2f;
    c.hour = 14;
    c.minute = 30;
    c.second = static_cast<uint8_t>(i);
    for (int k = 0; k < 5; ++k)
        c.extControls[k] = 0.1f * static_cast<float>(k);
    for (int k = 0; k < 8; ++k)
        c.extFlaps[k] = static_cast<uint16_t>(k * 1000);
    for (int k = 0; k < 5; ++k)
        c.extGear[k] = 1.0f;
    return c;
}

DiscData sampleDisc(uint32_t i) {
    DiscData d{};
    d.timestamp = 10000 + i * 1500;
    d.onground = i == 0 ? 1 : 0;
    d.flaps = static_cast<uint8_t>(i);
    d.gear = i < 2 ? 1 : 0;
    d.lights = 0x0013;
    d.parkbrake = i == 0 ? 1 : 0;
    d.engines = 0x03;
    d.nav1 = (180u << 16) | 0x1090;
    d.nav2 = (90u << 16) | 0x1430;
    d.adf = 0x03500000;
    d.com = (0x2200u << 16) | 0x1800;
    d.squawk = 0x7000;
    d.smoke = 0;
    d.autopilot = static_cast<uint8_t>(i & 1);
    d.concnose = 0;
    d.day = 8;
    d.month = 12;
    d.year = 2011;
    return d;
}

void addTrack(ZflFile& file, const char* title, const char* tail, const DataFormat& format, uint32_t nCont,
              uint32_t nDisc, bool original) {
    TrackInfo info{};
    std::snprintf(info.title, sizeof info.title, "%s", title);
    std::snprintf(info.tailNumber, sizeof info.tailNumber, "%s", tail);
    info.staticCGtoGround = 1.25f;
    info.format = format;
    info.format.contRecordSize = contRecordSize(format.ContFlags, format.nEngines);
    info.format.discRecordSize = discRecordSize(format.DiscFlags);
    info.originalRecording = original ? 1 : 0;
    file.addTrack(info);

    Bytes cont(std::size_t{nCont} * info.format.contRecordSize);
    Bytes disc(std::size_t{nDisc} * info.format.discRecordSize);
    DataBuffer records(cont.data(), disc.data(), info.format);
    for (uint32_t i = 0; i < nCont; ++i)
        records.setContData(i, sampleCont(i));
    for (uint32_t i = 0; i < nDisc; ++i)
        records.setDiscData(i, sampleDisc(i));
    file.writeContData(nCont, cont.data());
    file.writeDiscData(nDisc, disc.data());
}

// Two tracks (the first with a digest, a twin-engine with a few groups; the second an airliner
// with every group) and one marker of each type.
Bytes currentRecording(const fs::path& scratch, bool withMarkers) {
    const fs::path path = scratch / "current.zfl";
    {
        ZflFile file;
        file.open(path.string(), ZflFile::Write);
        DataFormat twin{};
        twin.nEngines = 2;
        twin.ContFlags =
            ContGroup::FlightControls | ContGroup::Throttles | ContGroup::Mixtures | ContGroup::Airspeeds;
        twin.DiscFlags = DiscGroup::Flaps | DiscGroup::Gear | DiscGroup::ParkingBrake | DiscGroup::Engines;
        addTrack(file, "Beech Baron 58", "N58ZP", twin, 4, 2, true);
        DataFormat airliner{};
        airliner.nEngines = 4;
        airliner.ContFlags = ContGroup::All;
        airliner.DiscFlags = DiscGroup::All;
        addTrack(file, "Boeing 747-400 Zephrel Air", "ZA-747ABCD", airliner, 3, 2, false);
        if (withMarkers) {
            Marker m;
            m.time = 10000;
            m.type = Marker::None;
            m.flags = Marker::kChapter;
            m.text = "Take-off";
            file.addMarker(m);
            m.time = 10500;
            m.type = Marker::PlaySound;
            m.flags = 0;
            m.text = "atc.wav";
            file.addMarker(m);
            m.time = 11000;
            m.type = Marker::DisplayText;
            m.text = "Gear up";
            file.addMarker(m);
            m.time = 11200;
            m.type = Marker::Pause;
            m.text.clear();
            file.addMarker(m);
            m.time = 11300;
            m.type = Marker::SwitchCamera;
            m.text = "Tower";
            for (std::size_t k = 0; k < m.cameraId.size(); ++k)
                m.cameraId[k] = static_cast<uint8_t>(0xa0 + k);
            file.addMarker(m);
        }
        file.close();
    }
    Bytes bytes = readAll(path);
    fs::remove(path);
    return bytes;
}

// The same file as a minor-version-1 writer would have left it: no markers counted.
Bytes minorVersion1(Bytes bytes) {
    patch<uint32_t>(bytes, offsetof(Zfl::FileHeader, version), (Zfl::kMajorVersion << 16) | 1);
    return bytes;
}

// Headers longer than this version's, as a later minor version may write them: the file header and
// the first track header get `extra` unknown bytes at their end.
Bytes longerHeaders(const Bytes& in, uint16_t extra) {
    Bytes out(in.begin(), in.begin() + sizeof(Zfl::FileHeader));
    patch<uint16_t>(out, offsetof(Zfl::FileHeader, headerSize),
                    static_cast<uint16_t>(sizeof(Zfl::FileHeader) + extra));
    out.insert(out.end(), extra, 0xee);
    const std::size_t track = sizeof(Zfl::FileHeader);
    out.insert(out.end(), in.begin() + track, in.begin() + track + sizeof(Zfl::TrackHeader));
    patch<uint16_t>(out, sizeof(Zfl::FileHeader) + extra,
                    static_cast<uint16_t>(sizeof(Zfl::TrackHeader) + extra));
    out.insert(out.end(), extra, 0xdd);
    out.insert(out.end(), in.begin() + track + sizeof(Zfl::TrackHeader), in.end());
    uint32_t tracksSize;
    std::memcpy(&tracksSize, out.data() + offsetof(Zfl::FileHeader, tracksSize), 4);
    patch<uint32_t>(out, offsetof(Zfl::FileHeader, tracksSize), tracksSize + extra);
    return out;
}

// ---- first-generation recordings ----

constexpr uint32_t kOldThrottles = 0x001, kOldControls = 0x002, kOldSpoilers = 0x004, kOldFlaps = 0x008,
                   kOldGear = 0x010, kOldLights = 0x020, kOldEngines = 0x040, kOldNav = 0x080,
                   kOldCom = 0x100, kOldPropsMix = 0x200, kOldSkipped = 0x400, kOldSmoke = 0x800;

void putOldRecord(Bytes& out, uint32_t flags, uint32_t i) {
    const ContData c = sampleCont(i);
    // Discrete state changes at the third record only.
    const DiscData d = sampleDisc(i < 2 ? 0 : 1);
    put(out, c.latitude);
    put(out, c.longitude);
    put(out, c.altitude);
    put(out, c.pitch);
    put(out, c.bank);
    put(out, c.heading);
    put(out, c.velocityX);
    put(out, c.velocityY);
    put(out, c.velocityZ);
    put(out, d.onground);
    if (flags & kOldThrottles)
        for (int16_t t : c.throttle)
            put(out, t);
    if (flags & kOldControls) {
        put(out, c.elevators);
        put(out, c.ailerons);
        put(out, c.rudder);
    }
    if (flags & kOldSpoilers)
        put(out, c.spoilers);
    if (flags & kOldFlaps)
        put(out, d.flaps);
    if (flags & kOldGear)
        put(out, d.gear);
    if (flags & kOldLights)
        put(out, d.lights);
    put(out, d.parkbrake);
    if (flags & kOldEngines)
        for (int e = 0; e < 4; ++e)
            put<uint8_t>(out, (d.engines >> e) & 1 ? 0x01 : 0x00);
    if (flags & kOldNav) {
        put(out, d.nav1);
        put(out, d.nav2);
        put(out, d.adf);
    }
    if (flags & kOldCom) {
        put(out, d.com);
        put(out, d.squawk);
    }
    if (flags & kOldPropsMix) {
        for (int16_t m : c.mix)
            put(out, m);
        for (int16_t p : c.prop)
            put(out, p);
    }
    if (flags & kOldSkipped)
        out.insert(out.end(), 6, 0x5c);
    if (flags & kOldSmoke)
        put<uint8_t>(out, 1);
    put(out, c.timestamp);
}

// Versions 0x01000004 and 0x01000005: one track.
Bytes singleTrack(uint32_t version, uint32_t storedFlags, uint32_t recordFlags, uint32_t nRecords) {
    Bytes out;
    put(out, version);
    put(out, nRecords);
    put<uint32_t>(out, 0);
    put(out, storedFlags);
    put(out, 1.75f);
    out.insert(out.end(), 8, 0);
    for (uint32_t i = 0; i < nRecords; ++i)
        putOldRecord(out, recordFlags, i);
    return out;
}

struct OldTrack {
    const char* title;
    uint32_t flags;
    uint32_t nRecords;
};

// Version 0x01000006: several tracks, each with its 124-byte header.
Bytes multiTrack(std::initializer_list<OldTrack> tracks) {
    Bytes out;
    put<uint32_t>(out, 0x01000006);
    out.insert(out.end(), 12, 0);
    put(out, static_cast<uint16_t>(tracks.size()));
    for (const OldTrack& t : tracks) {
        const std::size_t header = out.size();
        out.insert(out.end(), 124, 0);
        patch(out, header + 0, t.nRecords);
        patch(out, header + 4, t.flags);
        std::memcpy(out.data() + header + 16, t.title, std::strlen(t.title));
        patch(out, header + 116, 2.5f);
        for (uint32_t i = 0; i < t.nRecords; ++i)
            putOldRecord(out, t.flags, i);
    }
    return out;
}

// ---- what a crash leaves of a recording ----

// The three files framed for InterruptedRecordingFuzz: the journal's and the directory's lengths,
// then the journal, the directory and the data file.
Bytes framedLeftovers(const Bytes& journal, const Bytes& directory, const Bytes& data) {
    Bytes out;
    put(out, static_cast<uint16_t>(journal.size()));
    put(out, static_cast<uint16_t>(directory.size()));
    out.insert(out.end(), journal.begin(), journal.end());
    out.insert(out.end(), directory.begin(), directory.end());
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

// Tracks 7 and 9 written in alternating blocks of three records, as the recorder flushes them,
// with the journal of a recording begun on 2011-08-15 and two markers.
void interruptedSeeds(const fs::path& folder, const fs::path& scratch) {
    const std::string base = (scratch / "Zephrel").string();
    {
        RecordingJournal journal(base, RecordingDate{2011, 8, 15, 14, 5, 9});
        Marker marker;
        marker.time = 10500;
        marker.type = Marker::DisplayText;
        marker.text = "Rotate";
        journal.addMarker(marker);
        marker.time = 11000;
        marker.type = Marker::SwitchCamera;
        marker.text = "Tower";
        journal.addMarker(marker);
        TempFile files(base, 0);
        files.keepFiles();
        DataFormat format{};
        format.nEngines = 1;
        format.ContFlags = ContGroup::FlightControls | ContGroup::Throttles;
        format.DiscFlags = DiscGroup::Flaps | DiscGroup::Gear;
        format.contRecordSize = contRecordSize(format.ContFlags, format.nEngines);
        format.discRecordSize = discRecordSize(format.DiscFlags);
        for (const uint32_t id : {7u, 9u}) {
            TrackInfo info{};
            std::snprintf(info.title, sizeof info.title, "%s", id == 7 ? "Trainer 152 Aerobat" : "Twin Jet");
            info.format = format;
            info.originalRecording = id == 7 ? 1 : 0;
            files.addTrack(id, info);
        }
        for (uint32_t block = 0; block < 4; ++block) {
            Bytes cont(3 * std::size_t{format.contRecordSize}), disc(format.discRecordSize);
            DataBuffer records(cont.data(), disc.data(), format);
            for (uint32_t i = 0; i < 3; ++i)
                records.setContData(i, sampleCont(block * 3 + i));
            records.setDiscData(0, sampleDisc(block));
            files.writeData(block % 2 == 0 ? 7 : 9, cont.data(), static_cast<uint32_t>(cont.size()), disc.data(),
                            static_cast<uint32_t>(disc.size()));
        }
    }
    const Bytes journal = readAll(base + ".tmp0"), directory = readAll(base + ".tmp1"), data = readAll(base + ".tmp2");
    writeAll(folder / "two-tracks-markers.bin", framedLeftovers(journal, directory, data));
    writeAll(folder / "block-cut-short.bin",
             framedLeftovers(journal, directory, Bytes(data.begin(), data.end() - 40)));
    writeAll(folder / "no-journal.bin", framedLeftovers({}, directory, data));
    for (const char* extension : {".tmp0", ".tmp1", ".tmp2"})
        fs::remove(base + extension);
}

Bytes text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

std::string withLineEnd(std::string s, const std::string& eol) {
    for (std::size_t at = 0; (at = s.find('\n', at)) != std::string::npos; at += eol.size())
        s.replace(at, 1, eol);
    return s;
}

void profileSeeds(const fs::path& folder) {
    const std::string settings = "; Zephrel settings\njunk=before any section\n\n"
                                 "[SETTINGS]\nEnableReplay=1\n  MaxReplaySize = 20   \n; the steps\n"
                                 "JumpSize1=\"30\"\nSpeeds='0.1|1|2'\nEnableReplay=-1\n\n"
                                 "[replay]   ; instant\nInterval=5000\nRecordAI\n#ContFlags=7\n\n"
                                 "[ VIDEO ]\nFPS=29.97\n\tCodec\t=\t-1\n\n"
                                 "[SETTINGS]\nMaxAircraft=5\n";
    writeAll(folder / "settings-crlf.ini", text(withLineEnd(settings, "\r\n")));
    writeAll(folder / "settings-lf.ini", text(settings));
    writeAll(folder / "settings-cr.ini", text(withLineEnd(settings, "\r")));
    const char odd[] = "\xEF\xBB\xBF[first]\r\nk=v\r\n[a\0b]\r\nk=ab\0cd\r\n[open\r\n=empty key\r\n[]\r\n"
                       "k=\"'q'\"\r\n[s]\r\nk=4294967297\r\nno equals\r\n\0";
    writeAll(folder / "odd-bytes.ini", text(std::string(odd, sizeof odd - 1)));
}

// ---- recording texts ----

// Appends printf-formatted text.
__attribute__((format(printf, 2, 3))) void add(std::string& out, const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    out += buffer;
}

// Two tracks laid out as the export writes them, then the markers.
std::string exportedText() {
    std::string s = "// Track 1\n#Aircraft: \"Beech Baron 58\"\n#TailNumber: \"N58ZP\"\n"
                    "#StaticCGtoGround: 1.25000\n"
                    "#Data: timestamp         latitude        longitude    altitude     pitch      bank   heading  "
                    "onground    velocityX    velocityY    velocityZ  elevators  ailerons  rudder  throttle1 "
                    "throttle2  mix1  mix2 flaps  gear  parkbrake  engine1  engine2     IAS    TAS  \n";
    for (int i = 0; i < 4; ++i) {
        add(s, "       %9.4f  %15.10f  %15.10f  %10.3f  %8.3f  %8.3f  %8.3f  %8d  ", 1.0 + 0.5 * i,
            47.4582 + 0.0001 * i, 8.5555 - 0.0002 * i, 1416.0 + 10 * i, -2.5, 0.0, 280.0 + i, i == 0 ? 1 : 0);
        add(s, "%11.5f  %11.5f  %11.5f  %9d  %8d  %6d  %9d %9d %5d %5d ", 100.5 + i, 2.25, -30.0, -1200 + 100 * i,
            300, -50, 12000, 12001, 16383, 16382);
        add(s, "%5d  %4d  %9d  %7d  %7d  %6.2f %6.2f  \n", i, i < 2 ? 1 : 0, i == 0 ? 1 : 0, 1, i < 3 ? 1 : 0,
            120.0 + i, 131.0 + i);
    }
    s += "\n// Track 2\n#Aircraft: \"Boeing 747-400 Zephrel Air\"\n#TailNumber: \"ZA-747ABC\"\n"
         "#StaticCGtoGround: 5.80000\n"
         "#Data: timestamp         latitude        longitude    altitude     pitch      bank   heading  "
         "onground    velocityX    velocityY    velocityZ  elevators  ailerons  rudder  throttle1 throttle2 "
         "throttle3 throttle4 prop1 prop2 prop3 prop4  mix1  mix2  mix3  mix4 spoilers  flaps  gear  lights  "
         "parkbrake  engine1  engine2  engine3  engine4  nav1frq nav1obs nav2frq nav2obs adffrq  com1frq com2frq "
         "squawk  smoke     IAS    TAS   mach  mainexit tailhook wingfoldL wingfoldR  windDir windSpd  autopilot "
         "concnose     date       time   \n";
    for (int i = 0; i < 3; ++i) {
        add(s, "       %9.4f  %15.10f  %15.10f  %10.3f  %8.3f  %8.3f  %8.3f  %8d  ", 2.0 + i, -33.9425 - 0.001 * i,
            151.1753 + 0.002 * i, 21.0 + 150 * i, -8.5, 3.25 * i, 359.875, 0);
        add(s, "%11.5f  %11.5f  %11.5f  %9d  %8d  %6d  ", 0.0, 0.0, 0.0, -16383, 16383, 0);
        for (int e = 0; e < 4; ++e)
            add(s, "%9d ", 16383 - e);
        for (int e = 0; e < 4; ++e)
            add(s, "%5d ", 16000 + e);
        for (int e = 0; e < 4; ++e)
            add(s, "%5d ", 16383 - e);
        add(s, "%8d  %5d  %4d  %6d  %9d  %7d  %7d  %7d  %7d  ", 16383 * (i % 2), 2 * i, 1, 0x0013 + i, 0, 1, 1,
            i == 2 ? 0 : 1, 1);
        add(s, "%7.2f %7d %7.2f %7d %6.1f  %7.2f %7.2f %6d  %5d  ", 110.90, 180, 114.30, 90, 350.0 + i, 122.80,
            118.00, 7000 + i, i == 1 ? 1 : 0);
        add(s, "%6.2f %6.2f  %5.3f  %8.6f %8.6f %9.6f %9.6f      %03d %7d  %9d %8d  %04d-%02d-%02d  %02d:%02d:%02d \n",
            160.0 + i, 175.5, 0.262, 0.0, 0.0, 0.0, 1.0, 40, 7, i & 1, 0, 2011, 12, 8, 14, 30, i);
    }
    s += "\n// Markers\n"
         "$Chapter: 1.0000 \"Take-off\"\n"
         "$PlaySound: 1.0500 inside \"atc.wav\" chapter\n"
         "$PlaySound: 1.1000 outside \"engine.wav\" \n"
         "$PlaySound: 1.1500 always \"gear.wav\" \n"
         "$PlaySound: 1.2000 never \"silent.wav\" chapter\n"
         "$DisplayText: 1.2500 60 scroll \"Gear up\" \n"
         "$DisplayText: 2.0000 5 static \"\" chapter\n"
         "$Pause: 2.5000 \"\" chapter\n"
         "$Pause: 3.0000 \"Look left\" \n";
    return s;
}

// What a person writes: no timestamp column, columns in any case and order, an interval, offsets
// (with and without rotation) and a time offset, every date format, a line with a value missing.
std::string handWrittenText() {
    return "// Written by hand\n"
           "$Interval: 0.5\n"
           "#Aircraft: \"Piper J-3 Cub\"\n"
           "#TailNumber: \"N3CUB\"\n"
           "#StaticCGtoGround: .9\n"
           "#Data: HEADING Latitude longitude ALTITUDE pitch bank onground Gear flaps date time windDir windSpd\n"
           "$Offset: 1.5 -0.5 10 hPb\n"
           "$TimeOffset: 12.25\n"
           "90 47.25 8.50 1500 +2.5 -10 0 1 0 15.08.11 14:30:00 270 12\n"
           "91.5 47.2501 8.5003 1502.5 2 -9.5 0 1 1 2011-08-15 14:30:01 270 12\n"
           "93 47.2502 8.5006 1505 1.5 -9 0 0 1 08/15/2011 14:30:01 275 13\n"
           "94 47.2503 8.5009 1507\n"
           "95 47.2504 8.5012 1510 1 -8 0 0 2 15.8.2011 14:30:02 280 14 trailing words\n"
           "$Offset: 0 0 -3\n"
           "96 47.2505 8.5015 1512 1 -7 0 0 2 31.02.99 14:30:03 280 14\n"
           "$Interval: 0.25\n"
           "#Data: latitude longitude altitude pitch bank heading velocityY engine2 throttle2 nav1frq squawk\n"
           "$Offset: 0 2 0 B\n"
           "-33.9 151.2 0 0 0 0 -5 1 -16384 108.00 1200\n"
           "-33.9 151.2 -10 0 0 359.99 -5 0 16383 117.95 7777\n"
           "\t -33.9001 151.2001 -20 -0.5 1 0.01 +5 1 0 108.10 2000\n"
           "$Chapter: 0 \"Start\"\n"
           "$DisplayText: 0.5 3 static \"Hand written\" chapter\n";
}

void textSeeds(const fs::path& folder) {
    const std::string exported = exportedText();
    writeAll(folder / "exported-two-tracks.txt", text(exported));
    writeAll(folder / "exported-two-tracks-crlf.txt", text(withLineEnd(exported, "\r\n")));
    writeAll(folder / "hand-written.txt", text(handWrittenText()));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    Log::setLogFlags(0);
    try {
        const fs::path root = argv[1];
        const fs::path reader = root / "ZflFileReaderFuzz";
        const fs::path v1 = root / "ZflFileV1Fuzz";
        fs::create_directories(reader);
        fs::create_directories(v1);
        const fs::path scratch = fs::temp_directory_path() / ("zephrel-seeds-" + std::to_string(getpid()));
        fs::create_directories(scratch);

        const Bytes current = currentRecording(scratch, true);
        writeAll(reader / "two-tracks-markers.zfl", current);
        writeAll(reader / "two-tracks-no-markers.zfl", currentRecording(scratch, false));
        writeAll(reader / "minor-version-1.zfl", minorVersion1(current));
        writeAll(reader / "longer-headers.zfl", longerHeaders(current, 6));
        fs::create_directories(root / "PlayPathFuzz");
        fs::copy(reader, root / "PlayPathFuzz", fs::copy_options::recursive);
        fs::create_directories(root / "InterruptedRecordingFuzz");
        interruptedSeeds(root / "InterruptedRecordingFuzz", scratch);
        fs::remove_all(scratch);

        const uint32_t v4Flags =
            kOldThrottles | kOldControls | kOldSpoilers | kOldFlaps | kOldGear | kOldLights | kOldEngines;
        // Version 4 stores flags but always records the 0x7f groups.
        writeAll(v1 / "v4.zfl", singleTrack(0x01000004, 0, v4Flags, 3));
        writeAll(v1 / "v5-all-groups.zfl", singleTrack(0x01000005, 0xfff, 0xfff, 3));
        writeAll(v1 / "v5-few-groups.zfl",
                 singleTrack(0x01000005, kOldControls | kOldFlaps, kOldControls | kOldFlaps, 2));
        writeAll(v1 / "v6-two-tracks.zfl",
                 multiTrack({{"Old Cessna 172", kOldControls | kOldThrottles | kOldPropsMix, 3},
                             {"Old Learjet 45", kOldGear | kOldNav | kOldCom | kOldSmoke, 2}}));
        writeAll(v1 / "current.zfl", current);

        fs::create_directories(root / "ProfileFuzz");
        profileSeeds(root / "ProfileFuzz");

        fs::create_directories(root / "TextImportFuzz");
        textSeeds(root / "TextImportFuzz");
    } catch (const ZephrelException& e) {
        std::fprintf(stderr, "MakeSeeds: %s\n", e.logText.c_str());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "MakeSeeds: %s\n", e.what());
        return 1;
    }
    return 0;
}
