// AddonRegistrar's two custom actions on a user's dll.xml, through the library's exports.

#include <sys/stat.h>

#include <string>
#include <vector>

#include "LaunchFixture.h"
#include "support/ShownMessageBoxes.h"

namespace {

const std::string kEntry =
    "\r\n\t<Launch.Addon>\r\n\t\t<Name>Zephrel</Name>\r\n\t\t<Disabled>False</Disabled>\r\n"
    "\t\t<ManualLoad>False</ManualLoad>\r\n\t\t<Path>/opt/zephrel/Zephrel_FSX.so</Path>\r\n"
    "\t</Launch.Addon>";

// Another add-on's list as a hand and an older installer left it: CR LF, tabs, Windows-1252 with
// a byte above 0x7F, a character reference, a comment, odd quoting and spacing, empty elements.
const std::string kOthersHead = "<?xml version=\"1.0\" encoding=\"Windows-1252\" ?>\r\n"
                                "<!-- kept by hand -->\r\n"
                                "<SimBase.Document Type='Launch' version=\"1,0\" >\r\n"
                                "\t<Descr>Launch</Descr>\r\n"
                                "\t<Filename>dll.xml</Filename>\r\n"
                                "\t<Disabled>False</Disabled>\r\n"
                                "\t<Launch.ManualLoad>False</Launch.ManualLoad>\r\n"
                                "\t<Launch.Addon>\r\n"
                                "\t\t<Name>Caf\xE9 Gauges</Name>\r\n"
                                "\t\t<Disabled>False</Disabled>\r\n"
                                "\t\t<Path>Modules\\caf&#233;.dll</Path>\r\n"
                                "\t\t<CommandLine></CommandLine>\r\n"
                                "\t\t<Extra />\r\n"
                                "\t</Launch.Addon>";
const std::string kOthersTail = "\r\n</SimBase.Document>\r\n";
const std::string kOthers = kOthersHead + kOthersTail;

TEST_F(LaunchFixture, AddWithoutDllXmlCreatesTheListWithItsHeaderAndOneEntry) {
    EXPECT_EQ(add(), 0u);
    EXPECT_EQ(dllXmlText(),
              "<SimBase.Document Type=\"Launch\" version=\"1,0\">\n"
              " <Descr>Launch</Descr>\n <Filename>dll.xml</Filename>\n <Disabled>False</Disabled>\n"
              " <Launch.ManualLoad>False</Launch.ManualLoad>\n"
              " <Launch.Addon>\n  <Name>Zephrel</Name>\n  <Disabled>False</Disabled>\n"
              "  <ManualLoad>False</ManualLoad>\n  <Path>/opt/zephrel/Zephrel_FSX.so</Path>\n"
              " </Launch.Addon>\n</SimBase.Document>\n");
    EXPECT_EQ(session.property("FSXADDLAUNCHRESULT"), "1");
    EXPECT_EQ(strayFiles(), 0u);
}

TEST_F(LaunchFixture, AddLeavesEveryByteOfTheOtherEntriesAndRemoveRestoresTheFile) {
    writeDllXml(kOthers);
    ASSERT_EQ(add(), 0u);
    EXPECT_EQ(dllXmlText(), kOthersHead + kEntry + kOthersTail);
    ASSERT_EQ(remove(), 0u);
    EXPECT_EQ(dllXmlText(), kOthers);
    EXPECT_EQ(session.property("FSXREMOVELAUNCHRESULT"), "1");
    EXPECT_TRUE(shownMessageBoxes().empty());
}

// Entries that hold nothing but whitespace count as empty, as they do for a document object model
// that drops the whitespace between elements.
TEST_F(LaunchFixture, RemoveAlsoClearsEveryEntryThatHoldsNothing) {
    writeDllXml(
        "<SimBase.Document>\n <Launch.Addon>\n </Launch.Addon>\n "
        "<Launch.Addon><Name>Other</Name></Launch.Addon>\n"
        " <Launch.Addon/>\n <Launch.Addon><Name>Zephrel</Name></Launch.Addon>\n <Launch.Addon><Name> </Name>"
        "</Launch.Addon>\n</SimBase.Document>\n");
    ASSERT_EQ(remove(), 0u);
    EXPECT_EQ(dllXmlText(),
              "<SimBase.Document>\n <Launch.Addon><Name>Other</Name></Launch.Addon>\n</SimBase.Document>\n");
}

TEST_F(LaunchFixture, AddingAgainUpdatesTheOneEntry) {
    writeDllXml(kOthers);
    ASSERT_EQ(add(), 0u);
    session.setProperty("INSTALLDIR", "/usr/local/zephrel");
    ASSERT_EQ(add(), 0u);
    std::string moved = kEntry;
    moved.replace(moved.find("/opt/zephrel/"), 13, "/usr/local/zephrel/");
    EXPECT_EQ(dllXmlText(), kOthersHead + moved + kOthersTail);
}

TEST_F(LaunchFixture, AddEnablesAnEntryOfTheNameAndCompletesIt) {
    writeDllXml("<SimBase.Document Type=\"Launch\">\n <Launch.Addon>\n  <Name>Zephrel</Name>\n"
                "  <Disabled>True</Disabled>\n  <Path>old.dll</Path>\n  <DllStartName>start</DllStartName>\n"
                " </Launch.Addon>\n</SimBase.Document>\n");
    ASSERT_EQ(add(), 0u);
    EXPECT_EQ(dllXmlText(), "<SimBase.Document Type=\"Launch\">\n <Launch.Addon>\n  <Name>Zephrel</Name>\n"
                            "  <Disabled>False</Disabled>\n  <Path>/opt/zephrel/Zephrel_FSX.so</Path>\n"
                            "  <DllStartName>start</DllStartName>\n  <ManualLoad>False</ManualLoad>\n"
                            " </Launch.Addon>\n</SimBase.Document>\n");
}

// Names that would break a query made of them, or make it find another entry.
TEST_F(LaunchFixture, AnyNameFindsExactlyItsOwnEntry) {
    const std::string entries =
        "<SimBase.Document Type=\"Launch\">\n <Launch.Addon><Name>Other</Name></Launch.Addon>\n"
        " <Launch.Addon><Name>x</Name></Launch.Addon>";
    const std::string file = entries + "\n</SimBase.Document>\n";
    for (const std::string name :
         {"O'Brien", "say \"hi\"", "x' or '1'='1", "x']|//Name|x['", "<&>", "Other "}) {
        SCOPED_TRACE(name);
        writeDllXml(file);
        session.setProperty("FSXADDONNAME", name);
        ASSERT_EQ(add(), 0u);
        ASSERT_EQ(add(), 0u);
        const std::string text = dllXmlText();
        EXPECT_EQ(text.substr(0, entries.size()), entries);
        EXPECT_EQ(text.find("<Launch.Addon>", entries.size()), text.rfind("<Launch.Addon>"));
        ASSERT_EQ(remove(), 0u);
        EXPECT_EQ(dllXmlText(), file);
    }
}

TEST_F(LaunchFixture, RemoveWithoutTheEntryWarnsAndFailsLeavingTheFile) {
    const std::vector<std::string> files = {"", kOthers,
                                            "<SimBase.Document><Launch.Addon><Name>Zephrel</Name>"};
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        win::headless::reset();
        if (!file.empty())
            writeDllXml(file);
        EXPECT_EQ(remove(), ERROR_FUNCTION_NOT_CALLED);
        EXPECT_EQ(session.property("FSXREMOVELAUNCHRESULT"), "0");
        const std::vector<MessageBoxRequest> boxes = shownMessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "Launch addon entry could not be removed from dll.xml file!");
        EXPECT_EQ(boxes[0].caption, "Zephrel Recorder");
        EXPECT_EQ(boxes[0].icon, MessageIcon::Warning);
        EXPECT_EQ(boxes[0].buttons, MessageButtons::Ok);
        if (!file.empty()) {
            EXPECT_EQ(dllXmlText(), file);
        }
    }
}

TEST_F(LaunchFixture, AddFailsOnAnEmptyOrTooLongNameWithoutTouchingTheFile) {
    const std::string file =
        "<SimBase.Document Type=\"Launch\"><Launch.Addon><Name></Name></Launch.Addon></SimBase.Document>";
    for (const std::string& name : {std::string(), std::string(50, 'n')}) {
        writeDllXml(file);
        session.setProperty("FSXADDONNAME", name);
        EXPECT_EQ(add(), ERROR_FUNCTION_NOT_CALLED);
        EXPECT_EQ(dllXmlText(), file);
        EXPECT_EQ(session.property("FSXADDLAUNCHRESULT"), "0");
    }
    session.setProperty("FSXADDONNAME", std::string(49, 'n'));
    EXPECT_EQ(add(), 0u);
}

TEST_F(LaunchFixture, AddFailsOnAFileThatDoesNotLoadAndKeepsIt) {
    const std::string broken = kOthers.substr(0, kOthers.size() - 8);
    writeDllXml(broken);
    chmod(dllXml.c_str(), 0640);
    EXPECT_EQ(add(), ERROR_FUNCTION_NOT_CALLED);
    EXPECT_EQ(dllXmlText(), broken);
    EXPECT_EQ(strayFiles(), 0u);
}

TEST_F(LaunchFixture, TheReplacedFileKeepsItsPermissions) {
    writeDllXml(kOthers);
    chmod(dllXml.c_str(), 0640);
    ASSERT_EQ(add(), 0u);
    struct stat written {};
    ASSERT_EQ(stat(dllXml.c_str(), &written), 0);
    EXPECT_EQ(written.st_mode & 07777, 0640u);
    EXPECT_EQ(strayFiles(), 0u);
}

// Names are compared as characters: one Windows-1252 holds goes in as its byte, one it does not
// as a character reference.
TEST_F(LaunchFixture, NamesAreWrittenInTheFilesEncoding) {
    const std::string file =
        "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<SimBase.Document Type=\"Launch\">\n"
        " <Launch.Addon><Name>Caf\xE9 \x80</Name></Launch.Addon>\n</SimBase.Document>\n";
    writeDllXml(file);
    session.setProperty("FSXADDONNAME", "Caf\xC3\xA9 \xE2\x82\xAC");
    ASSERT_EQ(add(), 0u);
    session.setProperty("FSXADDONNAME", "\xCE\xA9");
    ASSERT_EQ(add(), 0u);
    const std::string text = dllXmlText();
    EXPECT_EQ(text.find("<Name>Caf\xE9 \x80</Name>"), text.rfind("<Name>Caf\xE9 \x80</Name>"));
    EXPECT_NE(text.find("<Name>&#937;</Name>"), std::string::npos);
    ASSERT_EQ(remove(), 0u);
    session.setProperty("FSXADDONNAME", "Caf\xC3\xA9 \xE2\x82\xAC");
    ASSERT_EQ(remove(), 0u);
    EXPECT_EQ(dllXmlText(),
              "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<SimBase.Document Type=\"Launch\">\n"
              "</SimBase.Document>\n");
}

} // namespace
