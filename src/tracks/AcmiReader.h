#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "tracks/AcmiLines.h"
#include "tracks/ImportReport.h"
#include "tracks/TimeOrder.h"
#include "tracks/TrackSource.h"

// Reads the aircraft of a Tacview ACMI 2.x text file ("FileType=text/acmi/tacview", then
// "FileVersion=2.x"), a track per aircraft. The file interleaves all its objects frame by frame
// ("#12.5": seconds after the global ReferenceTime); to keep the memory flat whatever the file's
// length, a first pass finds the aircraft and each track is then a pass of its own over the file,
// from the time frame its aircraft appears in to the line that removes it ("-id") or the end.
//
// An aircraft is an object whose last Type in its life has the Air tag and none of Ground, Sea,
// Weapon, Projectile, Misc or Navaid (so not a parachutist, "Ground+...+Air+Parachutist"), or an
// object that is never given a Type at all, as minimal exporters leave it out; and it must have a
// place (T). Other objects' lines are neither read nor skipped points.
//
// A point per T of the aircraft, "Lon|Lat|Alt", "Lon|Lat|Alt|U|V", "Lon|Lat|Alt|Roll|Pitch|Yaw"
// or "Lon|Lat|Alt|Roll|Pitch|Yaw|U|V|Heading", at the time of its frame: the longitude and
// latitude offsets from ReferenceLongitude and ReferenceLatitude (0 where the file has none), the
// altitude in metres; an empty component keeps the object's last value; a longitude past the
// antimeridian (a reference near it) comes back into -180..180. Tacview's roll is positive
// rolling to the right, its pitch positive nose up and its yaw the true heading, the senses of
// TrackPoint's bank, pitch and heading; the attitude is given by the transforms that carry it.
// U, V and the flat-world Heading are not used. A T whose place is off the globe, not a number or
// unknown (an empty component with no earlier value), that comes before any time frame, or whose
// time does not advance, is skipped and counted.
class AcmiReader final : public TrackSource {
public:
    // Reads the whole file once to find its aircraft; throws TrackError for a file that is no ACMI
    // 2.x text or is malformed (an object id that is not hexadecimal, a global reference that is
    // not a time or a place, an overlong line). `in` must be able to go back (seekg).
    AcmiReader(std::istream& in, std::string name);

    // The next aircraft, in the order they first appear.
    bool nextTrack() override;
    bool next(TrackPoint& point) override;

    // The aircraft's Name ("F-16C-52") and Registration, the last ones it is given.
    std::string aircraftType() const override;
    std::string registration() const override;
    const ImportReport& report() const override { return report_; }

private:
    // An object from its first line to its removal: small, as a file has many (every bullet).
    struct Object {
        uint64_t id = 0;
        std::string name;
        std::string registration;
        std::optional<bool> aircraftTyped; // from its last Type; none without one
        bool placed = false;               // it has a T
        uint64_t firstLine = 0;
        std::streamoff resumeAt = 0; // the time frame it appears in, or its first line
        uint64_t resumeLine = 0;
    };
    // What a track's pass knows of the frame it is in.
    enum class Frame { None, Malformed, Known };

    // The first pass: the global references and the aircraft.
    void findObjects();
    // ReferenceTime, ReferenceLongitude and ReferenceLatitude from the fields of a line of object 0.
    void readGlobal();
    // Takes the object as a track when it is an aircraft with a place, and forgets it.
    void endObject(std::unordered_map<uint64_t, Object>::iterator object);
    // The point of a T value of the current track's object, read from `line`, with the last
    // values it updates; nullopt, counted as skipped, for a place that is unknown or off the globe.
    std::optional<TrackPoint> place(std::string_view transform, uint64_t line);

    AcmiLines lines_;
    std::string name_;
    std::vector<std::string> fields_;
    double referenceTime_ = 0;
    double referenceLongitude_ = 0;
    double referenceLatitude_ = 0;
    std::unordered_map<uint64_t, Object> live_; // while finding them: those present
    std::vector<Object> tracks_;                // the aircraft, in the order they first appear
    std::size_t track_ = 0; // one past the current track: 0 before the first, size() + 1 after the last
    bool inTrack_ = false;  // the current track has points left to read
    Frame frame_ = Frame::None;
    double frameTime_ = 0;
    std::array<std::optional<double>, 6> last_; // Lon, Lat, Alt, Roll, Pitch, Yaw
    ImportReport report_;
    TimeOrder order_;
};
