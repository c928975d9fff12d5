// The Setup dialog through its real controls: the rows after New, the check with its errors and
// normalised rows, Load refused, Load with and without a world file, and OK refused. Markers set on
// the map are the driver's and the core's.

#include <filesystem>

#include "gui/Harness.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;  // per row: degrees, minutes, thousandths, letter

class SetupDialogTest : public gui::GuiTest {
protected:
    // New opens the dialog; its opening check must report nothing.
    void SetUp() override {
        gui::GuiTest::SetUp();
        gui::Command(CmdNew);
        ASSERT_NE(Dialog(), nullptr);
    }
    static HWND Dialog() { return gui::App().currentDialog; }
    static Rows Shown() {
        Rows rows(4);
        char text[64];
        for (int i = 0; i < 16; ++i) {
            GetDlgItemTextA(Dialog(), IdcSetupTopDeg + i, text, sizeof text);
            rows[i / 4].push_back(text);
        }
        return rows;
    }
    static void Type(const Rows& rows) {
        for (int i = 0; i < 16; ++i) SetDlgItemTextA(Dialog(), IdcSetupTopDeg + i, rows[i / 4][i % 4].c_str());
    }
    gui::ScratchFolder folder;
};

TEST_F(SetupDialogTest, NewShowsTheRowsCheckReportsAndNormalisesLoadRefusesOrNamesAndOkRefuses) {
    const Rows fresh = {{"89", "00", "000", "N"}, {"89", "00", "000", "S"}, {"179", "00", "000", "W"}, {"179", "00", "000", "E"}};
    EXPECT_EQ(Shown(), fresh);
    EXPECT_EQ(std::string(areaTopText) + areaBottomText + areaLeftText + areaRightText, "89:00.000N89:00.000S179:00.000W179:00.000E");
    EXPECT_EQ(setupMode, 1);
    EXPECT_EQ(GetFocus(), GetDlgItem(Dialog(), IdcSetupLoad));
    // The rules themselves are the core's; here the dialog reports and shows their outcome.
    Type({{"90", "0", "0", "N"}, {"51", "0", "0", "N"}, {"180", "0", "0", "N"}, {"6", "0", "0", "E"}});
    gui::ExpectBox(IDOK);
    gui::Click(Dialog(), IdcSetupCheck);
    ASSERT_EQ(gui::BoxTexts(), std::vector<std::string>{"Error [6] - Left wrong direction..."});
    const boxwatch::BoxRecord& box = gui::Boxes()[0];  // owned by the dialog, under the system's default caption
    EXPECT_TRUE(box.owner == Dialog() && box.Type() == (MB_OK | MB_ICONHAND) && box.caption != "Ascendor");
    EXPECT_EQ(Shown(), (Rows{{"90", "00", "000", "N"}, {"51", "00", "000", "N"}, {"180", "00", "000", "N"}, {"006", "00", "000", "E"}}));
    gui::CheckWatcher();
    // A refused Load says why and keeps the name, the field, the view, the flags and the folder
    // Save writes into; Load centres the view and marks the project (a cancelled Load is the
    // command rows'); then OK refused.
    projectModified = scrollPositionX = scrollPositionY = 0;
    std::filesystem::create_directory(folder.File("other"));
    folder.Write("other/rle.bmp", testdata::With(testdata::Bmp(4, 2, 8), 30, 1));
    gui::WriteGreyBackdrop(folder.File("area.bmp"), 100, 80);
    gui::ExpectFile(folder.File("other/rle.bmp")), gui::ExpectBox(IDOK), gui::ExpectFile(folder.File("area.bmp"));
    char shown[64], current[MAX_PATH] = "", before[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, before);
    latSpan = 8000, lonSpan = 5000;  // the area in effect, spread over the new picture before OK
    for (const char* after : {"||0000", "area.bmp|area.bmp|1111"}) {
        gui::Click(Dialog(), IdcSetupLoad);
        if (!backdropLoaded) { EXPECT_STREQ(GetCurrentDirectoryA(MAX_PATH, current) ? current : "", before); }
        GetDlgItemTextA(Dialog(), IdcSetupBackdrop, shown, sizeof shown);
        EXPECT_EQ(std::string(backdropName) + "|" + shown + "|" + std::to_string(scrollPositionX == ScrollPositionCentre) + std::to_string(scrollPositionY == ScrollPositionCentre) +
                      std::to_string(projectModified) + std::to_string(backdropLoaded), after);
    }
    EXPECT_EQ(gui::BoxTexts(), std::vector<std::string>{"Could not load the backdrop rle.bmp: it is a compressed bitmap, which this program does not read."});
    ASSERT_EQ(std::make_pair(backdropWidth, backdropHeight), std::make_pair(100, 80));
    EXPECT_EQ(std::make_pair(latPerPixel, lonPerPixel), std::make_pair(100.0, 50.0));
    gui::CheckWatcher();
    const char* crossing = "The markers meet or cross: set the left marker left of the right one and the top marker above the bottom one...";
    const struct { const char* topDegrees; MarkerPoint left, right, top, bottom; const char* text; } refusals[] = {
        {"90", {}, {}, {}, {}, "Error [8] - Top value out of range..."},
        {"52", {60, 0}, {40, 0}, {}, {}, crossing},
        {"52", {}, {}, {0, 50}, {0, 40}, crossing}};
    Type({{"52", "00", "000", "N"}, {"51", "00", "000", "N"}, {"004", "00", "000", "E"}, {"006", "00", "000", "E"}});
    for (const auto& c : refusals) {
        SetDlgItemTextA(Dialog(), IdcSetupTopDeg, c.topDegrees);
        markers[MarkerLeft] = c.left, markers[MarkerRight] = c.right, markers[MarkerTop] = c.top, markers[MarkerBottom] = c.bottom;
        const int32_t left = areaLeft;
        gui::ExpectBox(IDOK);
        gui::Click(Dialog(), IdcSetupOk);
        EXPECT_EQ(gui::BoxTexts(), std::vector<std::string>{c.text});
        EXPECT_NE(Dialog(), nullptr);
        EXPECT_EQ(std::make_pair(setupMode, areaLeft), std::make_pair(1, left));
        EXPECT_EQ(markers[MarkerLeft].x, c.left.x);  // kept for the next OK
        gui::CheckWatcher();
    }
    // Rows a Check kept are checked again as Edit opens the dialog; New over the open dialog
    // shows the new project in it.
    SetDlgItemTextA(Dialog(), IdcSetupTopDeg, "90");
    gui::ExpectBox(IDOK), gui::ExpectBox(IDOK), gui::ExpectBox(IDNO);
    gui::Click(Dialog(), IdcSetupCheck);
    SendMessageA(Dialog(), WM_CLOSE, 0, 0);
    gui::Command(CmdEdit);
    gui::Command(CmdNew);
    EXPECT_EQ(gui::BoxTexts(), (std::vector<std::string>{refusals[0].text, refusals[0].text, "Shouldn't you save the current file first ?"}));
    GetDlgItemTextA(Dialog(), IdcSetupBackdrop, shown, sizeof shown);
    EXPECT_EQ(shown, std::string());
    EXPECT_EQ(Shown(), fresh);
}

// A world file beside the picture: one that cannot be used, and No, leave rows and markers; Yes
// fills the rows with the picture's edges and drops the markers, so that OK and Save store them.
TEST_F(SetupDialogTest, LoadOffersTheWorldFilesEdgesForTheRows) {
    for (const char* name : {"sample.bmp", "sample.bpw", "sample.prj"})
        ASSERT_TRUE(folder.Copy(boxwatch::WinePath(std::string(ASCENDOR_SOURCE_DIR) + "/examples/" + name), name));
    const std::string sample = folder.Read("sample.bpw"), question = "The world file sample.bpw places this backdrop between "
        "52:30.000N and 52:00.000N, 004:30.000E and 005:30.000E. Fill in the area from it?";
    const Rows typed = Shown();
    const struct { std::string world; int answer; std::string text; UINT type; Rows rows; } cases[] = {
        {"1\n1E-9\n0\n-1\n0\n0\n", IDOK, "The world file sample.bpw cannot be used: the picture is rotated in it.",
         MB_OK | MB_ICONEXCLAMATION, typed},
        {sample, IDNO, question, MB_YESNO | MB_ICONQUESTION, typed},
        {sample, IDYES, question, MB_YESNO | MB_ICONQUESTION, {{"52", "30", "000", "N"}, {"52", "00", "000", "N"}, {"004", "30", "000", "E"}, {"005", "30", "000", "E"}}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(folder.Write("sample.bpw", c.world));
        markers[MarkerLeft].x = 7;
        gui::ExpectFile(folder.File("sample.bmp"));
        gui::ExpectBox(c.answer);
        gui::Click(Dialog(), IdcSetupLoad);
        ASSERT_EQ(gui::BoxTexts(), std::vector<std::string>{c.text});
        EXPECT_TRUE(gui::Boxes()[0].caption == "Ascendor" && gui::Boxes()[0].Type() == c.type) << c.text;
        EXPECT_EQ(Shown(), c.rows);
        EXPECT_EQ(markers[MarkerLeft].x, c.answer == IDYES ? 0 : 7);
        gui::CheckWatcher();
    }
    gui::Click(Dialog(), IdcSetupOk);
    gui::ExpectFile(folder.File("area.prj"));
    gui::Command(CmdSaveAs);
    const auto saved = testdata::SplitLines(folder.Read("area.prj")), original = testdata::SplitLines(folder.Read("sample.prj"));
    ASSERT_GE(saved.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(saved.begin(), saved.begin() + 5), std::vector<std::string>(original.begin(), original.begin() + 5));
}

}  // namespace
