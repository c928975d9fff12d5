// The Project menu: New, Open, Save, Save As, Exit.
#include "app/ProjectCommands.h"

#include <string>

#include "app/Commands.h"
#include "app/RecentMenu.h"
#include "map/MapWindow.h"
#include "model/Coordinates.h"
#include "model/History.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "setup/SetupDialog.h"
#include "shell/AppWindow.h"
#include "shell/FileDialogs.h"
#include "shell/FileNames.h"
#include "shell/Frame.h"
#include "shell/MessageBoxes.h"

namespace {

// After a save: a backdrop named by a relative name is looked for in the project's folder when
// the project is opened again, so the user learns now when it is not there.
void NoteBackdropMissingBeside(HWND owner) {
    if (backdropName[0] == '\0') return;
    DWORD attributes = GetFileAttributesA(backdropName);
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
    char folder[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH) folder[0] = '\0';
    std::string text = "The project will look for its backdrop " + ShortenedName(backdropName) + " in " +
                       ShortenedName(folder) + ", where there is no such file yet. Copy it there.";
    ShowMessage(owner, text.c_str(), MB_OK | MB_ICONINFORMATION);
}

// The project's name and the title follow a save only once it has succeeded.
void TakeSavedName(HWND owner, const char* name) {
    projectModified = 0;
    CopyText(projectName, ProjectNameSize, name);
    UpdateTitle(owner, projectName);
    NoteBackdropMissingBeside(owner);
}

// Writes the project as its name followed by ".prj" in the current folder, asking for a name in
// the Save dialog on path and title first when it has none. True when written; a failure is told
// by name, a cancelled dialog is not.
bool SaveUnderProjectName(HWND owner, char* path, char* title) {
    fileDialog.lpstrFilter = ProjectFilter;
    char name[ProjectNameSize];
    CopyText(name, ProjectNameSize, projectName);
    if (name[0] == '\0') {
        if (!ChooseSaveFile(owner, path, title)) return false;
        CutExtension(name, ProjectNameSize, title);
    }
    // A name too long for the title buffer would be cut into another file's name: not written.
    const std::string target = std::string(name) + ".prj";
    const bool fits = target.size() < static_cast<size_t>(DialogTitleSize);
    if (fits) CopyText(title, DialogTitleSize, target.c_str());
    if (!fits || !WriteProject(title)) {
        ShowFileMessage(owner, "Could not write file %s", target.c_str());
        return false;
    }
    TakeSavedName(owner, name);
    NoteRecentProject(owner, title);
    return true;
}

}  // namespace

bool OfferSave(HWND owner) {
    int answer = ShowMessage(owner, "Shouldn't you save the current file first ?", MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    if (answer == IDNO) return true;
    if (answer != IDYES) return false;
    // The prompt's own Save dialog starts empty, not with a picture chosen by Load.
    if (projectName[0] == '\0') spareDialogPath[0] = '\0';
    return SaveUnderProjectName(owner, spareDialogPath, spareDialogTitle);
}

bool ConfirmExit(HWND owner) {
    if (projectModified && !OfferSave(owner)) return false;
    return ShowMessage(owner, "Do you really want to exit this program ?", MB_OKCANCEL | MB_ICONEXCLAMATION) != IDCANCEL;
}

void NewProject(HWND owner) {
    if (projectModified && !OfferSave(owner)) return;
    // Whatever tool dialog is open belongs to the replaced project: it closes unapplied, and a
    // fresh Setup dialog shows the new one.
    CloseToolDialog();
    ResetProject();
    ClearHistory();
    UpdateTitle(owner, projectName);
    ClearMapModes();
    setupMode = 1;
    InvalidateMap(true);
    OpenToolDialog(owner, "SETUP", SetupDialogProc);
}

bool SaveQuestionAllows(HWND owner) { return !projectModified || OfferSave(owner); }

bool OpenProjectFile(HWND owner, const char* path) {
    // The full path: the recent list keeps it, and its folder becomes the current one.
    NamedFile file;
    const bool named = FullPathOf(path, file);
    if (!named || !ReadNewProject(file.path.c_str())) {
        ShowFileMessage(owner, "Could not read file %s!", named ? file.title.c_str() : path);
        // Nothing changed, but the map is shown whole again, as after any command.
        InvalidateMap(true);
        return false;
    }
    ClearHistory();
    // As a confirmed Open dialog leaves them: the file offered next, and its folder current, where
    // the backdrop and the files of Save and Create are.
    CopyText(dialogPath, DialogPathSize, file.path.c_str());
    CopyText(dialogTitle, DialogTitleSize, file.title.c_str());
    CutExtension(projectName, ProjectNameSize, file.title.c_str());
    SetCurrentDirectoryA(file.folder.c_str());
    UpdateTitle(owner, projectName);
    projectModified = 0;
    ClearMapModes();
    // The Setup dialog's rows belong to the project just replaced; an OK would write them over
    // the opened project's bounds.
    CloseSetupDialogWithoutApplying();
    if (!LoadBackdropOrTell(owner, backdropName, " Choose it again with Project > Edit > Load.")) ForgetBackdrop();
    // The area numbers depend on the backdrop's size, so they are made once it is known.
    RecomputeArea();
    InvalidateMap(true);
    NoteRecentProject(owner, dialogPath);
    return true;
}

void OpenProject(HWND owner) {
    if (projectModified && !OfferSave(owner)) return;
    char folder[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
    fileDialog.lpstrFilter = ProjectFilter;
    if (!ChooseOpenFile(owner, dialogPath, dialogTitle)) return;
    if (OpenProjectFile(owner, dialogPath)) return;
    // The project stays, and so does the folder its Save writes into.
    if (length > 0 && length < MAX_PATH) SetCurrentDirectoryA(folder);
    dialogPath[0] = '\0';
    dialogTitle[0] = '\0';
}

void SaveProject(HWND owner) {
    if (!backdropLoaded) {
        ShowStartProjectNotice(owner);
        return;
    }
    SaveUnderProjectName(owner, dialogPath, dialogTitle);
}

void SaveProjectAs(HWND owner) {
    if (!backdropLoaded) {
        ShowStartProjectNotice(owner);
        return;
    }
    fileDialog.lpstrFilter = ProjectFilter;
    if (!ChooseSaveFile(owner, dialogPath, dialogTitle)) return;
    char name[ProjectNameSize];
    CopyText(name, ProjectNameSize, projectName);
    CutExtension(name, ProjectNameSize, dialogTitle);
    if (WriteProject(dialogPath)) {
        TakeSavedName(owner, name);
        NoteRecentProject(owner, dialogPath);
    } else {
        ShowFileMessage(owner, "Could not write file %s", dialogTitle);
    }
}

void ExitProgram(HWND owner) {
    if (!ConfirmExit(owner)) return;
    DestroyToolDialog();
    PostQuitMessage(0);
}
