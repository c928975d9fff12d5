// The shell seen through its real windows: start-up, layout, menu, the exit questions, the About
// box, and the harness's reading of message boxes that every other GUI test relies on.
#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "gui/Harness.h"
#include "map/Geometry.h"
#include "model/Project.h"
#include "resources/ResourceIds.h"
#include "shell/AppWindow.h"
#include "shell/Frame.h"

namespace {

using boxwatch::BoxIcon;

class ShellTest : public gui::GuiTest {};

RECT RectInMainClient(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, gui::Main(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST_F(ShellTest, StartsUntitledOverTheWorkArea) {
    const gui::StartupFacts& start = gui::Startup();
    EXPECT_EQ(start.title, "Ascendor - [(untitled)]");
    EXPECT_TRUE(start.visible);
    EXPECT_EQ(theApp, &gui::App());
    EXPECT_EQ(start.windowRect.left, 0);
    EXPECT_EQ(start.windowRect.top, 0);
    // The edges of the work area, not its width and height.
    EXPECT_EQ(start.windowRect.right, start.workArea.right);
    EXPECT_EQ(start.windowRect.bottom, start.workArea.bottom);
    // The first resize during start-up already laid out the children.
    EXPECT_EQ(start.viewWidth, start.clientRect.right);
    EXPECT_EQ(start.viewHeight, start.clientRect.bottom);
    EXPECT_EQ(gui::StatusEdges().size(), 4u);
}

TEST_F(ShellTest, LayoutFollowsTheClientSize) {
    struct Case {
        int width, height;
        std::vector<int> edges;
    };
    const Case cases[] = {
        {400, 300, {100, 200, 300, 400}},
        {401, 301, {100, 200, 300, 401}},
        {402, 450, {100, 201, 300, 402}},  // third edge 3 * (402 / 4), not 3 * 402 / 4
        {803, 600, {200, 401, 600, 803}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        ASSERT_TRUE(gui::ResizeClient(c.width, c.height));
        EXPECT_EQ(gui::StatusEdges(), c.edges);
        EXPECT_EQ(viewWidth, c.width);
        EXPECT_EQ(viewHeight, c.height);  // the full client height, status bar included

        const RECT bar = RectInMainClient(gui::Status());
        EXPECT_GT(statusBarHeight, 0);
        EXPECT_EQ(bar.bottom - bar.top, statusBarHeight);
        EXPECT_EQ(bar.top, c.height - statusBarHeight);
        EXPECT_EQ(bar.left, 0);
        EXPECT_EQ(bar.right, c.width);

        const RECT map = RectInMainClient(gui::Map());
        EXPECT_EQ(map.left, 0);
        EXPECT_EQ(map.top, 0);
        EXPECT_EQ(map.right, c.width);
        EXPECT_EQ(map.bottom, c.height - statusBarHeight);
    }
}

TEST_F(ShellTest, MenuCarriesEveryCommand) {
    struct Item {
        int id;
        const char* text;
    };
    const Item items[] = {
        {CmdNew, "&New"},          {CmdOpen, "&Open..."},       {CmdEdit, "&Edit"},
        {CmdSave, "&Save"},        {CmdSaveAs, "Save &As..."},  {CmdExit, "E&xit"},
        {CmdManual, "Manual"},     {CmdAutomatic, "Automatic"}, {CmdClearPartly, "Clear partly"},
        {CmdClearAll, "Clear all"}, {CmdCreate, "Create"},      {CmdHelp, "&Help"},
        {CmdAbout, "&About..."},
    };
    HMENU menu = GetMenu(gui::Main());
    ASSERT_NE(menu, nullptr);
    const char* titles[] = {"&Project", "&Thermals", "&Create", "&Help"};
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    for (int i = 0; i < 4; ++i) {
        char text[64] = "";
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, titles[i]);
    }
    for (const Item& item : items) {
        char text[64] = "";
        EXPECT_GT(GetMenuStringA(menu, item.id, text, sizeof text, MF_BYCOMMAND), 0) << item.id;
        EXPECT_STREQ(text, item.text) << item.id;
        const UINT state = GetMenuState(menu, item.id, MF_BYCOMMAND);
        EXPECT_EQ(state & (MF_GRAYED | MF_DISABLED | MF_CHECKED), 0u) << item.id;
    }
}

TEST_F(ShellTest, KeysWithoutBackdropLeaveTheView) {
    const UINT keys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_F1, 'A', VK_SPACE, VK_RETURN};
    for (UINT key : keys) {
        SCOPED_TRACE(key);
        const double zoom = zoomFactor;
        const int scrollX = scrollPercentX, scrollY = scrollPercentY;
        const int originX = mapOriginX, originY = mapOriginY;
        gui::Key(key, gui::Main());
        EXPECT_EQ(zoomFactor, zoom);
        EXPECT_EQ(scrollPercentX, scrollX);
        EXPECT_EQ(scrollPercentY, scrollY);
        EXPECT_EQ(mapOriginX, originX);
        EXPECT_EQ(mapOriginY, originY);
        EXPECT_EQ(setupMode + manualMode + automaticMode + clearPartMode, 0);
        EXPECT_TRUE(gui::Boxes().empty());
    }
}

struct Question {
    const char* text;
    UINT type;
};
const Question SaveQuestion{"Shouldn't you save the current file first ?",
                            MB_YESNO | MB_ICONEXCLAMATION};
const Question ExitQuestion{"Do you really want to exit this program ?",
                            MB_OKCANCEL | MB_ICONEXCLAMATION};

TEST_F(ShellTest, ExitAndCloseAskBeforeQuitting) {
    enum class Trigger { ExitCommand, CloseButton };
    struct Case {
        const char* name;
        Trigger trigger;
        int modified;
        bool toolDialog;           // a tool dialog is open when the question comes
        std::vector<int> answers;  // to the message boxes, in order
        const char* saveAs;        // the save dialog: nullptr none, "" cancelled, else a file name
        std::vector<Question> asked;
        bool quits;
        int modifiedAfter;
    };
    const Case cases[] = {
        {"exit, saved, cancel", Trigger::ExitCommand, 0, false, {IDCANCEL}, nullptr,
         {ExitQuestion}, false, 0},
        {"exit, saved, OK", Trigger::ExitCommand, 0, false, {IDOK}, nullptr, {ExitQuestion}, true, 0},
        {"close, saved, cancel", Trigger::CloseButton, 0, false, {IDCANCEL}, nullptr,
         {ExitQuestion}, false, 0},
        {"close, saved, OK", Trigger::CloseButton, 0, false, {IDOK}, nullptr, {ExitQuestion}, true, 0},
        {"exit, modified, no save, cancel", Trigger::ExitCommand, 1, false, {IDNO, IDCANCEL}, nullptr,
         {SaveQuestion, ExitQuestion}, false, 1},
        {"close, modified, no save, OK", Trigger::CloseButton, 1, false, {IDNO, IDOK}, nullptr,
         {SaveQuestion, ExitQuestion}, true, 1},
        {"exit, modified, save dialog cancelled", Trigger::ExitCommand, 1, false, {IDYES, IDCANCEL},
         "", {SaveQuestion, ExitQuestion}, false, 1},
        {"close, modified, saved as alps", Trigger::CloseButton, 1, false, {IDYES, IDOK}, "alps.prj",
         {SaveQuestion, ExitQuestion}, true, 0},
        {"exit with a tool dialog, cancel", Trigger::ExitCommand, 0, true, {IDCANCEL}, nullptr,
         {ExitQuestion}, false, 0},
        {"close with a tool dialog, OK", Trigger::CloseButton, 1, true, {IDNO, IDOK}, nullptr,
         {SaveQuestion, ExitQuestion}, true, 1},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gui::ResetProgram();
        gui::ScratchFolder folder;

        HWND toolDialog = nullptr;
        if (c.toolDialog) {
            gui::Command(CmdNew);  // opens the Setup dialog without asking anything
            toolDialog = gui::App().currentDialog;
            ASSERT_NE(toolDialog, nullptr);
        }
        projectModified = c.modified;
        const std::string titleBefore = gui::Title();
        for (int answer : c.answers) gui::ExpectBox(answer);
        if (c.saveAs && *c.saveAs) gui::ExpectFile(folder.File(c.saveAs));
        if (c.saveAs && !*c.saveAs) gui::ExpectFileCancel();

        if (c.trigger == Trigger::ExitCommand) {
            gui::Command(CmdExit);
        } else {
            EXPECT_EQ(gui::Close(), c.quits ? 1 : 0);
        }

        ASSERT_EQ(gui::Boxes().size(), c.asked.size());
        for (size_t i = 0; i < c.asked.size(); ++i) {
            const boxwatch::BoxRecord& box = gui::Boxes()[i];
            EXPECT_EQ(box.text, c.asked[i].text);
            EXPECT_EQ(box.caption, "Ascendor");
            EXPECT_EQ(box.Type(), c.asked[i].type) << boxwatch::Describe(box);
            EXPECT_EQ(box.owner, gui::Main());
        }
        EXPECT_EQ(gui::Dialogs().size(), c.saveAs ? 1u : 0u);
        EXPECT_EQ(gui::QuitPosted(), c.quits);
        EXPECT_EQ(gui::QuitCode(), 0u);
        EXPECT_EQ(projectModified, c.modifiedAfter);
        // Quitting ends the loop; the main window itself is never destroyed.
        EXPECT_TRUE(IsWindow(gui::Main()));
        EXPECT_TRUE(IsWindowVisible(gui::Main()));

        if (c.saveAs && *c.saveAs) {
            EXPECT_TRUE(std::filesystem::exists(folder.File(c.saveAs)));
            EXPECT_EQ(gui::Title(), "Ascendor - [alps]");
        } else {
            EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
            EXPECT_EQ(gui::Title(), titleBefore);
        }
        if (toolDialog) {
            if (c.quits) {
                EXPECT_FALSE(IsWindow(toolDialog));
            } else {
                EXPECT_TRUE(IsWindow(toolDialog));
                EXPECT_EQ(gui::App().currentDialog, toolDialog);
                EXPECT_EQ(setupMode, 1);
            }
        }
        gui::CheckWatcher();
    }
}

TEST_F(ShellTest, AboutOpensOnOkAndClosesEveryWay) {
    struct Case {
        const char* name;
        std::function<void(HWND)> close;
    };
    const Case cases[] = {
        {"OK button", [](HWND about) { boxwatch::PressButton(about, IdcAboutOk); }},
        {"Enter", [](HWND) { gui::PostKey(VK_RETURN); }},
        {"Escape", [](HWND) { gui::PostKey(VK_ESCAPE); }},
        {"title-bar close", [](HWND about) { PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gui::ResetProgram();
        int focusId = 0;
        bool ownerDisabled = false;
        HWND about = nullptr;
        gui::OnDialog("About...", [&](HWND dialog) {
            about = dialog;
            focusId = GetDlgCtrlID(GetFocus());
            ownerDisabled = !IsWindowEnabled(gui::Main());
            c.close(dialog);
        });
        gui::Command(CmdAbout);

        ASSERT_NE(about, nullptr);
        EXPECT_EQ(focusId, IdcAboutOk);
        EXPECT_TRUE(ownerDisabled);
        EXPECT_FALSE(IsWindow(about));
        EXPECT_TRUE(IsWindowEnabled(gui::Main()));
        EXPECT_TRUE(gui::Boxes().empty());  // its statics do not make it a message box
        gui::CheckWatcher();
    }
}

}  // namespace
