// A test add-on the simulator loads in place of the module, so that a flight can be recorded
// before the module's controller exists. It starts its own copy of the host interface as the
// module does and drives a Recorder from the Frame event: started in the first frame, one
// recording step every frame, written at Stop.
//
// Configured by the environment:
//   ZEPHREL_RECORDER_INI  the settings file: [SETTINGS] (MaxAircraft, TempDirectory), [RECORDING]
//                         and [LOG], read as the module reads them
//   ZEPHREL_RECORDER_OUT  the recording file written at Stop
// Nothing escapes to the simulator: a failure is written on stderr ("recorder add-on: ...") and
// ends the recording without a file.
#include <memory>
#include <string>

#include "TestAddon.h"
#include "host/FSinterface.h"
#include "recording/Recorder.h"
#include "settings/Settings.h"

namespace {

class RecorderAddon : public TestAddon {
public:
    const char* name() const override { return "recorder add-on"; }
    std::string settingsFile() const override { return env("ZEPHREL_RECORDER_INI"); }

    void readSettings() override {
        readGeneralSettings(settingsFile(), general_);
        readRecordingSettings(settingsFile(), RecordingBlock::Recording, recording_);
        outputFile_ = env("ZEPHREL_RECORDER_OUT");
    }

    // At Stop, or at DLLStop when Stop never came.
    void finish() override {
        if (recorder_ == nullptr || !recorder_->isRunning())
            return;
        recorder_->stop(outputFile_);
        recorder_.reset();
    }

    // The recording ends without a file.
    void dropAfterFailure() noexcept override { recorder_.reset(); }

    void frame() override {
        if (!started_) {
            started_ = true;
            recorder_ = std::make_unique<Recorder>(&general_, &recording_);
            recorder_->start(0, 0);
        }
        if (recorder_ != nullptr)
            recorder_->frame(nullptr);
    }

private:
    std::string outputFile_;
    GeneralSettings general_;
    RecordingSettings recording_;
    std::unique_ptr<Recorder> recorder_;
    bool started_ = false;
};

} // namespace

TestAddon& testAddon() {
    static RecorderAddon addon;
    return addon;
}
