// The Create command: save the project, write the SCASM sources, start SCASM once per file.
#include <cstdio>
#include <cstring>
#include <string>

#include "model/FileNames.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "scenery/ScaWriter.h"
#include "scenery/SceneryBuild.h"
#include "shell/FileDialogs.h"
#include "shell/MainParts.h"
#include "shell/MessageBoxes.h"
#include "shell/Processes.h"

static char scasmCommand[2 * ProjectNameSize + 64];

namespace {

// The writer's questions, asked with message boxes owned by the main window.
class BoxQuestions : public SceneryQuestions {
public:
    explicit BoxQuestions(HWND owner) : owner(owner) {}
    SplitAnswer AskSplit() override {
        int answer = ShowMessage(owner, "This project might be too large for one BGL -\ndo you want to create separate files ?",
                                 MB_YESNOCANCEL | MB_ICONEXCLAMATION);
        if (answer == IDYES) return SplitAnswer::Yes;
        if (answer == IDNO) return SplitAnswer::No;
        return SplitAnswer::Cancel;
    }
    void TellTooWide() override { ShowError(owner, "Over 10 deg. latitude is way too much..."); }
    void TellBadThermal(const char* text) override { ShowMessage(owner, text, MB_OK | MB_ICONHAND); }
    void TellWriteFailed(const char* fileName) override {
        char text[DialogTitleSize + 32];
        std::snprintf(text, sizeof text, "Could not write file %s", ShortenedName(fileName).c_str());
        ShowMessage(owner, text, MB_OK | MB_ICONHAND);
    }

private:
    HWND owner;
};

// File names with a blank reach SCASM quoted, as one argument each.
const char* QuoteFor(const char* projectName) { return std::strchr(projectName, ' ') != nullptr ? "\"" : ""; }

}  // namespace

// Starts one SCASM run without waiting; the process handle, or null when none was started.
HANDLE RunScasm(char* commandLine) { return StartProcess(commandLine, projectFolder); }

const char* ComposeScasmCommand(const char* projectName, int band) {
    const char* suffix = sceneryFileSuffixes[band];
    const char* quote = QuoteFor(projectName);
    std::snprintf(scasmCommand, sizeof scasmCommand, "scasm %s%s%s.sca%s %s%s%s.bgl%s", quote, projectName, suffix,
                  quote, quote, projectName, suffix, quote);
    return scasmCommand;
}

void CreateScenery(HWND owner) {
    CopyText(captionText, CaptionTextSize, ProgramName);
    if (!backdropLoaded) {
        ShowStartProjectNotice(owner);
        return;
    }
    if (thermalCount == 0) {
        ShowAddThermalsNotice(owner);
        return;
    }
    char question[64];
    std::snprintf(question, sizeof question, "%s %d %s", "Create a BGL with", static_cast<int>(thermalCount), "thermals...");
    if (ShowMessage(owner, question, MB_OKCANCEL | MB_ICONQUESTION) == IDCANCEL) return;

    ClearMapModes();

    if (projectName[0] == '\0') {
        if (!ChooseSaveFile(owner, dialogPath, dialogTitle)) return;
        CutExtension(projectName, ProjectNameSize, dialogTitle);
        // The dialog chose the folder of the project's file, where the sources go too.
        CopyText(projectFolder, DialogPathSize, FolderOf(dialogPath).c_str());
        UpdateTitle(owner, projectName);
    }

    // Everything is written beside the project's own file, whatever folder a dialog visited.
    int length = std::snprintf(dialogTitle, DialogTitleSize, "%s%s", projectName, ".prj");
    bool saved = length >= 0 && length < DialogTitleSize && WriteProject(BesideProject(dialogTitle).c_str());
    if (!saved) {
        char text[DialogTitleSize + 32];
        std::snprintf(text, sizeof text, "%s [%s]", "trying to save", ShortenedName(dialogTitle).c_str());
        ShowError(owner, text);
    }

    BoxQuestions questions(owner);
    if (!WriteScaFiles(questions, projectName, projectFolder)) return;

    int firstFailed = -1;
    for (int band = 0; band < sceneryFileCount; ++band) {
        ComposeScasmCommand(projectName, band);
        HANDLE process = RunScasm(scasmCommand);
        // Nobody waits for a run; its handle is not needed.
        if (process != nullptr)
            CloseHandle(process);
        else if (firstFailed < 0)
            firstFailed = band;
    }
    if (firstFailed >= 0) {
        // The command line as it was run, its file names cut as every box cuts them.
        const std::string name = std::string(projectName) + sceneryFileSuffixes[firstFailed];
        const std::string quote = QuoteFor(projectName);
        const std::string text = "Could not start SCASM: scasm " + quote + ShortenedName(name + ".sca") + quote + " " +
                                 quote + ShortenedName(name + ".bgl") + quote +
                                 ". The sources are written; put scasm.exe on the PATH or in the project's folder, "
                                 "then press Create again.";
        ShowMessage(owner, text.c_str(), MB_OK | MB_ICONEXCLAMATION);
    }
    // A project whose save failed still has unsaved changes.
    if (saved) projectModified = 0;
}
