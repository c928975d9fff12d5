// The Project menu: New, Open, Save, Save As, Exit.
#include <cstdio>

#include "app/Commands.h"
#include "map/MapWindow.h"
#include "model/History.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "setup/SetupDialog.h"
#include "shell/AppWindow.h"
#include "shell/FileDialogs.h"
#include "shell/FileNames.h"
#include "shell/Frame.h"
#include "shell/MessageBoxes.h"

bool OfferSave(HWND owner) {
    if (ShowMessage(owner, "Shouldn't you save the current file first ?", MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return false;
    fileDialog.lpstrFilter = ProjectFilter;
    if (projectName[0] == '\0') {
        spareDialogPath[0] = '\0';
        if (!ChooseSaveFile(owner, spareDialogPath, spareDialogTitle)) return true;
        CutExtension(projectName, ProjectNameSize, spareDialogTitle);
        UpdateTitle(owner, projectName);
    }
    // A name too long for the title buffer would be cut into another file's name: not saved.
    int length = std::snprintf(spareDialogTitle, DialogTitleSize, "%s.prj", projectName);
    if (length >= 0 && length < DialogTitleSize && WriteProject(spareDialogTitle)) projectModified = 0;
    return true;
}

bool ConfirmExit(HWND owner) {
    if (projectModified) OfferSave(owner);
    return ShowMessage(owner, "Do you really want to exit this program ?", MB_OKCANCEL | MB_ICONEXCLAMATION) != IDCANCEL;
}

void NewProject(HWND owner) {
    if (projectModified) OfferSave(owner);
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

void OpenProject(HWND owner) {
    if (projectModified) OfferSave(owner);
    fileDialog.lpstrFilter = ProjectFilter;
    if (!ChooseOpenFile(owner, dialogPath, dialogTitle)) return;
    ResetProject();
    if (!ReadProject(dialogPath)) {
        // The project was reset: the Setup dialog's rows belong to the one that was replaced.
        CloseSetupDialogWithoutApplying();
        InvalidateMap(true);
        ShowFileMessage(owner, "Could not read file %s!", dialogTitle);
        dialogPath[0] = '\0';
        dialogTitle[0] = '\0';
        return;
    }
    ClearHistory();
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
