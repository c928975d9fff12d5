// The Thermals menu and Edit through real messages: when each tool dialog may open, the one-dialog
// rule with its mode switch, Clear all's question, and Help.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "gui/Harness.h"
#include "gui/ProjectOnDisk.h"
#include "model/Project.h"
#include "resources/ResourceIds.h"

namespace {

using gui::MakeThermal;

class ToolCommandsTest : public gui::GuiTest {};

const char StartNotice[] = "Perhaps you should start a project first...";
const char ThermalsNotice[] = "Perhaps you should add some thermals first...";

const std::vector<Thermal> ThreeThermals = {MakeThermal(5210000, 480000, 1),
                                            MakeThermal(5240000, 500000, 2, true),
                                            MakeThermal(5220000, 520000, 4)};

struct Modes {
    int setup, manual, automatic, clearPart;
    bool operator==(const Modes& o) const {
        return setup == o.setup && manual == o.manual && automatic == o.automatic &&
               clearPart == o.clearPart;
    }
};
std::ostream& operator<<(std::ostream& out, const Modes& m) {
    return out << "setup " << m.setup << " manual " << m.manual << " automatic " << m.automatic
               << " clearPart " << m.clearPart;
}
Modes CurrentModes() { return {setupMode, manualMode, automaticMode, clearPartMode}; }

std::string DialogCaption() {
    return gui::App().currentDialog ? boxwatch::WindowText(gui::App().currentDialog) : "(none)";
}

TEST_F(ToolCommandsTest, EachDialogCommandChecksItsPreconditionAndSetsItsMode) {
    enum class Start { Nothing, ThermalsOnly, BackdropOnly, Project, ProjectThenNew };
    struct Case {
        const char* name;
        Start start;
        int command;
        const char* notice;  // nullptr: the dialog opens
        Modes modes;         // afterwards
    };
    const Case cases[] = {
        {"Edit before any backdrop", Start::ThermalsOnly, CmdEdit, StartNotice, {0, 0, 0, 0}},
        {"Manual before any backdrop", Start::ThermalsOnly, CmdManual, StartNotice, {0, 0, 0, 0}},
        {"Automatic before any backdrop", Start::ThermalsOnly, CmdAutomatic, StartNotice, {0, 0, 0, 0}},
        {"Clear partly with thermals, no backdrop", Start::ThermalsOnly, CmdClearPartly, nullptr,
         {0, 0, 0, 1}},
        {"Clear partly, no thermals", Start::Nothing, CmdClearPartly, ThermalsNotice, {0, 0, 0, 0}},
        {"Clear partly, backdrop but no thermals", Start::BackdropOnly, CmdClearPartly,
         ThermalsNotice, {0, 0, 0, 0}},
        {"Edit", Start::Project, CmdEdit, nullptr, {1, 0, 0, 0}},
        {"Manual", Start::Project, CmdManual, nullptr, {0, 1, 0, 0}},
        {"Automatic", Start::Project, CmdAutomatic, nullptr, {0, 0, 1, 0}},
        // The backdrop of the run still counts after New.
        {"Manual after New", Start::ProjectThenNew, CmdManual, nullptr, {0, 1, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gui::ResetProgram();
        gui::ScratchFolder folder;
        switch (c.start) {
        case Start::Nothing:
            break;
        case Start::ThermalsOnly:
            for (const Thermal& t : ThreeThermals) thermals[thermalCount++] = t;
            break;
        case Start::BackdropOnly:
            ASSERT_NO_FATAL_FAILURE(gui::BringInProject(folder, "alps.prj", {}));
            break;
        case Start::Project:
        case Start::ProjectThenNew:
            ASSERT_NO_FATAL_FAILURE(gui::BringInProject(folder, "alps.prj", ThreeThermals));
            break;
        }
        if (c.start == Start::ProjectThenNew) {
            gui::Command(CmdNew);
            // The Setup dialog New opened, closed by its close box.
            SendMessageA(gui::App().currentDialog, WM_CLOSE, 0, 0);
            gui::Pump();
            ASSERT_EQ(gui::App().currentDialog, nullptr);
        }
        boundsParsePending = 1;
        const int32_t count = thermalCount;

        if (c.notice) gui::ExpectBox(IDOK);
        gui::Command(c.command);

        if (c.notice) {
            ASSERT_EQ(gui::Boxes().size(), 1u);
            EXPECT_EQ(gui::Boxes()[0].text, c.notice);
            EXPECT_EQ(gui::Boxes()[0].caption, "Ascendor");
            EXPECT_EQ(gui::Boxes()[0].Type(), static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
            EXPECT_EQ(gui::App().currentDialog, nullptr);
            EXPECT_EQ(boundsParsePending, 1);
        } else {
            EXPECT_TRUE(gui::Boxes().empty());
            ASSERT_NE(gui::App().currentDialog, nullptr);
            EXPECT_TRUE(IsWindowVisible(gui::App().currentDialog));
            EXPECT_EQ(boundsParsePending, 0);
        }
        EXPECT_EQ(CurrentModes(), c.modes);
        EXPECT_EQ(thermalCount, count);
        gui::CheckWatcher();
    }
}

TEST_F(ToolCommandsTest, ASecondDialogCommandOnlySwitchesTheMode) {
    gui::ScratchFolder folder;
    ASSERT_NO_FATAL_FAILURE(gui::BringInProject(folder, "alps.prj", ThreeThermals));
    gui::Command(CmdAutomatic);
    HWND automatic = gui::App().currentDialog;
    ASSERT_NE(automatic, nullptr);
    const std::string caption = DialogCaption();

    struct Step {
        int command;
        Modes modes;
    };
    const Step steps[] = {
        {CmdManual, {0, 1, 0, 0}},
        {CmdEdit, {1, 0, 0, 0}},
        {CmdClearPartly, {0, 0, 0, 1}},
        {CmdManual, {0, 1, 0, 0}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.command);
        gui::Command(step.command);
        EXPECT_EQ(gui::App().currentDialog, automatic);
        EXPECT_EQ(DialogCaption(), caption);
        EXPECT_TRUE(IsWindowVisible(automatic));
        EXPECT_EQ(CurrentModes(), step.modes);
    }
    EXPECT_TRUE(gui::Boxes().empty());

    // Closing the Automatic dialog leaves the map in manual mode with no dialog.
    boxwatch::PressButton(automatic, IdcAutoOk);
    gui::Pump();
    EXPECT_FALSE(IsWindow(automatic));
    EXPECT_EQ(gui::App().currentDialog, nullptr);
    EXPECT_EQ((CurrentModes()), (Modes{0, 1, 0, 0}));
}

TEST_F(ToolCommandsTest, ClearAllAsksWithEveryModeOff) {
    struct Case {
        const char* name;
        int answer;
        int32_t countAfter;
        int modifiedAfter;
    };
    const Case cases[] = {
        {"No", IDNO, 3, 0},
        {"Yes", IDYES, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gui::ResetProgram();
        gui::ScratchFolder folder;
        ASSERT_NO_FATAL_FAILURE(gui::BringInProject(folder, "alps.prj", ThreeThermals));
        gui::Command(CmdManual);
        HWND manual = gui::App().currentDialog;
        ASSERT_NE(manual, nullptr);
        boundsParsePending = 1;
        Thermal before[3];
        std::memcpy(before, thermals, sizeof before);

        gui::ExpectBox(c.answer);
        gui::Command(CmdClearAll);

        ASSERT_EQ(gui::Boxes().size(), 1u);
        EXPECT_EQ(gui::Boxes()[0].text, "Do you want to clear all thermals ?");
        EXPECT_EQ(gui::Boxes()[0].caption, "Ascendor");
        EXPECT_EQ(gui::Boxes()[0].Type(), static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
        // Off whatever the answer.
        EXPECT_EQ(boundsParsePending, 0);
        EXPECT_EQ((CurrentModes()), (Modes{0, 0, 0, 0}));
        EXPECT_EQ(thermalCount, c.countAfter);
        EXPECT_EQ(projectModified, c.modifiedAfter);
        if (c.countAfter) {
            EXPECT_EQ(std::memcmp(before, thermals, sizeof before), 0);
        }
        // The dialog stays open.
        EXPECT_EQ(gui::App().currentDialog, manual);
        gui::CheckWatcher();
    }
}

TEST_F(ToolCommandsTest, ClearAllWithoutThermalsOnlyTellsAndHelpChangesNothing) {
    gui::ScratchFolder folder;
    ASSERT_NO_FATAL_FAILURE(gui::BringInProject(folder, "alps.prj", {}));
    gui::Command(CmdManual);
    ASSERT_NE(gui::App().currentDialog, nullptr);

    gui::ExpectBox(IDOK);
    gui::Command(CmdClearAll);
    ASSERT_EQ(gui::Boxes().size(), 1u);
    EXPECT_EQ(gui::Boxes()[0].text, ThermalsNotice);
    EXPECT_EQ(gui::Boxes()[0].Type(), static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ((CurrentModes()), (Modes{0, 1, 0, 0}));
    EXPECT_EQ(projectModified, 0);

    thermals[thermalCount++] = ThreeThermals[0];
    projectModified = 1;
    const std::string title = gui::Title();
    HWND dialog = gui::App().currentDialog;
    gui::Command(CmdHelp);
    EXPECT_EQ(gui::Boxes().size(), 1u);
    EXPECT_TRUE(gui::Dialogs().empty());
    EXPECT_EQ(gui::App().currentDialog, dialog);
    EXPECT_EQ((CurrentModes()), (Modes{0, 1, 0, 0}));
    EXPECT_EQ(thermalCount, 1);
    EXPECT_EQ(projectModified, 1);
    EXPECT_EQ(gui::Title(), title);
}

}  // namespace
