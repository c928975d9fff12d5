// The Project menu: New, Open, Save, Save As, Exit.
#include "app/ProjectCommands.h"

#include <string>

#include "app/Commands.h"
#include "app/RecentMenu.h"
#include "map/MapWindow.h"
#include "map/Selection.h"
#include "model/Coordinates.h"
#include "model/FileNames.h"
#include "model/History.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "setup/SetupDialog.h"
#include "shell/AppWindow.h"
#include "shell/FileDialogs.h"
#include "shell/MainParts.h"
#include "shell/MessageBoxes.h"
#include "thermals/Generation.h"

namespace {

// The folder as a box names it: without its last separator, unless it is a drive's root.
std::string ShownFolder(std::string folder) {
    if (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/') && folder[folder.size() - 2] != ':')
        folder.pop_back();
    return folder;
}

// After a save: a backdrop named by a relative name is looked for in the project's folder when
// the project is opened again, so the user learns now when it is not there.
void NoteBackdropMissingBeside(HWND owner) {
    if (backdropName[0] == '\0') return;
    const std::string path = BesideProject(backdropName);
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
    std::string text = "The project will look for its backdrop " + ShortenedName(backdropName) + " in " +
                       ShortenedName(ShownFolder(FolderOf(path.c_str()))) + ", where there is no such file yet. Copy it there.";
    ShowMessage(owner, text.c_str(), MB_OK | MB_ICONINFORMATION);
}

// The project's name, folder and title follow a save only once it has succeeded.
void TakeSavedName(HWND owner, const char* name, const std::string& folder) {
    projectModified = 0;
    CopyText(projectName, ProjectNameSize, name);
    CopyText(projectFolder, DialogPathSize, folder.c_str());
    UpdateTitle(owner, projectName);
    NoteBackdropMissingBeside(owner);
}

// Writes the project as its name followed by ".prj" in the project's folder, asking for a name
// (and so a folder) in the Save dialog on path and title first when it has none. True when
// written; a failure is told by name, a cancelled dialog is not.
bool SaveUnderProjectName(HWND owner, char* path, char* title) {
    char name[ProjectNameSize];
    CopyText(name, ProjectNameSize, projectName);
    std::string folder = projectFolder;
    if (name[0] == '\0') {
        if (!ChooseSaveFile(owner, path, title)) return false;
        CutExtension(name, ProjectNameSize, title);
        folder = FolderOf(path);
    }
    // A name too long for the title buffer would be cut into another file's name: not written.
    const std::string target = std::string(name) + ".prj";
    const bool fits = target.size() < static_cast<size_t>(DialogTitleSize);
    if (fits) CopyText(title, DialogTitleSize, target.c_str());
    if (!fits || !WriteProject((folder + target).c_str())) {
        ShowFileMessage(owner, "Could not write file %s", target.c_str());
        return false;
    }
    TakeSavedName(owner, name, folder);
    NoteRecentProject(owner, (folder + target).c_str());
    return true;
}

// A project that names its backdrop can be saved while the picture is missing; one with no
// backdrop at all has not been started.
bool CanSave(HWND owner) {
    if (backdropLoaded || backdropName[0] != '\0') return true;
    ShowStartProjectNotice(owner);
    return false;
}

}  // namespace

void EndProjectSession() {
    // Tool dialogs close unapplied: what they hold belongs to the project that goes.
    CloseToolDialog();
    EndMapPress();
    ResetSelection();
    areaSelected = 0;
    ForgetPendingBatch();
    ClearMapModes();
    ClearHistory();
    for (char* text : statusText) text[0] = '\0';
    UpdateStatusBar();
    newProjectBegun = false;  // New sets it again once the old project has gone
}

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
    EndProjectSession();
    ResetProject();
    // The old picture goes too: thermals placed on it would be saved at the new area's places.
    ForgetBackdrop();
    newProjectBegun = true;
    UpdateTitle(owner, projectName);
    setupMode = 1;
    InvalidateMap(true);
    OpenToolDialog(owner, "SETUP", SetupDialogProc);
}

bool SaveQuestionAllows(HWND owner) { return !projectModified || OfferSave(owner); }

bool OpenProjectFile(HWND owner, const char* path) {
    // The full path: the recent list keeps it, and its folder is the project's.
    NamedFile file;
    const bool named = FullPathOf(path, file);
    int leftOut = 0;
    if (!named || !ReadNewProject(file.path.c_str(), &leftOut, EndProjectSession)) {
        ShowFileMessage(owner, "Could not read file %s!", named ? file.title.c_str() : path);
        // Nothing changed, but the map is shown whole again, as after any command.
        InvalidateMap(true);
        return false;
    }
    // As a confirmed Open dialog leaves them: the file offered next, and its folder current.
    CopyText(dialogPath, DialogPathSize, file.path.c_str());
    CopyText(dialogTitle, DialogTitleSize, file.title.c_str());
    CutExtension(projectName, ProjectNameSize, file.title.c_str());
    CopyText(projectFolder, DialogPathSize, file.folder.c_str());
    SetCurrentDirectoryA(file.folder.c_str());
    UpdateTitle(owner, projectName);
    projectModified = 0;
    if (!LoadBackdropOrTell(owner, BesideProject(backdropName).c_str(), backdropName,
                            " Choose it again with Project > Edit > Load."))
        ForgetBackdrop();
    // The area numbers depend on the backdrop's size, so they are made once it is known.
    RecomputeArea();
    InvalidateMap(true);
    NoteRecentProject(owner, dialogPath);
    if (leftOut > 0) {
        const std::string text = "Left out " + std::to_string(leftOut) + " lines of %s that hold no thermal.";
        ShowFileMessage(owner, text.c_str(), file.title.c_str());
    }
    return true;
}

void OpenProject(HWND owner) {
    if (projectModified && !OfferSave(owner)) return;
    char folder[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
    if (!ChooseOpenFile(owner, dialogPath, dialogTitle)) return;
    if (OpenProjectFile(owner, dialogPath)) return;
    // A failed Open leaves the project and the current folder as they were.
    if (length > 0 && length < MAX_PATH) SetCurrentDirectoryA(folder);
    dialogPath[0] = '\0';
    dialogTitle[0] = '\0';
}

void SaveProject(HWND owner) {
    if (CanSave(owner)) SaveUnderProjectName(owner, dialogPath, dialogTitle);
}

void SaveProjectAs(HWND owner) {
    if (!CanSave(owner)) return;
    if (!ChooseSaveFile(owner, dialogPath, dialogTitle)) return;
    char name[ProjectNameSize];
    CopyText(name, ProjectNameSize, projectName);
    CutExtension(name, ProjectNameSize, dialogTitle);
    if (WriteProject(dialogPath)) {
        TakeSavedName(owner, name, FolderOf(dialogPath));
        NoteRecentProject(owner, dialogPath);
    } else {
        ShowFileMessage(owner, "Could not write file %s", dialogTitle);
    }
}

void ExitProgram(HWND owner) {
    // Destroyed, the main window's children and the map release what they hold; its end posts
    // the quit message.
    if (ConfirmExit(owner)) DestroyWindow(owner);
}

BOOL AnswerEndOfSession(HWND owner) {
    // While a box or a file dialog is up a command is halfway: no question can be asked now.
    if (!IsWindowEnabled(owner)) return projectModified ? FALSE : TRUE;
    return !projectModified || OfferSave(owner) ? TRUE : FALSE;
}
