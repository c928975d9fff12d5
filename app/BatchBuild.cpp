// Ascendor /create PATH: reads the project, writes its SCASM sources as Create does and runs SCASM
// once per source, waiting for each, with no window; what Create would show in a box is printed.
#include "app/BatchBuild.h"

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/CommandLine.h"
#include "model/FileNames.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "scenery/ScaWriter.h"
#include "scenery/SceneryBuild.h"
#include "shell/FileDialogs.h"
#include "shell/Processes.h"

namespace {

enum ExitCode { Built = 0, NotBuilt = 1, SourceNotWritten = 2, ScasmFailed = 3 };

// The standard output when the program was given one (a pipe, a file, a console); otherwise the
// console of the program that started it, if any; otherwise nowhere.
class Output {
public:
    Output() {
        HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
        if (out != nullptr && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN) {
            handle = out;
        } else if (AttachConsole(ATTACH_PARENT_PROCESS)) {
            handle = CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 0, nullptr);
            owned = handle != INVALID_HANDLE_VALUE;
        }
    }
    ~Output() {
        if (owned) CloseHandle(handle);
    }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    void Write(const std::string& text) {
        if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
        DWORD written = 0;
        WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
    void Line(const std::string& text) { Write(text + "\r\n"); }

private:
    HANDLE handle = nullptr;
    bool owned = false;
};

// The writer's questions answered without a user: a split is taken, a refusal is printed with the
// text of Create's box and decides the exit code.
class PrintedQuestions : public SceneryQuestions {
public:
    explicit PrintedQuestions(Output& output) : output(output) {}
    SplitAnswer AskSplit() override { return SplitAnswer::Yes; }
    void TellTooWide() override { Refuse("Over 10 deg. latitude is way too much...", NotBuilt); }
    void TellBadThermal(const char* text) override { Refuse(text, SourceNotWritten); }
    void TellWriteFailed(const char* fileName) override {
        Refuse(std::string("Could not write file ") + fileName, SourceNotWritten);
    }
    int code = SourceNotWritten;  // a source the writer could not make, told or not

private:
    void Refuse(const std::string& text, int refusal) {
        output.Line(text);
        code = refusal;
    }
    Output& output;
};

// Runs one SCASM and waits for it. False when it could not be started; otherwise code is its exit
// code, read as the signed number a program ends with (so -1 stays -1, and is no failed start).
bool RunAndWait(const char* command, int32_t& code) {
    std::string line = command;
    HANDLE process = StartProcess(&line[0]);
    if (process == nullptr) return false;
    WaitForSingleObject(process, INFINITE);
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(process, &exitCode)) exitCode = static_cast<DWORD>(-1);
    CloseHandle(process);
    code = static_cast<int32_t>(exitCode);
    return true;
}

}  // namespace

int PrintUsage(int code) {
    Output output;
    output.Write(UsageText);
    return code;
}

int BuildWithoutWindow(const char* path) {
    Output output;
    NamedFile file;
    const bool named = FullPathOf(path, file);
    ResetProject();
    if (!named || !ReadProject(file.path.c_str())) {
        output.Line("Could not read file " + ShortenedName(named ? file.title : path) + "!");
        return NotBuilt;
    }
    // The sources go beside the project, as after Open; the project file itself is not written.
    SetCurrentDirectoryA(file.folder.c_str());
    CopyText(projectFolder, DialogPathSize, file.folder.c_str());
    if (!CutExtension(projectName, ProjectNameSize, file.title.c_str()))
        CopyText(projectName, ProjectNameSize, file.title.c_str());
    if (thermalCount == 0) {
        output.Line("Perhaps you should add some thermals first...");
        return NotBuilt;
    }

    PrintedQuestions questions(output);
    if (!WriteScaFiles(questions, projectName)) return questions.code;
    for (int band = 0; band < sceneryFileCount; ++band)
        output.Line("wrote " + std::string(projectName) + sceneryFileSuffixes[band] + ".sca (" +
                    std::to_string(BandThermalCount(band)) + " thermals)");

    int result = Built;
    for (int band = 0; band < sceneryFileCount; ++band) {
        const std::string command = ComposeScasmCommand(projectName, band);
        int32_t code = 0;
        const bool started = RunAndWait(command.c_str(), code);
        if (!started)
            output.Line(command + ": could not be started; put scasm.exe on the PATH or in the project's folder");
        else
            output.Line(command + ": exit code " + std::to_string(code));
        if (!started || code != 0) result = ScasmFailed;
    }
    return result;
}
