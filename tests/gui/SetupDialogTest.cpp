// The Setup dialog through its real controls: the rows after New, the check with its errors and
// normalised rows, Load, the marker buttons and OK with markers set on the map.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gui/Harness.h"
#include "gui/TestBackdrop.h"
#include "map/Geometry.h"
#include "map/MapWindow.h"
#include "model/Project.h"
#include "resources/ResourceIds.h"

namespace {

using boxwatch::BoxIcon;

struct Row {
    const char *deg, *min, *thou, *hemi;
};

class SetupDialogTest : public gui::GuiTest {
protected:
    // The tool dialog is modeless, but while the Open dialog or a box disables the main window it
    // looks modal to the watcher; its deadline must not close it in the middle of a test.
    void SetUp() override {
        gui::GuiTest::SetUp();
        savedDeadline = gui::Watcher().dialogDeadlineMs;
        gui::Watcher().dialogDeadlineMs = 600000;
    }
    void TearDown() override {
        gui::GuiTest::TearDown();
        gui::Watcher().dialogDeadlineMs = savedDeadline;
    }

    static HWND Dialog() { return gui::App().currentDialog; }

    // New opens the dialog; its opening check must report nothing. The pump lets the watcher
    // look at the new dialog before any box could make it look modal.
    void OpenAfterNew() {
        gui::Command(CmdNew);
        gui::Pump(500, 150);
        ASSERT_NE(Dialog(), nullptr);
        ASSERT_TRUE(gui::Boxes().empty()) << gui::BoxTexts()[0];
    }

    static std::string Text(int id) {
        char text[64] = "";
        GetDlgItemTextA(Dialog(), id, text, sizeof text);
        return text;
    }

    static void SetRow(int row, const Row& r) {
        const int first = IdcSetupTopDeg + 4 * row;
        SetDlgItemTextA(Dialog(), first, r.deg);
        SetDlgItemTextA(Dialog(), first + 1, r.min);
        SetDlgItemTextA(Dialog(), first + 2, r.thou);
        SetDlgItemTextA(Dialog(), first + 3, r.hemi);
    }

    static std::vector<std::string> RowTexts(int row) {
        const int first = IdcSetupTopDeg + 4 * row;
        return {Text(first), Text(first + 1), Text(first + 2), Text(first + 3)};
    }

    static void Click(int id) {
        SendMessageA(GetDlgItem(Dialog(), id), BM_CLICK, 0, 0);
        gui::Pump();
    }

    // Loads a backdrop of the given size through the Load button and lets the map paint it.
    void LoadBackdrop(int width, int height) {
        const std::string path = folder.File("area.bmp");
        gui::WriteGreyBackdrop(path, width, height);
        gui::ExpectFile(path);
        Click(IdcSetupLoad);
        gui::Pump();
        ASSERT_EQ(backdropWidth, width);
        ASSERT_EQ(backdropHeight, height);
    }

    gui::ScratchFolder folder;
    int savedDeadline = 0;
};

TEST_F(SetupDialogTest, NewShowsTheDefaultRowsAndComposesTheirTexts) {
    OpenAfterNew();
    EXPECT_EQ(RowTexts(0), (std::vector<std::string>{"89", "00", "000", "N"}));
    EXPECT_EQ(RowTexts(1), (std::vector<std::string>{"89", "00", "000", "S"}));
    EXPECT_EQ(RowTexts(2), (std::vector<std::string>{"179", "00", "000", "W"}));
    EXPECT_EQ(RowTexts(3), (std::vector<std::string>{"179", "00", "000", "E"}));
    EXPECT_STREQ(areaTopText, "89:00.000N");
    EXPECT_STREQ(areaBottomText, "89:00.000S");
    EXPECT_STREQ(areaLeftText, "179:00.000W");
    EXPECT_STREQ(areaRightText, "179:00.000E");
    EXPECT_EQ(setupMode, 1);
    // Focus on Load; no marker button shown as chosen.
    EXPECT_EQ(GetFocus(), GetDlgItem(Dialog(), IdcSetupLoad));
    for (int id = IdcSetupMarkerTop; id <= IdcSetupMarkerRight; ++id)
        EXPECT_EQ(IsDlgButtonChecked(Dialog(), id), BST_UNCHECKED) << id;
}

TEST_F(SetupDialogTest, CheckReportsTheRuleThatWinsAndNormalisesTheRows) {
    const Row top{"52", "30", "500", "N"}, bottom{"51", "00", "000", "N"};
    const Row left{"004", "00", "000", "E"}, right{"006", "00", "000", "E"};
    const Row zero{"", "", "", "N"};
    struct Case {
        const char* name;
        Row rows[4];
        const char* error;  // nullptr: accepted
        int row;            // the row whose texts are checked below
        std::vector<std::string> shown;
        const char* bound;
    };
    const Case cases[] = {
        {"lower-case letter accepted", {{"52", "30", "500", "n"}, bottom, left, right}, nullptr, 0,
         {"52", "30", "500", "N"}, "52:30.500N"},
        {"short minutes and thousandths padded", {{"52", "5", "7", "N"}, bottom, left, right},
         nullptr, 0, {"52", "05", "007", "N"}, "52:05.007N"},
        {"four thousandths kept, unchecked", {top, {"51", "0", "1234", "N"}, left, right}, nullptr,
         1, {"51", "00", "1234", "N"}, "51:00.1234N"},
        {"all empty", {{"", "", "", "s"}, {"", "", "", ""}, {"", "", "", "w"}, {"", "", "", "e"}},
         "Error [1] - No entries at all...", 0, {"00", "00", "000", "S"}, "00:00.000S"},
        {"top and bottom zero hides a wrong letter", {{"", "", "", "X"}, zero, left, right},
         "Error [2] - Both Top & Bottom are zero...", 2, {"004", "00", "000", "E"}, "004:00.000E"},
        {"last wrong letter wins", {{"52", "30", "500", "X"}, bottom, left, {"006", "00", "000", "N"}},
         "Error [7] - Right wrong direction...", 3, {"006", "00", "000", "N"}, "006:00.000N"},
        {"wrong letter before range", {{"90", "30", "500", "N"}, bottom, {"180", "0", "0", "N"}, right},
         "Error [6] - Left wrong direction...", 0, {"90", "30", "500", "N"}, "90:30.500N"},
        {"top degrees out of range", {{"90", "00", "000", "N"}, bottom, left, right},
         "Error [8] - Top value out of range...", 0, {"90", "00", "000", "N"}, "90:00.000N"},
        {"left degrees out of range", {top, bottom, {"180", "00", "000", "E"}, right},
         "Error [10] - Left value out of range...", 2, {"180", "00", "000", "E"}, "180:00.000E"},
        {"minutes out of range", {top, {"51", "60", "000", "N"}, left, right},
         "Error [9] - Bottom value out of range...", 1, {"51", "60", "000", "N"}, "51:60.000N"},
    };
    OpenAfterNew();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int row = 0; row < 4; ++row) SetRow(row, c.rows[row]);
        if (c.error) gui::ExpectBox(IDOK);
        Click(IdcSetupCheck);
        if (c.error) {
            ASSERT_EQ(gui::Boxes().size(), 1u);
            const boxwatch::BoxRecord& box = gui::Boxes()[0];
            EXPECT_EQ(box.text, c.error);
            EXPECT_EQ(box.owner, Dialog());
            EXPECT_EQ(box.icon, BoxIcon::Hand);
            EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
            EXPECT_NE(box.caption, "Ascendor");  // the system's default caption
        } else {
            EXPECT_TRUE(gui::Boxes().empty());
        }
        EXPECT_EQ(RowTexts(c.row), c.shown);
        const char* bounds[] = {areaTopText, areaBottomText, areaLeftText, areaRightText};
        EXPECT_STREQ(bounds[c.row], c.bound);
        EXPECT_EQ(Dialog() != nullptr, true);
        gui::CheckWatcher();
    }
}

TEST_F(SetupDialogTest, LoadNamesTheBackdropCentresTheViewAndMarksTheProject) {
    OpenAfterNew();
    // Cancelled: nothing changes.
    scrollPercentX = 10;
    scrollPercentY = 20;
    gui::ExpectFileCancel();
    Click(IdcSetupLoad);
    EXPECT_EQ(projectModified, 0);
    EXPECT_EQ(scrollPercentX, 10);
    EXPECT_STREQ(backdropName, "");

    LoadBackdrop(120, 90);
    EXPECT_STREQ(backdropName, "area.bmp");
    EXPECT_EQ(Text(IdcSetupBackdrop), "area.bmp");
    EXPECT_EQ(scrollPercentX, 50);
    EXPECT_EQ(scrollPercentY, 50);
    EXPECT_EQ(projectModified, 1);
    EXPECT_EQ(backdropLoaded, 1);

    // The same file again still centres and marks.
    projectModified = 0;
    scrollPercentX = 0;
    gui::ExpectFile(folder.File("area.bmp"));
    Click(IdcSetupLoad);
    EXPECT_EQ(scrollPercentX, 50);
    EXPECT_EQ(projectModified, 1);
}

TEST_F(SetupDialogTest, MarkersClickedOnTheMapStretchTheAreaAtOk) {
    OpenAfterNew();
    LoadBackdrop(1000, 800);
    SetRow(0, {"52", "00", "000", "N"});
    SetRow(1, {"51", "00", "000", "N"});
    SetRow(2, {"004", "00", "000", "E"});
    SetRow(3, {"006", "00", "000", "E"});

    // Half size in the window's corner: backdrop column c is window x = 2 c.
    zoomFactor = 0.5;
    scrollPercentX = scrollPercentY = 0;
    InvalidateMap(true);
    gui::Pump();
    const int x0 = mapOriginX;
    const int y0 = mapOriginY + 100;

    Click(IdcSetupMarkerLeft);
    EXPECT_EQ(markerEdge, 2);
    gui::LeftClick(x0 + 50, y0);
    Click(IdcSetupMarkerRight);
    EXPECT_EQ(markerEdge, 3);
    for (int id = IdcSetupMarkerTop; id <= IdcSetupMarkerRight; ++id)
        EXPECT_EQ(IsDlgButtonChecked(Dialog(), id), id == IdcSetupMarkerRight ? BST_CHECKED : BST_UNCHECKED);
    gui::LeftClick(x0 + 450, y0);
    EXPECT_EQ(markers[MarkerLeft].x, 100);
    EXPECT_EQ(markers[MarkerRight].x, 100);

    projectModified = 0;
    Click(IdcSetupOk);
    EXPECT_TRUE(gui::Boxes().empty());
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_EQ(setupMode, 0);
    EXPECT_EQ(projectModified, 1);
    EXPECT_EQ(lonSpan, 250000);
    EXPECT_EQ(areaLeft, 375000);
    EXPECT_EQ(areaRight, 625000);
    EXPECT_STREQ(areaLeftText, "003:45.000E");
    EXPECT_STREQ(areaRightText, "006:15.000E");
    EXPECT_EQ(areaTop, 5200000);
    EXPECT_EQ(areaBottom, 5100000);
}

TEST_F(SetupDialogTest, OkKeepsTheDialogOpenWhenItCannotApply) {
    struct Case {
        const char* name;
        Row top;
        MarkerPoint left, right, topMarker, bottomMarker;
        const char* text;
    };
    const char* crossing =
        "The markers meet or cross: set the left marker left of the right one and the top marker "
        "above the bottom one...";
    const Case cases[] = {
        {"failed check", {"90", "00", "000", "N"}, {}, {}, {}, {}, "Error [8] - Top value out of range..."},
        {"left and right meet", {"52", "00", "000", "N"}, {60, 0}, {40, 0}, {}, {}, crossing},
        {"top below bottom", {"52", "00", "000", "N"}, {}, {}, {0, 50}, {0, 40}, crossing},
    };
    OpenAfterNew();
    LoadBackdrop(100, 80);
    SetRow(1, {"51", "00", "000", "N"});
    SetRow(2, {"004", "00", "000", "E"});
    SetRow(3, {"006", "00", "000", "E"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetRow(0, c.top);
        markers[MarkerLeft] = c.left;
        markers[MarkerRight] = c.right;
        markers[MarkerTop] = c.topMarker;
        markers[MarkerBottom] = c.bottomMarker;
        const int32_t left = areaLeft;
        gui::ExpectBox(IDOK);
        Click(IdcSetupOk);
        ASSERT_EQ(gui::Boxes().size(), 1u);
        EXPECT_EQ(gui::Boxes()[0].text, c.text);
        EXPECT_NE(Dialog(), nullptr);
        EXPECT_EQ(setupMode, 1);
        EXPECT_EQ(areaLeft, left);
        EXPECT_EQ(markers[MarkerLeft].x, c.left.x);  // kept for the next OK
        gui::CheckWatcher();
    }
}

}  // namespace
