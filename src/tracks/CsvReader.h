#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tracks/CsvColumns.h"
#include "tracks/ImportReport.h"
#include "tracks/TimeOrder.h"
#include "tracks/TrackPoint.h"
#include "tracks/TrackSource.h"

// Reads a CSV flight log with a header row, a row per point, as it comes: one file is one track.
// The header names the columns (CsvColumns says which names and units it knows) and decides the
// separator: commas, or semicolons (whose numbers may have a decimal comma) or tabs. Blank lines
// and lines starting with '#' are no rows; a UTF-8 byte order mark and CRLF line ends are fine.
// The Garmin G1000 data log is one of these files: its first line "#airframe_info, ...,
// airframe_name="...", ..." names the aircraft, its units row precedes the header, and its local
// date, time and UTC offset give the time.
// Rows with too few fields, without a place on the globe (no GPS fix yet), a time or an altitude,
// or whose time does not advance, are skipped and counted. A row has an attitude when its pitch,
// bank and heading are all there.
class CsvReader final : public TrackSource {
public:
    // Reads up to the first row; throws TrackError for a file that is no CSV flight log: empty,
    // without a header, or one naming no latitude, longitude, altitude or time column.
    CsvReader(std::istream& in, std::string name);

    // A file is one track, or where a "track number" column numbers its rows, each run of rows
    // of one number is one.
    bool nextTrack() override;
    // The next row kept; false at the end of the file.
    bool next(TrackPoint& point) override;

    // The G1000 log's airframe name, or the current track's "aircraft" column; empty otherwise.
    std::string aircraftType() const override { return aircraftType_; }
    // The first one a registration or tail column holds; empty where there is none.
    std::string registration() const override { return registration_; }
    const ImportReport& report() const override { return report_; }

private:
    bool readLine();
    // The next line that is no blank line and no comment; false at the end of the file.
    bool readRow();
    void readHeader(const std::string& unitsRow);
    // The track's aircraft, registration and number from the row in line_.
    void takeTrackNames();
    // The point of the row in fields_, or why it is skipped.
    std::optional<TrackPoint> pointOfRow(const char*& refusal) const;
    std::optional<double> timeOfRow(const char*& refusal) const;
    void addAttitude(TrackPoint& point) const;
    std::string_view field(const CsvColumn& column) const;
    std::optional<double> number(const CsvColumn& column) const;

    std::istream& in_;
    std::string name_;
    std::string line_;
    uint64_t lineNumber_ = 0;
    char separator_ = ',';
    std::vector<std::string> fields_;
    CsvColumns columns_;
    std::size_t fieldsNeeded_ = 0; // by the place, altitude and time
    bool pending_ = false;         // line_ holds a row not read yet
    std::string aircraftType_;
    std::string registration_;
    ImportReport report_;
    TimeOrder order_;
    bool trackGiven_ = false;
    std::string trackNumber_;       // the current track's, in a file of several tracks
    bool nextTrackPending_ = false; // line_ is the first row of the next track
};
