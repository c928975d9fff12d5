// The commands that open the tool dialogs, Clear all, Help and About.
#include "app/Commands.h"
#include "map/MapWindow.h"
#include "model/Project.h"
#include "resources/ResourceIds.h"
#include "setup/SetupDialog.h"
#include "shell/AppWindow.h"
#include "shell/MessageBoxes.h"
#include "thermals/Clearing.h"
#include "thermals/ThermalDialogs.h"

void OpenToolDialog(HWND owner, const char* templateName, DLGPROC procedure) {
    // One tool dialog at a time: while one is open the command only switches the map's mode.
    if (theApp->currentDialog != nullptr) return;
    theApp->currentDialog = CreateDialogParamA(theApp->instance, templateName, owner, procedure, 0);
}

// Exactly one map mode on, the others and the pending bounds parse off.
static void SetMode(int32_t* mode) {
    ClearMapModes();
    *mode = 1;
}

void EditSetup(HWND owner) {
    if (!backdropLoaded) {
        ShowStartProjectNotice(owner);
        return;
    }
    OpenToolDialog(owner, "SETUP", SetupDialogProc);
    SetMode(&setupMode);
}

void StartManual(HWND owner) {
    if (!backdropLoaded) {
        ShowStartProjectNotice(owner);
        return;
    }
    OpenToolDialog(owner, "MANUAL", ManualDialogProc);
    SetMode(&manualMode);
}

void StartAutomatic(HWND owner) {
    if (!backdropLoaded) {
        ShowStartProjectNotice(owner);
        return;
    }
    OpenToolDialog(owner, "AUTOMATIC", AutomaticDialogProc);
    SetMode(&automaticMode);
}

void StartClearPartly(HWND owner) {
    if (thermalCount == 0) {
        ShowAddThermalsNotice(owner);
        return;
    }
    OpenToolDialog(owner, "CLEARPART", ClearPartDialogProc);
    SetMode(&clearPartMode);
}

void ClearAllThermals(HWND owner) {
    if (thermalCount == 0) {
        ShowAddThermalsNotice(owner);
        return;
    }
    // The modes go off before the question, whatever the answer.
    ClearMapModes();
    if (ShowMessage(owner, "Do you want to clear all thermals ?", MB_YESNO | MB_ICONEXCLAMATION) != IDYES) return;
    ClearAllRecords();
    projectModified = 1;
    InvalidateMap(false);
}

void ShowHelp(HWND) {}

void ShowAbout(HWND owner) {
    DialogBoxParamA(theApp->instance, "ABOUT", owner, AboutDialogProc, 0);
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetFocus(GetDlgItem(dialog, IdcAboutOk));
        return FALSE;
    case WM_COMMAND:
    case WM_DESTROY:
        EndDialog(dialog, -1);
        return TRUE;
    default:
        return FALSE;
    }
}
