// The shipped program from outside: Undo and Redo of the thermal table as the saved files show
// them, no window taking input while a box or file dialog is up, and the Setup dialog after New.
// (What Create tells when it cannot write a source or start SCASM is the command rows'.)
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "driver/Driver.h"
#include "resources/ResourceIds.h"

namespace {

using driver::AnswerBox;
using driver::Program;
using driver::ThermalsOf;

const char SampleBounds[] = "52:30.000N\r\n52:00.000N\r\n004:30.000E\r\n005:30.000E\r\n";

// Neither the main window nor the tool dialog takes input while something modal is up, and
// both do again once it is answered.
void ExpectHeldWhile(Program& program, HWND dialog, const std::function<void()>& answer) {
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsWindowEnabled(program.Main()));
    EXPECT_FALSE(IsWindowEnabled(dialog));
    answer();
    EXPECT_TRUE(IsWindowEnabled(program.Main()));
    EXPECT_TRUE(IsWindowEnabled(dialog));
}

class UndoAndModalTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.Copy(driver::SourceFile("examples/sample.bmp"), "sample.bmp"));
        ASSERT_TRUE(folder.Copy(driver::SourceFile("examples/sample.prj"), "sample.prj"));
        ASSERT_TRUE(folder.Write("empty.prj", std::string("sample.bmp\r\n") + SampleBounds));
    }
    std::unique_ptr<Program> Start(const std::string& project) {
        auto program = std::make_unique<Program>(folder.Path());
        EXPECT_TRUE(program->Started());
        program->Command(CmdOpen);
        EXPECT_TRUE(program->AnswerFile(folder.File(project))) << project;
        return program;
    }
    void SaveAs(Program& program, const std::string& name) {
        program.Command(CmdSaveAs);
        EXPECT_TRUE(program.AnswerFile(folder.File(name))) << name;
    }
    driver::Scratch folder;
};

TEST_F(UndoAndModalTest, UndoRedoAndWindowsHeldWhileABoxIsUp) {
    auto program = Start("empty.prj");
    Program& p = *program;

    // Add with no batch pending is no change: Exit asks no save question.
    p.Command(CmdAutomatic);
    HWND automatic = p.FindDialog("Thermals (automatic)");
    ASSERT_NE(automatic, nullptr);
    p.Click(automatic, IdcAutoAdd);
    p.Command(CmdExit);
    AnswerBox(p, "Do you really want to exit this program ?", IDCANCEL);
    p.CloseWindow(automatic);

    p.Command(CmdManual);
    HWND manual = p.FindDialog("Thermals (manual)");
    for (double f : {0.3, 0.5, 0.7}) p.LeftClick(p.MapPoint(f, f));
    p.Command(CmdUndo);
    p.Command(CmdUndo);
    SaveAs(p, "one.prj");
    p.Command(CmdRedo);
    SaveAs(p, "two.prj");
    const auto one = ThermalsOf(folder.Read("one.prj")), two = ThermalsOf(folder.Read("two.prj"));
    ASSERT_EQ(one.size(), 1u);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0], one[0]);
    p.CloseWindow(manual);

    // A box a tool dialog asked for, and one a menu command asked for with the dialog open.
    p.Command(CmdClearPartly);
    HWND clearPart = p.FindDialog("Clear (partly)");
    p.Click(clearPart, IdcClearPartClear);
    ExpectHeldWhile(p, clearPart, [&] { AnswerBox(p, "Please set an area first...", IDOK); });
    p.Command(CmdClearAll);
    ExpectHeldWhile(p, clearPart, [&] { AnswerBox(p, "Do you want to clear all thermals ?", IDNO); });
    p.CloseWindow(clearPart);

    // Setup's Load file dialog.
    p.Command(CmdEdit);
    HWND setup = p.FindDialog("Setup...");
    p.Click(setup, IdcSetupLoad);
    ExpectHeldWhile(p, setup, [&] { EXPECT_TRUE(p.AnswerFile("")); });
    // The check that runs while the Setup dialog opens holds the main window too, and the dialog
    // is the open tool dialog from then on.
    p.Type(setup, IdcSetupTopDeg, "95");
    p.Click(setup, IdcSetupCheck);
    EXPECT_TRUE(p.Answer(IDOK));
    p.CloseWindow(setup);
    p.Command(CmdEdit);
    EXPECT_FALSE(IsWindowEnabled(p.Main()));
    boxwatch::BoxRecord check;
    EXPECT_TRUE(p.Answer(IDOK, &check));
    EXPECT_EQ(check.text, "Error [8] - Top value out of range...");
    EXPECT_TRUE(IsWindowEnabled(p.Main()));
    setup = p.FindDialog("Setup...");
    ASSERT_NE(setup, nullptr);

    p.Command(CmdClearAll);
    AnswerBox(p, "Do you want to clear all thermals ?", IDYES);
    p.Command(CmdUndo);
    SaveAs(p, "back.prj");
    EXPECT_EQ(ThermalsOf(folder.Read("back.prj")), two);
    p.Command(CmdRedo);
    SaveAs(p, "none.prj");
    EXPECT_TRUE(ThermalsOf(folder.Read("none.prj")).empty());

    // New over the open Setup dialog: the dialog that is open shows the new project.
    EXPECT_EQ(p.Text(setup, IdcSetupBackdrop), "sample.bmp");
    p.Command(CmdNew);
    HWND fresh = p.FindDialog("Setup...");
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(p.Text(fresh, IdcSetupBackdrop), "");
    EXPECT_EQ(p.Text(fresh, IdcSetupTopDeg), "89");
}

}  // namespace
