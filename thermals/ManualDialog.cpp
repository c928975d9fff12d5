// The Manual dialog: the settings that every thermal placed by hand receives.
#include "thermals/ThermalDialogs.h"

#include "model/Project.h"
#include "resources/ResourceIds.h"
#include "shell/AppWindow.h"
#include "shell/MessageBoxes.h"
#include "thermals/Manual.h"

namespace {

// Edits 134 to 141 in id order, with the setting each one keeps.
char* SettingOfEdit(int id) {
    switch (id) {
    case IdcManualBottom: return manualSettings.bottom;
    case IdcManualTop: return manualSettings.top;
    case IdcManualRadius: return manualSettings.radius;
    case IdcManualWindDir: return manualSettings.windDir;
    case IdcManualFactor: return manualSettings.factor;
    case IdcManualCloudCeiling: return manualSettings.cloudCeiling;
    case IdcManualCloudRadius: return manualSettings.cloudRadius;
    default: return manualSettings.cloudType;
    }
}

// A radio button that gains the focus while unchecked reports a click; the focus given to type 4
// as the dialog opens must not choose that type.
bool opening = false;

// The edits and the check box show the settings in effect.
void ShowSettings(HWND dialog) {
    for (int id = IdcManualBottom; id <= IdcManualCloudType; ++id) SetDlgItemTextA(dialog, id, SettingOfEdit(id));
    CheckDlgButton(dialog, IdcManualCloudOn, manualSettings.cloudOn ? BST_CHECKED : BST_UNCHECKED);
}

void ApplyEdits(HWND dialog) {
    // A cloud type Create would refuse is refused here, on or off, with every setting kept.
    char cloudType[ManualTextSize];
    GetDlgItemTextA(dialog, IdcManualCloudType, cloudType, ManualTextSize);
    if (!CloudTypeValid(TextToInt(cloudType))) {
        ShowCloudTypeRefusal(theApp->mainWindow);
        ShowSettings(dialog);
        return;
    }
    for (int id = IdcManualBottom; id <= IdcManualCloudType; ++id) {
        char* setting = SettingOfEdit(id);
        GetDlgItemTextA(dialog, id, setting, ManualTextSize);
        SetDlgItemTextA(dialog, id, setting);  // the edit shows exactly what was kept
    }
    manualSettings.cloudOn = IsDlgButtonChecked(dialog, IdcManualCloudOn) == BST_CHECKED ? 1 : 0;
}

// The settings stay for the next opening; the map leaves manual mode.
void CloseManualDialog(HWND dialog) {
    manualMode = 0;
    DestroyWindow(dialog);
    if (theApp->currentDialog == dialog) theApp->currentDialog = nullptr;
}

}  // namespace

void ShowCloudTypeRefusal(HWND owner) {
    ShowMessage(owner, "The cloud type must be 1 to 20.", MB_OK | MB_ICONEXCLAMATION);
}

INT_PTR CALLBACK ManualDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        ShowSettings(dialog);
        if (manualSettings.type >= 1 && manualSettings.type <= 4)
            CheckRadioButton(dialog, IdcManualType1, IdcManualType4, IdcManualType1 + manualSettings.type - 1);
        opening = true;
        SetFocus(GetDlgItem(dialog, IdcManualType4));
        opening = false;
        return FALSE;

    case WM_COMMAND: {
        int id = LOWORD(wParam);
        if (id >= IdcManualType1 && id <= IdcManualType4) {
            if (!opening) {
                CheckRadioButton(dialog, IdcManualType1, IdcManualType4, id);
                manualSettings.type = id - IdcManualType1 + 1;
            }
            return FALSE;
        }
        if (id >= IdcManualBottom && id <= IdcManualCloudOn) return FALSE;  // applied by Set
        if (id == IdcManualSet) {
            ApplyEdits(dialog);
            return FALSE;
        }
        CloseManualDialog(dialog);  // any other command, Escape among them
        return TRUE;
    }

    case WM_CLOSE:
        CloseManualDialog(dialog);
        return TRUE;

    default:
        return FALSE;
    }

}
