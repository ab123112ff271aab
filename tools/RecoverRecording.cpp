#include "tools/RecoverRecording.h"

#include <filesystem>
#include <stdexcept>

#include "recording/InterruptedRecording.h"

namespace fs = std::filesystem;

std::string recoverRecording(std::string tempBase, const std::string& output) {
    const std::string extension = fs::path(tempBase).extension().string();
    if (extension == ".tmp0" || extension == ".tmp1" || extension == ".tmp2")
        tempBase.resize(tempBase.size() - extension.size());
    if (!fs::is_regular_file(tempBase + ".tmp1") || !fs::is_regular_file(tempBase + ".tmp2"))
        throw std::runtime_error("'" + tempBase + "' names no recording's temporary files (" + tempBase +
                                 ".tmp1 and .tmp2)");
    // The recovery never replaces a recording: the name may be that of one the user keeps.
    if (fs::exists(output))
        throw std::runtime_error("'" + output + "' exists already: choose a new name for the recovered recording");
    const InterruptedRecording::Summary summary = InterruptedRecording::summarize(tempBase);
    InterruptedRecording::save(tempBase, output);
    return summary.description();
}
