#include <gtest/gtest.h>

#include <sstream>

#include "common/ZflFormat.h"
#include "support/Errors.h"
#include "support/TempDir.h"
#include "tools/SampleRecording.h"
#include "tools/ZflInfo.h"

namespace {

class ZflInfoTest : public ::testing::Test {
protected:
    std::string info(const std::string& path) {
        std::ostringstream out;
        printRecordingInfo(out, path);
        return out.str();
    }

    TempDir dir;
    std::string sample = dir.file("sample.zfl");
};

std::size_t occurrences(const std::string& text, const std::string& needle) {
    std::size_t n = 0;
    for (std::size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
        ++n;
    return n;
}

TEST_F(ZflInfoTest, ShowsEveryTrackAndMarkerOfTheSampleRecording) {
    writeSampleRecording(sample);
    const std::string text = info(sample);
    const char* const lines[] = {
        "  format version 1.3\n  tracks: 3\n",
        "track 1: \"Cessna Skyhawk 172SP Paint1\", tail number N172ZP, 1 engine\n",
        "    continuous records: 3001, 0.0 s to 300.0 s\n",
        // The airliner carries airspeeds without Mach and no time of day: still one "Airspeeds" group.
        "    data groups: Flight Controls, Flaps, Spoilers, Gear, Throttles, Propellers, Engines On/Off, Lights, "
        "Parking Brake, COM Radios, Airspeeds\n",
        "track 3: \"Bell 206B JetRanger\", 1 engine\n    data groups: Flight Controls\n",
        "  markers: 5\n",
        "    marker 2: 15.0 s, display text, flags 0x80000005 (chapter), \"Lift-off\"\n",
        "    marker 4: 90.0 s, switch camera, flags 0x00000000, \"Tower view of the circuit\", "
        "camera a3a2a1a0-a5a4-a7a6-a8a9-aaabacadaeaf\n",
    };
    for (const char* line : lines)
        EXPECT_EQ(1u, occurrences(text, line)) << line << "in:\n" << text;
}

TEST_F(ZflInfoTest, TellsDigestedTracksFromOthersAndNoticesATamperedByte) {
    writeSampleRecording(sample);
    const std::string text = info(sample);
    EXPECT_EQ(2u, occurrences(text, "digest: verified (original recording)")) << text;
    EXPECT_EQ(1u, occurrences(text, "digest: not verified")) << text;
    // One altitude byte of the first record of the first track.
    auto bytes = readBytes(sample);
    bytes[sizeof(Zfl::FileHeader) + sizeof(Zfl::TrackHeader) + 20] ^= 0x01;
    writeBytes(sample, bytes);
    EXPECT_EQ(1u, occurrences(info(sample), "digest: verified (original recording)"));
}

TEST_F(ZflInfoTest, RecognisesAFirstGenerationRecordingWithoutConvertingIt) {
    std::vector<unsigned char> old = {0x05, 0x00, 0x00, 0x01};
    old.resize(4 + 24);
    writeBytes(sample, old);
    EXPECT_NE(info(sample).find("first-generation recording"), std::string::npos);
    EXPECT_EQ(readBytes(sample), old);
}

TEST_F(ZflInfoTest, MissingAndDamagedFilesRaiseTheirCodes) {
    expectFileError(thrown([&] { info(dir.file("absent.zfl")); }), ErrorCode::FileNotOpened, dir.file("absent.zfl"));
    Bytes majorVersionTwo = {'Z', 'F', 'L', '2', 0x03, 0x00, 0x02, 0x00, 26};
    majorVersionTwo.resize(26);
    writeBytes(sample, majorVersionTwo);
    expectFileError(thrown([&] { info(sample); }), ErrorCode::InvalidFile, sample);
}

} // namespace
