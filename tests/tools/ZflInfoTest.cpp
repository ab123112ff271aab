#include <gtest/gtest.h>

#include <sstream>

#include "SampleRecording.h"
#include "TempDir.h"
#include "ZephrelException.h"
#include "ZflFile.h"
#include "ZflFormat.h"
#include "ZflInfo.h"

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

TEST_F(ZflInfoTest, ShowsEveryTrackOfTheSampleRecordingWithItsGroupsCountsAndTimes) {
    writeSampleRecording(sample);
    const std::string text = info(sample);

    EXPECT_NE(text.find("  format version 1.3\n  tracks: 3\n"), std::string::npos) << text;
    EXPECT_NE(text.find("track 1: \"Cessna Skyhawk 172SP Paint1\", tail number N172ZP, 1 engine\n"),
              std::string::npos);
    EXPECT_NE(text.find("    continuous records: 3001, 0.0 s to 300.0 s\n"), std::string::npos) << text;
    // The airliner carries airspeeds without Mach and no time of day: still one "Airspeeds" group.
    EXPECT_NE(text.find("    data groups: Flight Controls, Flaps, Spoilers, Gear, Throttles, Propellers, Engines "
                        "On/Off, Lights, Parking Brake, COM Radios, Airspeeds\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("track 3: \"Bell 206B JetRanger\", 1 engine\n    data groups: Flight Controls\n"),
              std::string::npos)
        << text;
}

TEST_F(ZflInfoTest, TellsDigestedTracksFromOthersAndNoticesATamperedByte) {
    writeSampleRecording(sample);
    std::string text = info(sample);
    auto first = text.find("digest: verified (original recording)");
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(text.find("digest: verified (original recording)", first + 1), std::string::npos);
    EXPECT_NE(text.find("digest: not verified"), std::string::npos);

    // One altitude byte of the first record of the first track.
    auto bytes = readBytes(sample);
    bytes[sizeof(Zfl::FileHeader) + sizeof(Zfl::TrackHeader) + 20] ^= 0x01;
    writeBytes(sample, bytes);
    text = info(sample);
    first = text.find("digest: verified (original recording)");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(text.find("digest: verified (original recording)", first + 1), std::string::npos) << text;
}

TEST_F(ZflInfoTest, ListsMarkersWithTypeChapterTextAndCameraId) {
    writeSampleRecording(sample);
    const std::string text = info(sample);
    EXPECT_NE(text.find("  markers: 5\n"), std::string::npos);
    EXPECT_NE(text.find("    marker 2: 15.0 s, display text, flags 0x80000005 (chapter), \"Lift-off\"\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("    marker 4: 90.0 s, switch camera, flags 0x00000000, \"Tower view of the circuit\", "
                        "camera a3a2a1a0-a5a4-a7a6-a8a9-aaabacadaeaf\n"),
              std::string::npos)
        << text;
}

TEST_F(ZflInfoTest, RecognisesAFirstGenerationRecordingWithoutConvertingIt) {
    std::vector<unsigned char> old = {0x05, 0x00, 0x00, 0x01};
    old.resize(4 + 24);
    writeBytes(sample, old);
    EXPECT_NE(info(sample).find("first-generation recording"), std::string::npos);
    EXPECT_EQ(readBytes(sample), old);
}

TEST_F(ZflInfoTest, MissingAndDamagedFilesRaiseTheirCodes) {
    try {
        info(dir.file("absent.zfl"));
        FAIL() << "no exception";
    } catch (const ZephrelException& e) {
        EXPECT_EQ(e.code, 8u);
    }
    writeBytes(sample, {'Z', 'F', 'L', '2', 0x03, 0x00, 0x02, 0x00, 26, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                        0, 0, 0, 0, 0, 0, 0, 0});
    try {
        info(sample);
        FAIL() << "no exception";
    } catch (const ZephrelException& e) {
        EXPECT_EQ(e.code, 11u); // major version 2
    }
}

} // namespace
