// Writing a file whole under a new name and giving it the old one.

#include <gtest/gtest.h>

#include <filesystem>

#include "installer/ReplaceFile.h"
#include "installer/XmlError.h"
#include "support/TempDir.h"

namespace {

std::size_t entries(const std::filesystem::path& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++count;
    return count;
}

TEST(ReplaceFile, AFailureLeavesNoNewFileBehind) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("dll.xml"));
    EXPECT_THROW(replaceFile(dir.file("dll.xml"), "<a/>"), XmlError);
    EXPECT_THROW(replaceFile(dir.file("missing/dll.xml"), "<a/>"), XmlError);
    EXPECT_EQ(entries(dir.path()), 1u);
}

TEST(ReplaceFile, ALinkKeepsPointingAtTheReplacedFile) {
    TempDir dir;
    writeBytes(dir.file("real.xml"), Bytes{'x'});
    std::filesystem::create_symlink("real.xml", dir.file("dll.xml"));
    replaceFile(dir.file("dll.xml"), "<a/>");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("dll.xml")));
    EXPECT_EQ(readText(dir.file("real.xml")), "<a/>");
    EXPECT_EQ(entries(dir.path()), 2u);
}

} // namespace
