// The Setup dialog through its real controls: the rows after New, the check with its errors and
// normalised rows, Load, the marker buttons, and OK with markers set on the map.

#include "gui/Harness.h"
#include "map/Geometry.h"
#include "map/MapWindow.h"
#include "resources/ResourceIds.h"

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
    void LoadBackdrop(int width, int height) {
        gui::WriteGreyBackdrop(folder.File("area.bmp"), width, height);
        gui::ExpectFile(folder.File("area.bmp"));
        gui::Click(Dialog(), IdcSetupLoad);
        ASSERT_EQ(std::make_pair(backdropWidth, backdropHeight), std::make_pair(width, height));
    }
    gui::ScratchFolder folder;
};

TEST_F(SetupDialogTest, NewShowsTheDefaultRowsAndCheckReportsAndNormalises) {
    EXPECT_EQ(Shown(), (Rows{{"89", "00", "000", "N"}, {"89", "00", "000", "S"}, {"179", "00", "000", "W"}, {"179", "00", "000", "E"}}));
    EXPECT_EQ(std::string(areaTopText) + areaBottomText + areaLeftText + areaRightText, "89:00.000N89:00.000S179:00.000W179:00.000E");
    EXPECT_EQ(setupMode, 1);
    EXPECT_EQ(GetFocus(), GetDlgItem(Dialog(), IdcSetupLoad));
    for (int id = IdcSetupMarkerTop; id <= IdcSetupMarkerRight; ++id) EXPECT_EQ(IsDlgButtonChecked(Dialog(), id), BST_UNCHECKED);
    // The rules themselves are the core's; here the dialog shows their outcome.
    const struct { Rows typed; const char* error; Rows shown; } cases[] = {
        {{{"52", "5", "7", "n"}, {"1", "0", "1234", "s"}, {"4", "40", "", "e"}, {"005", "20", "000", "E"}}, nullptr,
         {{"52", "05", "007", "N"}, {"01", "00", "1234", "S"}, {"004", "40", "000", "E"}, {"005", "20", "000", "E"}}},
        {{{"90", "0", "0", "N"}, {"51", "0", "0", "N"}, {"180", "0", "0", "N"}, {"6", "0", "0", "E"}}, "Error [6] - Left wrong direction...",
         {{"90", "00", "000", "N"}, {"51", "00", "000", "N"}, {"180", "00", "000", "N"}, {"006", "00", "000", "E"}}},
    };
    for (const auto& c : cases) {
        Type(c.typed);
        if (c.error) gui::ExpectBox(IDOK);
        gui::Click(Dialog(), IdcSetupCheck);
        EXPECT_EQ(gui::BoxTexts(), c.error ? std::vector<std::string>{c.error} : std::vector<std::string>{});
        if (c.error) {
            const boxwatch::BoxRecord& box = gui::Boxes()[0];
            EXPECT_EQ(box.owner, Dialog());
            EXPECT_EQ(box.Type(), static_cast<UINT>(MB_OK | MB_ICONHAND));
            EXPECT_NE(box.caption, "Ascendor");  // the system's default caption
        }
        EXPECT_EQ(Shown(), c.shown);
        gui::CheckWatcher();
    }
}

TEST_F(SetupDialogTest, LoadNamesTheBackdropCentresTheViewAndMarksTheProject) {
    gui::ExpectFileCancel();
    gui::Click(Dialog(), IdcSetupLoad);
    EXPECT_EQ(std::make_pair(projectModified, std::string(backdropName)), std::make_pair(0, std::string()));
    for (int again = 0; again < 2; ++again) {  // the same file again still centres and marks
        projectModified = scrollPercentX = scrollPercentY = 0;
        LoadBackdrop(120, 90);
        EXPECT_STREQ(backdropName, "area.bmp");
        char shown[64];
        GetDlgItemTextA(Dialog(), IdcSetupBackdrop, shown, sizeof shown);
        EXPECT_STREQ(shown, "area.bmp");
        EXPECT_EQ(std::vector<int>({scrollPercentX, scrollPercentY, projectModified, backdropLoaded}), std::vector<int>({50, 50, 1, 1}));
    }
}

TEST_F(SetupDialogTest, MarkersClickedOnTheMapStretchTheAreaAtOk) {
    LoadBackdrop(1000, 800);
    Type({{"52", "00", "000", "N"}, {"51", "00", "000", "N"}, {"004", "00", "000", "E"}, {"006", "00", "000", "E"}});
    zoomFactor = 0.5, scrollPercentX = scrollPercentY = 0;  // backdrop column c is window x = c / 2
    InvalidateMap(true);
    gui::Pump();
    const int x0 = mapOriginX, y0 = mapOriginY;
    // Different distances from their own edges: swapped markers would show.
    const struct { int button, x, y; } clicks[] = {
        {IdcSetupMarkerLeft, 50, 100}, {IdcSetupMarkerRight, 300, 100}, {IdcSetupMarkerTop, 200, 20}, {IdcSetupMarkerBottom, 200, 360}};
    for (const auto& c : clicks) {
        gui::Click(Dialog(), c.button);
        EXPECT_EQ(markerEdge, c.button - IdcSetupMarkerTop);
        for (int id = IdcSetupMarkerTop; id <= IdcSetupMarkerRight; ++id)
            EXPECT_EQ(IsDlgButtonChecked(Dialog(), id), id == c.button ? BST_CHECKED : BST_UNCHECKED);
        gui::LeftClick(x0 + c.x, y0 + c.y);
    }
    EXPECT_EQ(std::vector<int>({markers[MarkerLeft].x, markers[MarkerRight].x, markers[MarkerTop].y, markers[MarkerBottom].y}),
              std::vector<int>({100, 400, 40, 80}));
    projectModified = 0;
    gui::Click(Dialog(), IdcSetupOk);
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_EQ(std::make_pair(setupMode, projectModified), std::make_pair(0, 1));
    // Columns 100 to 600 span 4 to 6 E, 400 units a column; rows 40 to 720 span 52 to 51 N.
    EXPECT_EQ(std::vector<int>({areaLeft, areaRight, lonSpan, areaTop, areaBottom}),
              std::vector<int>({360000, 760000, 400000, 5205882, 5088235}));
    EXPECT_STREQ(areaLeftText, "003:36.000E");
    EXPECT_STREQ(areaRightText, "007:36.000E");
}

TEST_F(SetupDialogTest, OkKeepsTheDialogOpenWhenItCannotApply) {
    const char* crossing = "The markers meet or cross: set the left marker left of the right one and the top marker above the bottom one...";
    const struct { const char* topDegrees; MarkerPoint left, right, top, bottom; const char* text; } cases[] = {
        {"90", {}, {}, {}, {}, "Error [8] - Top value out of range..."},
        {"52", {60, 0}, {40, 0}, {}, {}, crossing},
        {"52", {}, {}, {0, 50}, {0, 40}, crossing}};
    LoadBackdrop(100, 80);
    Type({{"52", "00", "000", "N"}, {"51", "00", "000", "N"}, {"004", "00", "000", "E"}, {"006", "00", "000", "E"}});
    for (const auto& c : cases) {
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
}

}  // namespace
