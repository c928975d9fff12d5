// The commands that open the tool dialogs, Clear all, Undo and Redo, Help and About.
#include <cstdio>
#include <cstring>

#include "app/Commands.h"
#include "map/MapWindow.h"
#include "model/FileNames.h"
#include "model/History.h"
#include "model/Project.h"
#include "resources/ResourceIds.h"
#include "setup/SetupDialog.h"
#include "shell/AppWindow.h"
#include "shell/MessageBoxes.h"
#include "shell/Processes.h"
#include "thermals/Clearing.h"
#include "thermals/FlightsDialog.h"
#include "thermals/ThermalDialogs.h"

void OpenToolDialog(HWND owner, const char* templateName, DLGPROC procedure) {
    // One tool dialog at a time: while one is open the command only switches the map's mode.
    if (theApp->currentDialog != nullptr) return;
    theApp->currentDialog = CreateDialogParamA(theApp->instance, templateName, owner, procedure, 0);
}

void DestroyToolDialog() {
    HWND dialog = theApp->currentDialog;
    if (dialog == nullptr) return;
    theApp->currentDialog = nullptr;
    DestroyWindow(dialog);
}

void CloseToolDialog() {
    HWND dialog = theApp->currentDialog;
    if (dialog == nullptr) return;
    SendMessageA(dialog, WM_CLOSE, 0, 0);
    // A dialog that did not close itself is not left as the open one.
    if (theApp->currentDialog == dialog) DestroyToolDialog();
}

// Exactly one map mode on, the others and the pending bounds parse off. The modes decide the
// selection and the area frame on the map, so it is painted anew.
static void SetMode(int32_t* mode) {
    ClearMapModes();
    *mode = 1;
    InvalidateMap(true);
}

bool newProjectBegun = false;

void EditSetup(HWND owner) {
    // A project whose backdrop could not be loaded still names one, and a new one has none yet:
    // Setup is where it is chosen.
    if (!backdropLoaded && backdropName[0] == '\0' && !newProjectBegun) {
        ShowStartProjectNotice(owner);
        return;
    }
    OpenToolDialog(owner, "SETUP", SetupDialogProc);
    ShowSetupDialogInFront();
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

void StartFlights(HWND owner) {
    if (!backdropLoaded) {
        ShowStartProjectNotice(owner);
        return;
    }
    OpenToolDialog(owner, "FLIGHTS", FlightsDialogProc);
    // No mode: a click on the map places nothing while the flights are shown.
    ClearMapModes();
    InvalidateMap(true);
}

bool FlightsCanLoad() { return theApp->currentDialog == nullptr || IsFlightsDialog(theApp->currentDialog); }

bool LoadDroppedFlights(HWND owner, const std::vector<std::string>& paths) {
    if (!FlightsCanLoad()) return false;
    if (theApp->currentDialog == nullptr) {
        StartFlights(owner);
        if (theApp->currentDialog == nullptr) return true;  // refused, and told why
    }
    LoadFlightFiles(owner, paths);
    return true;
}

void ClearAllThermals(HWND owner) {
    if (thermalCount == 0) {
        ShowAddThermalsNotice(owner);
        return;
    }
    // The modes go off before the question, whatever the answer.
    ClearMapModes();
    InvalidateMap(true);
    if (ShowMessage(owner, "Do you want to clear all thermals ?", MB_YESNO | MB_ICONEXCLAMATION) != IDYES) return;
    ClearAllRecords();
    projectModified = 1;
    InvalidateMap(true);
}

void UndoTableChange() {
    if (!UndoStep()) return;
    projectModified = 1;
    InvalidateMap(true);
}

void RedoTableChange() {
    if (!RedoStep()) return;
    projectModified = 1;
    InvalidateMap(true);
}

void ShowHelp(HWND owner) {
    // The guide lies beside the program, wherever the program was started from.
    char folder[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(nullptr, folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) folder[0] = '\0';
    if (char* slash = std::strrchr(folder, '\\')) *slash = '\0';
    char guide[MAX_PATH + 32];
    std::snprintf(guide, sizeof guide, "%s\\UserGuide.txt", folder);
    char commandLine[sizeof guide + 32];
    std::snprintf(commandLine, sizeof commandLine, "notepad.exe \"%s\"", guide);

    DWORD attributes = GetFileAttributesA(guide);
    bool started = false;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        HANDLE reader = StartProcess(commandLine);
        started = reader != nullptr;
        if (started) CloseHandle(reader);  // nobody waits for the reader
    }
    if (!started) {
        char text[sizeof guide + 48];
        std::snprintf(text, sizeof text, "Could not open the user's guide %s", ShortenedName(guide).c_str());
        ShowMessage(owner, text, MB_OK | MB_ICONEXCLAMATION);
    }
}

void ShowAbout(HWND owner) {
    ModalScope modal(owner);
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
