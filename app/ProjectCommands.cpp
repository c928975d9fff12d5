// The Project menu: New, Open, Save, Save As, Exit.
#include <cstdio>

#include "app/AppWindow.h"
#include "app/Commands.h"
#include "app/FileDialogs.h"
#include "app/FileNames.h"
#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "map/MapWindow.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "setup/SetupDialog.h"

void NewProject(HWND owner) {
    if (projectModified) OfferSave(owner);
    ResetProject();
    UpdateTitle(owner, projectName);
    ClearMapModes();
    setupMode = 1;
    OpenToolDialog(owner, "SETUP", SetupDialogProc);
}

void OpenProject(HWND owner) {
    if (projectModified) OfferSave(owner);
    fileDialog.lpstrFilter = ProjectFilter;
    if (!ChooseOpenFile(owner, dialogPath, dialogTitle)) return;
    ResetProject();
    if (!ReadProject(dialogPath)) {
        ShowFileMessage(owner, "Could not read file %s!", dialogTitle);
        dialogPath[0] = '\0';
        dialogTitle[0] = '\0';
        return;
    }
    CutExtension(projectName, ProjectNameSize, dialogTitle);
    UpdateTitle(owner, projectName);
    projectModified = 0;
    backdropReloadPending = 1;
    ClearMapModes();
    boundsParsePending = 1;
    // The Setup dialog's rows belong to the project just replaced; an OK would write them over
    // the opened project's bounds.
    CloseSetupDialogWithoutApplying();
    InvalidateMap(true);
}

// "name.prj" into dialogTitle; false when it does not fit (it would name another file).
static bool ComposeProjectFileName() {
    int length = std::snprintf(dialogTitle, DialogTitleSize, "%s.prj", projectName);
    return length >= 0 && length < DialogTitleSize;
}

void SaveProject(HWND owner) {
    if (!backdropLoaded) {
        ShowStartProjectNotice(owner);
        return;
    }
    fileDialog.lpstrFilter = ProjectFilter;
    if (projectName[0] == '\0') {
        if (!ChooseSaveFile(owner, dialogPath, dialogTitle)) return;
        CutExtension(projectName, ProjectNameSize, dialogTitle);
        UpdateTitle(owner, projectName);
    }
    char target[DialogTitleSize + 8];
    bool fits = ComposeProjectFileName();
    if (!fits) std::snprintf(target, sizeof target, "%.500s....prj", projectName);
    if (fits && WriteProject(dialogTitle))
        projectModified = 0;
    else
        ShowFileMessage(owner, "Could not write file %s", fits ? dialogTitle : target);
}

void SaveProjectAs(HWND owner) {
    if (!backdropLoaded) {
        ShowStartProjectNotice(owner);
        return;
    }
    fileDialog.lpstrFilter = ProjectFilter;
    if (!ChooseSaveFile(owner, dialogPath, dialogTitle)) return;
    CutExtension(projectName, ProjectNameSize, dialogTitle);
    UpdateTitle(owner, projectName);
    if (WriteProject(dialogPath))
        projectModified = 0;
    else
        ShowFileMessage(owner, "Could not write file %s", dialogTitle);
}

void ExitProgram(HWND owner) {
    if (!ConfirmExit(owner)) return;
    if (theApp->currentDialog != nullptr) {
        HWND dialog = theApp->currentDialog;
        theApp->currentDialog = nullptr;
        DestroyWindow(dialog);
    }
    PostQuitMessage(0);
}
