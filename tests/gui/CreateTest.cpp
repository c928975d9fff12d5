// Create end to end: the questions, the project save, the SCASM sources and the runs of the
// stand-in assembler (put into the scratch folder, which is current, as a user's SCASM would be
// found), read back from the records each run leaves.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "gui/Harness.h"
#include "gui/ProjectOnDisk.h"
#include "model/Project.h"
#include "resources/ResourceIds.h"
#include "shell/Frame.h"

namespace {

namespace fs = std::filesystem;
using gui::MakeThermal;

const char SplitQuestion[] =
    "This project might be too large for one BGL -\ndo you want to create separate files ?";

class CreateTest : public gui::GuiTest {};

struct ScasmRun {
    std::string commandLine;
    std::string folder;
    std::string exit;
};

std::vector<ScasmRun> ReadRuns(const std::string& folder) {
    std::vector<ScasmRun> runs;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("scasm-run-", 0) != 0) continue;
        std::vector<std::string> lines;
        std::string text = gui::ReadBytes(entry.path().string());
        for (size_t start = 0; start < text.size();) {
            size_t end = text.find("\r\n", start);
            if (end == std::string::npos) end = text.size();
            lines.push_back(text.substr(start, end - start));
            start = end + 2;
        }
        lines.resize(3);
        runs.push_back({lines[0], lines[1], lines[2]});
    }
    std::sort(runs.begin(), runs.end(),
              [](const ScasmRun& a, const ScasmRun& b) { return a.commandLine < b.commandLine; });
    return runs;
}

bool SameFolder(std::string a, std::string b) {
    for (std::string* s : {&a, &b}) {
        while (!s->empty() && (s->back() == '\\' || s->back() == '/')) s->pop_back();
        for (char& c : *s) c = c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return a == b;
}

// Thermals between 52.0 and 52.5 N: one band.
const std::vector<Thermal> OneBand = {MakeThermal(5210000, 480000, 1),
                                      MakeThermal(5240000, 500000, 2, true),
                                      MakeThermal(5220000, 520000, 4)};
// From 48.0 to 52.5 N: three bands when split.
const std::vector<Thermal> ThreeBands = {
    MakeThermal(4800000, 480000, 1), MakeThermal(4950000, 490000, 3),
    MakeThermal(5100000, 500000, 2), MakeThermal(5180000, 510000, 4, true),
    MakeThermal(5250000, 520000, 1, true)};

TEST_F(CreateTest, BuildsAndStartsOneRunPerBand) {
    struct Case {
        const char* name;
        const char* projectName;   // "" untitled: the Save dialog names it
        const char* savedAs;       // the name typed into that dialog; "" cancels it
        const char* finalName;     // the project's name afterwards
        const std::vector<Thermal>* table;
        std::vector<int> answers;  // confirmation, then the split question or the save failure
        bool saveFails;            // NAME.prj is a folder
        std::vector<std::string> commandLines;
        int modifiedAfter;
    };
    const Case cases[] = {
        {"one band", "alps", nullptr, "alps", &OneBand, {IDOK}, false,
         {"scasm alps_a.sca alps_a.bgl"}, 0},
        {"three bands, split", "alps", nullptr, "alps", &ThreeBands, {IDOK, IDYES}, false,
         {"scasm alps_a.sca alps_a.bgl", "scasm alps_b.sca alps_b.bgl",
          "scasm alps_c.sca alps_c.bgl"}, 0},
        {"three bands, not split", "alps", nullptr, "alps", &ThreeBands, {IDOK, IDNO}, false,
         {"scasm alps_a.sca alps_a.bgl"}, 0},
        {"split question cancelled", "alps", nullptr, "alps", &ThreeBands, {IDOK, IDCANCEL}, false, {}, 1},
        {"confirmation cancelled", "alps", nullptr, "alps", &OneBand, {IDCANCEL}, false, {}, 1},
        {"a name with a blank", "my area", nullptr, "my area", &OneBand, {IDOK}, false,
         {"scasm \"my area_a.sca\" \"my area_a.bgl\""}, 0},
        {"untitled, named in the Save dialog", "", "valley.prj", "valley", &OneBand, {IDOK}, false,
         {"scasm valley_a.sca valley_a.bgl"}, 0},
        {"untitled, Save dialog cancelled", "", "", "", &OneBand, {IDOK}, false, {}, 1},
        {"project save fails", "alps", nullptr, "alps", &OneBand, {IDOK, IDOK}, true,
         {"scasm alps_a.sca alps_a.bgl"}, 1},
    };
    // The runs go on beside the program; all rows run first, then their records are awaited
    // together.
    std::vector<std::unique_ptr<gui::ScratchFolder>> folders;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gui::ResetProgram();
        folders.push_back(std::make_unique<gui::ScratchFolder>());
        const gui::ScratchFolder& folder = *folders.back();
        ASSERT_TRUE(CopyFileA(boxwatch::WinePath(SCASM_EXE).c_str(), folder.File("scasm.exe").c_str(),
                              FALSE));
        ASSERT_NO_FATAL_FAILURE(gui::BringInProject(folder, "area.prj", *c.table));
        CopyText(projectName, ProjectNameSize, c.projectName);
        UpdateTitle(gui::Main(), projectName);
        const std::string name = c.finalName;
        if (c.saveFails) fs::create_directory(folder.File(name + ".prj"));
        // An open tool dialog stays open; its map mode goes off once the build is confirmed.
        gui::Command(CmdManual);
        HWND manual = gui::App().currentDialog;
        ASSERT_NE(manual, nullptr);
        projectModified = 1;

        for (int answer : c.answers) gui::ExpectBox(answer);
        if (c.savedAs && *c.savedAs) gui::ExpectFile(folder.File(c.savedAs));
        if (c.savedAs && !*c.savedAs) gui::ExpectFileCancel();
        gui::Command(CmdCreate);

        const std::vector<boxwatch::BoxRecord> boxes = gui::Boxes();
        ASSERT_EQ(boxes.size(), c.answers.size());
        EXPECT_EQ(boxes[0].text, "Create a BGL with " + std::to_string(c.table->size()) + " thermals...");
        EXPECT_EQ(boxes[0].caption, "Ascendor");
        EXPECT_EQ(boxes[0].Type(), static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION));
        if (boxes.size() > 1 && !c.saveFails) {
            EXPECT_EQ(boxes[1].text, SplitQuestion);
            EXPECT_EQ(boxes[1].caption, "Ascendor");
            EXPECT_EQ(boxes[1].Type(), static_cast<UINT>(MB_YESNOCANCEL | MB_ICONEXCLAMATION));
        }
        if (c.saveFails) {
            EXPECT_EQ(boxes[1].text, "trying to save [" + name + ".prj]");
            EXPECT_EQ(boxes[1].caption, "Error");  // no caption of its own: the system's
            EXPECT_EQ(boxes[1].Type(), static_cast<UINT>(MB_OK | MB_ICONHAND));
            EXPECT_TRUE(fs::is_directory(folder.File(name + ".prj")));
        }
        for (const auto& box : boxes) EXPECT_EQ(box.owner, gui::Main());

        const bool confirmed = c.answers[0] == IDOK && !(c.savedAs && !*c.savedAs);
        if (confirmed && !c.saveFails) {
            EXPECT_TRUE(fs::is_regular_file(folder.File(name + ".prj")));
        }
        if (!confirmed) {
            EXPECT_FALSE(fs::exists(folder.File(name + ".prj")));
        }
        if (c.commandLines.empty()) {
            EXPECT_FALSE(fs::exists(folder.File(name + "_a.sca")));
        }
        EXPECT_EQ(projectModified, c.modifiedAfter);
        EXPECT_STREQ(projectName, name.c_str());
        EXPECT_EQ(gui::Title(), "Ascendor - [" + (name.empty() ? std::string("(untitled)") : name) + "]");
        EXPECT_EQ(manualMode, c.answers[0] == IDOK ? 0 : 1);
        EXPECT_EQ(gui::App().currentDialog, manual);
        gui::CheckWatcher();
    }

    size_t expectedRuns = 0;
    for (const Case& c : cases) expectedRuns += c.commandLines.size();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    for (;;) {
        size_t seen = 0;
        for (const auto& folder : folders) seen += ReadRuns(folder->Path()).size();
        if (seen >= expectedRuns || std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    // A little longer, for any run too many.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    for (size_t k = 0; k < folders.size(); ++k) {
        const Case& c = cases[k];
        SCOPED_TRACE(c.name);
        const std::vector<ScasmRun> runs = ReadRuns(folders[k]->Path());
        ASSERT_EQ(runs.size(), c.commandLines.size());
        for (size_t i = 0; i < runs.size(); ++i) {
            EXPECT_EQ(runs[i].commandLine, c.commandLines[i]);
            EXPECT_TRUE(SameFolder(runs[i].folder, folders[k]->Path())) << runs[i].folder;
            EXPECT_EQ(runs[i].exit, "exit 0");  // the source was there and began with Header
        }
        const char* const suffixes[] = {"_a", "_b", "_c"};
        for (size_t i = 0; i < c.commandLines.size(); ++i)
            EXPECT_TRUE(fs::exists(folders[k]->File(std::string(c.finalName) + suffixes[i] + ".bgl"))) << i;
    }
}

TEST_F(CreateTest, RefusedWithoutBackdropOrThermals) {
    struct Case {
        const char* name;
        bool backdrop;
        size_t thermalsInTable;
        const char* notice;
    };
    const Case cases[] = {
        {"no backdrop", false, 2, "Perhaps you should start a project first..."},
        {"no thermals", true, 0, "Perhaps you should add some thermals first..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gui::ResetProgram();
        gui::ScratchFolder folder;
        if (c.backdrop) {
            ASSERT_NO_FATAL_FAILURE(gui::BringInProject(
                folder, "alps.prj", std::vector<Thermal>(OneBand.begin(), OneBand.begin() + c.thermalsInTable)));
        } else {
            SetCurrentDirectoryA(folder.Path().c_str());
            for (size_t i = 0; i < c.thermalsInTable; ++i) thermals[thermalCount++] = OneBand[i];
            CopyText(projectName, ProjectNameSize, "alps");
        }
        manualMode = 1;
        projectModified = 1;
        const std::vector<std::string> before = gui::Listing(folder.Path());

        gui::ExpectBox(IDOK);
        gui::Command(CmdCreate);

        ASSERT_EQ(gui::Boxes().size(), 1u);
        EXPECT_EQ(gui::Boxes()[0].text, c.notice);
        EXPECT_EQ(gui::Boxes()[0].caption, "Ascendor");
        EXPECT_EQ(gui::Boxes()[0].Type(), static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_EQ(gui::Listing(folder.Path()), before);
        EXPECT_EQ(manualMode, 1);
        EXPECT_EQ(projectModified, 1);
        gui::CheckWatcher();
    }
}

}  // namespace
