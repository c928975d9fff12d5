// The main window: its two children, the title, the status bar, the keys and the menu commands.
#include "app/MainWindow.h"

#include <commctrl.h>
#include <cstdio>
#include <string>
#include <vector>

#include "app/Commands.h"
#include "app/ProjectCommands.h"
#include "app/RecentMenu.h"
#include "app/RecentProjects.h"
#include "map/Geometry.h"
#include "map/MapWindow.h"
#include "model/History.h"
#include "model/Project.h"
#include "resources/ResourceIds.h"
#include "scenery/SceneryBuild.h"
#include "setup/SetupDialog.h"
#include "shell/AppWindow.h"
#include "shell/DroppedFiles.h"
#include "shell/FileDialogs.h"
#include "shell/MainParts.h"
#include "shell/MessageBoxes.h"
#include "thermals/HotspotImport.h"
#include "thermals/ThermalDialogs.h"
#include "thermals/TableCommands.h"

static void OnCreate(HWND window) {
    InitCommonControls();
    statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window,
                                reinterpret_cast<HMENU>(0), theApp->instance, nullptr);
    mapWindow = CreateWindowExA(0, "MapClass", "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_HSCROLL | WS_VSCROLL,
                                0, 0, 0, 0, window, reinterpret_cast<HMENU>(1), theApp->instance, nullptr);
    InitFileDialog(window);
    UpdateTitle(window, projectName);
    AcceptDroppedFiles(window);
    ShowRecentProjects(window);
    LoadAutomaticSettings();
}

static void OnSize(HWND window, int width, int height) {
    // The third edge is three times the truncated quarter, not 3w/4.
    int edges[4] = {width / 4, width / 2, 3 * (width / 4), width};

    RECT barRect;
    GetWindowRect(statusBar, &barRect);
    statusBarHeight = barRect.bottom - barRect.top;
    MoveWindow(statusBar, 0, height - statusBarHeight, width, statusBarHeight, TRUE);
    SendMessageA(statusBar, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges));
    UpdateStatusBar();

    RECT client;
    GetClientRect(window, &client);
    MoveWindow(mapWindow, 0, 0, client.right, client.bottom - statusBarHeight, TRUE);
    viewWidth = client.right;
    viewHeight = client.bottom;
}

static void OnKey(WPARAM key) {
    switch (key) {
    case VK_LEFT:
        if (CanScrollHorizontally()) SendMessageA(mapWindow, WM_HSCROLL, SB_LINELEFT, 0);
        break;
    case VK_RIGHT:
        if (CanScrollHorizontally()) SendMessageA(mapWindow, WM_HSCROLL, SB_LINERIGHT, 0);
        break;
    case VK_UP:
        if (CanScrollVertically()) SendMessageA(mapWindow, WM_VSCROLL, SB_LINEUP, 0);
        break;
    case VK_DOWN:
        if (CanScrollVertically()) SendMessageA(mapWindow, WM_VSCROLL, SB_LINEDOWN, 0);
        break;
    case VK_ADD:
        InvalidateMap(ZoomIn());
        break;
    case VK_SUBTRACT:
        InvalidateMap(ZoomOut());
        break;
    case VK_MULTIPLY:
        InvalidateMap(ZoomOneToOne());
        break;
    case VK_CLEAR:
        // Without a backdrop there is nothing to fit.
        if (backdropWidth > 0 && backdropHeight > 0) InvalidateMap(FitAndCentre());
        break;
    default:
        break;
    }
}

// Wheel turns not yet used: a fine wheel sends less than a notch at a time.
static int wheelPending = 0;

// The wheel over the map: line steps, vertical or with Shift horizontal, or with Ctrl one zoom
// step per notch about the picture point under the pointer.
static void OnWheel(WPARAM wParam, LPARAM lParam) {
    POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    RECT client;
    ScreenToClient(mapWindow, &at);
    GetClientRect(mapWindow, &client);
    if (!PtInRect(&client, at)) return;
    wheelPending += static_cast<short>(HIWORD(wParam));
    const int notches = wheelPending / WHEEL_DELTA;
    wheelPending %= WHEEL_DELTA;
    const WORD keys = LOWORD(wParam);
    if (keys & MK_CONTROL) {
        if (notches == 0) return;
        // The point is taken once, so that the rounding of the scroll positions does not add up.
        UpdateMapOrigin();
        const double column = (at.x - mapOriginX) / zoomFactor, row = (at.y - mapOriginY) / zoomFactor;
        bool erase = false;
        for (int i = 0; i < (notches < 0 ? -notches : notches); ++i) erase = (notches > 0 ? ZoomIn() : ZoomOut()) || erase;
        PlacePointAt(column, row, at.x, at.y);
        UpdatePointerPosition();
        InvalidateMap(erase);
        return;
    }
    UINT lines = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    // WHEEL_PAGESCROLL: a page step a notch. Other settings beyond 100 lines do no more than 100.
    const bool pages = lines == WHEEL_PAGESCROLL;
    if (pages) lines = 1;
    if (lines > 100) lines = 100;
    const bool across = (keys & MK_SHIFT) != 0;
    if (across ? !CanScrollHorizontally() : !CanScrollVertically()) return;
    // SB_LINELEFT and SB_LINERIGHT, SB_PAGELEFT and SB_PAGERIGHT alike
    const WPARAM step = pages ? (notches > 0 ? SB_PAGEUP : SB_PAGEDOWN) : (notches > 0 ? SB_LINEUP : SB_LINEDOWN);
    for (int i = 0; i < (notches < 0 ? -notches : notches) * static_cast<int>(lines); ++i)
        SendMessageA(mapWindow, across ? WM_HSCROLL : WM_VSCROLL, step, 0);
}

// The extension of a dropped file, in small letters: what kind of file it is.
static std::string KindOf(const std::string& path) {
    const size_t dot = path.find_last_of('.');
    std::string extension = dot == std::string::npos ? "" : path.substr(dot);
    for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return extension;
}

// Files dropped on the main window, or on a tool dialog that passes them on. A project or a
// backdrop counts only as the one file of its drop; otherwise each waypoint file is imported in
// turn (its own box, its own Undo step), then all flight logs as one load. A drop that holds any
// other file is told what can be dropped and does nothing.
static void OnDrop(HWND window, WPARAM drop) {
    const std::vector<std::string> files = TakeDroppedFiles(drop);
    // While a box or a file dialog is up the project is in the middle of a command.
    if (!IsWindowEnabled(window)) return;
    std::vector<std::string> waypoints, flights;
    for (const std::string& path : files) {
        const std::string kind = KindOf(path);
        if (kind == ".cup" || kind == ".gpx" || kind == ".kml") waypoints.push_back(path);
        if (kind == ".igc") flights.push_back(path);
    }
    const std::string only = files.size() == 1 ? KindOf(files[0]) : "";
    if (only == ".prj") {
        if (SaveQuestionAllows(window)) OpenProjectFile(window, files[0].c_str());
        return;
    }
    if (only == ".bmp" && LoadBackdropFile(files[0].c_str())) return;
    // Waypoint files and flight logs only: any other file, or flight logs that another tool dialog
    // keeps from loading, calls the whole drop off before anything of it is taken.
    const bool understood = !files.empty() && waypoints.size() + flights.size() == files.size() &&
                            (flights.empty() || FlightsCanLoad());
    if (understood) {
        // Without a picture nothing of the drop can be placed: told once.
        if (!backdropLoaded) {
            ShowStartProjectNotice(window);
            return;
        }
        for (const std::string& path : waypoints) ImportHotspotsFrom(window, path.c_str());
        if (!flights.empty()) LoadDroppedFlights(window, flights);
    } else {
        ShowMessage(window,
                    "Ascendor can open a project (.prj), import a waypoint file (.cup), load flight logs (.igc) "
                    "or, while the Setup dialog is open, load a backdrop (.bmp).",
                    MB_OK | MB_ICONINFORMATION);
    }
}

// A recent project's entry: the save question, then Open of its file. Only a file that is gone
// leaves the list; one that could not be read this time may be readable again.
static void OpenRecentProject(HWND window, int index) {
    const std::string path = RecentProjectPath(index);
    if (path.empty() || !SaveQuestionAllows(window)) return;
    if (OpenProjectFile(window, path.c_str())) return;
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) ForgetRecentProject(window, path);
}

// Undo and Redo are greyed while there is nothing to take back or put back.
static void OnMenuPopup(HMENU menu) {
    if (GetMenuState(menu, CmdUndo, MF_BYCOMMAND) == UINT(-1)) return;
    EnableMenuItem(menu, CmdUndo, MF_BYCOMMAND | (CanUndo() ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, CmdRedo, MF_BYCOMMAND | (CanRedo() ? MF_ENABLED : MF_GRAYED));
}

static void OnCommand(HWND window, int id) {
    if (id >= CmdRecentFirst && id < CmdRecentFirst + RecentProjectCount) {
        OpenRecentProject(window, id - CmdRecentFirst);
        return;
    }
    switch (id) {
    case CmdNew: NewProject(window); break;
    case CmdOpen: OpenProject(window); break;
    case CmdEdit: EditSetup(window); break;
    case CmdSave: SaveProject(window); break;
    case CmdSaveAs: SaveProjectAs(window); break;
    case CmdExportThermals: ExportThermals(window); break;
    case CmdStatistics: ShowStatistics(window); break;
    case CmdExit: ExitProgram(window); break;
    case CmdManual: StartManual(window); break;
    case CmdAutomatic: StartAutomatic(window); break;
    case CmdClearPartly: StartClearPartly(window); break;
    case CmdClearAll: ClearAllThermals(window); break;
    case CmdUndo: UndoTableChange(); break;
    case CmdRedo: RedoTableChange(); break;
    case CmdImportHotspots: ImportHotspots(window); break;
    case CmdFlights: StartFlights(window); break;
    case CmdCreate: CreateScenery(window); break;
    case CmdHelp: ShowHelp(window); break;
    case CmdAbout: ShowAbout(window); break;
    default: break;
    }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate(window);
        return 0;
    case WM_SIZE:
        OnSize(window, LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_KEYDOWN:
        OnKey(wParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        return 0;
    case WM_COMMAND:
        OnCommand(window, LOWORD(wParam));
        return 0;
    case WM_INITMENUPOPUP:
        OnMenuPopup(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        OnWheel(wParam, lParam);
        return 0;
    case WM_DROPFILES:
        OnDrop(window, wParam);
        return 0;
    case WM_CLOSE:
        if (!ConfirmExit(window)) return 0;
        DestroyWindow(window);
        return 1;
    case WM_QUERYENDSESSION:
        return AnswerEndOfSession(window);
    case WM_ENDSESSION:
        // The user has been asked already: the program ends without another question.
        if (wParam) {
            EndProjectSession();
            DestroyWindow(window);
        }
        return 0;
    case WM_DESTROY:
        DestroyToolDialog();
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
