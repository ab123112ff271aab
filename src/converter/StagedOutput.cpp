#include "converter/StagedOutput.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "converter/ConversionError.h"
#include "converter/FileFailure.h"

StagedOutput::StagedOutput(std::string path, const std::string& inputPath)
    : path_(std::move(path)), stagingPath_(path_ + ".part") {
    std::error_code unexamined; // a path that cannot be examined cannot be read or written either
    if (std::filesystem::equivalent(inputPath, path_, unexamined))
        throw ConversionError{"Input '" + inputPath + "' and output '" + path_ +
                              "' are the same file! Please choose a different output file."};
}

StagedOutput::~StagedOutput() {
    if (!committed_)
        std::remove(stagingPath_.c_str());
}

void StagedOutput::commit() {
    if (std::rename(stagingPath_.c_str(), path_.c_str()) != 0)
        throw fileFailure(ErrorCode::FileWriteFailed, path_, errno);
    committed_ = true;
}
