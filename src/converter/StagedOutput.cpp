#include "converter/StagedOutput.h"

#include <cerrno>
#include <cstdio>

#include "converter/FileFailure.h"
#include "converter/InputOverwrite.h"

StagedOutput::StagedOutput(std::string path, const std::string& inputPath)
    : path_(std::move(path)), stagingPath_(path_ + ".part") {
    refuseToOverwriteInput(inputPath, path_);
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
