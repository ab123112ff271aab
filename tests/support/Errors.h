#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "common/ZephrelException.h"

// Runs f and hands back the ZephrelException it threw, if it threw one.
template <typename F> std::optional<ZephrelException> thrown(F&& f) {
    try {
        f();
    } catch (const ZephrelException& e) {
        return e;
    }
    return std::nullopt;
}

// Test output shows an error code as its number.
inline void PrintTo(ErrorCode code, std::ostream* out) { *out << "error code " << static_cast<uint32_t>(code); }

// What the user is told when an operation on the file at path fails.
inline std::string fileErrorText(ErrorCode code, const std::string& path) {
    return code == ErrorCode::FileNotOpened     ? "File " + path + " could not be opened!"
           : code == ErrorCode::FileReadFailed  ? "Reading from file '" + path + "' failed!"
           : code == ErrorCode::FileWriteFailed ? "Writing to file '" + path + "' failed!"
                                                : "The file '" + path + "' is damaged or uses an unsupported format!";
}

// e is the stopping failure code of the file at path, reported by function if one is given.
inline void expectFileError(const std::optional<ZephrelException>& e, ErrorCode code, const std::string& path,
                            const std::string& function = "") {
    ASSERT_TRUE(e.has_value()) << "no exception";
    EXPECT_EQ(code, e->code) << e->logText;
    EXPECT_EQ(2u, e->severity);
    EXPECT_EQ(fileErrorText(code, path), e->userText);
    if (!function.empty()) {
        EXPECT_EQ(function, e->function);
    }
}

// e is the stopping "unexpected error" of a refused call, its log text naming the detail.
inline void expectMisuse(const std::optional<ZephrelException>& e, const std::string& function,
                         const std::string& detail) {
    ASSERT_TRUE(e.has_value()) << "no exception";
    EXPECT_EQ(ErrorCode::Unexpected, e->code);
    EXPECT_EQ(2u, e->severity);
    EXPECT_EQ(function, e->function);
    EXPECT_EQ("An unexpected error occured!", e->userText);
    EXPECT_EQ(0u, e->logText.rfind("Error: " + detail + " [" + function + ", line ", 0)) << e->logText;
}

// Names the cases of a table-driven test after their name field.
template <typename T> std::string caseName(const ::testing::TestParamInfo<T>& param) { return param.param.name; }
