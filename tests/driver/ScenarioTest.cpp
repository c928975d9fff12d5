// The shipped program used from outside as a person would, checked by what it shows and by the
// files it leaves: a session from an empty project to scenery; the keyboard in a tool dialog and
// closing from the title bar. Manual placing, Clear (partly) and a project whose backdrop is
// missing are the GUI tests'; the session's own steps are those only the whole program has.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "driver/Driver.h"
#include "resources/ResourceIds.h"

namespace {

using driver::AnswerBox;
using driver::GeoPoint;
using driver::Program;
using driver::ThermalsOf;

const char ReallyExit[] = "Do you really want to exit this program ?";
std::string Title(const std::string& name) { return "Ascendor - [" + name + "]"; }

void ExpectNoBox(Program& program) { EXPECT_EQ(program.StrayBox(), "") << "unexpected message box"; }

// Create's confirmation names the table's size; Cancel there changes nothing. An empty table is
// told with a box of its own.
int CountThermals(Program& program) {
    program.Command(CmdCreate);
    boxwatch::BoxRecord box;
    program.Answer(IDCANCEL, &box);
    int count = 0;
    if (box.text != "Perhaps you should add some thermals first...") {
        EXPECT_EQ(std::sscanf(box.text.c_str(), "Create a BGL with %d thermals...", &count), 1) << box.text;
    }
    return count;
}

// Exit or close with the questions answered in order; the program must then end with code 0.
void ExitWith(Program& program, std::vector<std::pair<const char*, int>> answers, UINT message = WM_COMMAND, WPARAM wParam = CmdExit) {
    program.PostToMain(message, wParam);
    program.Settle();
    for (const auto& answer : answers) AnswerBox(program, answer.first, answer.second);
    DWORD code = 1;
    ASSERT_TRUE(program.WaitForExit(&code)) << "the program did not end";
    EXPECT_EQ(code, 0u);
}

class ScenarioTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.Copy(driver::SourceFile("examples/sample.bmp"), "sample.bmp"));
        ASSERT_TRUE(folder.Copy(driver::SourceFile("examples/sample.prj"), "sample.prj"));
    }
    // arguments: the command line after the program's name; the title then shows its project.
    std::unique_ptr<Program> Start(const std::string& arguments = "") {
        auto program = std::make_unique<Program>(folder.Path(), arguments);
        EXPECT_TRUE(program->Started() && program->Map()) << "no main window with its map";
        if (!program->Started()) return program;
        if (arguments.empty()) { EXPECT_EQ(program->Title(), Title("(untitled)")); }
        RECT window{}, work{};  // the edges of the work area, not its width and height
        GetWindowRect(program->Main(), &window), SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_TRUE(EqualRect(&window, &work) && IsWindowVisible(program->Main()));
        return program;
    }
    driver::Scratch folder;
};

TEST_F(ScenarioTest, WholeSessionFromNewProjectToScenery) {
    auto program = Start();
    Program& p = *program;
    // New, and the area in the Setup dialog, with left and right markers set on the map.
    p.Command(CmdNew);
    HWND setup = p.FindDialog("Setup...");
    ASSERT_NE(setup, nullptr) << "New did not open the Setup dialog";
    p.Click(setup, IdcSetupLoad);
    ASSERT_TRUE(p.AnswerFile(folder.File("sample.bmp"))) << "Load gave no Open dialog";
    EXPECT_EQ(p.Text(setup, IdcSetupBackdrop), "sample.bmp");
    const char* typed[16] = {"52", "30", "0", "n", "52", "0", "", "N", "4", "40", "0", "e", "5", "20", "000", "E"};
    for (int i = 0; i < 16; ++i) p.Type(setup, IdcSetupTopDeg + i, typed[i]);
    const POINT leftMarker = p.MapPoint(0.2, 0.5), rightMarker = p.MapPoint(0.8, 0.5);
    p.Click(setup, IdcSetupMarkerLeft), p.LeftClick(leftMarker);
    p.Click(setup, IdcSetupMarkerRight), p.LeftClick(rightMarker);
    p.Click(setup, IdcSetupOk);
    EXPECT_FALSE(IsWindow(setup)) << "OK did not close the Setup dialog";
    ExpectNoBox(p);
    EXPECT_NEAR(p.Probe(leftMarker).lon, 466667, 500) << "the bounds lie under the markers";
    EXPECT_NEAR(p.Probe(rightMarker).lon, 533333, 500);

    // Automatic: a batch over a dragged rectangle, taken back, made again and kept.
    p.Command(CmdAutomatic);
    HWND automatic = p.FindDialog("Thermals (automatic)");
    ASSERT_NE(automatic, nullptr);
    const POINT from = p.MapPoint(0.55, 0.55), to = p.MapPoint(0.85, 0.85);
    const GeoPoint a = p.Probe(from), b = p.Probe(to);
    p.Drag(from, to);
    p.Click(automatic, IdcAutoTest);
    const int batch = CountThermals(p);
    EXPECT_GT(batch, 0) << "Test made no thermals";
    p.Click(automatic, IdcAutoClear);
    EXPECT_EQ(CountThermals(p), 0) << "Clear did not take the batch back";
    p.Click(automatic, IdcAutoTest), p.Click(automatic, IdcAutoAdd), p.Click(automatic, IdcAutoOk);
    EXPECT_FALSE(IsWindow(automatic));
    EXPECT_EQ(CountThermals(p), batch) << "a second Test over the same rectangle makes the same batch";
    p.Command(CmdSaveAs);
    ASSERT_TRUE(p.AnswerFile(folder.File("session.prj")));

    // The file: fixed lines exactly, generated lines by what the generator promises (the line
    // ends are the project file test's).
    const std::string saved = folder.Read("session.prj");
    const std::vector<std::string> lines = driver::SplitLines(saved);
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 3), (std::vector<std::string>{"sample.bmp", "52:30.000N", "52:00.000N"}));
    EXPECT_TRUE(lines[3] < "004:40.000E" && lines[4] > "005:20.000E") << "the area reaches to the backdrop's edges";
    const auto table = ThermalsOf(saved);
    ASSERT_EQ(table.size(), size_t(batch));
    for (const std::vector<int>& t : table) {
        ASSERT_EQ(t.size(), 13u);
        EXPECT_EQ(std::vector<int>({t[2], t[3], t[6], t[7], t[8], t[9], t[10], t[11]}), std::vector<int>({4, 0, 0, 0, 1, 0, t[4], t[5]}));
        // In the rectangle; the last row may reach a tenth of a 5-km cell below it.
        EXPECT_TRUE(t[0] > std::min(a.lat, b.lat) - 1000 && t[0] < std::max(a.lat, b.lat) && t[1] > a.lon && t[1] < b.lon + 500);
    }

    // Create: one degree of latitude needs no split; SCASM is found on the PATH (the run's own
    // record is checked by the command rows).
    p.Command(CmdCreate);
    AnswerBox(p, "Create a BGL with " + std::to_string(table.size()) + " thermals...", IDOK);
    ExpectNoBox(p);
    EXPECT_EQ(p.RunsStarted(), 1);
    ASSERT_TRUE(p.WaitForRunsToEnd());
    EXPECT_EQ(folder.Names("session_a.*"), (std::vector<std::string>{"session_a.bgl", "session_a.sca"}));
    EXPECT_EQ(folder.Read("session.prj"), saved) << "Create saves the same project again";
    ASSERT_NO_FATAL_FAILURE(ExitWith(p, {{ReallyExit, IDOK}}));
}

// The keys in the Manual dialog stay in it (the loop routes them through IsDialogMessage; Tab
// enters the type buttons at the checked one, the type in effect), Enter
// is Set, and a click then places the thermal under the pointer with what Set took. Closing
// from the title bar asks what Exit asks (its answers are the command rows').
TEST_F(ScenarioTest, KeysInTheManualDialogStayInItAndEnterSets) {
    auto program = Start();
    Program& p = *program;
    p.Command(CmdOpen);
    ASSERT_TRUE(p.AnswerFile(folder.File("sample.prj")));
    ExpectNoBox(p);
    const POINT probe = p.MapPoint(0.5, 0.5);
    const GeoPoint start = p.Probe(probe);
    ASSERT_TRUE(start.valid) << p.StatusText(0);
    EXPECT_EQ(p.Focus(), p.Main());  // with the main window focused the keys reach the view
    p.Key(VK_ADD);
    EXPECT_NE(p.Probe(probe).lat, start.lat) << "keypad plus did not zoom";
    p.Key(VK_CLEAR);
    EXPECT_EQ(p.Probe(probe).lat, start.lat) << "keypad 5 did not fit and centre";
    p.Command(CmdManual);
    HWND manual = p.FindDialog("Thermals (manual)");
    ASSERT_NE(manual, nullptr);
    EXPECT_EQ(GetDlgCtrlID(p.Focus()), IdcManualType4);
    for (int expected : {IdcManualBottom, IdcManualTop, IdcManualRadius, IdcManualWindDir, IdcManualFactor, IdcManualCloudOn,
                         IdcManualCloudCeiling, IdcManualCloudRadius, IdcManualCloudType, IdcManualSet, IdcManualType4, IdcManualBottom}) {
        p.Key(VK_TAB);
        EXPECT_EQ(GetDlgCtrlID(p.Focus()), expected) << "Tab";
    }
    for (UINT key : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_ADD, VK_SUBTRACT, VK_MULTIPLY, VK_CLEAR}) {
        p.Key(key);
        const GeoPoint now = p.Probe(probe);
        EXPECT_TRUE(now.lat == start.lat && now.lon == start.lon) << "key " << key << " reached the map: " << p.StatusText(0);
        EXPECT_EQ(GetParent(p.Focus()), manual) << "key " << key << " took the focus out of the dialog";
    }
    p.Type(manual, IdcManualTop, "2000xyz");
    p.Key(VK_RETURN);  // Set: the edit then shows the five characters kept
    EXPECT_EQ(p.Text(manual, IdcManualTop), "2000x");
    EXPECT_TRUE(IsWindow(manual)) << "Enter closed the dialog";
    const GeoPoint where = p.Probe(p.MapPoint(0.35, 0.65));
    p.LeftClick(p.MapPoint(0.35, 0.65));
    p.Command(CmdSave);
    ASSERT_NO_FATAL_FAILURE(ExitWith(p, {{ReallyExit, IDOK}}, WM_SYSCOMMAND, SC_CLOSE));
    const auto table = ThermalsOf(folder.Read("sample.prj"));
    ASSERT_EQ(table.size(), 41u);
    EXPECT_EQ(table.back(), (std::vector<int>{where.lat, where.lon, 4, 0, 2000, 500, 270, 0, 1, 0, 1500, 1000, 1}));
}

// A project named on the command line opens as Open would, its folder current so that its
// backdrop is found; one that cannot be read gets Open's box and leaves an empty project.
TEST_F(ScenarioTest, OpensTheProjectNamedOnItsCommandLine) {
    std::filesystem::create_directory(folder.File("my area"));
    std::filesystem::rename(folder.File("sample.bmp"), folder.File("my area\\sample.bmp"));  // found only there
    ASSERT_TRUE(folder.Copy(folder.File("sample.prj"), "my area\\sample project.prj"));
    for (const char* line : {"my area\\sample project.prj", "\"missing.prj\""}) {
        auto program = Start(line);
        Program& p = *program;
        const bool missing = line[0] == '"';
        if (missing) {
            AnswerBox(p, "Could not read file missing.prj!", IDOK);
            p.Command(CmdCreate);
            AnswerBox(p, "Perhaps you should start a project first...", IDOK);
        } else {
            EXPECT_GT(p.Probe(p.MapPoint(0.5, 0.5)).lat, 5200000) << "the backdrop and its area";
            EXPECT_EQ(CountThermals(p), 40);
        }
        EXPECT_EQ(p.Title(), Title(missing ? "(untitled)" : "sample project"));
        ASSERT_NO_FATAL_FAILURE(ExitWith(p, {{ReallyExit, IDOK}}));
    }
}

// The end of the Windows session: while a box is up the answer comes without a question, yes
// with nothing modified and no with changes; otherwise the save question, whose No lets the end
// come without another question, the project file as it was.
TEST_F(ScenarioTest, EndOfSessionAsksTheSaveQuestionOnlyWhenNoBoxIsUp) {
    auto program = Start("sample.prj");
    Program& p = *program;
    const char* saveFirst = "Shouldn't you save the current file first ?";
    for (DWORD_PTR modified : {0u, 1u}) {
        if (modified) p.Command(CmdClearAll), AnswerBox(p, "Do you want to clear all thermals ?", IDYES);
        p.PostToMain(WM_COMMAND, CmdExit), p.Settle();
        DWORD_PTR answer = 99;
        SendMessageTimeoutA(p.Main(), WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 10000, &answer);
        EXPECT_EQ(answer, 1 - modified);
        AnswerBox(p, modified ? saveFirst : ReallyExit, IDCANCEL);
        ExpectNoBox(p);
    }
    p.PostToMain(WM_QUERYENDSESSION), p.Settle();
    AnswerBox(p, saveFirst, IDNO);
    ASSERT_NO_FATAL_FAILURE(ExitWith(p, {}, WM_ENDSESSION, TRUE));
    EXPECT_EQ(folder.Read("sample.prj"), testdata::ReadBytes(driver::SourceFile("examples/sample.prj")));
}

// /create builds without the window: the sources Create writes, one SCASM run per band, what it
// did on its standard output, and the exit code of each way it can end, a run's -1 among them. The
// project (named up to its last dot) is not written.
TEST_F(ScenarioTest, CreateOnTheCommandLineWritesWhatCreateWritesAndEndsWithItsCode) {
    const std::string head = "sample.bmp\r\n52:30.000N\r\n52:00.000N\r\n004:40.000E\r\n005:20.000E\r\n", bands = head +
        "4800000,480000,1,0,1500,500,270,0,1,0,1500,1000,1\r\n4950000,490000,3,0,1500,500,0,0,0,0,1500,1000,1\r\n"
        "5100000,500000,2,0,1500,500,0,0,0,0,1500,1000,1\r\n5180000,510000,4,0,1500,500,0,0,1,0,1500,1000,2\r\n"
        "5250000,520000,1,0,1500,500,0,0,1,0,1500,1000,3\r\n";
    const std::vector<std::string> built = {"wrote x.y_a.sca (2 thermals)", "wrote x.y_b.sca (2 thermals)", "wrote x.y_c.sca (3 thermals)",
        "scasm x.y_a.sca x.y_a.bgl: exit code 0", "scasm x.y_b.sca x.y_b.bgl: exit code 0", "scasm x.y_c.sca x.y_c.bgl: exit code 0"};
    std::vector<std::string> failed = built;
    failed[3] = "scasm x.y_a.sca x.y_a.bgl: exit code 4";  // the stand-in cannot write its scenery
    std::vector<std::string> minusOne = built;
    for (int i = 3; i < 6; ++i) minusOne[i].replace(minusOne[i].size() - 1, 1, "-1");
    const struct { std::string project; const char* blocker; DWORD code; std::vector<std::string> output; const char* scasmExit = nullptr; } cases[] = {
        {bands, nullptr, 0, built},
        {head, nullptr, 1, {"Perhaps you should add some thermals first..."}},
        {bands, "x.y_a.sca", 2, {"Could not write file x.y_a.sca"}},
        {bands, "x.y_a.bgl", 3, failed},
        {"", nullptr, 1, {"Could not read file x.y.prj!"}},
        {bands, nullptr, 3, minusOne, "-1"},
        {"sample.bmp\r\n", nullptr, 1, {"Could not read file x.y.prj!"}},  // no project: too few lines
    };
    for (int i = 0; i < int(std::size(cases)); ++i) {
        const std::string sub = "case" + std::to_string(i) + "\\";
        std::filesystem::create_directory(folder.File(sub));
        if (!cases[i].project.empty()) { ASSERT_TRUE(folder.Write(sub + "x.y.prj", cases[i].project)); }
        if (cases[i].blocker) std::filesystem::create_directory(folder.File(sub + cases[i].blocker));
        if (cases[i].scasmExit) { ASSERT_TRUE(folder.Write(sub + "scasm-exit.txt", cases[i].scasmExit)); }
        Program p(folder.Path(), "/create " + sub + "x.y.prj", folder.File("out.txt"));
        DWORD code = 99;
        ASSERT_TRUE(p.WaitForExit(&code, 60000)) << "/create did not end";
        EXPECT_EQ(code, cases[i].code) << i;
        EXPECT_EQ(driver::SplitLines(folder.Read("out.txt")), cases[i].output) << i;
        EXPECT_EQ(folder.Read(sub + "x.y.prj"), cases[i].project.empty() ? "(missing)" : cases[i].project) << i;
        EXPECT_EQ(folder.Names("case" + std::to_string(i) + "/scasm-run-*").size(), i == 0 || i == 3 || i == 5 ? 3u : 0u) << "one run per band";
    }
    // Create in the window, on the same project, answering Yes to the split: the same sources.
    ASSERT_TRUE(folder.Write("x.y.prj", bands));
    auto program = Start("x.y.prj");
    program->Command(CmdCreate);
    AnswerBox(*program, "Create a BGL with 5 thermals...", IDOK);
    AnswerBox(*program, "This project might be too large for one BGL -\ndo you want to create separate files ?", IDYES);
    ASSERT_TRUE(program->WaitForRunsToEnd());
    for (const char* source : {"x.y_a.sca", "x.y_b.sca", "x.y_c.sca"}) EXPECT_EQ(folder.Read(std::string("case0\\") + source), folder.Read(source));
    ASSERT_NO_FATAL_FAILURE(ExitWith(*program, {{ReallyExit, IDOK}}));
}

}  // namespace
