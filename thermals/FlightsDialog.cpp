// The Flights dialog.
#include "thermals/FlightsDialog.h"


#include <cstdio>

#include "map/MapWindow.h"
#include "model/FileNames.h"
#include "model/History.h"
#include "model/Project.h"
#include "resources/ResourceIds.h"
#include "shell/AppWindow.h"
#include "shell/DroppedFiles.h"
#include "shell/FileDialogs.h"
#include "shell/MainParts.h"
#include "shell/MessageBoxes.h"
#include "thermals/Flights.h"
#include "thermals/Generation.h"
#include "thermals/HotspotImport.h"

namespace {

const char FlightFilter[] = "Flight logs (*.igc)\0*.igc\0All files (*.*)\0*.*\0";
constexpr int BoxLines = 10;

// The latest settings that were all numbers, and what they gave.
ClimbSettings lastGood;
FlightsOutcome outcome;
bool settingsGood = true;
HWND openDialog = nullptr;
bool filling = false;  // the edits are being filled: their change notices are not typing

const int EditIds[4] = {IdcFlightsMinClimb, IdcFlightsMinGain, IdcFlightsMerge, IdcFlightsSeenIn};

std::string* TextOfEdit(int index) {
    std::string* texts[4] = {&flightSettingTexts.minClimb, &flightSettingTexts.minGain, &flightSettingTexts.mergeWithin, &flightSettingTexts.seenIn};
    return texts[index];
}

std::string EditText(HWND dialog, int id) {
    HWND edit = GetDlgItem(dialog, id);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(edit, &text[0], static_cast<int>(text.size()))));
    return text;
}

// The list shows one line a flight with its climbs; the selection stays on the same lines.
void FillList(HWND dialog) {
    HWND list = GetDlgItem(dialog, IdcFlightsList);
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    std::vector<bool> selected;
    for (int i = 0; i < count; ++i) selected.push_back(SendMessageA(list, LB_GETSEL, i, 0) > 0);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    const int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (size_t i = 0; i < loadedFlights.size(); ++i) {
        const int climbs = i < outcome.climbsOf.size() ? outcome.climbsOf[i] : 0;
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(FlightLine(loadedFlights[i], climbs).c_str()));
        if (i < selected.size() && selected[i]) SendMessageA(list, LB_SETSEL, TRUE, static_cast<LPARAM>(i));
    }
    SendMessageA(list, LB_SETTOPINDEX, top, 0);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

// Everything that follows the flights and the settings: the thermals, the line under the
// settings, the list's counts and the circles on the map.
void Refresh(HWND dialog, bool listChanged) {
    const char* bad = nullptr;
    ClimbSettings settings;
    settingsGood = ReadFlightSettings(flightSettingTexts, &settings, &bad);
    if (settingsGood) lastGood = settings;
    const std::vector<int> countsBefore = outcome.climbsOf;
    outcome = ComputeFlights(lastGood);
    char line[160];
    if (settingsGood) {
        std::snprintf(line, sizeof line, "%d climbs in %d flights give %d thermals, %d inside the area", outcome.climbs,
                      static_cast<int>(loadedFlights.size()), static_cast<int>(outcome.thermals.size()), outcome.inside);
    } else {
        std::snprintf(line, sizeof line, "%s: not a number", bad);
        outcome.thermals.clear();
        outcome.inside = 0;
    }
    SetDlgItemTextA(dialog, IdcFlightsSummary, line);
    if (listChanged || outcome.climbsOf != countsBefore) FillList(dialog);
    SetFlightCircles(outcome.thermals);
    MapOverlayChanged();
}

void AddThermals(HWND dialog) {
    if (!settingsGood) return;
    HWND owner = theApp->mainWindow;
    const FlightsAdd added = AddFoundThermals(outcome.thermals);
    KeepAppendedThermals(owner, added.firstIndex, added.added, added.tableFull);
    char text[200];
    std::snprintf(text, sizeof text, "Added %d thermals from %d climbs in %d flights (%d outside the area, %d already there).",
                  added.added, outcome.climbs, static_cast<int>(loadedFlights.size()), added.outside, added.alreadyThere);
    ShowMessage(owner, text, MB_OK | MB_ICONINFORMATION);
    Refresh(dialog, false);  // the circles of thermals now in the table go
}

void RemoveSelected(HWND dialog) {
    HWND list = GetDlgItem(dialog, IdcFlightsList);
    bool removed = false;
    for (int i = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)) - 1; i >= 0; --i) {
        if (SendMessageA(list, LB_GETSEL, i, 0) <= 0) continue;
        RemoveFlight(static_cast<size_t>(i));
        SendMessageA(list, LB_DELETESTRING, i, 0);
        removed = true;
    }
    if (removed) Refresh(dialog, true);
}

void ChooseAndLoad(HWND dialog) {
    std::vector<std::string> paths;
    if (!ChooseFilesToRead(theApp->mainWindow, "Load flights", FlightFilter, paths) || !IsWindow(dialog)) return;
    LoadFlightFiles(theApp->mainWindow, paths);
}

void CloseFlightsDialog(HWND dialog) {
    DestroyWindow(dialog);
    if (theApp->currentDialog == dialog) theApp->currentDialog = nullptr;
}

}  // namespace

bool IsFlightsDialog(HWND dialog) { return dialog != nullptr && dialog == openDialog; }

void LoadFlightFiles(HWND owner, const std::vector<std::string>& paths) {
    HWND dialog = openDialog;
    if (dialog == nullptr) return;
    std::vector<std::string> fresh;
    for (const std::string& path : paths) {
        bool listed = FlightLoaded(path);
        for (const std::string& other : fresh) listed = listed || _stricmp(other.c_str(), path.c_str()) == 0;
        if (!listed) fresh.push_back(path);
    }
    if (fresh.empty()) return;
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    std::vector<std::string> failures;
    for (size_t k = 0; k < fresh.size(); ++k) {
        const char* name = FileTitle(fresh[k].c_str());
        std::snprintf(statusText[2], StatusTextSize, "Reading flight %d of %d: %s", static_cast<int>(k + 1),
                      static_cast<int>(fresh.size()), name);
        UpdateStatusBar();
        UpdateWindow(statusBar);
        const FlightLogResult result = LoadFlight(fresh[k]);
        // A long name would widen the box past the screen's edge.
        if (result != FlightLogResult::Loaded) failures.push_back(ShortenedName(name) + ": " + FlightLogReason(result));
    }
    statusText[2][0] = '\0';
    UpdateStatusBar();
    SetCursor(previous);
    Refresh(dialog, true);
    if (failures.empty()) return;
    char head[80];
    std::snprintf(head, sizeof head, "Could not load %d of %d flight logs:", static_cast<int>(failures.size()),
                  static_cast<int>(fresh.size()));
    std::string text = head;
    for (size_t i = 0; i < failures.size() && i < BoxLines; ++i) text += "\n" + failures[i];
    if (failures.size() > BoxLines) {
        char more[40];
        std::snprintf(more, sizeof more, "\nand %d more.", static_cast<int>(failures.size() - BoxLines));
        text += more;
    }
    ShowMessage(owner, text.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

INT_PTR CALLBACK FlightsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        openDialog = dialog;
        filling = true;
        for (int i = 0; i < 4; ++i) SetDlgItemTextA(dialog, EditIds[i], TextOfEdit(i)->c_str());
        CheckDlgButton(dialog, IdcFlightsTraceBack, flightSettingTexts.traceBack ? BST_CHECKED : BST_UNCHECKED);
        filling = false;
        AcceptDroppedFiles(dialog);
        outcome = FlightsOutcome{};
        Refresh(dialog, true);
        SetMapOverlay(DrawFlights);
        return TRUE;

    case WM_COMMAND: {
        const int id = LOWORD(wParam), code = HIWORD(wParam);
        switch (id) {
        case IdcFlightsMinClimb:
        case IdcFlightsMinGain:
        case IdcFlightsMerge:
        case IdcFlightsSeenIn:
            if (code == EN_CHANGE && !filling) {
                for (int i = 0; i < 4; ++i)
                    if (EditIds[i] == id) *TextOfEdit(i) = EditText(dialog, id);
                Refresh(dialog, false);
            }
            return TRUE;
        case IdcFlightsTraceBack:
            flightSettingTexts.traceBack = IsDlgButtonChecked(dialog, IdcFlightsTraceBack) == BST_CHECKED;
            Refresh(dialog, false);
            return TRUE;
        case IdcFlightsList:
        case IdcFlightsSummary:
        case IDOK:  // Enter in an edit: the value typed is already in use, the dialog stays
            return TRUE;
        case IdcFlightsLoad: ChooseAndLoad(dialog); return TRUE;
        case IdcFlightsAdd: AddThermals(dialog); return TRUE;
        case IdcFlightsRemove: RemoveSelected(dialog); return TRUE;
        default:
            CloseFlightsDialog(dialog);  // OK, Escape
            return TRUE;
        }
    }

    case WM_DROPFILES:
        // A drop here is a drop on the program: the main window loads .igc files into this list.
        SendMessageA(theApp->mainWindow, WM_DROPFILES, wParam, 0);
        return TRUE;

    case WM_CLOSE:
        CloseFlightsDialog(dialog);
        return TRUE;

    case WM_DESTROY:
        // However the dialog ends (OK, Exit, New), the tracks and circles leave the map with it.
        SetMapOverlay(nullptr);
        SetFlightCircles({});
        openDialog = nullptr;
        return FALSE;

    default:
        return FALSE;
    }
}
