// The shipped program used from outside as a person would, checked by what it shows and by the
// files it leaves: a whole session from an empty project to scenery, the keyboard in a tool
// dialog, closing from the title bar, and a project whose backdrop is missing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "driver/Driver.h"

namespace {

using boxwatch::BoxRecord;
using driver::GeoPoint;
using driver::Program;

// Menu commands of the main window.
enum : int {
    CmdNew = 20, CmdOpen = 21, CmdEdit = 22, CmdSave = 23, CmdSaveAs = 24, CmdExit = 25,
    CmdManual = 30, CmdAutomatic = 31, CmdClearPartly = 32, CmdCreate = 40,
};

// Controls of the tool dialogs.
enum : int {
    SetupBackdrop = 101, SetupFirstEdit = 103, SetupLoad = 119, SetupCheck = 120, SetupOk = 121,
    SetupMarkerLeft = 124, SetupMarkerRight = 125,
    ManualType1 = 130, ManualType2 = 131, ManualType3 = 132, ManualType4 = 133,
    ManualBottom = 134, ManualTop = 135, ManualRadius = 136, ManualWindDir = 137, ManualFactor = 138,
    ManualCloudCeiling = 139, ManualCloudRadius = 140, ManualCloudType = 141, ManualCloudOn = 142,
    ManualSet = 143,
    AutoTest = 179, AutoClear = 180, AutoAdd = 181, AutoOk = 182,
    ClearPartClear = 190, ClearPartOk = 191,
};

const char SetupCaption[] = "Setup...";
const char ManualCaption[] = "Thermals (manual)";
const char AutomaticCaption[] = "Thermals (automatic)";
const char ClearPartCaption[] = "Clear (partly)";

const char StartProjectFirst[] = "Perhaps you should start a project first...";
const char SaveFirst[] = "Shouldn't you save the current file first ?";
const char ReallyExit[] = "Do you really want to exit this program ?";
const char ClearThese[] = "Do you want to clear these thermals ?";

constexpr UINT Notice = MB_OK | MB_ICONEXCLAMATION;
constexpr UINT SaveQuestion = MB_YESNO | MB_ICONEXCLAMATION;
constexpr UINT ExitQuestion = MB_OKCANCEL | MB_ICONEXCLAMATION;
constexpr UINT CreateQuestion = MB_OKCANCEL | MB_ICONQUESTION;

constexpr int ScasmMs = 20000;  // the stand-in's runs to leave their records

using Fields = std::vector<int>;  // the thirteen numbers of one thermal line

std::string Format(const char* format, double a, double b, double c = 0) {
    char text[128];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

std::string Title(const std::string& name) { return "Ascendor - [" + name + "]"; }

// Caption, text, buttons and icon of a shown box.
void ExpectBox(const BoxRecord& box, const std::string& text, UINT type) {
    EXPECT_EQ(box.caption, "Ascendor") << boxwatch::Describe(box);
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.Type(), type) << boxwatch::Describe(box);
}

// Answers the next box, which must be this one.
void AnswerBox(Program& program, const std::string& text, UINT type, int answer) {
    BoxRecord box;
    ASSERT_TRUE(program.Answer(answer, &box)) << "no box \"" << text << "\" to answer";
    ExpectBox(box, text, type);
}

void ExpectNoStrayBox(Program& program) {
    const std::string stray = program.StrayBox();
    EXPECT_TRUE(stray.empty()) << "unexpected message box " << stray;
}

// Create's confirmation names the table's size; Cancel there changes nothing.
int CountThermals(Program& program) {
    program.Command(CmdCreate);
    BoxRecord box;
    if (!program.Answer(IDCANCEL, &box)) return -1;
    EXPECT_EQ(box.Type(), CreateQuestion) << boxwatch::Describe(box);
    int count = -1;
    char tail[32] = "";
    if (std::sscanf(box.text.c_str(), "Create a BGL with %d %31s", &count, tail) != 2 ||
        std::string(tail) != "thermals...")
        ADD_FAILURE() << "unexpected confirmation " << boxwatch::Describe(box);
    return count;
}

void OpenProject(Program& program, const std::string& path) {
    program.Command(CmdOpen);
    ASSERT_TRUE(program.AnswerFile(path)) << "the Open dialog did not take " << path;
    program.Settle();
}

// Exit with the questions answered in order; the program must then end with code 0.
void ExitWith(Program& program, const std::vector<std::pair<std::string, int>>& answers) {
    program.Command(CmdExit);
    for (const auto& answer : answers) {
        const UINT type = answer.first == ReallyExit ? ExitQuestion : SaveQuestion;
        AnswerBox(program, answer.first, type, answer.second);
    }
    DWORD code = 1;
    ASSERT_TRUE(program.WaitForExit(&code)) << "the program did not end";
    EXPECT_EQ(code, 0u);
}

Fields ParseThermal(const std::string& line) {
    Fields fields;
    const char* p = line.c_str();
    for (;;) {
        char* end = nullptr;
        fields.push_back(static_cast<int>(std::strtol(p, &end, 10)));
        if (end == p || *end != ',') break;
        p = end + 1;
    }
    return fields;
}

std::string ThermalLine(const Fields& fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) line += (i ? "," : "") + std::to_string(fields[i]);
    return line;
}

struct ProjectFile {
    bool crlf = false;
    std::vector<std::string> header;  // backdrop and the four bound texts
    std::vector<Fields> thermals;
};

ProjectFile ReadProject(const driver::Scratch& folder, const std::string& name) {
    ProjectFile project;
    const std::vector<std::string> lines = driver::SplitLines(folder.Read(name), &project.crlf);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i < 5) {
            project.header.push_back(lines[i]);
        } else {
            project.thermals.push_back(ParseThermal(lines[i]));
            EXPECT_EQ(ThermalLine(project.thermals.back()), lines[i]) << "thermal line " << i + 1;
            EXPECT_EQ(project.thermals.back().size(), 13u) << lines[i];
        }
    }
    EXPECT_TRUE(project.crlf) << name << " has lines that do not end in CR LF";
    EXPECT_EQ(project.header.size(), 5u) << name;
    return project;
}

// A longitude text DDD:MM.mmmE in degrees; NaN when the text has another shape.
double LongitudeDegrees(const std::string& text) {
    int degrees = 0, minutes = 0, thousandths = 0;
    char letter = 0;
    if (text.size() != 11 ||
        std::sscanf(text.c_str(), "%3d:%2d.%3d%c", &degrees, &minutes, &thousandths, &letter) != 4 ||
        letter != 'E')
        return std::nan("");
    return degrees + (minutes + thousandths / 1000.0) / 60.0;
}

// The scenery source the table must give when it fits one band.
std::vector<std::string> ExpectedSource(const std::vector<Fields>& thermals) {
    int north = -9000000, south = 9000000, east = -18000000, west = 18000000;
    for (const Fields& t : thermals) {
        north = std::max(north, t[0]);
        south = std::min(south, t[0]);
        east = std::max(east, t[1]);
        west = std::min(west, t[1]);
    }
    auto degrees = [](double value) { return Format("%.5f", value, 0); };
    std::vector<std::string> lines;
    lines.push_back("Header( 1 " + degrees(north / 100000.0 + 0.2) + " " + degrees(south / 100000.0 - 0.2) +
                    " " + degrees(east / 100000.0 + 0.2) + " " + degrees(west / 100000.0 - 0.2) + " )");
    lines.push_back("LatRange( " + degrees(south / 100000.0 - 0.2) + " " + degrees(north / 100000.0 + 0.2) + " )");
    lines.push_back("");
    for (const Fields& t : thermals) {
        if (!t[8]) continue;
        const std::string texture = t[12] <= 10 ? "cld" + std::to_string(t[12]) + ".bmp"
                                                : "cldcn" + std::to_string(t[12] - 10) + ".bmp";
        lines.push_back("Macro( cloud_01.scm " + degrees(t[0] / 100000.0) + " " + degrees(t[1] / 100000.0) +
                        " " + std::to_string(t[9]) + " " + std::to_string(t[10]) + " " +
                        std::to_string(t[11]) + " " + texture + " )");
    }
    lines.push_back("");
    for (const Fields& t : thermals) {
        std::string line = "Macro( lift_0" + std::to_string(t[2]) + ".scm " + degrees(t[0] / 100000.0) + " " +
                           degrees(t[1] / 100000.0) + " " + std::to_string(t[3]) + " " +
                           std::to_string(t[4]) + " " + std::to_string(t[5]);
        if (t[2] != 4) line += " " + std::to_string(t[6]) + " " + std::to_string(t[7]);
        lines.push_back(line + " )");
    }
    return lines;
}

// Status part 0 exactly as the program formats the pointer's position.
std::string PositionText(const GeoPoint& point) {
    return Format(" Lat: %9.5f Lon: %10.5f", point.lat / 100000.0, point.lon / 100000.0);
}

bool Inside(const GeoPoint& p, const GeoPoint& a, const GeoPoint& b) {
    return std::min(a.lat, b.lat) < p.lat && p.lat < std::max(a.lat, b.lat) &&
           std::min(a.lon, b.lon) < p.lon && p.lon < std::max(a.lon, b.lon);
}

class ScenarioTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder.Path().empty()) << "no scratch folder";
        ASSERT_TRUE(folder.Copy(driver::SourceFile("examples/sample.bmp"), "sample.bmp"));
        ASSERT_TRUE(folder.Copy(driver::SourceFile("examples/sample.prj"), "sample.prj"));
    }
    void TearDown() override {
        if (HasFailure()) {
            folder.Keep();
            std::printf("files kept in %s\n", folder.Path().c_str());
        }
    }

    // Starts the program in the scratch folder and checks its first title.
    void Start(std::unique_ptr<Program>& program) {
        program.reset(new Program(folder.Path()));
        ASSERT_TRUE(program->Started()) << "no main window of class \"Ascendor\"";
        ASSERT_NE(program->Map(), nullptr) << "no map window of class \"MapClass\"";
        ASSERT_NE(program->Status(), nullptr) << "no status bar";
        EXPECT_EQ(program->Title(), Title("(untitled)"));
    }

    driver::Scratch folder;
};

TEST_F(ScenarioTest, WholeSessionFromNewProjectToScenery) {
    std::unique_ptr<Program> program;
    ASSERT_NO_FATAL_FAILURE(Start(program));
    Program& p = *program;

    // ---- New, and the area in the Setup dialog ----
    p.Command(CmdNew);
    HWND setup = p.WaitForDialog(SetupCaption);
    ASSERT_NE(setup, nullptr) << "New did not open the Setup dialog";
    ExpectNoStrayBox(p);
    const char* const opening[16] = {"89", "00", "000", "N", "89", "00", "000", "S",
                                     "179", "00", "000", "W", "179", "00", "000", "E"};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(p.Text(setup, SetupFirstEdit + i), opening[i]) << "edit " << SetupFirstEdit + i;
    p.Click(setup, SetupLoad);
    ASSERT_TRUE(p.AnswerFile(folder.File("sample.bmp"))) << "Load gave no Open dialog";
    EXPECT_EQ(p.Text(setup, SetupBackdrop), "sample.bmp");

    // Typed as a user might; Check shows them normalised.
    struct Edit {
        const char* typed;
        const char* shown;
    };
    const Edit bounds[16] = {
        {"52", "52"}, {"30", "30"}, {"0", "000"}, {"n", "N"},     // top
        {"52", "52"}, {"0", "00"}, {"", "000"}, {"N", "N"},       // bottom
        {"4", "004"}, {"40", "40"}, {"0", "000"}, {"e", "E"},     // left
        {"5", "005"}, {"20", "20"}, {"000", "000"}, {"E", "E"},   // right
    };
    for (int i = 0; i < 16; ++i) p.Type(setup, SetupFirstEdit + i, bounds[i].typed);

    // The left and right bounds lie on markers set on the map, well inside the backdrop.
    const POINT leftMarker = p.MapPoint(0.2, 0.5);
    const POINT rightMarker = p.MapPoint(0.8, 0.5);
    p.Click(setup, SetupMarkerLeft);
    EXPECT_TRUE(p.Checked(setup, SetupMarkerLeft));
    p.LeftClick(leftMarker);
    p.Click(setup, SetupMarkerRight);
    EXPECT_TRUE(p.Checked(setup, SetupMarkerRight));
    EXPECT_FALSE(p.Checked(setup, SetupMarkerLeft));
    p.LeftClick(rightMarker);

    p.Click(setup, SetupCheck);
    ExpectNoStrayBox(p);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(p.Text(setup, SetupFirstEdit + i), bounds[i].shown) << "edit " << SetupFirstEdit + i;
    p.Click(setup, SetupOk);
    EXPECT_TRUE(p.WaitUntilGone(setup)) << "OK did not close the Setup dialog";
    ExpectNoStrayBox(p);

    // The bounds now lie under the markers.
    const GeoPoint atLeft = p.Probe(leftMarker);
    const GeoPoint atRight = p.Probe(rightMarker);
    ASSERT_TRUE(atLeft.valid && atRight.valid) << "status: \"" << p.StatusText(0) << "\"";
    EXPECT_EQ(p.StatusText(0), PositionText(atRight));
    EXPECT_NEAR(atLeft.lon, 466667, 500) << "left bound not at its marker";
    EXPECT_NEAR(atRight.lon, 533333, 500) << "right bound not at its marker";
    EXPECT_EQ(p.Title(), Title("(untitled)"));

    // ---- Manual: four thermals of three types, one taken away again ----
    p.Command(CmdManual);
    HWND manual = p.WaitForDialog(ManualCaption);
    ASSERT_NE(manual, nullptr) << "Manual opened no dialog";
    std::vector<Fields> manualThermals;
    auto place = [&](double fx, double fy, const Fields& rest) {
        const POINT at = p.MapPoint(fx, fy);
        const GeoPoint where = p.Probe(at);
        EXPECT_TRUE(where.valid);
        p.LeftClick(at);
        Fields fields{where.lat, where.lon};
        fields.insert(fields.end(), rest.begin(), rest.end());
        manualThermals.push_back(fields);
        return at;
    };
    place(0.30, 0.30, {4, 0, 1500, 500, 270, 0, 1, 0, 1500, 1000, 1});  // the first-run settings
    p.Click(manual, ManualType1);
    EXPECT_TRUE(p.Checked(manual, ManualType1));
    const POINT second = place(0.40, 0.30, {1, 0, 1500, 500, 270, 0, 1, 0, 1500, 1000, 1});
    p.Click(manual, ManualType2);
    const std::pair<int, const char*> settings[] = {
        {ManualTop, "2500"}, {ManualRadius, "800"}, {ManualWindDir, "90"}, {ManualFactor, "3"},
        {ManualCloudCeiling, "2200"}, {ManualCloudRadius, "600"}, {ManualCloudType, "12"},
    };
    for (const auto& setting : settings) p.Type(manual, setting.first, setting.second);
    p.Click(manual, ManualCloudOn);
    EXPECT_FALSE(p.Checked(manual, ManualCloudOn));
    p.Click(manual, ManualSet);
    const POINT third = place(0.30, 0.45, {2, 0, 2500, 800, 90, 3, 0, 0, 2200, 1200, 12});
    p.Click(manual, ManualType3);
    place(0.45, 0.45, {3, 0, 2500, 800, 90, 3, 0, 0, 2200, 1200, 12});
    EXPECT_EQ(CountThermals(p), 4);
    p.RightClick(second);
    manualThermals.erase(manualThermals.begin() + 1);
    EXPECT_EQ(CountThermals(p), 3) << "the right click removed no thermal";
    p.CloseWindow(manual);
    EXPECT_TRUE(p.WaitUntilGone(manual)) << "the close button did not close the Manual dialog";

    // ---- Automatic: a batch over a dragged rectangle, discarded, made again and kept ----
    p.Command(CmdAutomatic);
    HWND automatic = p.WaitForDialog(AutomaticCaption);
    ASSERT_NE(automatic, nullptr) << "Automatic opened no dialog";
    const POINT autoFrom = p.MapPoint(0.55, 0.55), autoTo = p.MapPoint(0.85, 0.85);
    const GeoPoint autoA = p.Probe(autoFrom), autoB = p.Probe(autoTo);
    p.Drag(autoFrom, autoTo);
    double hor = 0, ver = 0, area = 0;
    const std::string size = p.StatusText(1);
    ASSERT_EQ(std::sscanf(size.c_str(), " hor:%lf km - ver.:%lf km - area:%lf sq.km", &hor, &ver, &area), 3)
        << "status part 1: \"" << size << "\"";
    EXPECT_EQ(size, Format(" hor:%7.1f km - ver.:%7.1f km - area:%9.1f sq.km", hor, ver, area));
    EXPECT_GT(hor, 5.0);
    EXPECT_GT(ver, 5.0);
    p.Click(automatic, AutoTest);
    const int batch = CountThermals(p) - 3;
    EXPECT_GT(batch, 0) << "Test made no thermals";
    p.Click(automatic, AutoClear);
    EXPECT_EQ(CountThermals(p), 3) << "Clear did not take the batch back";
    p.Click(automatic, AutoTest);
    EXPECT_EQ(CountThermals(p), 3 + batch) << "a second Test over the same rectangle";
    p.Click(automatic, AutoAdd);
    p.Click(automatic, AutoOk);
    EXPECT_TRUE(p.WaitUntilGone(automatic)) << "OK did not close the Automatic dialog";
    EXPECT_EQ(CountThermals(p), 3 + batch);

    // ---- Clear partly: a rectangle round the third manual thermal ----
    p.Command(CmdClearPartly);
    HWND clearPart = p.WaitForDialog(ClearPartCaption);
    ASSERT_NE(clearPart, nullptr) << "Clear partly opened no dialog";
    const POINT clearFrom{third.x - 40, third.y - 40}, clearTo{third.x + 40, third.y + 40};
    const GeoPoint clearA = p.Probe(clearFrom), clearB = p.Probe(clearTo);
    p.Drag(clearFrom, clearTo);
    p.Click(clearPart, ClearPartClear);
    AnswerBox(p, ClearThese, MB_YESNO | MB_ICONEXCLAMATION, IDYES);
    p.Click(clearPart, ClearPartOk);
    EXPECT_TRUE(p.WaitUntilGone(clearPart)) << "OK did not close the Clear-partly dialog";
    std::vector<Fields> kept;
    for (const Fields& t : manualThermals)
        if (!Inside(GeoPoint{true, t[0], t[1]}, clearA, clearB)) kept.push_back(t);
    ASSERT_EQ(kept.size(), 2u) << "the clearing rectangle should hold exactly one manual thermal";
    EXPECT_EQ(CountThermals(p), 2 + batch);

    // ---- Save As, Exit ----
    p.Command(CmdSaveAs);
    ASSERT_TRUE(p.AnswerFile(folder.File("session.prj"))) << "Save As gave no Save dialog";
    EXPECT_EQ(p.Title(), Title("session"));
    ExpectNoStrayBox(p);
    ASSERT_NO_FATAL_FAILURE(ExitWith(p, {{ReallyExit, IDOK}}));

    const ProjectFile saved = ReadProject(folder, "session.prj");
    ASSERT_EQ(saved.header.size(), 5u);
    EXPECT_EQ(saved.header[0], "sample.bmp");
    EXPECT_EQ(saved.header[1], "52:30.000N");
    EXPECT_EQ(saved.header[2], "52:00.000N");
    const double left = LongitudeDegrees(saved.header[3]), right = LongitudeDegrees(saved.header[4]);
    EXPECT_LT(left, 4.0 + 40 / 60.0 - 0.1) << saved.header[3] << ": the area reaches beyond the left marker";
    EXPECT_GT(right, 5.0 + 20 / 60.0 + 0.1) << saved.header[4] << ": the area reaches beyond the right marker";
    ASSERT_EQ(saved.thermals.size(), kept.size() + batch);
    for (size_t i = 0; i < kept.size(); ++i) EXPECT_EQ(ThermalLine(saved.thermals[i]), ThermalLine(kept[i]));
    for (size_t i = kept.size(); i < saved.thermals.size(); ++i) {
        const Fields& t = saved.thermals[i];
        SCOPED_TRACE("generated thermal " + ThermalLine(t));
        EXPECT_EQ(t[2], 4);
        EXPECT_EQ(t[3], 0);
        EXPECT_TRUE(t[4] >= 1500 && t[4] <= 3000);  // the first-run ceiling range
        EXPECT_TRUE(t[5] >= 1000 && t[5] <= 2000 && t[5] % 2 == 0);
        EXPECT_EQ(t[6], 0);
        EXPECT_EQ(t[7], 0);
        EXPECT_EQ(t[8], 1);  // no blue sky: every one has a cloud
        EXPECT_EQ(t[9], 0);
        EXPECT_EQ(t[10], t[4]);
        EXPECT_EQ(t[11], t[5]);
        EXPECT_TRUE(t[12] >= 1 && t[12] <= 3);
        // In the rectangle; the last row may reach a tenth of a 5-km cell below it.
        EXPECT_TRUE(t[0] > std::min(autoA.lat, autoB.lat) - 1000 && t[0] < std::max(autoA.lat, autoB.lat));
        EXPECT_TRUE(t[1] > std::min(autoA.lon, autoB.lon) && t[1] < std::max(autoA.lon, autoB.lon) + 500);
    }

    // ---- Again: Open the saved project and Create ----
    program.reset();
    ASSERT_NO_FATAL_FAILURE(Start(program));
    Program& q = *program;
    ASSERT_NO_FATAL_FAILURE(OpenProject(q, folder.File("session.prj")));
    EXPECT_EQ(q.Title(), Title("session"));
    ExpectNoStrayBox(q);
    q.Command(CmdCreate);
    const int total = static_cast<int>(saved.thermals.size());
    AnswerBox(q, "Create a BGL with " + std::to_string(total) + " thermals...", CreateQuestion, IDOK);
    ExpectNoStrayBox(q);  // one degree of latitude needs no split
    ASSERT_TRUE(folder.WaitForNames("scasm-run-*.txt", 1, ScasmMs)) << "the stand-in scasm left no record";
    Sleep(500);  // a second run, if any, would show now
    const std::vector<std::string> runs = folder.Names("scasm-run-*.txt");
    ASSERT_EQ(runs.size(), 1u);
    const std::vector<std::string> record = driver::SplitLines(folder.Read(runs[0]));
    ASSERT_EQ(record.size(), 3u) << folder.Read(runs[0]);
    EXPECT_EQ(record[0], "scasm session_a.sca session_a.bgl");
    EXPECT_EQ(_stricmp(record[1].c_str(), folder.Path().c_str()), 0) << record[1];
    EXPECT_EQ(record[2], "exit 0");
    EXPECT_NE(folder.Read("session_a.bgl").find("Source: session_a.sca"), std::string::npos);
    EXPECT_EQ(folder.Names("*.sca"), std::vector<std::string>{"session_a.sca"});

    bool crlf = false;
    const std::vector<std::string> source = driver::SplitLines(folder.Read("session_a.sca"), &crlf);
    EXPECT_TRUE(crlf) << "session_a.sca has lines that do not end in CR LF";
    EXPECT_EQ(source, ExpectedSource(saved.thermals));

    // Create saved the project again under its name, with the same table.
    const ProjectFile resaved = ReadProject(folder, "session.prj");
    ASSERT_EQ(resaved.header.size(), 5u);
    EXPECT_EQ(resaved.header[0], "sample.bmp");
    ASSERT_EQ(resaved.thermals.size(), saved.thermals.size());
    for (size_t i = 0; i < saved.thermals.size(); ++i)
        EXPECT_EQ(ThermalLine(resaved.thermals[i]), ThermalLine(saved.thermals[i]));
    for (int i = 1; i < 5; ++i) {
        EXPECT_EQ(resaved.header[i].size(), saved.header[i].size()) << resaved.header[i];
        EXPECT_EQ(resaved.header[i].substr(0, 6), saved.header[i].substr(0, 6)) << resaved.header[i];
    }

    // Create counts as a save: Exit asks only whether to exit.
    ASSERT_NO_FATAL_FAILURE(ExitWith(q, {{ReallyExit, IDOK}}));
}

TEST_F(ScenarioTest, KeysInTheManualDialogStayInIt) {
    std::unique_ptr<Program> program;
    ASSERT_NO_FATAL_FAILURE(Start(program));
    Program& p = *program;
    ASSERT_NO_FATAL_FAILURE(OpenProject(p, folder.File("sample.prj")));
    EXPECT_EQ(p.Title(), Title("sample"));
    ExpectNoStrayBox(p);

    // The view as a probe: the position under a fixed point follows every zoom and scroll.
    const POINT probe = p.MapPoint(0.5, 0.5);
    const GeoPoint start = p.Probe(probe);
    ASSERT_TRUE(start.valid) << "status: \"" << p.StatusText(0) << "\"";
    EXPECT_EQ(p.StatusText(0), PositionText(start));

    // With the main window focused the same keys do reach the view.
    EXPECT_EQ(p.Focus(), p.Main());
    p.Key(VK_ADD);
    const GeoPoint zoomed = p.Probe(probe);
    EXPECT_TRUE(zoomed.lat != start.lat || zoomed.lon != start.lon) << "keypad plus did not zoom";
    p.Key(VK_RIGHT);
    const GeoPoint scrolled = p.Probe(probe);
    EXPECT_NE(scrolled.lon, zoomed.lon) << "the right arrow did not scroll";
    p.Key(VK_CLEAR);
    const GeoPoint fitted = p.Probe(probe);
    EXPECT_EQ(PositionText(fitted), PositionText(start)) << "keypad 5 did not fit and centre";

    p.Command(CmdManual);
    HWND manual = p.WaitForDialog(ManualCaption);
    ASSERT_NE(manual, nullptr);
    EXPECT_EQ(GetDlgCtrlID(p.Focus()), ManualType4) << "the Manual dialog opens with the focus on type 4";

    // Tab walks the controls in their order, round to the first again and on to the top edit.
    for (int expected : {ManualBottom, ManualTop, ManualRadius, ManualWindDir, ManualFactor, ManualCloudOn,
                         ManualCloudCeiling, ManualCloudRadius, ManualCloudType, ManualSet, ManualType1,
                         ManualBottom, ManualTop}) {
        p.Key(VK_TAB);
        HWND focus = p.Focus();
        EXPECT_EQ(GetParent(focus), manual);
        EXPECT_EQ(GetDlgCtrlID(focus), expected) << "Tab";
    }

    // View keys typed into the dialog stay there.
    for (UINT key : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_ADD, VK_SUBTRACT, VK_MULTIPLY, VK_CLEAR}) {
        p.Key(key);
        EXPECT_EQ(PositionText(p.Probe(probe)), PositionText(start)) << "key " << key << " reached the map";
        EXPECT_EQ(GetParent(p.Focus()), manual) << "key " << key << " took the focus out of the dialog";
    }

    // Enter presses Set: the edit then shows the five characters kept.
    p.Type(manual, ManualTop, "2000xyz");
    p.Key(VK_RETURN);
    EXPECT_EQ(p.Text(manual, ManualTop), "2000x");
    EXPECT_NE(p.FindDialog(ManualCaption), nullptr) << "Enter closed the dialog";

    const POINT placed = p.MapPoint(0.35, 0.65);
    const GeoPoint where = p.Probe(placed);
    p.LeftClick(placed);

    // Escape closes the dialog and ends manual placement.
    p.Key(VK_ESCAPE);
    EXPECT_TRUE(p.WaitUntilGone(manual)) << "Escape did not close the Manual dialog";
    p.LeftClick(p.MapPoint(0.65, 0.35));
    EXPECT_EQ(PositionText(p.Probe(probe)), PositionText(start));
    ExpectNoStrayBox(p);
    EXPECT_EQ(CountThermals(p), 41) << "one thermal from the dialog's settings, none after Escape";

    ASSERT_NO_FATAL_FAILURE(ExitWith(p, {{SaveFirst, IDYES}, {ReallyExit, IDOK}}));
    const ProjectFile saved = ReadProject(folder, "sample.prj");
    ASSERT_EQ(saved.thermals.size(), 41u);
    EXPECT_EQ(ThermalLine(saved.thermals.back()),
              ThermalLine({where.lat, where.lon, 4, 0, 2000, 500, 270, 0, 1, 0, 1500, 1000, 1}));
}

// Closing from the title bar asks what Exit asks and ends with code 0.
TEST_F(ScenarioTest, ClosingFromTheTitleBarAsksFirst) {
    struct Case {
        const char* name;
        UINT message;
        WPARAM wParam;
        int saveAnswer;
        bool cancelFirst;  // the first close is called off at the exit question
    };
    const Case cases[] = {
        {"close message, save declined", WM_CLOSE, 0, IDNO, false},
        {"close button, saved", WM_SYSCOMMAND, SC_CLOSE, IDYES, false},
        {"close button, called off, then declined", WM_SYSCOMMAND, SC_CLOSE, IDNO, true},
        {"close message, saved, called off", WM_CLOSE, 0, IDYES, true},
    };
    const std::string original = folder.Read("sample.prj");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(folder.Write("sample.prj", original));
        std::unique_ptr<Program> program;
        ASSERT_NO_FATAL_FAILURE(Start(program));
        Program& p = *program;
        ASSERT_NO_FATAL_FAILURE(OpenProject(p, folder.File("sample.prj")));
        p.Command(CmdManual);
        HWND manual = p.WaitForDialog(ManualCaption);
        ASSERT_NE(manual, nullptr);
        p.LeftClick(p.MapPoint(0.5, 0.5));  // the project now has changes

        p.PostToMain(c.message, c.wParam);
        AnswerBox(p, SaveFirst, SaveQuestion, c.saveAnswer);
        if (c.cancelFirst) {
            AnswerBox(p, ReallyExit, ExitQuestion, IDCANCEL);
            Sleep(300);
            EXPECT_TRUE(p.Running()) << "the program ended although the exit was called off";
            EXPECT_NE(p.FindDialog(ManualCaption), nullptr) << "the Manual dialog went";
            EXPECT_EQ(p.Title(), Title("sample"));
            p.PostToMain(c.message, c.wParam);
            if (c.saveAnswer == IDNO) AnswerBox(p, SaveFirst, SaveQuestion, IDNO);
        }
        AnswerBox(p, ReallyExit, ExitQuestion, IDOK);
        DWORD code = 1;
        ASSERT_TRUE(p.WaitForExit(&code)) << "the program did not end";
        EXPECT_EQ(code, 0u);
        const ProjectFile saved = ReadProject(folder, "sample.prj");
        EXPECT_EQ(saved.thermals.size(), c.saveAnswer == IDYES ? 41u : 40u);
    }
}

const char MissingBackdropProject[] =
    "missing.bmp\r\n"
    "47:30.000N\r\n"
    "47:00.000N\r\n"
    "010:00.000E\r\n"
    "011:00.000E\r\n"
    "4725000,1050000,1,0,1500,500,270,0,1,0,1500,1000,1\r\n"
    "4710000,1020000,4,0,2000,600,0,0,0,0,2000,1200,3\r\n"
    "4740000,1080000,3,100,2500,700,90,2,1,0,2600,1400,15\r\n";

TEST_F(ScenarioTest, MissingBackdropRefusesWhatNeedsOne) {
    ASSERT_TRUE(folder.Write("nobackdrop.prj", MissingBackdropProject));
    std::unique_ptr<Program> program;
    ASSERT_NO_FATAL_FAILURE(Start(program));
    Program& p = *program;
    ASSERT_NO_FATAL_FAILURE(OpenProject(p, folder.File("nobackdrop.prj")));
    EXPECT_EQ(p.Title(), Title("nobackdrop"));
    ExpectNoStrayBox(p);
    ASSERT_TRUE(p.Running());
    const std::vector<std::string> files = folder.Names("*");

    const std::pair<int, const char*> refused[] = {
        {CmdEdit, "Edit"}, {CmdManual, "Manual"}, {CmdAutomatic, "Automatic"},
        {CmdSave, "Save"}, {CmdSaveAs, "Save As"}, {CmdCreate, "Create"},
    };
    for (const auto& command : refused) {
        SCOPED_TRACE(command.second);
        p.Command(command.first);
        AnswerBox(p, StartProjectFirst, Notice, IDOK);
        EXPECT_TRUE(boxwatch::VisibleDialogs(p.ProcessId()).empty()) << "a dialog opened";
        EXPECT_EQ(p.Title(), Title("nobackdrop"));
    }

    // The thermals are there: Clear partly, which needs only them, opens its dialog.
    p.Command(CmdClearPartly);
    HWND clearPart = p.WaitForDialog(ClearPartCaption);
    EXPECT_NE(clearPart, nullptr) << "Clear partly found no thermals";
    if (clearPart) {
        p.Key(VK_ESCAPE);
        EXPECT_TRUE(p.WaitUntilGone(clearPart));
    }
    ASSERT_NO_FATAL_FAILURE(ExitWith(p, {{ReallyExit, IDOK}}));
    EXPECT_EQ(folder.Names("*"), files) << "a refused command wrote a file";
    EXPECT_EQ(folder.Read("nobackdrop.prj"), MissingBackdropProject);
}

TEST_F(ScenarioTest, MissingBackdropAfterALoadedOneKeepsEveryThermal) {
    ASSERT_TRUE(folder.Write("nobackdrop.prj", MissingBackdropProject));
    std::unique_ptr<Program> program;
    ASSERT_NO_FATAL_FAILURE(Start(program));
    Program& p = *program;
    ASSERT_NO_FATAL_FAILURE(OpenProject(p, folder.File("sample.prj")));
    ASSERT_NO_FATAL_FAILURE(OpenProject(p, folder.File("nobackdrop.prj")));
    EXPECT_EQ(p.Title(), Title("nobackdrop"));
    ExpectNoStrayBox(p);
    EXPECT_EQ(CountThermals(p), 3);

    p.Command(CmdSaveAs);
    ASSERT_TRUE(p.AnswerFile(folder.File("kept.prj"))) << "Save As gave no Save dialog";
    EXPECT_EQ(p.Title(), Title("kept"));
    ExpectNoStrayBox(p);
    ASSERT_NO_FATAL_FAILURE(ExitWith(p, {{ReallyExit, IDOK}}));

    const std::vector<std::string> written = driver::SplitLines(MissingBackdropProject);
    const ProjectFile kept = ReadProject(folder, "kept.prj");
    ASSERT_EQ(kept.header.size(), 5u);
    EXPECT_EQ(kept.header[0], "missing.bmp");
    for (int i = 1; i < 5; ++i) EXPECT_EQ(kept.header[i], written[i]) << "bound " << i;
    ASSERT_EQ(kept.thermals.size(), 3u);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(ThermalLine(kept.thermals[i]), written[5 + i]);
}

}  // namespace
