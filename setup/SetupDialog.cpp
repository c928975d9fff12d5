// The Setup dialog: the backdrop, the four bound rows with their check, the marker buttons, and
// OK that turns rows and markers into the numeric area.
#include "setup/SetupDialog.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "map/Bitmap.h"
#include "map/Geometry.h"
#include "map/MapWindow.h"
#include "model/Coordinates.h"
#include "model/FileNames.h"
#include "model/Project.h"
#include "model/WorldFile.h"
#include "resources/ResourceIds.h"
#include "setup/SetupCheck.h"
#include "shell/AppWindow.h"
#include "shell/DroppedFiles.h"
#include "shell/FileDialogs.h"
#include "shell/MessageBoxes.h"

namespace {

// The Setup dialog while it exists, so that a dropped backdrop reaches it.
HWND setupDialog = nullptr;

// Row r (top, bottom, left, right) holds the edits FirstRowEdit + 4r to FirstRowEdit + 4r + 3:
// degrees, minutes, thousandths, hemisphere.
constexpr int FirstRowEdit = IdcSetupTopDeg;

int RowEdit(int row, int part) { return FirstRowEdit + 4 * row + part; }

void CloseSetupDialog(HWND dialog) {
    DestroyWindow(dialog);
    if (theApp->currentDialog == dialog) theApp->currentDialog = nullptr;
}

// Markers that meet or cross leave no backdrop between the entered bounds to stretch them over.
bool MarkersCross() {
    if (!backdropLoaded) return false;
    int64_t columns = int64_t{markers[MarkerLeft].x} + markers[MarkerRight].x;
    int64_t rows = int64_t{markers[MarkerTop].y} + markers[MarkerBottom].y;
    return (backdropWidth > 0 && columns >= backdropWidth) ||
           (backdropHeight > 0 && rows >= backdropHeight);
}

// A world file beside the loaded picture offers its edges for the four rows; they count, as typed
// rows do, only at OK.
void OfferWorldFile(HWND dialog, const char* picturePath) {
    char worldPath[DialogPathSize];
    const char* worldTitle = nullptr;
    if (!FindWorldFile(picturePath, worldPath, sizeof worldPath, &worldTitle)) return;
    const std::string shown = "The world file " + ShortenedName(worldTitle);
    WorldEdges edges;
    const int result = ReadWorldFile(worldPath, backdropWidth, backdropHeight, &edges);
    if (result != WorldFileOk) {
        const std::string text = shown + " cannot be used: " + WorldFileReason(result) + ".";
        ShowMessage(dialog, text.c_str(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    char top[BoundTextSize], bottom[BoundTextSize], left[BoundTextSize], right[BoundTextSize];
    EdgeToText(top, BoundTextSize, edges.top, true);
    EdgeToText(bottom, BoundTextSize, edges.bottom, true);
    EdgeToText(left, BoundTextSize, edges.left, false);
    EdgeToText(right, BoundTextSize, edges.right, false);
    const std::string question = shown + " places this backdrop between " + top + " and " +
                                 bottom + ", " + left + " and " + right +
                                 ". Fill in the area from it?";
    if (ShowMessage(dialog, question.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    FillRowsFromEdges(edges);
    FillSetupDialog(dialog);
    InvalidateMap(false);  // the marker lines are gone
}

// The chosen backdrop, loaded from its full path; its title is the name the project keeps, which
// a later Open looks for in the project's folder.
bool TakeBackdrop(HWND dialog, const char* path, const char* title) {
    // A project opened without its picture (it names one) gets the area numbers that need one
    // once it is there; a new project's area waits for OK, with the rows and markers as they are.
    const bool openedWithoutPicture = backdropLoaded == 0 && backdropName[0] != '\0';
    // The name changes only with the picture, so that a save never names one the map does not show.
    if (!LoadBackdropOrTell(theApp->mainWindow, path, title, "")) return false;
    CopyText(backdropName, BackdropNameSize, title);
    SetDlgItemTextA(dialog, IdcSetupBackdrop, backdropName);
    if (openedWithoutPicture)
        RecomputeArea();
    else
        SpreadAreaOverBackdrop();
    scrollPositionX = ScrollPositionCentre;
    scrollPositionY = ScrollPositionCentre;
    projectModified = 1;
    // The world file is beside the picture.
    OfferWorldFile(dialog, path);
    return true;
}

void LoadBackdrop(HWND dialog) {
    // The picture is no project file: the project's record, its ".prj" and the current folder stay.
    if (!ChooseFileToRead(theApp->mainWindow, nullptr, BackdropFilter, OFN_CREATEPROMPT | OFN_HIDEREADONLY,
                          spareDialogPath, spareDialogTitle))
        return;
    TakeBackdrop(dialog, spareDialogPath, spareDialogTitle);
}

// After a change of the area: thermals it no longer holds are kept, but the user learns of them.
void NoteThermalsLeftOutside(const AreaEdges& before) {
    bool movedOut = false;
    const int outside = ThermalsOutsideArea(before, &movedOut);
    if (!movedOut) return;
    const std::string text = std::to_string(outside) + " of the project's " + std::to_string(thermalCount) +
                             " thermals lie outside the new area.";
    ShowMessage(theApp->mainWindow, text.c_str(), MB_OK | MB_ICONINFORMATION);
}

// True when the dialog closed.
bool ApplySetup(HWND dialog) {
    // The area is tied to the picture's pixels: without one there is nothing to tie it to.
    if (!backdropLoaded) {
        ShowMessage(theApp->mainWindow, "Perhaps you should load a backdrop first...", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    // A failed check has shown its error; the rows it leaves have no sound conversion.
    if (!CheckSetup(dialog)) return false;
    if (MarkersCross()) {
        ShowMessage(dialog,
                    "The markers meet or cross: set the left marker left of the right one and the "
                    "top marker above the bottom one...",
                    MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    const AreaEdges before = CurrentAreaEdges();
    RecomputeArea();
    InvalidateMap(true);
    projectModified = 1;
    setupMode = 0;
    CloseSetupDialog(dialog);
    NoteThermalsLeftOutside(before);
    return true;
}

}  // namespace

void FillSetupDialog(HWND dialog) {
    SetDlgItemTextA(dialog, IdcSetupBackdrop, backdropName);
    for (int row = 0; row < 4; ++row) {
        const SetupRow& r = setupRows[row];
        SetDlgItemTextA(dialog, RowEdit(row, 0), r.degText);
        SetDlgItemTextA(dialog, RowEdit(row, 1), r.minText);
        SetDlgItemTextA(dialog, RowEdit(row, 2), r.thouText);
        SetDlgItemTextA(dialog, RowEdit(row, 3), r.hemiText);
    }
}

bool CheckSetup(HWND dialog) {
    // The buffer sizes are the character limits: 3 degrees, 3 minutes, 4 thousandths, 1 letter.
    for (int row = 0; row < 4; ++row) {
        SetupRow& r = setupRows[row];
        GetDlgItemTextA(dialog, RowEdit(row, 0), r.degText, sizeof r.degText);
        GetDlgItemTextA(dialog, RowEdit(row, 1), r.minText, sizeof r.minText);
        GetDlgItemTextA(dialog, RowEdit(row, 2), r.thouText, sizeof r.thouText);
        GetDlgItemTextA(dialog, RowEdit(row, 3), r.hemiText, sizeof r.hemiText);
    }
    int error = CheckSetupRows();
    if (error != 0) {
        char text[256];
        std::snprintf(text, sizeof text, "Error [%d] - %s", error, SetupErrorText(error));
        ShowError(dialog, text);
    }
    FillSetupDialog(dialog);
    return error == 0;
}

bool LoadBackdropFile(const char* path) {
    if (setupDialog == nullptr || theApp->currentDialog != setupDialog) return false;
    NamedFile file;
    if (!FullPathOf(path, file)) return false;
    // As the Load button's dialog leaves them: the file in the spare buffers.
    CopyText(spareDialogPath, DialogPathSize, file.path.c_str());
    CopyText(spareDialogTitle, DialogTitleSize, file.title.c_str());
    TakeBackdrop(setupDialog, spareDialogPath, spareDialogTitle);
    return true;
}

void ShowSetupDialogInFront() {
    if (setupDialog != nullptr && theApp->currentDialog == setupDialog) BringToFront(setupDialog);
}

INT_PTR CALLBACK SetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        // Named as the open tool dialog before its opening check can show a box, so that the box
        // holds every other window still and no second tool dialog can open meanwhile.
        setupDialog = dialog;
        theApp->currentDialog = dialog;
        AcceptDroppedFiles(dialog);
        SetFocus(GetDlgItem(dialog, IdcSetupLoad));
        FillSetupDialog(dialog);
        CheckSetup(dialog);
        return FALSE;

    case WM_DROPFILES:
        // The main window tells the kinds of file apart; a backdrop comes back to LoadBackdropFile.
        SendMessageA(theApp->mainWindow, WM_DROPFILES, wParam, 0);
        return TRUE;

    case WM_COMMAND: {
        int id = LOWORD(wParam);
        if (id == IdcSetupBackdrop || (id >= IdcSetupTopDeg && id <= IdcSetupRightHemi)) {
            return FALSE;  // typed text is read by Check and OK
        }
        switch (id) {
        case IdcSetupLoad:
            LoadBackdrop(dialog);
            return FALSE;
        case IdcSetupCheck:
            CheckSetup(dialog);
            return FALSE;
        case IdcSetupOk:
            return ApplySetup(dialog) ? TRUE : FALSE;
        case IdcSetupMarkerTop:
        case IdcSetupMarkerBottom:
        case IdcSetupMarkerLeft:
        case IdcSetupMarkerRight:
            CheckRadioButton(dialog, IdcSetupMarkerTop, IdcSetupMarkerRight, id);
            markerEdge = id - IdcSetupMarkerTop;
            return FALSE;
        default:
            // Escape among them: close without applying; setup mode stays for the next OK.
            CloseSetupDialog(dialog);
            return TRUE;
        }
    }

    case WM_CLOSE:
        CloseSetupDialog(dialog);
        return TRUE;

    case WM_DESTROY:
        if (setupDialog == dialog) setupDialog = nullptr;
        return FALSE;

    default:
        return FALSE;
    }
}
