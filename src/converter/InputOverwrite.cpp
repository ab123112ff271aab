#include "converter/InputOverwrite.h"

#include <filesystem>
#include <system_error>

#include "converter/ConversionError.h"

void refuseToOverwriteInput(const std::string& inputPath, const std::string& outputPath) {
    std::error_code unexamined; // a path that cannot be examined cannot be read or written either
    if (std::filesystem::equivalent(inputPath, outputPath, unexamined))
        throw ConversionError{"Input '" + inputPath + "' and output '" + outputPath +
                              "' are the same file! Please choose a different output file."};
}
