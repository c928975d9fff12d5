// The Manual, Automatic and Clear (partly) dialogs through their real controls, with rectangles
// dragged on the map.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gui/Harness.h"
#include "gui/TestBackdrop.h"
#include "map/Geometry.h"
#include "map/MapWindow.h"
#include "map/Selection.h"
#include "model/Project.h"
#include "resources/ResourceIds.h"
#include "thermals/Generation.h"
#include "thermals/Manual.h"

namespace {

using boxwatch::BoxIcon;

constexpr int BackdropW = 400;
constexpr int BackdropH = 300;
constexpr int32_t Top = 5000000;  // 50 N
constexpr int32_t Left = 500000;  // 5 E
constexpr int32_t UnitsPerPixel = 100;

class ThermalDialogsTest : public gui::GuiTest {
protected:
    // A backdrop loaded as the map loads one, over an area of 100 units per pixel, shown at zoom 1
    // in the window's corner.
    void SetUp() override {
        gui::GuiTest::SetUp();
        // The tool dialogs are modeless, but while a box disables the main window they look
        // modal to the watcher; its deadline must not close them in the middle of a test.
        savedDeadline = gui::Watcher().dialogDeadlineMs;
        gui::Watcher().dialogDeadlineMs = 600000;
        ShowBackdrop();
    }
    void TearDown() override {
        gui::GuiTest::TearDown();
        gui::Watcher().dialogDeadlineMs = savedDeadline;
    }

    void ShowBackdrop() {
        gui::WriteGreyBackdrop(folder.File("grey.bmp"), BackdropW, BackdropH);
        CopyText(backdropName, BackdropNameSize, folder.File("grey.bmp").c_str());
        backdropReloadPending = 1;
        InvalidateMap(true);
        gui::Pump();
        ASSERT_EQ(backdropWidth, BackdropW);
        areaTop = Top;
        areaLeft = Left;
        latSpan = BackdropH * UnitsPerPixel;
        lonSpan = BackdropW * UnitsPerPixel;
        areaBottom = Top - latSpan;
        areaRight = Left + lonSpan;
        latPerPixel = lonPerPixel = UnitsPerPixel;
        zoomFactor = 1.0;
        scrollPercentX = scrollPercentY = 0;
        areaSelected = 0;  // a rectangle of an earlier test
        InvalidateMap(true);
        gui::Pump();
    }

    static HWND Dialog() { return gui::App().currentDialog; }

    // Opens a tool dialog and waits until the watcher has looked at it: a box that came sooner
    // would make the new dialog look modal to it.
    static void Open(int command) {
        gui::Command(command);
        gui::Pump(500, 150);
    }

    static void Click(int id) {
        SendMessageA(GetDlgItem(Dialog(), id), BM_CLICK, 0, 0);
        gui::Pump();
    }

    static std::string Text(int id) {
        char text[64] = "";
        GetDlgItemTextA(Dialog(), id, text, sizeof text);
        return text;
    }

    static std::vector<int> Checked(int first, int last) {
        std::vector<int> ids;
        for (int id = first; id <= last; ++id)
            if (IsDlgButtonChecked(Dialog(), id) == BST_CHECKED) ids.push_back(id);
        return ids;
    }

    // A rectangle dragged on the map between two window pixels (backdrop pixels at zoom 1).
    static void DragRectangle(int x1, int y1, int x2, int y2) {
        gui::Drag(mapOriginX + x1, mapOriginY + y1, mapOriginX + x2, mapOriginY + y2);
        ASSERT_EQ(areaSelected, 1);
    }

    static Thermal Marked(int32_t lat, int32_t lon, int type) {
        Thermal t{};
        t.lat = lat;
        t.lon = lon;
        t.type = type;
        t.top = 1000 + type;
        t.radius = 300;
        t.cloudOn = 1;
        t.cloudType = type;
        return t;
    }

    static void PlaceThermals(const std::vector<Thermal>& list) {
        thermalCount = 0;
        for (const Thermal& t : list) thermals[thermalCount++] = t;
    }

    gui::ScratchFolder folder;
    int savedDeadline = 0;
};

// ---- Manual ----

TEST_F(ThermalDialogsTest, ManualSetKeepsFiveCharactersAndTypeButtonsApplyAtOnce) {
    manualSettings.type = 2;
    Open(CmdManual);
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_EQ(manualMode, 1);
    // Opening shows the texts and the cloud flag, focuses type 4 and chooses no type.
    EXPECT_EQ(GetFocus(), GetDlgItem(Dialog(), IdcManualType4));
    EXPECT_EQ(Checked(IdcManualType1, IdcManualType4), std::vector<int>{});
    EXPECT_EQ(manualSettings.type, 2);
    EXPECT_EQ(Text(IdcManualWindDir), "270");
    EXPECT_EQ(IsDlgButtonChecked(Dialog(), IdcManualCloudOn), BST_CHECKED);

    const char* typed[] = {"1234567", "-12ab", "", "abcdef", "99999", "123456", "7", "20"};
    const char* kept[] = {"12345", "-12ab", "", "abcde", "99999", "12345", "7", "20"};
    for (int i = 0; i < 8; ++i) SetDlgItemTextA(Dialog(), IdcManualBottom + i, typed[i]);
    Click(IdcManualCloudOn);
    EXPECT_STREQ(manualSettings.bottom, "0");  // nothing applies before Set
    EXPECT_EQ(manualSettings.cloudOn, 1);

    Click(IdcManualSet);
    const char* settings[] = {manualSettings.bottom,  manualSettings.top,
                              manualSettings.radius,  manualSettings.windDir,
                              manualSettings.factor,  manualSettings.cloudCeiling,
                              manualSettings.cloudRadius, manualSettings.cloudType};
    for (int i = 0; i < 8; ++i) {
        EXPECT_STREQ(settings[i], kept[i]) << i;
        EXPECT_EQ(Text(IdcManualBottom + i), kept[i]) << i;
    }
    EXPECT_EQ(manualSettings.cloudOn, 0);

    const int clicks[] = {IdcManualType1, IdcManualType3, IdcManualType4};
    for (int id : clicks) {
        Click(id);
        EXPECT_EQ(manualSettings.type, id - IdcManualType1 + 1);
        EXPECT_EQ(Checked(IdcManualType1, IdcManualType4), std::vector<int>{id});
    }

    // Typed but not Set: closing keeps the settings and leaves manual mode.
    SetDlgItemTextA(Dialog(), IdcManualTop, "4444");
    SendMessageA(Dialog(), WM_COMMAND, IDCANCEL, 0);
    gui::Pump();
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_EQ(manualMode, 0);
    EXPECT_STREQ(manualSettings.top, "-12ab");
}

// ---- Automatic ----

TEST_F(ThermalDialogsTest, AutomaticRandomAndAllPresets) {
    std::vector<int> allTypes;
    for (int id = IdcAutoCloudFirst; id <= IdcAutoCloudLast; ++id) allTypes.push_back(id);
    const std::vector<int> typesOneToThree{158, 159, 160};
    const std::vector<int> typeOne{158};
    auto with = [](std::vector<int> boxes, std::vector<int> front) {
        front.insert(front.end(), boxes.begin(), boxes.end());
        return front;
    };
    struct Step {
        const char* name;
        int click;  // 0: as opened
        int randomClouds, allClouds;
        std::vector<int> checked;  // among 156..177
    };
    const Step steps[] = {
        {"opened", 0, 1, 0, with(typesOneToThree, {IdcAutoRandom})},
        {"all on", IdcAutoAll, 1, 1, with(allTypes, {IdcAutoRandom, IdcAutoAll})},
        {"random off keeps all", IdcAutoRandom, 0, 1, typeOne},
        {"random on brings all back", IdcAutoRandom, 1, 1, with(allTypes, {IdcAutoRandom, IdcAutoAll})},
        {"random off again", IdcAutoRandom, 0, 1, typeOne},
        {"all while random is off clears it", IdcAutoAll, 0, 0, typeOne},
        {"random on: types 1 to 3", IdcAutoRandom, 1, 0, with(typesOneToThree, {IdcAutoRandom})},
        {"all on again", IdcAutoAll, 1, 1, with(allTypes, {IdcAutoRandom, IdcAutoAll})},
        {"all off", IdcAutoAll, 1, 0, with(typesOneToThree, {IdcAutoRandom})},
    };
    Open(CmdAutomatic);
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_EQ(automaticMode, 1);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        if (step.click) Click(step.click);
        EXPECT_EQ(randomClouds, step.randomClouds);
        EXPECT_EQ(allClouds, step.allClouds);
        EXPECT_EQ(Checked(IdcAutoRandom, IdcAutoCloudLast), step.checked);
    }

    // A click on either box puts back the texts of the last Test.
    SetDlgItemTextA(Dialog(), IdcAutoCeilingMin, "9999");
    Click(IdcAutoRandom);
    EXPECT_EQ(Text(IdcAutoCeilingMin), "1500");
}

TEST_F(ThermalDialogsTest, AutomaticTestNeedsARectangle) {
    Open(CmdAutomatic);
    ASSERT_NE(Dialog(), nullptr);
    gui::ExpectBox(IDOK);
    Click(IdcAutoTest);
    ASSERT_EQ(gui::Boxes().size(), 1u);
    const boxwatch::BoxRecord& box = gui::Boxes()[0];
    EXPECT_EQ(box.text, "Please set an area first...");
    EXPECT_EQ(box.caption, "Ascendor");
    EXPECT_EQ(box.icon, BoxIcon::None);
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    EXPECT_EQ(box.owner, gui::Main());
    EXPECT_EQ(thermalCount, 0);
    EXPECT_EQ(projectModified, 0);
}

TEST_F(ThermalDialogsTest, AutomaticClearTakesBackOnlyThePendingBatch) {
    const std::vector<Thermal> before{Marked(Top - 100, Left + 100, 1), Marked(Top - 200, Left + 200, 2)};
    // Each step: the button, then the count it leaves as an offset from a recorded count.
    enum Expect { Grows, BackToStart, BackToFirstBatch, Unchanged };
    struct Step {
        int button;
        Expect expect;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"Test then Clear", {{IdcAutoTest, Grows}, {IdcAutoClear, BackToStart}}},
        {"Test, Test, Clear", {{IdcAutoTest, Grows}, {IdcAutoTest, Grows}, {IdcAutoClear, BackToFirstBatch}}},
        {"Add then Clear", {{IdcAutoTest, Grows}, {IdcAutoAdd, Unchanged}, {IdcAutoClear, Unchanged}}},
        {"Clear before any Test", {{IdcAutoClear, Unchanged}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gui::ResetProgram();
        ShowBackdrop();
        PlaceThermals(before);
        Open(CmdAutomatic);
        ASSERT_NE(Dialog(), nullptr);
        SetDlgItemTextA(Dialog(), IdcAutoDensity, "100");  // 1 km cells: about 130 thermals
        DragRectangle(20, 20, 180, 130);
        projectModified = 0;

        const int32_t start = thermalCount;
        int32_t firstBatchEnd = -1;
        for (const Step& step : c.steps) {
            const int32_t count = thermalCount;
            Click(step.button);
            switch (step.expect) {
            case Grows:
                EXPECT_GT(thermalCount, count + 100);
                EXPECT_EQ(batchStart, count);
                EXPECT_EQ(projectModified, 1);
                if (firstBatchEnd < 0) firstBatchEnd = thermalCount;
                break;
            case BackToStart:
                EXPECT_EQ(thermalCount, start);
                break;
            case BackToFirstBatch:
                EXPECT_EQ(thermalCount, firstBatchEnd);
                break;
            case Unchanged:
                EXPECT_EQ(thermalCount, count);
                break;
            }
            if (step.button == IdcAutoAdd) {
                EXPECT_EQ(areaSelected, 0);
                EXPECT_EQ(projectModified, 1);
            }
        }
        // The thermals from before are never touched.
        ASSERT_GE(thermalCount, 2);
        EXPECT_EQ(thermals[0].type, 1);
        EXPECT_EQ(thermals[1].lat, Top - 200);
        for (int32_t i = 2; i < thermalCount; ++i) {
            EXPECT_EQ(thermals[i].type, 4);
            EXPECT_LE(thermals[i].lat, selNorth);
            EXPECT_GE(thermals[i].lat, selSouth - 100);  // a tenth of a 1 km cell below at most
            EXPECT_GE(thermals[i].lon, selWest);
            EXPECT_LE(thermals[i].lon, selEast);
        }
        gui::CheckWatcher();
    }
}

TEST_F(ThermalDialogsTest, AutomaticOkLeavesThePendingBatchAndTheMode) {
    Open(CmdAutomatic);
    ASSERT_NE(Dialog(), nullptr);
    DragRectangle(20, 20, 180, 130);
    Click(IdcAutoTest);
    const int32_t made = thermalCount;
    EXPECT_GT(made, 0);
    Click(IdcAutoOk);
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_EQ(automaticMode, 0);
    EXPECT_EQ(thermalCount, made);
    EXPECT_EQ(selStartX, 0);
    EXPECT_EQ(selEndX, 0);
    // The texts read by the Test stay for the next opening.
    EXPECT_STREQ(autoTexts[5], "4");
}

// ---- Clear (partly) ----

TEST_F(ThermalDialogsTest, ClearPartlyKeepsEdgesAndAsksEvenForAnEmptyRectangle) {
    PlaceThermals({Marked(Top - 100, Left + 100, 1)});
    Open(CmdClearPartly);
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_EQ(clearPartMode, 1);
    EXPECT_EQ(GetFocus(), GetDlgItem(Dialog(), IdcClearPartClear));

    // Without a rectangle.
    gui::ExpectBox(IDOK);
    Click(IdcClearPartClear);
    ASSERT_EQ(gui::BoxTexts(), std::vector<std::string>{"Please set an area first..."});
    EXPECT_EQ(gui::Boxes()[0].icon, BoxIcon::None);
    gui::CheckWatcher();

    DragRectangle(100, 100, 200, 180);
    const int32_t midLat = selSouth + (selNorth - selSouth) / 2;
    const int32_t midLon = selWest + (selEast - selWest) / 2;
    const std::vector<Thermal> list{
        Marked(selNorth, midLon, 1),      Marked(midLat, midLon, 2),  Marked(midLat + 1, midLon - 1, 3),
        Marked(selSouth, midLon, 4),      Marked(midLat, selWest, 1), Marked(midLat, selEast, 2),
        Marked(selNorth + 500, midLon, 3),
    };
    PlaceThermals(list);

    // No: nothing happens.
    gui::ExpectBox(IDNO);
    Click(IdcClearPartClear);
    EXPECT_EQ(thermalCount, 7);
    ASSERT_EQ(gui::Boxes().size(), 1u);
    const boxwatch::BoxRecord& box = gui::Boxes()[0];
    EXPECT_EQ(box.text, "Do you want to clear these thermals ?");
    EXPECT_EQ(box.caption, "Ascendor");
    EXPECT_EQ(box.icon, BoxIcon::Exclamation);
    EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(box.owner, gui::Main());
    gui::CheckWatcher();

    // Yes: the two inside go, the edges and the outside one stay in order with every field.
    gui::ExpectBox(IDYES);
    Click(IdcClearPartClear);
    ASSERT_EQ(thermalCount, 5);
    const int keptIndex[] = {0, 3, 4, 5, 6};
    for (int i = 0; i < 5; ++i) {
        const Thermal& want = list[keptIndex[i]];
        EXPECT_EQ(thermals[i].lat, want.lat) << i;
        EXPECT_EQ(thermals[i].lon, want.lon) << i;
        EXPECT_EQ(thermals[i].top, want.top) << i;
        EXPECT_EQ(thermals[i].cloudType, want.cloudType) << i;
    }
    EXPECT_EQ(projectModified, 1);
    EXPECT_EQ(areaSelected, 0);  // the repaint found the rectangle reset
    gui::CheckWatcher();

    // A rectangle with nothing inside still asks and marks the project.
    projectModified = 0;
    DragRectangle(300, 200, 350, 250);
    gui::ExpectBox(IDYES);
    Click(IdcClearPartClear);
    EXPECT_EQ(gui::Boxes().size(), 1u);
    EXPECT_EQ(thermalCount, 5);
    EXPECT_EQ(projectModified, 1);
    gui::CheckWatcher();

    // OK closes and leaves the mode.
    DragRectangle(10, 10, 50, 50);
    Click(IdcClearPartOk);
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_EQ(clearPartMode, 0);
    EXPECT_EQ(selEndX, 0);
}

}  // namespace
