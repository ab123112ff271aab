// The playback buffer of one track: the state it yields for a time, measured against values worked
// out here from the samples, and how its windows move through the track.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "common/DataBuffer.h"
#include "playback/PlayBuffer.h"
#include "support/Errors.h"
#include "support/Packed.h"
#include "support/TempDir.h"
#include "support/TempLog.h"

namespace {

struct Track {
    TrackInfo info{};
    std::vector<ContData> cont;
    std::vector<DiscData> disc;
};

template <typename Record> Record at(uint32_t time) {
    Record record{};
    record.timestamp = time;
    return record;
}

// Records that are zero but for their time stamps.
Track timedTrack(uint32_t contFlags, uint32_t discFlags, uint8_t nEngines, const std::vector<uint32_t>& contTimes,
                 const std::vector<uint32_t>& discTimes) {
    Track track;
    track.info.format = DataFormat{nEngines, contFlags, discFlags, 0, 0};
    for (uint32_t time : contTimes)
        track.cont.push_back(at<ContData>(time));
    for (uint32_t time : discTimes)
        track.disc.push_back(at<DiscData>(time));
    return track;
}

// Continuous records every 100 from 1000 on, a discrete one at every fourth of them.
Track uniformTrack(uint32_t nCont) {
    std::vector<uint32_t> contTimes, discTimes;
    for (uint32_t i = 0; i < nCont; ++i)
        contTimes.push_back(1000 + 100 * i);
    for (uint32_t i = 0; i < nCont; i += 4)
        discTimes.push_back(1000 + 100 * i);
    return timedTrack(ContGroup::All, DiscGroup::All, 2, contTimes, discTimes);
}

// Samples of every value a field can take (floats in sixteenths, so that differences are exact).
// Continuous time stamps are multiples of 4, discrete ones odd, so that the playback times of
// playTimes, 2 more than a multiple of 4, never meet a time stamp.
Track randomTrack(uint32_t contFlags, uint32_t discFlags, uint8_t nEngines, uint32_t nCont, uint32_t seed) {
    Track track = timedTrack(contFlags, discFlags, nEngines, {}, {});
    std::mt19937 engine(seed);
    const auto random = [&engine] { return static_cast<uint32_t>(engine()); };
    const auto randomBytes = [&random](auto& record) {
        auto* bytes = reinterpret_cast<unsigned char*>(&record);
        std::generate(bytes, bytes + sizeof record, [&random] { return static_cast<unsigned char>(random()); });
    };
    const auto sixteenths = [&random] { return static_cast<float>(static_cast<int>(random() % 65536) - 32768) / 16; };
    uint32_t time = 4000;
    for (uint32_t i = 0; i < nCont; ++i, time += 4 * (1 + random() % 60)) {
        ContData cont;
        randomBytes(cont);
        cont.timestamp = time;
        cont.velocityX = sixteenths(), cont.velocityY = sixteenths(), cont.velocityZ = sixteenths();
        cont.IAS = sixteenths(), cont.TAS = sixteenths(), cont.mach = sixteenths();
        cont.mainexit = sixteenths(), cont.tailhook = sixteenths();
        cont.wingfoldL = sixteenths(), cont.wingfoldR = sixteenths();
        for (int k = 0; k < 5; ++k)
            cont.extControls[k] = sixteenths(), cont.extGear[k] = sixteenths();
        track.cont.push_back(cont);
        // The first discrete state begins well after the first sample.
        if (i == 10 || (i > 10 && random() % 5 == 0)) {
            DiscData disc;
            randomBytes(disc);
            disc.timestamp = time + 1;
            disc.onground = static_cast<uint8_t>(random() % 2);
            track.disc.push_back(disc);
        }
    }
    return track;
}

// Before, through and after the track at frame steps, by random jumps, then back to the start.
std::vector<uint32_t> playTimes(const Track& track, uint32_t seed) {
    const uint32_t first = track.cont.front().timestamp - 398, last = track.cont.back().timestamp + 398;
    std::mt19937 engine(seed);
    const auto random = [&engine] { return static_cast<uint32_t>(engine()); };
    std::vector<uint32_t> times;
    for (uint32_t t = first; t <= last; t += 4 * (1 + random() % 20))
        times.push_back(t);
    for (int i = 0; i < 300; ++i)
        times.push_back(first + 4 * (random() % ((last - first) / 4)));
    for (uint32_t t = last; t >= first; t -= 4 * (1 + random() % 20))
        times.push_back(t);
    return times;
}

// a + trunc((b - a) * f), a difference that wraps taken as the shorter way round.
template <typename T> T expectedStep(T a, T b, float f, bool wraps) {
    using U = std::make_unsigned_t<T>;
    const U forward = static_cast<U>(static_cast<U>(b) - static_cast<U>(a));
    const bool backwards = forward > std::numeric_limits<U>::max() / 2;
    const long double difference = !wraps   ? static_cast<long double>(b) - static_cast<long double>(a)
                                   : backwards ? -static_cast<long double>(static_cast<U>(U{0} - forward))
                                               : static_cast<long double>(forward);
    const long double step = std::trunc(difference * f);
    const U stepBits = step >= 0 ? static_cast<U>(step) : static_cast<U>(U{0} - static_cast<U>(-step));
    return static_cast<T>(static_cast<U>(static_cast<U>(a) + stepBits));
}

ContData expectedBetween(const ContData& a, const ContData& b, uint32_t t) {
    const uint32_t t0 = a.timestamp, t1 = b.timestamp;
    const auto f = static_cast<float>(static_cast<double>(t - t0) / static_cast<double>(t1 - t0));
    const auto linear = [f](auto x, auto y) { return x + (y - x) * f; };
    ContData r = a;
    r.timestamp = t;
    r.latitude = expectedStep(a.latitude, b.latitude, f, true);
    r.longitude = expectedStep(a.longitude, b.longitude, f, true);
    r.altitude = expectedStep(a.altitude, b.altitude, f, true);
    r.pitch = expectedStep(a.pitch, b.pitch, f, true);
    r.bank = expectedStep(a.bank, b.bank, f, true);
    r.heading = expectedStep(a.heading, b.heading, f, true);
    r.velocityX = linear(a.velocityX, b.velocityX), r.velocityY = linear(a.velocityY, b.velocityY);
    r.velocityZ = linear(a.velocityZ, b.velocityZ);
    r.elevators = expectedStep(a.elevators, b.elevators, f, false);
    r.ailerons = expectedStep(a.ailerons, b.ailerons, f, false);
    r.rudder = expectedStep(a.rudder, b.rudder, f, false);
    for (int i = 0; i < kMaxEngines; ++i) {
        r.throttle[i] = expectedStep(a.throttle[i], b.throttle[i], f, false);
        r.prop[i] = expectedStep(a.prop[i], b.prop[i], f, false);
        r.mix[i] = expectedStep(a.mix[i], b.mix[i], f, false);
    }
    r.spoilers = expectedStep(a.spoilers, b.spoilers, f, false);
    r.IAS = linear(a.IAS, b.IAS), r.TAS = linear(a.TAS, b.TAS), r.mach = linear(a.mach, b.mach);
    r.mainexit = linear(a.mainexit, b.mainexit), r.tailhook = linear(a.tailhook, b.tailhook);
    r.wingfoldL = linear(a.wingfoldL, b.wingfoldL), r.wingfoldR = linear(a.wingfoldR, b.wingfoldR);
    for (int i = 0; i < 5; ++i)
        r.extControls[i] = linear(a.extControls[i], b.extControls[i]), r.extGear[i] = linear(a.extGear[i], b.extGear[i]);
    for (int i = 0; i < 8; ++i)
        r.extFlaps[i] = expectedStep(a.extFlaps[i], b.extFlaps[i], f, false);
    return r;
}

// The state at t from the samples alone: no time stamp equals t except at the ends.
std::pair<ContData, DiscData> expectedState(const Track& track, uint32_t t) {
    const auto after = [t](const auto& records) {
        return std::upper_bound(records.begin(), records.end(), t,
                                [](uint32_t time, const auto& record) { return time < record.timestamp; });
    };
    const DiscData disc = after(track.disc) == track.disc.begin() ? track.disc.front() : *(after(track.disc) - 1);
    const auto next = after(track.cont);
    ContData cont = next == track.cont.begin() ? track.cont.front() : *(next - 1);
    if (next != track.cont.begin() && next != track.cont.end()) {
        cont = expectedBetween(*(next - 1), *next, t);
        const uint16_t a = (next - 1)->spoilers, b = next->spoilers;
        if ((track.info.format.ContFlags & ContGroup::Spoilers) && disc.onground != 0)
            cont.spoilers = std::min(a, b);
    }
    return {cont, disc};
}

template <typename Record> ::testing::AssertionResult same(const Record& expected, const Record& actual) {
    const auto* e = reinterpret_cast<const unsigned char*>(&expected);
    const auto* a = reinterpret_cast<const unsigned char*>(&actual);
    const auto at = std::mismatch(e, e + sizeof expected, a).first - e;
    if (at == sizeof expected)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "records differ from byte " << at;
}

// Window starts in the order forward playback reads them: overlapping by one, the last at the end.
std::vector<uint32_t> forwardStarts(uint32_t count, uint32_t window) {
    std::vector<uint32_t> starts{0};
    while (starts.back() < count - window)
        starts.push_back(std::min(starts.back() + window - 1, count - window));
    return starts;
}

// Table rows print as their names.
template <typename Case>
    requires requires(const Case& c) { c.name; }
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class PlayBufferTest : public TempLogTest {
protected:
    void TearDown() override {
        if (file.isOpen())
            file.close();
        TempLogTest::TearDown();
    }

    // Writes the track as the only one of a recording and opens that for playing. The records are
    // kept as they read back: fields of groups the track does not carry become zero.
    void record(Track& track) {
        const DataFormat& format = track.info.format;
        const uint32_t contSize = contRecordSize(format.ContFlags, format.nEngines);
        const uint32_t discSize = discRecordSize(format.DiscFlags);
        Bytes cont(track.cont.size() * contSize), disc(track.disc.size() * discSize);
        DataBuffer stored(cont.data(), disc.data(), format);
        for (uint32_t i = 0; i < track.cont.size(); ++i) {
            stored.setContData(i, track.cont[i]);
            stored.getContData(i, track.cont[i] = ContData{});
        }
        for (uint32_t i = 0; i < track.disc.size(); ++i) {
            stored.setDiscData(i, track.disc[i]);
            stored.getDiscData(i, track.disc[i] = DiscData{});
        }
        ZflFile out;
        out.open(path, ZflFile::Write);
        out.addTrack(track.info);
        out.writeContData(static_cast<uint32_t>(track.cont.size()), cont.data());
        out.writeDiscData(static_cast<uint32_t>(track.disc.size()), disc.data());
        out.close();
        file.open(path, ZflFile::Read);
    }

    static std::pair<ContData, DiscData> play(PlayBuffer& buffer, uint32_t t) {
        std::pair<ContData, DiscData> state{};
        buffer.interpData(t, state.first, state.second);
        return state;
    }

    // Plays t and checks the state against the one worked out from the samples.
    static ::testing::AssertionResult playsAsExpected(PlayBuffer& buffer, const Track& track, uint32_t t) {
        const auto [cont, disc] = play(buffer, t);
        const auto [expectedCont, expectedDisc] = expectedState(track, t);
        auto result = same(expectedCont, cont);
        if (result)
            result = same(expectedDisc, disc);
        return result << " (continuous or discrete, at t = " << t << ")";
    }

    TempDir dir;
    std::string path = dir.file("flight.zfl");
    ZflFile file;
};

struct InterpolationCase {
    const char* name;
    uint32_t contFlags;
    uint32_t discFlags;
    uint8_t nEngines;
    uint32_t nCont;
    uint32_t contCapacity;
    uint32_t discCapacity;
};

class PlayBufferInterpolationTest : public PlayBufferTest, public ::testing::WithParamInterface<InterpolationCase> {};

TEST_P(PlayBufferInterpolationTest, FollowsTheSamplesForwardsByJumpsAndBackwards) {
    const InterpolationCase& c = GetParam();
    Track track = randomTrack(c.contFlags, c.discFlags, c.nEngines, c.nCont, 7);
    record(track);
    PlayBuffer buffer(c.contCapacity, c.discCapacity, 0, file);
    // A window holds at least one interval, and never more than the track.
    const auto nDisc = static_cast<uint32_t>(track.disc.size());
    EXPECT_EQ(std::min(std::max(c.contCapacity, 2u), c.nCont), buffer.contWindow());
    EXPECT_EQ(std::min(std::max(c.discCapacity, 2u), nDisc), buffer.discWindow());
    for (uint32_t t : playTimes(track, 11))
        ASSERT_TRUE(playsAsExpected(buffer, track, t));
}

INSTANTIATE_TEST_SUITE_P(
    Tracks, PlayBufferInterpolationTest,
    ::testing::Values(InterpolationCase{"AllGroupsFourEngines", ContGroup::All, DiscGroup::All, 4, 400, 50, 10},
                      InterpolationCase{"AllGroupsOneEngine", ContGroup::All, DiscGroup::All, 1, 400, 37, 7},
                      InterpolationCase{"FewGroupsTwoEngines",
                                        ContGroup::FlightControls | ContGroup::Spoilers | ContGroup::TimeOfDay |
                                            ContGroup::ExtendedFlaps,
                                        DiscGroup::Gear | DiscGroup::Engines, 2, 400, 50, 10},
                      InterpolationCase{"NoGroups", 0, 0, 0, 400, 50, 10},
                      InterpolationCase{"SixEnginesStored",
                                        ContGroup::Throttles | ContGroup::Propellers | ContGroup::Mixtures |
                                            ContGroup::Spoilers,
                                        DiscGroup::All, 6, 200, 20, 5},
                      InterpolationCase{"CapacitiesAboveTheTrack", ContGroup::All, DiscGroup::All, 4, 60, 1000, 1000},
                      InterpolationCase{"CapacityOfOne", ContGroup::All, DiscGroup::All, 2, 100, 1, 1}),
    caseName<InterpolationCase>);

TEST_F(PlayBufferTest, PositionAndAnglesTurnTheShortWayAndControlsTheLongWay) {
    Track track = timedTrack(ContGroup::FlightControls | ContGroup::Throttles | ContGroup::Spoilers, 0, 1,
                             {1000, 2000}, {1000});
    ContData& a = track.cont[0];
    ContData& b = track.cont[1];
    a.longitude = INT64_MAX - (int64_t{1} << 50) + 1, b.longitude = INT64_MIN + (int64_t{1} << 50); // +-179.99 deg
    a.heading = 0xF8E38E39, b.heading = 0x071C71C7; // 350 and 10 deg
    a.bank = INT32_MAX - 100, b.bank = INT32_MIN + 100; // both sides of 180 deg
    a.elevators = -30000, b.elevators = 30000;
    a.throttle[0] = -16384, b.throttle[0] = 16383;
    a.spoilers = 0, b.spoilers = 60000;
    record(track);
    PlayBuffer buffer(250, 100, 0, file);
    ContData cont;
    std::memset(&cont, 0x5a, sizeof cont);
    const ContData untouched = cont;
    DiscData disc{};
    buffer.interpData(1500, cont, disc);
    EXPECT_EQ(1500u, copyOf(cont.timestamp));
    EXPECT_EQ(INT64_MIN, copyOf(cont.longitude));
    EXPECT_EQ(0u, copyOf(cont.heading));
    EXPECT_EQ(INT32_MAX, copyOf(cont.bank));
    EXPECT_EQ(0, copyOf(cont.elevators));
    EXPECT_EQ(-1, copyOf(cont.throttle[0])); // -16384 + trunc(32767 / 2)
    EXPECT_EQ(30000, copyOf(cont.spoilers));
    // What the track does not carry stays as the caller had it: a second engine, all from the airspeeds on.
    EXPECT_EQ(copyOf(untouched.throttle[1]), copyOf(cont.throttle[1]));
    const auto rest = [](const ContData& r) {
        return std::string(reinterpret_cast<const char*>(&r) + offsetof(ContData, IAS), sizeof r - offsetof(ContData, IAS));
    };
    EXPECT_EQ(rest(untouched), rest(cont));
}

TEST_F(PlayBufferTest, TimesBeyondTheEndsGiveTheEndRecordsAsStored) {
    for (uint32_t nCont : {30u, 1u}) {
        SCOPED_TRACE(nCont);
        Track track = randomTrack(ContGroup::All, DiscGroup::All, 4, nCont, nCont);
        if (track.disc.empty())
            track.disc.push_back(at<DiscData>(5));
        record(track);
        PlayBuffer buffer(10, 4, 0, file);
        const uint32_t first = track.cont.front().timestamp, last = track.cont.back().timestamp;
        for (uint32_t t : {last, last + 1, UINT32_MAX, 0u, first - 1, first}) {
            const bool atEnd = t >= last && nCont > 1;
            EXPECT_TRUE(same(atEnd ? track.cont.back() : track.cont.front(), play(buffer, t).first)) << t;
            EXPECT_TRUE(playsAsExpected(buffer, track, t)); // the discrete state as well
            EXPECT_EQ(atEnd ? nCont - buffer.contWindow() : 0u, buffer.contStart()) << t;
        }
        file.close();
    }
}

TEST_F(PlayBufferTest, EqualTimeStampsGiveTheLeftRecord) {
    Track track = timedTrack(ContGroup::All, DiscGroup::All, 4, {100, 200, 200, 300}, {100});
    for (int64_t i = 0; i < 4; ++i)
        track.cont[static_cast<std::size_t>(i)].altitude = i + 1; // tells the two at 200 apart
    record(track);
    PlayBuffer buffer(3, 2, 0, file);
    play(buffer, 300); // the window now holds records 1 to 3, its first interval the one at 200
    ASSERT_EQ(1u, buffer.contStart());
    EXPECT_TRUE(same(track.cont[1], play(buffer, 200).first));
}

TEST_F(PlayBufferTest, ADiscreteStateReachedFromTheLeftShowsAfterItsTimeStamp) {
    Track track = timedTrack(0, DiscGroup::Gear, 0, {1000, 4000}, {1000, 2000, 3000});
    for (DiscData& disc : track.disc)
        disc.gear = static_cast<int16_t>(disc.timestamp);
    record(track);
    PlayBuffer buffer(250, 100, 0, file);
    for (const auto& [t, gear] : {std::pair{1500u, 1000}, {2000u, 1000}, {2001u, 2000}, {2500u, 2000}, {2000u, 2000}})
        EXPECT_EQ(gear, copyOf(play(buffer, t).second.gear)) << t;
}

TEST_F(PlayBufferTest, WindowsMoveOneAtATimeOverlappingByOneRecord) {
    Track track = uniformTrack(200);
    record(track);
    PlayBuffer buffer(20, 8, 0, file);
    // Playing forwards: a window read every 19 continuous and every 7 discrete records.
    std::vector<uint32_t> contStarts{0}, discStarts{0};
    ASSERT_TRUE(playsAsExpected(buffer, track, 10)); // the first windows are in place already
    for (uint32_t t = 1010; t <= 21010; t += 40) { // never on a time stamp
        ASSERT_TRUE(playsAsExpected(buffer, track, t));
        if (buffer.contStart() != contStarts.back())
            contStarts.push_back(buffer.contStart());
        if (buffer.discStart() != discStarts.back())
            discStarts.push_back(buffer.discStart());
    }
    EXPECT_EQ(forwardStarts(200, 20), contStarts);
    EXPECT_EQ(forwardStarts(50, 8), discStarts);
    EXPECT_EQ(contStarts.size(), buffer.contWindowReads());
    EXPECT_EQ(discStarts.size(), buffer.discWindowReads());
    // A jump lands in the window the stepping would end in, reading that window and a few time
    // stamps on the way: from the start into the last interval, and back into the second.
    ASSERT_TRUE(playsAsExpected(buffer, track, 10));
    const uint32_t reads = buffer.contWindowReads(), timestampReads = buffer.timestampReads();
    ASSERT_TRUE(playsAsExpected(buffer, track, 20850));
    EXPECT_EQ(180u, buffer.contStart());
    EXPECT_EQ(reads + 1, buffer.contWindowReads());
    ASSERT_TRUE(playsAsExpected(buffer, track, 1150));
    EXPECT_EQ(0u, buffer.contStart());
    EXPECT_EQ(reads + 2, buffer.contWindowReads());
    EXPECT_LE(buffer.timestampReads() - timestampReads, 8u);
    // Beyond an end, the end window is read at once.
    ASSERT_TRUE(playsAsExpected(buffer, track, 50000));
    EXPECT_EQ(180u, buffer.contStart());
    EXPECT_EQ(reads + 3, buffer.contWindowReads());
}

// The window and interval the playback buffer held before jumps searched the time stamps: it
// stepped window by window from where it was, then moved through the window record by record.
struct SteppedWindow {
    const std::vector<uint32_t>& times;
    uint32_t size;
    uint32_t start = 0;
    uint32_t pos = 0;

    void moveTo(uint32_t s) {
        if (s != start)
            start = s, pos = 0;
    }
    // The index in the track of the record the state at t starts from.
    uint32_t locate(uint32_t t) {
        const auto n = static_cast<uint32_t>(times.size());
        const auto at = [&](uint32_t i) { return times[start + i]; };
        if (t <= times.front())
            return moveTo(0), 0;
        if (t >= times.back())
            return moveTo(n - size), n - 1;
        if (t >= at(pos) && t <= at(pos + 1))
            return start + pos;
        while (start > 0 && at(0) > t)
            moveTo(start > size - 1 ? start - (size - 1) : 0);
        while (start < n - size && at(size - 1) < t)
            moveTo(std::min(start + (size - 1), n - size));
        while (t < at(pos) && pos > 0)
            --pos;
        while (at(pos + 1) < t && pos < size - 2)
            ++pos;
        return start + pos;
    }
};

TEST_F(PlayBufferTest, JumpsLandInTheWindowAndOnTheRecordThatSteppingReached) {
    // Runs of equal time stamps and bursts between long gaps, each record telling its index.
    std::mt19937 engine(5);
    std::vector<uint32_t> times;
    for (uint32_t t = 1000; times.size() < 3000; t += std::array{0u, 0u, 0u, 1u, 7u, 400u}[engine() % 6])
        times.push_back(t);
    Track track = timedTrack(0, 0, 0, times, {1000});
    for (std::size_t i = 0; i < times.size(); ++i)
        track.cont[i].latitude = static_cast<int64_t>(i);
    record(track);
    PlayBuffer buffer(20, 8, 0, file);
    SteppedWindow stepped{times, 20};
    const auto played = [&](uint32_t t) { return static_cast<int64_t>(copyOf(play(buffer, t).first.latitude)); };
    const uint32_t span = times.back() - times.front() + 2;
    for (int jump = 0; jump < 400; ++jump) {
        // Anywhere, then a few frames on from there, at and between the time stamps.
        const uint32_t t = times.front() - 1 + static_cast<uint32_t>(engine() % span);
        for (uint32_t at = t; at < t + 12; at += 3) {
            const uint32_t index = stepped.locate(at);
            const int64_t record = played(at);
            ASSERT_EQ(stepped.start, buffer.contStart()) << "at t = " << at;
            // Between two equal time stamps the state is the left record as stored.
            if (at > times.front() && at < times.back() && times[index] == times[index + 1]) {
                ASSERT_EQ(static_cast<int64_t>(index), record) << "at t = " << at;
            }
        }
    }
    // Jumps read one window each and a few time stamps for it, not every window on the way.
    EXPECT_LE(buffer.contWindowReads(), 401u * 2);
    EXPECT_LE(buffer.timestampReads(), 401u * 24);
}

struct SpoilersCase {
    const char* name;
    uint8_t onground;
    uint16_t first;
    uint16_t second;
    uint32_t t;
    uint16_t expected;
};

class PlayBufferSpoilersTest : public PlayBufferTest, public ::testing::WithParamInterface<SpoilersCase> {};

TEST_P(PlayBufferSpoilersTest, OnTheGroundTakeTheSmallerSample) {
    const SpoilersCase& c = GetParam();
    Track track = timedTrack(ContGroup::Spoilers, 0, 0, {1000, 2000}, {1000});
    track.cont[0].spoilers = c.first;
    track.cont[1].spoilers = c.second;
    track.disc[0].onground = c.onground;
    record(track);
    PlayBuffer buffer(250, 100, 0, file);
    EXPECT_EQ(c.expected, copyOf(play(buffer, c.t).first.spoilers));
}

INSTANTIATE_TEST_SUITE_P(Samples, PlayBufferSpoilersTest,
                         ::testing::Values(SpoilersCase{"OnGroundDeploying", 1, 0, 16383, 1500, 0},
                                           SpoilersCase{"OnGroundRetracting", 1, 16383, 0, 1500, 0},
                                           SpoilersCase{"Airborne", 0, 0, 16383, 1500, 8191},
                                           SpoilersCase{"OnGroundAfterTheEnd", 1, 0, 16383, 2500, 16383}),
                         caseName<SpoilersCase>);

struct FailureCase {
    const char* name;
    uint32_t contCapacity;
    uint32_t discCapacity;
    std::vector<uint32_t> contTimes;
    std::vector<uint32_t> discTimes;
    uint32_t t; // played once the buffer stands
    const char* function;
    const char* detail;
};

class PlayBufferFailureTest : public PlayBufferTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(PlayBufferFailureTest, StopsPlayback) {
    const FailureCase& c = GetParam();
    Track track = timedTrack(ContGroup::All, DiscGroup::All, 1, c.contTimes, c.discTimes);
    record(track);
    expectMisuse(thrown([&] {
                     PlayBuffer buffer(c.contCapacity, c.discCapacity, 0, file);
                     play(buffer, c.t);
                 }),
                 c.function, c.detail);
}

constexpr const char* kConstructor = "PlayBuffer::PlayBuffer";
constexpr const char* kInterp = "PlayBuffer::interpData";
const std::vector<uint32_t> kTimes = {100, 200, 300, 400};

INSTANTIATE_TEST_SUITE_P(
    Cases, PlayBufferFailureTest,
    ::testing::Values(
        FailureCase{"NoContinuousCapacity", 0, 10, kTimes, kTimes, 150, kConstructor, "Buffer size is 0"},
        FailureCase{"NoDiscreteCapacity", 10, 0, kTimes, kTimes, 150, kConstructor, "Buffer size is 0"},
        FailureCase{"NoContinuousRecords", 10, 10, {}, kTimes, 150, kConstructor, "Track is empty"},
        FailureCase{"NoDiscreteRecords", 10, 10, kTimes, {}, 150, kConstructor, "Track is empty"},
        FailureCase{"DecreasingInTheFirstInterval", 10, 10, {300, 100, 400}, kTimes, 350, kInterp, "Timecode error"},
        FailureCase{"DecreasingOnTheWay", 10, 10, {100, 300, 200, 400}, kTimes, 350, kInterp, "Timecode error"},
        FailureCase{"DecreasingInALaterWindow", 3, 10, {100, 200, 300, 400, 350, 500}, kTimes, 450, kInterp,
                    "Timecode error"},
        FailureCase{"DecreasingDiscrete", 10, 10, kTimes, {100, 300, 200, 400}, 350, kInterp, "Timecode error"}),
    caseName<FailureCase>);

} // namespace
