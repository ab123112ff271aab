#include "playback/PlayableParts.h"

std::optional<std::string> unplayablePart(ZflFile& file, const PlayFile& selection) {
    for (const uint32_t index : selection.markers)
        file.readMarker(index);
    for (const PlayTrack& play : selection.tracks) {
        const std::string track = "track " + std::to_string(play.index + 1);
        if (play.index >= file.getNTracks())
            return track + " is not in the file";
        const TrackInfo& info = file.getTrackInfo(play.index);
        if (info.nCont == 0)
            return track + " holds no continuous records";
        if (info.nDisc == 0)
            return track + " holds no discrete records";
        uint32_t contStart = 0, contEnd = 0, discStart = 0, discEnd = 0;
        file.getTimeRanges(play.index, contStart, contEnd, discStart, discEnd);
        if (contEnd < contStart || discEnd < discStart)
            return track + " ends before it begins";
    }
    return std::nullopt;
}
