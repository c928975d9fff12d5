// The Automatic dialog: the settings of a random batch over the selected rectangle, and Test,
// Clear, Add that make, take back and keep a batch.
#include "thermals/ThermalDialogs.h"

#include <cstdint>
#include <ctime>
#include <string>
#include <utility>

#include "map/Bitmap.h"
#include "map/MapWindow.h"
#include "map/ThermalMap.h"
#include "map/Selection.h"
#include "model/Project.h"
#include "resources/ResourceIds.h"
#include "shell/AppWindow.h"
#include "shell/FileDialogs.h"
#include "shell/MainParts.h"
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

const char AutomaticKey[] = "Software\\Ascendor\\Automatic";
const char MapFilter[] = "Bitmaps (*.bmp)\0*.bmp\0All files (*.*)\0*.*\0";

// The map's path and the two boxes, for the next start; written as soon as they change.
void SaveThermalMapSettings() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, AutomaticKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;  // a convenience: this run keeps them all the same
    RegSetValueExA(key, "ThermalMap", 0, REG_SZ, reinterpret_cast<const BYTE*>(thermalMapPath.c_str()),
                   static_cast<DWORD>(thermalMapPath.size() + 1));
    for (auto value : {std::make_pair("UseThermalMap", useThermalMap), std::make_pair("ShowThermalMap", showThermalMap)}) {
        const DWORD flag = value.second;
        RegSetValueExA(key, value.first, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&flag), sizeof flag);
    }
    RegCloseKey(key);
}

// The map over the backdrop while the dialog is open, "Show" checked and a map loaded.
void ShowMapOverBackdrop(bool dialogOpen) {
    const bool shown = dialogOpen && showThermalMap && !thermalMap.values.empty();
    if (shown == thermalMapShown) return;
    thermalMapShown = shown;
    if (mapWindow != nullptr) InvalidateMap(false);
}

void ShowMapControls(HWND dialog) {
    SetDlgItemTextA(dialog, IdcAutoMapName, thermalMapPath.empty() ? "" : FileTitle(thermalMapPath.c_str()));
    CheckBox(dialog, IdcAutoUseMap, useThermalMap != 0);
    CheckBox(dialog, IdcAutoShowMap, showThermalMap != 0);
}

// The file dialog, and the map it names loaded; a map that cannot be loaded is told of and the
// map chosen before stays. The current folder and the project's file names stay as they were.
bool ChooseThermalMap(HWND dialog) {
    spareDialogPath[0] = '\0';
    spareDialogTitle[0] = '\0';
    if (!ChooseFileToRead(theApp->mainWindow, "Choose a thermal map", MapFilter, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                          spareDialogPath, spareDialogTitle))
        return false;
    // Kept by its full path, so that it is found again from any folder.
    NamedFile chosen;
    const std::string path = FullPathOf(spareDialogPath, chosen) ? chosen.path : std::string(spareDialogPath);
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    const int result = LoadThermalMap(path.c_str());
    SetCursor(previous);
    if (result != LoadOk) {
        ShowMessage(theApp->mainWindow, ThermalMapFailureText(FileTitle(path.c_str()), result).c_str(),
                    MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    thermalMapPath = path;
    SaveThermalMapSettings();
    SetDlgItemTextA(dialog, IdcAutoMapName, FileTitle(thermalMapPath.c_str()));
    if (thermalMapShown) InvalidateMap(false);  // the new map over the backdrop
    ShowMapOverBackdrop(true);
    return true;
}

// Clicks of "Thermal map", "Map..." and "Show"; anything else they send does nothing.
void MapControlClicked(HWND dialog, int id) {
    switch (id) {
    case IdcAutoUseMap:
        if (IsChecked(dialog, IdcAutoUseMap) && thermalMap.values.empty() && !ChooseThermalMap(dialog))
            CheckBox(dialog, IdcAutoUseMap, false);
        useThermalMap = IsChecked(dialog, IdcAutoUseMap) ? 1 : 0;
        SaveThermalMapSettings();
        break;
    case IdcAutoChooseMap:
        ChooseThermalMap(dialog);
        break;
    case IdcAutoShowMap:
        showThermalMap = IsChecked(dialog, IdcAutoShowMap) ? 1 : 0;
        SaveThermalMapSettings();
        ShowMapOverBackdrop(true);
        break;
    default:
        break;
    }
}

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

void LoadAutomaticSettings() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, AutomaticKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    char path[MAX_PATH + 1] = "";
    DWORD type = 0, size = sizeof path - 1;
    if (RegQueryValueExA(key, "ThermalMap", nullptr, &type, reinterpret_cast<BYTE*>(path), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        size = 0;
    path[size] = '\0';  // a value stored without its terminating zero stays inside the buffer
    uint8_t flags[2] = {};
    const char* names[2] = {"UseThermalMap", "ShowThermalMap"};
    for (int i = 0; i < 2; ++i) {
        DWORD flag = 0, flagSize = sizeof flag;
        if (RegQueryValueExA(key, names[i], nullptr, &type, reinterpret_cast<BYTE*>(&flag), &flagSize) == ERROR_SUCCESS &&
            type == REG_DWORD && flagSize == sizeof flag)
            flags[i] = flag != 0 ? 1 : 0;
    }
    RegCloseKey(key);
    if (path[0] != '\0' && LoadThermalMap(path) == LoadOk) {
        thermalMapPath = path;
        useThermalMap = flags[0];
        showThermalMap = flags[1];
        return;
    }
    // A map that cannot be loaded now is forgotten, without a box, and both boxes start unchecked.
    const bool anything = path[0] != '\0' || flags[0] || flags[1];
    thermalMapPath.clear();
    useThermalMap = showThermalMap = 0;
    ForgetThermalMap();
    if (anything) SaveThermalMapSettings();
}

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

    settings.thermalMap = useThermalMap && !thermalMap.values.empty() ? &thermalMap : nullptr;

    GenerationArea area{selNorth, selSouth, selWest, selEast, selCentreLat};
    uint32_t seed = static_cast<uint32_t>(std::time(nullptr));

    bool tableFull = false;
    BeginBatchDrawing();
    int made = GenerateBatch(settings, area, seed, DrawAppended, nullptr, &tableFull);
    EndBatchDrawing();

    if (tableFull) ShowTableFullNotice(theApp->mainWindow);
    if (made > 0) projectModified = 1;
    return true;
}

INT_PTR CALLBACK AutomaticDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        FillAutomaticDialog(dialog);
        ShowMapControls(dialog);
        ShowMapOverBackdrop(true);
        return 0;

    case WM_DESTROY:
        // However the dialog goes (OK, New, Exit), the map goes from over the backdrop with it.
        ShowMapOverBackdrop(false);
        return 0;

    case WM_COMMAND: {
        int id = LOWORD(wParam);
        if (id >= IdcAutoUseMap && id <= IdcAutoShowMap) {
            if (HIWORD(wParam) == BN_CLICKED && id != IdcAutoMapName) MapControlClicked(dialog, id);
            return 0;
        }
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
