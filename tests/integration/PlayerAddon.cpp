// A test add-on the simulator loads in place of the module, so that recordings can be played back
// before the module's controller exists. It starts its own copy of the host interface as the
// module does and drives a Player from the Frame event: started in the first frame, one playback
// step every frame, timed control operations before the step of their frame, stopped when the
// playback is finished or the simulator stops.
//
// Configured by the environment:
//   ZEPHREL_PLAYER_INI      the settings file: [SETTINGS] and [LOG], read as the module reads them;
//                           also the settings file the markers' save dialog keeps its folder in
//   ZEPHREL_PLAYER_LIST     what to play, one entry a line ('#' starts a comment):
//                             file PATH [OFFSET]            a recording, its offset in 1/10000 s
//                             track INDEX [OPTION ...]      a track of the last file, options:
//                               offset N, hold, cont MASK, disc MASK, title TEXT, tail TEXT,
//                               shift X Y Z (metres), rotate PITCH BANK HEADING (0/1)
//                             marker INDEX                  a marker of the last file
//                             user FILE TRACK               the entry that drives the user aircraft
//                           texts may be quoted ("Trainer 152 Club"), masks may be hexadecimal
//   ZEPHREL_PLAYER_ACTIONS  control operations, "frame N OPERATION [VALUE]" a line, taken before
//                           the playback step of frame N (the first frame is 1): speed F, search N,
//                           time T, jump D, loop-in, loop-out, loop on|off, stop
//   ZEPHREL_PLAYER_REPORT   written as playback goes:
//                             start USER-CG-FEET USER-TITLE
//                             frame N NOW BEGIN END FINISHED SIM-RATE USER-ID LAT LON ALT PITCH BANK
//                                   HEADING AI-COUNT TRACKS {ID:IN-AI-SET:LAT:LON:ALT per track}
//                             stopped N STILL-THERE   (AI aircraft the player made that outlive stop)
//                           positions in the flight data record's units, read back from the
//                           simulator after the step; 0:0:0 for a track without a live aircraft
// Nothing escapes to the simulator: a failure is written on stderr ("player add-on: ...") and
// ends the playback.
#include <algorithm>
#include <exception>
#include <fstream>
#include <iomanip>
#include <memory>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "TestAddon.h"
#include "host/FSinterface.h"
#include "playback/Player.h"
#include "settings/Settings.h"

namespace {

std::vector<std::string> lines(const std::string& path) {
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::vector<std::string> found;
    for (std::string line; std::getline(in, line);) {
        line = line.substr(0, line.find('#'));
        if (line.find_first_not_of(" \t\r") != std::string::npos)
            found.push_back(line);
    }
    return found;
}

// One line's words; quoted words keep their blanks.
class Words {
public:
    explicit Words(const std::string& line) : in_(line), line_(line) {}

    bool more() {
        in_ >> std::ws;
        return !in_.eof();
    }
    std::string text() {
        std::string word;
        if (!(in_ >> std::quoted(word)))
            fail();
        return word;
    }
    uint32_t count() { return static_cast<uint32_t>(number()); }
    int32_t integer() { return static_cast<int32_t>(number()); }
    // Decimal, or hexadecimal with 0x.
    long long number() {
        const std::string word = text();
        try {
            std::size_t used = 0;
            const long long value = std::stoll(word, &used, 0);
            if (used == word.size())
                return value;
        } catch (const std::exception&) {
        }
        fail();
    }
    float real() {
        const std::string word = text();
        try {
            std::size_t used = 0;
            const float value = std::stof(word, &used);
            if (used == word.size())
                return value;
        } catch (const std::exception&) {
        }
        fail();
    }
    [[noreturn]] void fail() const { throw std::runtime_error("cannot read the line \"" + line_ + "\""); }

private:
    std::istringstream in_;
    std::string line_;
};

PlayList readPlayList(const std::string& path) {
    PlayList list;
    for (const std::string& line : lines(path)) {
        Words words(line);
        const std::string keyword = words.text();
        if (keyword == "file") {
            PlayFile file;
            file.fileName = words.text();
            if (words.more())
                file.timeOffset = words.count();
            list.files.push_back(file);
        } else if (keyword == "user") {
            list.userFile = words.integer();
            list.userTrack = words.integer();
        } else if ((keyword == "track" || keyword == "marker") && !list.files.empty()) {
            PlayFile& file = list.files.back();
            if (keyword == "marker") {
                file.markers.push_back(words.count());
                continue;
            }
            PlayTrack track;
            track.index = words.count();
            while (words.more()) {
                const std::string option = words.text();
                if (option == "offset")
                    track.timeOffset = words.count();
                else if (option == "hold")
                    track.hold = 1;
                else if (option == "cont")
                    track.contFlags = words.count();
                else if (option == "disc")
                    track.discFlags = words.count();
                else if (option == "title")
                    track.title = words.text();
                else if (option == "tail")
                    track.tailNumber = words.text();
                else if (option == "shift") {
                    track.offsetX = words.real();
                    track.offsetY = words.real();
                    track.offsetZ = words.real();
                } else if (option == "rotate") {
                    track.rotatePitch = static_cast<uint8_t>(words.count());
                    track.rotateBank = static_cast<uint8_t>(words.count());
                    track.rotateHeading = static_cast<uint8_t>(words.count());
                } else
                    words.fail();
            }
            file.tracks.push_back(track);
        } else {
            words.fail();
        }
    }
    return list;
}

struct Action {
    uint32_t frame = 0;
    std::string operation;
    std::string value;
};

std::vector<Action> readActions(const std::string& path) {
    std::vector<Action> actions;
    if (path.empty())
        return actions;
    for (const std::string& line : lines(path)) {
        Words words(line);
        if (words.text() != "frame")
            words.fail();
        Action action;
        action.frame = words.count();
        action.operation = words.text();
        if (words.more())
            action.value = words.text();
        actions.push_back(action);
    }
    // Operations of one frame keep their order in the file.
    std::stable_sort(actions.begin(), actions.end(),
                     [](const Action& a, const Action& b) { return a.frame < b.frame; });
    return actions;
}

std::string position(uint32_t id) {
    ContData cont{};
    DiscData disc{};
    FSinterface::readData(id, 0, 0, &cont, &disc);
    std::ostringstream text;
    text << cont.latitude << ' ' << cont.longitude << ' ' << cont.altitude << ' ' << cont.pitch << ' '
         << cont.bank << ' ' << cont.heading;
    return text.str();
}

class PlayerAddon : public TestAddon {
public:
    const char* name() const override { return "player add-on"; }
    std::string settingsFile() const override { return env("ZEPHREL_PLAYER_INI"); }

    void readSettings() override {
        readGeneralSettings(settingsFile(), general_);
        list_ = readPlayList(env("ZEPHREL_PLAYER_LIST"));
        actions_ = readActions(env("ZEPHREL_PLAYER_ACTIONS"));
        report_.open(env("ZEPHREL_PLAYER_REPORT"), std::ios::trunc);
        if (!report_)
            throw std::runtime_error("cannot write the report " + env("ZEPHREL_PLAYER_REPORT"));
    }

    // At Stop, or at DLLStop when Stop never came.
    void finish() override {
        if (player_ == nullptr)
            return;
        if (player_->isStarted())
            player_->stop(false);
        std::size_t stillThere = 0;
        for (uint32_t id : created_)
            stillThere += FSinterface::isAircraft(id) ? 1u : 0u;
        report_ << "stopped " << frames_ << ' ' << stillThere << '\n' << std::flush;
        player_.reset();
    }

    void frame() override {
        ++frames_;
        if (frames_ == 1) {
            player_ = std::make_unique<Player>(&general_);
            player_->start(list_, false, 0);
            AcftData user;
            FSinterface::getAcftData(FSinterface::getUserAcftID(), user);
            report_ << "start " << user.staticCGtoGround << ' ' << user.title << '\n';
        }
        if (player_ == nullptr)
            return;
        for (; nextAction_ < actions_.size() && actions_[nextAction_].frame <= frames_; ++nextAction_)
            if (!take(actions_[nextAction_])) {
                finish();
                return;
            }
        player_->frame();
        writeFrame();
        if (player_->isFinished())
            finish();
    }

    // False for stop.
    bool take(const Action& action) {
        Player& p = *player_;
        Words value(action.value);
        if (action.operation == "stop")
            return false;
        if (action.operation == "speed")
            p.setSpeed(value.real());
        else if (action.operation == "search")
            p.setSearchSpeed(value.integer());
        else if (action.operation == "time")
            p.setTime(value.count());
        else if (action.operation == "jump")
            p.jump(value.integer());
        else if (action.operation == "loop-in")
            p.setLoopIn();
        else if (action.operation == "loop-out")
            p.setLoopOut();
        else if (action.operation == "loop")
            p.setLoop(action.value == "on");
        else
            throw std::runtime_error("unknown operation \"" + action.operation + "\"");
        return true;
    }

    void writeFrame() {
        const Player& p = *player_;
        const uint32_t user = FSinterface::getUserAcftID();
        report_ << "frame " << frames_ << ' ' << p.now() << ' ' << p.begin() << ' ' << p.end() << ' '
                << (p.isFinished() ? 1 : 0) << ' ' << FSinterface::getSimRate() << ' ' << user << ' '
                << position(user) << ' ' << p.aircraft().size() << ' ' << p.trackCount();
        for (std::size_t t = 0; t < p.trackCount(); ++t) {
            const uint32_t id = p.trackAircraft(t);
            const bool live =
                id != Player::kNoAircraft && id != Player::kCreationFailed && FSinterface::isAircraft(id);
            report_ << ' ' << id << ':' << p.aircraft().count(id) << ':';
            if (live) {
                ContData cont{};
                DiscData disc{};
                FSinterface::readData(id, 0, 0, &cont, &disc);
                report_ << cont.latitude << ':' << cont.longitude << ':' << cont.altitude;
                if (id != user)
                    created_.insert(id);
            } else {
                report_ << "0:0:0";
            }
        }
        report_ << '\n';
    }

    // Stopping puts the simulator back as it was; when that fails too, the player is dropped as
    // it stands.
    void dropAfterFailure() noexcept override {
        try {
            if (player_ != nullptr && player_->isStarted())
                player_->stop(true);
        } catch (...) {
            reportFailure("stopping after the failure");
        }
        player_.reset();
    }

private:
    GeneralSettings general_;
    PlayList list_;
    std::vector<Action> actions_;
    std::size_t nextAction_ = 0;
    std::ofstream report_;
    std::unique_ptr<Player> player_;
    std::set<uint32_t> created_;
    uint32_t frames_ = 0;
};

} // namespace

TestAddon& testAddon() {
    static PlayerAddon addon;
    return addon;
}
