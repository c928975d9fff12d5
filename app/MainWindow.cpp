// The main window: its two children, the title, the status bar, the keys and the menu commands.
#include "app/MainWindow.h"

#include <commctrl.h>
#include <cstdio>

#include "app/Commands.h"
#include "map/Geometry.h"
#include "map/MapWindow.h"
#include "model/Project.h"
#include "resources/ResourceIds.h"
#include "scenery/SceneryBuild.h"
#include "shell/AppWindow.h"
#include "shell/FileDialogs.h"
#include "shell/Frame.h"
#include "thermals/HotspotImport.h"

static void OnCreate(HWND window) {
    InitCommonControls();
    statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window,
                                reinterpret_cast<HMENU>(0), theApp->instance, nullptr);
    mapWindow = CreateWindowExA(0, "MapClass", "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_HSCROLL | WS_VSCROLL,
                                0, 0, 0, 0, window, reinterpret_cast<HMENU>(1), theApp->instance, nullptr);
    InitFileDialog(window);
    UpdateTitle(window, projectName);
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

static void OnCommand(HWND window, int id) {
    switch (id) {
    case CmdNew: NewProject(window); break;
    case CmdOpen: OpenProject(window); break;
    case CmdEdit: EditSetup(window); break;
    case CmdSave: SaveProject(window); break;
    case CmdSaveAs: SaveProjectAs(window); break;
    case CmdExit: ExitProgram(window); break;
    case CmdManual: StartManual(window); break;
    case CmdAutomatic: StartAutomatic(window); break;
    case CmdClearPartly: StartClearPartly(window); break;
    case CmdClearAll: ClearAllThermals(window); break;
    case CmdUndo: UndoTableChange(); break;
    case CmdRedo: RedoTableChange(); break;
    case CmdImportHotspots: ImportHotspots(window); break;
    case CmdCreate: CreateScenery(window); break;
    case CmdHelp: ShowHelp(window); break;
    case CmdAbout: ShowAbout(window); break;
    default: break;
    }
}

static void DestroyToolDialog() {
    if (theApp->currentDialog != nullptr) {
        HWND dialog = theApp->currentDialog;
        theApp->currentDialog = nullptr;
        DestroyWindow(dialog);
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
    case WM_CLOSE:
        if (!ConfirmExit(window)) return 0;
        DestroyToolDialog();
        PostQuitMessage(0);
        return 1;
    case WM_DESTROY:
        DestroyToolDialog();
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
