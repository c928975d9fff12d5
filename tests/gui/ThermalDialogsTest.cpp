// The Manual, Automatic and Clear (partly) dialogs through their real controls, with rectangles
// dragged on the map.

#include "gui/Harness.h"

namespace {

constexpr int32_t Top = 5000000, Left = 500000;  // 50 N, 5 E, 100 units per backdrop pixel

class ThermalDialogsTest : public gui::GuiTest {
protected:
    // A 400 x 300 backdrop loaded as the map loads one, shown at zoom 1 in the window's corner.
    void SetUp() override {
        gui::GuiTest::SetUp();
        gui::WriteGreyBackdrop(folder.File("grey.bmp"), 400, 300);
        CopyText(backdropName, BackdropNameSize, folder.File("grey.bmp").c_str());
        backdropReloadPending = 1;
        InvalidateMap(true);
        gui::Pump();
        ASSERT_EQ(backdropWidth, 400);
        areaTop = Top, areaLeft = Left, latSpan = 30000, lonSpan = 40000, areaBottom = Top - 30000, areaRight = Left + 40000;
        latPerPixel = lonPerPixel = 100;
        zoomFactor = 1.0, scrollPercentX = scrollPercentY = 0;
        InvalidateMap(true);
        gui::Pump();
    }
    static HWND Dialog() { return gui::App().currentDialog; }
    static void Click(int id) { gui::Click(Dialog(), id); }
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
    static void DragRectangle(int x1, int y1, int x2, int y2) {
        gui::Drag(mapOriginX + x1, mapOriginY + y1, mapOriginX + x2, mapOriginY + y2);
        ASSERT_EQ(areaSelected, 1);
    }
    gui::ScratchFolder folder;
};

TEST_F(ThermalDialogsTest, ManualSetKeepsFiveCharactersAndTypeButtonsApplyAtOnce) {
    manualSettings.type = 2;
    gui::Command(CmdManual);
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_EQ(manualMode, 1);
    // Opening shows the texts and the cloud flag, focuses type 4 and chooses no type.
    EXPECT_EQ(GetFocus(), GetDlgItem(Dialog(), IdcManualType4));
    EXPECT_EQ(Checked(IdcManualType1, IdcManualType4), std::vector<int>{});
    EXPECT_EQ(Text(IdcManualWindDir), "270");
    EXPECT_EQ(IsDlgButtonChecked(Dialog(), IdcManualCloudOn), BST_CHECKED);
    const char* typed[] = {"1234567", "-12ab", "", "abcdef", "99999", "123456", "7", "20"};
    const char* kept[] = {"12345", "-12ab", "", "abcde", "99999", "12345", "7", "20"};
    for (int i = 0; i < 8; ++i) SetDlgItemTextA(Dialog(), IdcManualBottom + i, typed[i]);
    Click(IdcManualCloudOn);
    EXPECT_STREQ(manualSettings.bottom, "0");  // nothing applies before Set
    EXPECT_EQ(manualSettings.cloudOn, 1);
    Click(IdcManualSet);
    const char* settings[] = {manualSettings.bottom, manualSettings.top, manualSettings.radius, manualSettings.windDir,
                              manualSettings.factor, manualSettings.cloudCeiling, manualSettings.cloudRadius, manualSettings.cloudType};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(settings[i] + std::string("|") + Text(IdcManualBottom + i), std::string(kept[i]) + "|" + kept[i]) << i;
    EXPECT_EQ(manualSettings.cloudOn, 0);
    for (int id : {IdcManualType1, IdcManualType3, IdcManualType4}) {
        Click(id);
        EXPECT_EQ(manualSettings.type, id - IdcManualType1 + 1);
        EXPECT_EQ(Checked(IdcManualType1, IdcManualType4), std::vector<int>{id});
    }
    // Typed but not Set: closing keeps the settings and leaves manual mode.
    SetDlgItemTextA(Dialog(), IdcManualTop, "4444");
    SendMessageA(Dialog(), WM_COMMAND, IDCANCEL, 0);
    gui::Pump();
    EXPECT_EQ(std::make_pair(Dialog(), manualMode), std::make_pair(HWND(nullptr), 0));
    EXPECT_STREQ(manualSettings.top, "-12ab");
}

TEST_F(ThermalDialogsTest, AutomaticPresetsAndTestNeedsARectangle) {
    std::vector<int> all{IdcAutoRandom, IdcAutoAll};
    for (int id = IdcAutoCloudFirst; id <= IdcAutoCloudLast; ++id) all.push_back(id);
    const std::vector<int> oneToThree{IdcAutoRandom, 158, 159, 160}, typeOne{158};
    const struct { int click, randomClouds, allClouds; std::vector<int> checked; } steps[] = {
        {0, 1, 0, oneToThree},  {IdcAutoAll, 1, 1, all}, {IdcAutoRandom, 0, 1, typeOne}, {IdcAutoRandom, 1, 1, all},
        {IdcAutoRandom, 0, 1, typeOne}, {IdcAutoAll, 0, 0, typeOne}, {IdcAutoRandom, 1, 0, oneToThree},
        {IdcAutoAll, 1, 1, all}, {IdcAutoAll, 1, 0, oneToThree}};
    gui::Command(CmdAutomatic);
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_EQ(automaticMode, 1);
    for (const auto& step : steps) {
        if (step.click) Click(step.click);
        EXPECT_EQ(std::make_pair(int(randomClouds), int(allClouds)), std::make_pair(step.randomClouds, step.allClouds)) << step.click;
        EXPECT_EQ(Checked(IdcAutoRandom, IdcAutoCloudLast), step.checked);
    }
    // A click on either box puts back the texts of the last Test.
    SetDlgItemTextA(Dialog(), IdcAutoCeilingMin, "9999");
    Click(IdcAutoRandom);
    EXPECT_EQ(Text(IdcAutoCeilingMin), "1500");
    gui::ExpectBox(IDOK);
    Click(IdcAutoTest);
    ASSERT_EQ(gui::BoxTexts(), std::vector<std::string>{"Please set an area first..."});
    EXPECT_TRUE(gui::Boxes()[0].Type() == MB_OK && gui::Boxes()[0].owner == gui::Main());
    EXPECT_EQ(std::make_pair(thermalCount, projectModified), std::make_pair(0, 0));
}

// Which thermals go is the core's, Clear without a rectangle the driver's; here: the question, its
// answers, an empty rectangle, OK.
TEST_F(ThermalDialogsTest, ClearPartlyAsksEvenForAnEmptyRectangle) {
    thermals[0] = Thermal{Top - 100, Left + 100, 1, 0, 1000, 300, 0, 0, 1, 0, 0, 0, 1}, thermalCount = 1;
    gui::Command(CmdClearPartly);
    EXPECT_TRUE(Dialog() && clearPartMode && GetFocus() == GetDlgItem(Dialog(), IdcClearPartClear));
    const struct { int x1, y1, x2, y2, answer; int32_t count, modified; } cases[] = {
        {0, 0, 50, 50, IDNO, 1, 0}, {0, 0, 50, 50, IDYES, 0, 1}, {300, 200, 350, 250, IDYES, 0, 1}};
    for (const auto& c : cases) {
        projectModified = 0;
        DragRectangle(c.x1, c.y1, c.x2, c.y2);
        gui::ExpectBox(c.answer);
        Click(IdcClearPartClear);
        EXPECT_EQ(gui::BoxTexts(), std::vector<std::string>{"Do you want to clear these thermals ?"});
        EXPECT_EQ(gui::Boxes()[0].Type(), static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
        EXPECT_EQ(std::make_pair(thermalCount, projectModified), std::make_pair(c.count, c.modified));
        EXPECT_EQ(areaSelected, c.answer == IDYES ? 0 : 1);  // the repaint found the rectangle reset
        gui::CheckWatcher();
    }
    DragRectangle(10, 10, 50, 50);
    Click(IdcClearPartOk);
    EXPECT_EQ(std::vector<int>({Dialog() != nullptr, clearPartMode, selEndX}), std::vector<int>({0, 0, 0}));
}

}  // namespace
