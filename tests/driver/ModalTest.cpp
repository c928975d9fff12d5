// The shipped program from outside: no window taking input while a box or file dialog is up, and
// the Setup dialog after New. (Undo and Redo are the history model's and the command rows', as is
// what Create tells when it cannot write a source or start SCASM.)
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

class ModalTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.Copy(driver::SourceFile("examples/sample.bmp"), "sample.bmp"));
        ASSERT_TRUE(folder.Copy(driver::SourceFile("examples/sample.prj"), "sample.prj"));
    }
    std::unique_ptr<Program> Start(const std::string& project) {
        auto program = std::make_unique<Program>(folder.Path());
        EXPECT_TRUE(program->Started());
        program->Command(CmdOpen);
        EXPECT_TRUE(program->AnswerFile(folder.File(project))) << project;
        return program;
    }
    driver::Scratch folder;
};

TEST_F(ModalTest, WindowsHeldWhileABoxIsUpAndTheSetupDialogAfterNew) {
    auto program = Start("sample.prj");
    Program& p = *program;

    // Add with no batch pending is no change: Exit asks no save question.
    p.Command(CmdAutomatic);
    HWND automatic = p.FindDialog("Thermals (automatic)");
    ASSERT_NE(automatic, nullptr);
    p.Click(automatic, IdcAutoAdd);
    p.Command(CmdExit);
    AnswerBox(p, "Do you really want to exit this program ?", IDCANCEL);
    p.CloseWindow(automatic);

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

    // New over the open Setup dialog: the dialog that is open shows the new project.
    EXPECT_EQ(p.Text(setup, IdcSetupBackdrop), "sample.bmp");
    p.Command(CmdNew);
    HWND fresh = p.FindDialog("Setup...");
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(p.Text(fresh, IdcSetupBackdrop), "");
    EXPECT_EQ(p.Text(fresh, IdcSetupTopDeg), "89");
}

}  // namespace
