// The Automatic dialog: the settings of a random batch over the selected rectangle, and Test,
// Clear, Add that make, take back and keep a batch.
#include "thermals/ThermalDialogs.h"

#include <cstdint>
#include <ctime>

#include "map/MapWindow.h"
#include "map/Selection.h"
#include "model/Project.h"
#include "resources/ResourceIds.h"
#include "shell/AppWindow.h"
#include "shell/Frame.h"
#include "shell/MessageBoxes.h"
#include "thermals/Generation.h"

namespace {

constexpr int AutoTextCount = 6;          // edits 150 to 155, in autoTexts order
constexpr int BlueSlot = 4;               // edit 154
constexpr int BlueTextSize = 2;           // one character
constexpr int AutoTextSize = 5;           // four characters
constexpr int CloudTypeBoxes = IdcAutoCloudLast - IdcAutoCloudFirst + 1;

void CheckBox(HWND dialog, int id, bool checked) {
    CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// Draws each thermal of the batch as soon as it is appended; the rest of the table is already
// on the map.
void DrawAppended(int index, void*) { DrawBatchThermal(index); }

void CloseAutomaticDialog(HWND dialog) {
    // The rectangle goes with the dialog; no later Clear or Test may act on its stale bounds.
    ResetSelection();
    areaSelected = 0;
    automaticMode = 0;
    InvalidateMap(true);
    DestroyWindow(dialog);
    if (theApp->currentDialog == dialog) theApp->currentDialog = nullptr;
}

}  // namespace

void FillAutomaticDialog(HWND dialog) {
    for (int slot = 0; slot < AutoTextCount; ++slot) {
        SetDlgItemTextA(dialog, IdcAutoCeilingMin + slot, autoTexts[slot]);
    }
    if (randomClouds && allClouds) {
        // "all" exists only with "random", so the reopened dialog shows both.
        CheckBox(dialog, IdcAutoRandom, true);
        CheckBox(dialog, IdcAutoAll, true);
        for (int id = IdcAutoCloudFirst; id <= IdcAutoCloudLast; ++id) CheckBox(dialog, id, true);
        return;
    }
    for (int id = IdcAutoAll; id <= IdcAutoCloudLast; ++id) CheckBox(dialog, id, false);
    CheckBox(dialog, IdcAutoRandom, randomClouds != 0);
    CheckBox(dialog, IdcAutoCloudFirst, true);  // type 1
    if (randomClouds) {
        CheckBox(dialog, IdcAutoCloudFirst + 1, true);  // types 2 and 3
        CheckBox(dialog, IdcAutoCloudFirst + 2, true);
    }
}

bool GenerateThermals(HWND dialog) {
    for (int slot = 0; slot < AutoTextCount; ++slot) {
        GetDlgItemTextA(dialog, IdcAutoCeilingMin + slot, autoTexts[slot],
                        slot == BlueSlot ? BlueTextSize : AutoTextSize);
    }

    GenerationSettings settings{};
    settings.ceilingMin = TextToInt(autoTexts[0]);
    settings.ceilingMax = TextToInt(autoTexts[1]);
    settings.radiusMin = TextToInt(autoTexts[2]);
    settings.radiusMax = TextToInt(autoTexts[3]);
    settings.blue = TextToInt(autoTexts[4]);
    settings.density = TextToInt(autoTexts[5]);
    settings.cloudTypeCount = 0;
    for (int box = 0; box < CloudTypeBoxes; ++box) {
        if (IsChecked(dialog, IdcAutoCloudFirst + box)) {
            settings.cloudTypes[settings.cloudTypeCount++] = box + 1;
        }
    }

    GenerationArea area{selNorth, selSouth, selWest, selEast, selCentreLat};
    uint32_t seed = static_cast<uint32_t>(std::time(nullptr));

    bool tableFull = false;
    BeginBatch();
    BeginBatchDrawing();
    int made = GenerateBatch(settings, area, seed, DrawAppended, nullptr, &tableFull);
    EndBatchDrawing();
    EndBatch();

    if (tableFull) ShowTableFullNotice(theApp->mainWindow);
    if (made > 0) projectModified = 1;
    return true;
}

INT_PTR CALLBACK AutomaticDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        FillAutomaticDialog(dialog);
        return 0;

    case WM_COMMAND: {
        int id = LOWORD(wParam);
        if ((id >= IdcAutoCeilingMin && id <= IdcAutoDensity) ||
            (id >= IdcAutoCloudFirst && id <= IdcAutoCloudLast)) {
            return 0;  // read when Test runs
        }
        switch (id) {
        case IdcAutoRandom:
            randomClouds = IsChecked(dialog, IdcAutoRandom) ? 1 : 0;
            FillAutomaticDialog(dialog);
            return 0;
        case IdcAutoAll:
            // "all" is a variant of the random preset; without "random" it cannot be set.
            allClouds = randomClouds && IsChecked(dialog, IdcAutoAll) ? 1 : 0;
            FillAutomaticDialog(dialog);
            return 0;
        case IdcAutoSet:
            return 0;
        case IdcAutoTest:
            if (areaSelected) {
                GenerateThermals(dialog);
            } else {
                ShowMessage(theApp->mainWindow, "Please set an area first...", MB_OK);
            }
            return 0;
        case IdcAutoClear:
            if (DiscardThermals(batchStart, batchEnd)) projectModified = 1;
            InvalidateMap(true);
            return 0;
        case IdcAutoAdd:
            // Only a batch that was still pending is a change worth saving.
            if (KeepBatch()) projectModified = 1;
            ResetSelection();
            areaSelected = 0;
            InvalidateMap(true);
            return 0;
        default:
            CloseAutomaticDialog(dialog);  // OK, Escape, any other command
            return 1;
        }
    }

    case WM_CLOSE:
        CloseAutomaticDialog(dialog);
        return 1;

    default:
        return 0;
    }
}
