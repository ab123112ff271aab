#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "ConverterTestKit.h"
#include "converter/ConverterDialog.h"
#include "converter/ZflConverter.h"
#include "support/FileSizeLimit.h"
#include "support/HeadlessDelegate.h"
#include "winsys/HeadlessScript.h"
#include "winsys/WindowApi.h"

namespace {

using namespace win::headless;
using Words = std::vector<std::string>;
namespace fs = std::filesystem;

const std::string kProgram = "ZflConverter.exe";
const std::string kTitle = "Zephrel Converter";
constexpr int kToText = 1003, kToRecording = 1004, kMetres = 1000;

// The headless backend, noting over whom each message box was shown (the owner's title, "no owner"),
// which the transcript does not keep.
class OwnerNotingBackend final : public HeadlessDelegate {
public:
    explicit OwnerNotingBackend(Words& owners) : owners_(owners) {}
    int messageBox(win::HWND owner, const std::string& text, const std::string& caption,
                   win::UINT type) override {
        owners_.push_back(owner != nullptr ? win::GetWindowText(owner) : "no owner");
        return HeadlessDelegate::messageBox(owner, text, caption, type);
    }

private:
    Words& owners_;
};

// The altitude of the first data line of an exported text: its fourth field, after the time, the
// latitude and the longitude.
std::string firstAltitude(const std::string& text) {
    std::istringstream line(text.substr(text.find('\n', text.find("#Data:")) + 1));
    std::string field;
    for (int i = 0; i < 4; ++i)
        line >> field;
    return field;
}

double firstAltitudeMetres(const std::string& path) {
    const int64_t altitude = convtest::readFullRecording(path).tracks.at(0).cont.at(0).altitude;
    return static_cast<double>(altitude) / 4294967296.0;
}

// A file dialog as the transcript shows it, without its flags.
std::string describeFileDialog(const win::FileDialogEntry& entry) {
    std::string text = (entry.kind == win::FileDialogKind::Open ? "open \"" : "save \"") + entry.title + "\"";
    for (const win::FileFilter& filter : entry.filters)
        text += " " + filter.name + " (" + filter.pattern + ")";
    return text + " ." + entry.defExt;
}

class ZflConverterTest : public ::testing::Test {
protected:
    void SetUp() override { fresh(); }
    void TearDown() override {
        EXPECT_TRUE(failures().empty()) << failures().front();
        reset();
    }
    // A window system as a new process finds it.
    void fresh() {
        reset();
        owners.clear();
        win::SetBackend(std::make_unique<OwnerNotingBackend>(owners));
    }

    // A Piper Cub 1000 m up, one record a second.
    std::string recording(const std::string& name, uint32_t seconds = 2) {
        convtest::FullTrack track{"Piper Cub", "", 0, {}, std::vector<ContData>(seconds), {DiscData{}}};
        for (uint32_t i = 0; i < seconds; ++i) {
            track.cont[i].timestamp = i * 10000;
            track.cont[i].altitude = int64_t{1000} << 32;
        }
        convtest::writeFullRecording(dir.file(name), {{track}, {}});
        return dir.file(name);
    }
    // The same flight as a person writes it, at an altitude of 1000 in the unit chosen.
    std::string text(const std::string& name, uint32_t seconds = 2) {
        std::string flight = "#Aircraft: \"Piper Cub\"\n"
                             "#Data: timestamp latitude longitude altitude pitch bank heading\n";
        for (uint32_t i = 0; i < seconds; ++i)
            flight += std::to_string(i) + " 47.5 8.5 1000 0 0 90\n";
        convtest::writeText(dir.file(name), flight);
        return dir.file(name);
    }

    std::vector<win::MessageBoxEntry> boxes() const { return transcript().all<win::MessageBoxEntry>(); }

    void expectErrorBoxes(const Words& texts, const std::string& owner) {
        const std::vector<win::MessageBoxEntry> shown = boxes();
        ASSERT_EQ(shown.size(), texts.size()) << transcriptText();
        ASSERT_EQ(owners.size(), texts.size());
        for (std::size_t i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(shown[i].text, texts[i]);
            EXPECT_EQ(shown[i].caption, kTitle);
            EXPECT_EQ(shown[i].type, win::MB_OK | win::MB_ICONERROR);
            EXPECT_EQ(owners[i], owner);
        }
    }
    static void expectNoOutput(const std::string& path) {
        EXPECT_FALSE(fs::exists(path)) << path;
        EXPECT_FALSE(fs::exists(path + ".part")) << path;
    }
    // What is at a path, to compare before and after: a folder's entries, or a file's bytes.
    static std::string contentOf(const std::string& path) {
        if (!fs::is_directory(path))
            return readText(path);
        std::string entries = "folder:";
        for (const fs::directory_entry& entry : fs::directory_iterator(path))
            entries += " " + entry.path().filename().string();
        return entries;
    }

    TempDir dir;
    Words owners;
};

// Every word count, as words and as the same words quoted on one command line: paths with spaces.
TEST_F(ZflConverterTest, EachWordCountDoesWhatTheCommandLineRulesSay) {
    const std::string in = recording("in flight.zfl"), out = dir.file("out text.txt");
    const std::string many = "Invalid command line arguments!", bad = "Invalid command line argument!";
    const struct {
        Words words;
        int exitCode;
        std::string message; // empty: converts or shows the dialog
    } cases[] = {{{}, 0, ""},
                 {{kProgram}, 0, ""},
                 {{kProgram, in}, 1, many},
                 {{kProgram, in, out}, 0, ""},
                 {{kProgram, in, out, "-m"}, 0, ""},
                 {{kProgram, in, out, "-M"}, 1, bad},
                 {{kProgram, in, out, "m"}, 1, bad},
                 {{kProgram, in, out, "-m "}, 1, bad},
                 {{kProgram, in, out, ""}, 1, bad},
                 {{kProgram, in, out, "-m", "-m"}, 1, many},
                 {{kProgram, in, out, "-m", "x", "y"}, 1, many}};
    for (const auto& c : cases)
        for (bool asLine : {false, true}) {
            std::string line;
            for (const std::string& word : c.words)
                line += "  \"" + word + "\"";
            SCOPED_TRACE(line);
            fresh();
            fs::remove(out);
            const bool dialog = c.words.size() < 2, converts = !dialog && c.message.empty();
            if (dialog)
                scriptDialog(kTitle, {Close{}});
            EXPECT_EQ(asLine ? ZflConverter::run(std::string_view(line)) : ZflConverter::run(c.words),
                      c.exitCode);
            const std::vector<win::DialogEntry> dialogs = transcript().all<win::DialogEntry>();
            ASSERT_EQ(dialogs.size(), dialog ? 2u : 0u);
            if (dialog) {
                EXPECT_EQ(dialogs[0].title, kTitle);
                EXPECT_EQ(dialogs[1].result, win::IDCANCEL) << "closing ends it";
            }
            expectErrorBoxes(c.message.empty() ? Words{} : Words{c.message}, "no owner");
            EXPECT_EQ(fs::exists(out), converts);
            if (converts) {
                EXPECT_EQ(firstAltitude(readText(out)), c.words.size() == 4 ? "1000.000" : "3280.840");
            }
        }
}

TEST_F(ZflConverterTest, TheInputsExtensionChoosesTheDirectionAndMinusMTheMetres) {
    const struct {
        const char* input;
        bool toText, metres;
    } cases[] = {{"a.ZFL", true, false}, {"b.zfl", true, true},    {"c.txt", false, false},
                 {"d.txt", false, true}, {"no dot", false, false}, {"e.zfl.txt", false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input + std::string(c.metres ? " -m" : ""));
        fresh();
        const std::string in = c.toText ? recording(c.input) : text(c.input);
        const std::string out = dir.file(std::string(c.input) + ".out"); // used as given
        Words words{kProgram, in, out};
        if (c.metres)
            words.push_back("-m");
        EXPECT_EQ(ZflConverter::run(words), 0);
        EXPECT_TRUE(boxes().empty()) << transcriptText();
        // 1000 m are 1000 / 0.3048 = 3280.8399 ft; 1000 ft are 304.8 m.
        if (c.toText) {
            EXPECT_EQ(firstAltitude(readText(out)), c.metres ? "1000.000" : "3280.840");
        } else {
            EXPECT_NEAR(firstAltitudeMetres(out), c.metres ? 1000.0 : 304.8, 1e-6);
        }
    }
}

TEST_F(ZflConverterTest, AFailedConversionShowsItsMessageWithoutOwnerAndLeavesNoOutput) {
    const std::string damaged = dir.file("damaged.zfl"), badText = dir.file("bad.txt");
    convtest::writeText(damaged, "This is no recording, only text.\n");
    convtest::writeText(badText, "#Data: latitude longitude altitude pitch bank heading\n0 0 0 0 0 0\n");
    const std::string rec = recording("good.zfl"), txt = text("good.txt");
    const std::string missingText = dir.file("missing.txt"), missingRec = dir.file("missing.zfl");
    const std::string noFolder = dir.file("no such folder");
    const std::string folderText = dir.file("folder.txt"), folderRec = dir.file("folder.zfl");
    fs::create_directory(folderText);
    fs::create_directory(folderRec);
    // The markers are read after the tracks are written out: the damage is found only then.
    const std::string cutMarker = dir.file("cut marker.zfl");
    convtest::writeFullRecording(cutMarker, {{{"Piper Cub", "", 0, {}, {ContData{}}, {DiscData{}}}},
                                             {Marker{0, Marker::DisplayText, 5, "text"}}});
    fs::resize_file(cutMarker, fs::file_size(cutMarker) - 1);
    const std::string notOpened = " could not be opened! (error 8: No such file or directory)";
    const std::string underAFile = " could not be opened! (error 8: Not a directory)";
    const std::string readFailed = "' failed! (error 9: Is a directory)";
    const struct {
        std::string input, output, message;
    } cases[] = {
        {damaged, dir.file("1.txt"),
         "The file '" + damaged + "' is damaged or uses an unsupported format! (error 11)"},
        {badText, dir.file("2.zfl"), "No aircraft title specified!"},
        {missingText, dir.file("3.zfl"), "File " + missingText + notOpened},
        {missingRec, dir.file("4.txt"), "File " + missingRec + notOpened},
        {rec, noFolder + "/5.txt", "File " + noFolder + "/5.txt" + notOpened},
        {txt, noFolder + "/6.zfl", "File " + noFolder + "/6.zfl" + notOpened},
        {rec, txt + "/7.txt", "File " + txt + "/7.txt" + underAFile},
        {txt, rec + "/8.zfl", "File " + rec + "/8.zfl" + underAFile},
        {folderRec, dir.file("9.txt"), "Reading from file '" + folderRec + readFailed},
        {folderText, dir.file("10.zfl"), "Reading from file '" + folderText + readFailed},
        {cutMarker, dir.file("11.txt"), "Reading from file '" + cutMarker + "' failed! (error 9)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input + " -> " + c.output);
        fresh();
        EXPECT_EQ(ZflConverter::run(Words{kProgram, c.input, c.output, "-m"}), 1);
        expectErrorBoxes({c.message}, "no owner");
        expectNoOutput(c.output);
    }
}

// A full disk (here the file size limit), a failed flush when the file is closed and a name that
// cannot be taken (a folder's) are told with the system's reason; an older output stays as it was.
TEST_F(ZflConverterTest, AFailedWriteNamesTheOutputWithTheSystemsReasonAndKeepsAnOlderOne) {
    constexpr rlim_t kLimit = 8192;
    // The text export buffers 1 MiB and the recording 64 KiB: a smaller output fails only when
    // its file is closed, a larger one while it is written.
    const std::string smallRec = recording("small.zfl", 200), largeRec = recording("large.zfl", 10000);
    const std::string smallText = text("small.txt", 200), largeText = text("large.txt", 5000);
    const std::string folderText = dir.file("folder.txt"), folderRec = dir.file("folder.zfl");
    fs::create_directory(folderText);
    fs::create_directory(folderRec);
    const struct {
        std::string input, output;
        bool limited;
        std::string reason;
    } cases[] = {
        {smallRec, dir.file("out.txt"), true, "File too large"},
        {largeRec, dir.file("out.txt"), true, "File too large"},
        {smallText, dir.file("out.zfl"), true, "File too large"},
        {largeText, dir.file("out.zfl"), true, "File too large"},
        {smallRec, folderText, false, "Is a directory"},
        {smallText, folderRec, false, "Is a directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input + " -> " + c.output);
        fresh();
        if (!fs::exists(c.output))
            convtest::writeText(c.output, "older output\n");
        const std::string before = contentOf(c.output);
        int exitCode = 0;
        {
            std::optional<FileSizeLimit> limit;
            if (c.limited)
                limit.emplace(kLimit);
            exitCode = ZflConverter::run(Words{kProgram, c.input, c.output});
        }
        EXPECT_EQ(exitCode, 1);
        expectErrorBoxes({"Writing to file '" + c.output + "' failed! (error 10: " + c.reason + ")"},
                         "no owner");
        EXPECT_EQ(contentOf(c.output), before);
        EXPECT_FALSE(fs::exists(c.output + ".part"));
        fs::remove(c.output);
    }
}

// Converting a file onto itself would replace it with its own conversion: whatever the path
// looks like, the converter refuses before it writes anything.
TEST_F(ZflConverterTest, AnOutputThatIsTheInputIsRefusedAndTheInputKept) {
    fs::create_directory(dir.file("sub"));
    for (const bool toText : {true, false}) {
        const std::string name = toText ? "flight.zfl" : "flight.txt";
        const std::string input = toText ? recording(name) : text(name);
        const std::string other = dir.file("other");
        fs::create_symlink(input, dir.file("symbolic"));
        fs::create_hard_link(input, dir.file("hard"));
        convtest::writeText(other, "another file\n");
        const struct {
            std::string output;
            bool same;
        } cases[] = {{input, true},
                     {(dir.path() / "sub" / ".." / name).string(), true},
                     {dir.file("./" + name), true},
                     {dir.file("symbolic"), true},
                     {dir.file("hard"), true},
                     {other, false}};
        const std::string original = readText(input);
        const auto refusal = [&](const std::string& output) {
            return "Input '" + input + "' and output '" + output +
                   "' are the same file! Please choose a different output file.";
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(input + " -> " + c.output);
            fresh();
            setUnscriptedPolicy(Unscripted::Fail);
            EXPECT_EQ(ZflConverter::run(Words{kProgram, input, c.output}), c.same ? 1 : 0);
            expectErrorBoxes(c.same ? Words{refusal(c.output)} : Words{}, "no owner");
            EXPECT_EQ(readText(input), original);
            if (!c.same) {
                EXPECT_NE(readText(c.output), "another file\n") << "another existing file is replaced";
            }
            EXPECT_FALSE(fs::exists(c.output + ".part"));
        }
        // Over the dialog, after the user agreed to replace the file: the dialog stays open.
        fresh();
        setUnscriptedPolicy(Unscripted::Fail);
        answerFileDialog({input});
        answerFileDialog({dir.file("./" + name)}); // with an extension, so the dialog adds none
        answerMessageBox(win::IDYES, {"Output", "Do you want to replace it?"});
        answerMessageBox(win::IDOK, {kTitle, "are the same file!"});
        scriptDialog(kTitle, {Press{toText ? kToText : kToRecording}, Close{}});
        EXPECT_EQ(ZflConverter::run(Words{kProgram}), 0);
        EXPECT_EQ(unusedAnswers(), 0u);
        ASSERT_EQ(boxes().size(), 2u);
        EXPECT_EQ(boxes()[1].text, refusal(dir.file("./" + name)));
        EXPECT_EQ(boxes()[1].type, win::MB_OK | win::MB_ICONERROR);
        EXPECT_EQ(owners, (Words{kTitle, kTitle}));
        EXPECT_EQ(readText(input), original);
        EXPECT_EQ(transcript().all<win::DialogEntry>().back().result, win::IDCANCEL);
        for (const char* link : {"symbolic", "hard", "other"})
            fs::remove(dir.file(link));
    }
}

TEST_F(ZflConverterTest, TheDialogIsBuiltAsItsResourceDescribesIt) {
    const win::DialogTemplate resource = ConverterDialog::dialogTemplate();
    EXPECT_EQ(
        std::make_tuple(resource.title, resource.width, resource.height, resource.font, resource.fontSize),
        std::make_tuple(kTitle, 127, 90, std::string("MS Shell Dlg 2"), 8));
    using Control = std::tuple<int, win::ControlKind, std::string, int, int, int, int>;
    std::vector<Control> controls;
    for (const win::ControlTemplate& c : resource.controls)
        controls.emplace_back(c.id, c.kind, c.text, c.rect.x, c.rect.y, c.rect.width, c.rect.height);
    EXPECT_EQ(controls,
              (std::vector<Control>{
                  {kToText, win::ControlKind::PushButton, "Zephrel (.zfl) --> Text", 7, 7, 113, 20},
                  {kToRecording, win::ControlKind::PushButton, "Text --> Zephrel (.zfl)", 7, 32, 113, 20},
                  {kMetres, win::ControlKind::AutoCheckBox, "Altitude in Meters", 29, 67, 70, 10}}));
}

TEST_F(ZflConverterTest, EachButtonAsksForItsInputAndOutputAndConverts) {
    const struct {
        int button;
        std::string open, save;
    } cases[] = {{kToText, "open \"Input ZFL File\" Flight Recordings (*.zfl) .zfl",
                  "save \"Output Text File\" Text Files (*.txt) .txt"},
                 {kToRecording, "open \"Input Text File\" Text Files (*.txt) .txt",
                  "save \"Output ZFL File\" Flight Recordings (*.zfl) .zfl"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        fresh();
        setUnscriptedPolicy(Unscripted::Fail);
        const std::string in = c.button == kToText ? recording("in.zfl") : text("in.txt");
        const std::string out = dir.file("chosen " + std::to_string(c.button));
        answerFileDialog({in});
        answerFileDialog({out});
        scriptDialog(kTitle, {Press{c.button}, Close{}});
        EXPECT_EQ(ZflConverter::run(Words{kProgram}), 0);
        EXPECT_EQ(unusedAnswers(), 0u);
        EXPECT_TRUE(boxes().empty()) << "a success shows nothing";
        const std::vector<win::FileDialogEntry> asked = transcript().all<win::FileDialogEntry>();
        ASSERT_EQ(asked.size(), 2u);
        EXPECT_EQ(describeFileDialog(asked[0]), c.open);
        EXPECT_EQ(describeFileDialog(asked[1]), c.save);
        const win::DWORD open = win::OFN_FILEMUSTEXIST | win::OFN_PATHMUSTEXIST;
        const win::DWORD save = win::OFN_PATHMUSTEXIST | win::OFN_OVERWRITEPROMPT;
        EXPECT_EQ(asked[0].flags & open, open);
        EXPECT_EQ(asked[1].flags & (save | win::OFN_FILEMUSTEXIST), save);
        // A name chosen without extension gets the dialog's default one.
        if (c.button == kToText) {
            EXPECT_EQ(firstAltitude(readText(out + ".txt")), "3280.840");
        } else {
            EXPECT_NEAR(firstAltitudeMetres(out + ".zfl"), 304.8, 1e-6);
        }
    }
}

TEST_F(ZflConverterTest, TheCheckBoxCountsAsItStandsAtEachPress) {
    setUnscriptedPolicy(Unscripted::Fail);
    const std::string rec = recording("in.zfl"), feet = dir.file("feet.txt"), metres = dir.file("metres.txt");
    for (const std::string& out : {feet, metres}) {
        answerFileDialog({rec}, "Input ZFL File");
        answerFileDialog({out}, "Output Text File");
    }
    scriptDialog(kTitle, {Press{kToText}, SetCheck{kMetres, true}, Press{kToText}, Close{}});
    EXPECT_EQ(ZflConverter::run(Words{kProgram}), 0);
    EXPECT_EQ(firstAltitude(readText(feet)), "3280.840");
    EXPECT_EQ(firstAltitude(readText(metres)), "1000.000");
}

TEST_F(ZflConverterTest, CancellingEitherFileDialogAbandonsTheActionSilently) {
    for (int button : {kToText, kToRecording})
        for (bool atSave : {false, true}) {
            SCOPED_TRACE(std::to_string(button) + (atSave ? " save" : " open"));
            fresh();
            setUnscriptedPolicy(Unscripted::Fail);
            const std::string in = button == kToText ? recording("in.zfl") : text("in.txt");
            if (atSave)
                answerFileDialog({in});
            cancelFileDialog();
            scriptDialog(kTitle, {Press{button}, Close{}});
            EXPECT_EQ(ZflConverter::run(Words{kProgram}), 0);
            EXPECT_EQ(transcript().all<win::FileDialogEntry>().size(), atSave ? 2u : 1u);
            EXPECT_TRUE(boxes().empty());
            EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
            fs::remove(in);
        }
}

TEST_F(ZflConverterTest, AFailedConversionIsShownOverTheDialogWhichStaysOpen) {
    setUnscriptedPolicy(Unscripted::Fail);
    const std::string damaged = dir.file("damaged.zfl"), badText = dir.file("bad.txt");
    convtest::writeText(damaged, "This is no recording, only text.\n");
    convtest::writeText(badText, "#Aircraft: \"Piper Cub\"\n#Data: latitude longitude altitude pitch bank\n");
    const std::string minimum =
        "Minimum required data is latitude, longitude, altitude, pitch, bank and heading!";
    const std::string damage =
        "The file '" + damaged + "' is damaged or uses an unsupported format! (error 11)";
    answerFileDialog({damaged});
    answerFileDialog({dir.file("a.txt")});
    answerMessageBox(win::IDOK, {kTitle, damage});
    answerFileDialog({badText});
    answerFileDialog({dir.file("b.zfl")});
    answerMessageBox(win::IDOK, {kTitle, minimum});
    scriptDialog(kTitle, {Press{kToText}, Press{kToRecording}, Close{}});
    EXPECT_EQ(ZflConverter::run(Words{kProgram}), 0);
    EXPECT_EQ(unusedAnswers(), 0u);
    expectErrorBoxes({damage, minimum}, kTitle);
    expectNoOutput(dir.file("a.txt"));
    expectNoOutput(dir.file("b.zfl"));
    const std::vector<win::DialogEntry> dialogs = transcript().all<win::DialogEntry>();
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[1].result, win::IDCANCEL);
}

// Lines the import leaves out do not fail it: the conversion is written and the user is warned,
// on the command line (without an owner) and over the dialog alike.
TEST_F(ZflConverterTest, SkippedDataLinesAreAWarningAfterASuccessfulImport) {
    setUnscriptedPolicy(Unscripted::Fail);
    const std::string input = dir.file("log.txt");
    convtest::writeText(input, "#Aircraft: \"Piper Cub\"\n"
                               "#Data: timestamp latitude longitude altitude pitch bank heading windDir\n"
                               "0 47.5 8.5 1000 0 0 90 10\n1 47.5 8.5 1000 0 0 90 -167\n");
    const std::string warning =
        "1 data line skipped (line 4, column windDir: \"-167\" is not an unsigned number)";
    answerMessageBox(win::IDOK, {kTitle, warning});
    EXPECT_EQ(ZflConverter::run(Words{kProgram, input, dir.file("cli.zfl")}), 0);
    answerFileDialog({input});
    answerFileDialog({dir.file("dialog.zfl")});
    answerMessageBox(win::IDOK, {kTitle, warning});
    scriptDialog(kTitle, {Press{kToRecording}, Close{}});
    EXPECT_EQ(ZflConverter::run(Words{kProgram}), 0);
    EXPECT_EQ(unusedAnswers(), 0u);
    const std::vector<win::MessageBoxEntry> shown = boxes();
    ASSERT_EQ(shown.size(), 2u);
    for (const win::MessageBoxEntry& box : shown)
        EXPECT_EQ(box.type, win::MB_OK | win::MB_ICONWARNING);
    EXPECT_EQ(owners, (Words{"no owner", kTitle}));
    for (const char* output : {"cli.zfl", "dialog.zfl"})
        EXPECT_EQ(convtest::readFullRecording(dir.file(output)).tracks.at(0).cont.size(), 1u) << output;
}

} // namespace
