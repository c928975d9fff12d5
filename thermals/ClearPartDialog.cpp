// The Clear (partly) dialog: removes the thermals inside the rectangle dragged on the map.
#include "thermals/ThermalDialogs.h"

#include "map/MapWindow.h"
#include "map/Selection.h"
#include "model/Project.h"
#include "resources/ResourceIds.h"
#include "shell/AppWindow.h"
#include "shell/MessageBoxes.h"
#include "thermals/Clearing.h"

namespace {

void ClearSelectedThermals() {
    if (!areaSelected) {
        ShowMessage(theApp->mainWindow, "Please set an area first...", MB_OK);
        return;
    }
    // Nothing to clear: no question, no change, and the rectangle stays for another look.
    if (!AnyThermalInSelection()) return;
    if (ShowMessage(theApp->mainWindow, "Do you want to clear these thermals ?",
                    MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
        return;
    }
    ClearThermalsInSelection();
    projectModified = 1;
    InvalidateMap(true);  // the dialog stays for further rectangles
}

void CloseClearPartDialog(HWND dialog) {
    // The rectangle goes with the dialog; no later Clear or Test may act on its stale bounds.
    ResetSelection();
    areaSelected = 0;
    clearPartMode = 0;
    InvalidateMap(true);
    DestroyWindow(dialog);
    if (theApp->currentDialog == dialog) theApp->currentDialog = nullptr;
}

}  // namespace

INT_PTR CALLBACK ClearPartDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetFocus(GetDlgItem(dialog, IdcClearPartClear));
        return FALSE;

    case WM_COMMAND:
        if (LOWORD(wParam) == IdcClearPartClear) {
            ClearSelectedThermals();
            return FALSE;
        }
        CloseClearPartDialog(dialog);  // OK, Enter, Escape, any other command
        return TRUE;

    case WM_CLOSE:
        CloseClearPartDialog(dialog);
        return TRUE;

    default:
        return FALSE;
    }
}
