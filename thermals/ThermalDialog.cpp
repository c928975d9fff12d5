// The Thermal dialog: one placed thermal's values, changed in place as one Undo step.
#include "thermals/ThermalDialogs.h"

#include "model/Coordinates.h"
#include "model/Project.h"
#include "resources/ResourceIds.h"
#include "shell/AppWindow.h"
#include "thermals/Manual.h"

namespace {

struct Editing {
    Thermal record;      // as it stood when the dialog opened
    ThermalTexts shown;  // what the edits showed
    int32_t type;        // the record's type until a type button is clicked
    Thermal edited;      // the record OK leaves
};

Editing editing;

void FillThermalDialog(HWND dialog) {
    char text[CompactTextSize];
    CoordinateToText(text, sizeof text, editing.record.lat, true);
    SetDlgItemTextA(dialog, IdcThermalLat, text);
    CoordinateToText(text, sizeof text, editing.record.lon, false);
    SetDlgItemTextA(dialog, IdcThermalLon, text);
    for (int i = 0; i < ThermalFields; ++i) SetDlgItemTextA(dialog, IdcManualBottom + i, editing.shown.text[i]);
    // A type outside 1 to 4 (read from a file) checks no button and stays until one is clicked.
    for (int id = IdcManualType1; id <= IdcManualType4; ++id)
        CheckDlgButton(dialog, id, id == IdcManualType1 + editing.type - 1 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IdcManualCloudOn, editing.record.cloudOn ? BST_CHECKED : BST_UNCHECKED);
}

void ReadThermalDialog(HWND dialog) {
    ThermalTexts typed{};
    for (int i = 0; i < ThermalFields; ++i) GetDlgItemTextA(dialog, IdcManualBottom + i, typed.text[i], ThermalTextSize);
    uint8_t cloudOn = IsDlgButtonChecked(dialog, IdcManualCloudOn) == BST_CHECKED ? 1 : 0;
    editing.edited = EditedThermal(editing.record, typed, editing.type, cloudOn);
}

INT_PTR CALLBACK ThermalDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        FillThermalDialog(dialog);
        // The values are what the user came for; the position above them is only shown.
        SetFocus(GetDlgItem(dialog, IdcManualBottom));
        return FALSE;
    case WM_COMMAND: {
        int id = LOWORD(wParam);
        if (id >= IdcManualType1 && id <= IdcManualType4) {
            CheckRadioButton(dialog, IdcManualType1, IdcManualType4, id);
            editing.type = id - IdcManualType1 + 1;
            return TRUE;
        }
        if (id == IDOK) {
            ReadThermalDialog(dialog);
            if (!CloudTypeValid(editing.edited.cloudType)) {
                // Refused as Create would refuse it; the dialog shows the record as it stands.
                ShowCloudTypeRefusal(dialog);
                editing.type = editing.record.type;
                editing.shown = TextsOf(editing.record);
                FillThermalDialog(dialog);
                return TRUE;
            }
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (id == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }
    case WM_CLOSE:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

bool EditThermal(HWND owner, int32_t index) {
    if (index < 0 || index >= thermalCount) return false;
    editing = Editing{thermals[index], TextsOf(thermals[index]), thermals[index].type, thermals[index]};
    ModalScope scope(owner);
    if (DialogBoxParamA(theApp->instance, "THERMAL", owner, ThermalDialogProc, 0) != IDOK) return false;
    return ReplaceThermal(index, editing.edited);
}
