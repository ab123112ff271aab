#pragma once

#include <string>

// An output file written under a temporary name beside it ("<name>.part"): it takes its own name
// only when complete, so a failed conversion leaves neither half a file nor a damaged old one.
class StagedOutput {
public:
    // Refuses an output that is the input (refuseToOverwriteInput).
    StagedOutput(std::string path, const std::string& inputPath);
    // Removes the temporary file unless the output was committed.
    ~StagedOutput();
    StagedOutput(const StagedOutput&) = delete;
    StagedOutput& operator=(const StagedOutput&) = delete;

    const std::string& path() const { return path_; }
    const std::string& stagingPath() const { return stagingPath_; }

    // Gives the finished file its name. ConversionError when it cannot take it.
    void commit();

private:
    std::string path_;
    std::string stagingPath_;
    bool committed_ = false;
};
