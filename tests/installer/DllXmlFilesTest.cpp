// Real users' launch lists (tests/data/dllxml) through both actions: a list the simulator reads
// gets the entry and, when it is removed again, is the file it was; anything else fails and is
// left as it was.

#include <pugixml.hpp>

#include <cctype>
#include <filesystem>
#include <iterator>
#include <ostream>

#include "LaunchFixture.h"
#include "support/ShownMessageBoxes.h"

namespace {

struct DllXmlFile {
    const char* name;
    bool isLaunchList; // well-formed, with a root of type "Launch"
};

const DllXmlFile kFiles[] = {
    {"pmdg-kb-minimal-dll.xml", true},
    {"pmdg-ops-wiki-healthy-oneline-dll.xml", true},
    {"sode-docs-fsx-exe.xml", true},
    {"pmdg-kb-entry-fragment.xml", false},
    {"simcache-readme-entry-fragment.xml", false},
    {"androfsxserver-docs-entry-fragment.xml", false},
    {"related-exe-xml/x52-plugin-real-exe.xml", false},
    {"related-exe-xml/bbl-issue45-oneline-exe.xml", false},
    {"related-exe-xml/bbl-issue54-missing-close-tag-exe.xml", false},
    {"related-exe-xml/bbl-issue60-mixed-oneline-and-missing-close-exe.xml", false},
    {"related-exe-xml/bbl-issue68-backslash-close-tags-exe.xml", false},
};

void PrintTo(const DllXmlFile& file, std::ostream* out) {
    *out << file.name;
}

class DllXmlFilesTest : public LaunchFixture, public ::testing::WithParamInterface<DllXmlFile> {};

TEST_P(DllXmlFilesTest, AddAndRemove) {
    const std::string original = readText(std::string(ZEPHREL_DLLXML_DATA) + "/" + GetParam().name);
    writeDllXml(original);
    if (!GetParam().isLaunchList) {
        EXPECT_EQ(add(), ERROR_FUNCTION_NOT_CALLED);
        EXPECT_EQ(remove(), ERROR_FUNCTION_NOT_CALLED);
        EXPECT_EQ(shownMessageBoxes().size(), 1u);
        EXPECT_EQ(dllXmlText(), original);
        EXPECT_EQ(strayFiles(), 0u);
        return;
    }
    ASSERT_EQ(add(), 0u);
    pugi::xml_document written;
    ASSERT_TRUE(written.load_file(dllXml.c_str()));
    const pugi::xpath_node_set entries =
        written.select_nodes("/SimBase.Document/Launch.Addon[Name='Zephrel']");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_STREQ(entries[0].node().child_value("Path"), "/opt/zephrel/Zephrel_FSX.so");
    EXPECT_STREQ(entries[0].node().child_value("Disabled"), "False");
    EXPECT_STREQ(entries[0].node().child_value("ManualLoad"), "False");
    ASSERT_EQ(remove(), 0u);
    EXPECT_EQ(dllXmlText(), original);
}

TEST(DllXmlFiles, EveryFileOfTheDataFolderIsTried) {
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(ZEPHREL_DLLXML_DATA))
        files += entry.path().extension() == ".xml";
    EXPECT_EQ(files, std::size(kFiles));
}

INSTANTIATE_TEST_SUITE_P(Files, DllXmlFilesTest, ::testing::ValuesIn(kFiles), [](const auto& file) {
    std::string name = std::filesystem::path(file.param.name).stem().string();
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
});

} // namespace
