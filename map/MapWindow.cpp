// The map window: painting, the scroll bars, and the mouse by map mode.
#include "map/MapWindow.h"

#include "map/Bitmap.h"
#include "map/Geometry.h"
#include "map/MapPaint.h"
#include "map/Selection.h"
#include "model/Coordinates.h"
#include "model/Project.h"
#include "shell/AppWindow.h"
#include "shell/Frame.h"
#include "shell/MessageBoxes.h"
#include "thermals/Manual.h"

namespace {

constexpr int ScrollMin = 0;
constexpr int ScrollMax = 100;
constexpr int LineStep = 1;
constexpr int PageStep = 5;

// The off-screen copy of the window. The paint composes into it and puts the result on the screen
// in one transfer, so the picture never shows half drawn. It holds what the screen holds: a
// repaint that does not erase leaves earlier drawings outside the backdrop, and they stay in the
// copy too, because drawings made at once on the window are repeated on it (MirrorOf) and it is
// erased exactly where the window's background would have been.
struct Frame {
    HWND window = nullptr;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    int width = 0, height = 0;
};

Frame frame;
bool painting = false;

void ReleaseFrame() {
    if (frame.dc != nullptr && frame.oldBitmap != nullptr) SelectObject(frame.dc, frame.oldBitmap);
    if (frame.bitmap != nullptr) DeleteObject(frame.bitmap);
    if (frame.dc != nullptr) DeleteDC(frame.dc);
    frame = Frame{};
}

// A copy of the window's client size; a new one starts from what the screen shows.
bool EnsureFrame(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    int width = client.right, height = client.bottom;
    if (width <= 0 || height <= 0) {
        ReleaseFrame();
        return false;
    }
    if (frame.dc != nullptr && frame.window == window && frame.width == width && frame.height == height)
        return true;
    ReleaseFrame();
    HDC screen = GetDC(window);
    frame.dc = CreateCompatibleDC(screen);
    frame.bitmap = frame.dc != nullptr ? CreateCompatibleBitmap(screen, width, height) : nullptr;
    if (frame.bitmap == nullptr) {
        ReleaseDC(window, screen);
        ReleaseFrame();
        return false;
    }
    frame.oldBitmap = SelectObject(frame.dc, frame.bitmap);
    BitBlt(frame.dc, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    ReleaseDC(window, screen);
    frame.window = window;
    frame.width = width;
    frame.height = height;
    return true;
}

void ShowSystemCursor(LPCSTR id) { SetCursor(LoadCursorA(nullptr, id)); }

void Paint(HWND window) {
    // The update region, taken before BeginPaint validates it, bounds the drawing on the copy just
    // as it clips the drawing on the screen.
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(window, update, FALSE);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    painting = true;

    if (backdropReloadPending) {
        // A file that cannot be read leaves the previous picture; the paint goes on with it.
        LoadBackdrop(backdropName);
        ForgetKeptPicture();
        backdropReloadPending = 0;
        FitZoom();
        // The area numbers depend on the backdrop's size, so after an open they are made here.
        if (boundsParsePending) {
            RecomputeArea();
            boundsParsePending = 0;
        }
    }
    UpdateMapOrigin();

    HDC target = dc;
    if (EnsureFrame(window)) {
        target = frame.dc;
        SelectClipRgn(target, update);
    }
    if (ps.fErase) {
        // The background is cleared here rather than at WM_ERASEBKGND, so that it reaches the
        // screen together with the rest of the picture.
        RECT client;
        GetClientRect(window, &client);
        FillRect(target, &client, reinterpret_cast<HBRUSH>(GetClassLongPtrA(window, GCLP_HBRBACKGROUND)));
    }
    PaintBackdrop(target, ps.rcPaint);
    DrawThermals(target);
    if (automaticMode || clearPartMode) DrawSelection(target);
    if (setupMode) DrawAreaFrame(target);
    if (target != dc) {
        BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
               ps.rcPaint.bottom - ps.rcPaint.top, target, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
        SelectClipRgn(target, nullptr);
    }

    painting = false;
    EndPaint(window, &ps);
    DeleteObject(update);
    // Setting an unchanged thumb redraws the bar for nothing, which costs more than the paint.
    if (GetScrollPos(window, SB_HORZ) != scrollPercentX) SetScrollPos(window, SB_HORZ, scrollPercentX, TRUE);
    if (GetScrollPos(window, SB_VERT) != scrollPercentY) SetScrollPos(window, SB_VERT, scrollPercentY, TRUE);
}

void Scroll(int& percent, WPARAM wParam) {
    switch (LOWORD(wParam)) {
    case SB_LINEUP: percent -= LineStep; break;
    case SB_LINEDOWN: percent += LineStep; break;
    case SB_PAGEUP: percent -= PageStep; break;
    case SB_PAGEDOWN: percent += PageStep; break;
    case SB_THUMBTRACK: percent = HIWORD(wParam); break;
    default: break;
    }
    if (percent < ScrollMin) percent = ScrollMin;
    if (percent > ScrollMax) percent = ScrollMax;
    UpdateMapOrigin();
    UpdatePointerPosition();
    InvalidateMap(false);
}

// The selection's moving corner follows the pointer while the left button is down; the rectangle
// is drawn at once and the next paint redraws the whole picture.
void DragSelection(HWND window) {
    selEndX = WindowToColumn(pointerX);
    selEndY = WindowToRow(pointerY);
    InvalidateMap(false);
    HDC dc = GetDC(window);
    DrawSelection(dc);
    ReleaseDC(window, dc);
}

void MouseMove(HWND window, WPARAM wParam, LPARAM lParam) {
    ShowSystemCursor(IDC_CROSS);
    pointerX = LOWORD(lParam);
    pointerY = HIWORD(lParam);
    UpdatePointerPosition();
    bool leftDown = (wParam & MK_LBUTTON) != 0;
    if (automaticMode && leftDown) DragSelection(window);
    if (clearPartMode && leftDown) DragSelection(window);
}

void MoveMarker() {
    double zoom = zoomFactor > 0.0 ? zoomFactor : 1.0;
    int64_t dx = static_cast<int64_t>(pointerX) - mapOriginX;
    int64_t dy = static_cast<int64_t>(pointerY) - mapOriginY;
    switch (markerEdge) {
    case MarkerTop: markers[MarkerTop].y = TruncToInt32(dy / zoom); break;
    case MarkerBottom: markers[MarkerBottom].y = TruncToInt32(backdropHeight - dy / zoom); break;
    case MarkerLeft: markers[MarkerLeft].x = TruncToInt32(dx / zoom); break;
    case MarkerRight: markers[MarkerRight].x = TruncToInt32(backdropWidth - dx / zoom); break;
    default: break;
    }
}

// A click works at the pointer position of the latest mouse move, not at the click's own.
void LeftButtonDown(HWND window) {
    if (manualMode) {
        ShowSystemCursor(IDC_SIZEALL);
        if (!AddManualThermal()) {
            ShowTableFullNotice(theApp->mainWindow);
            return;
        }
        projectModified = 1;
        // No invalidation: the disc is drawn over the picture already on the screen.
        HDC dc = GetDC(window);
        DrawThermals(dc);
        ReleaseDC(window, dc);
    }
    if (setupMode) {
        ShowSystemCursor(IDC_SIZEALL);
        MoveMarker();
        InvalidateMap(true);
        HDC dc = GetDC(window);
        DrawAreaFrame(dc);
        ReleaseDC(window, dc);
    }
    if (automaticMode || clearPartMode) {
        ShowSystemCursor(IDC_CROSS);
        selStartX = WindowToColumn(pointerX);
        selStartY = WindowToRow(pointerY);
    }
}

void RightButtonDown(HWND window) {
    ShowSystemCursor(IDC_NO);
    if (!(manualMode || automaticMode)) return;
    if (!DeleteThermalAt()) return;
    projectModified = 1;
    InvalidateMap(false);
    HDC dc = GetDC(window);
    DrawThermals(dc);
    ReleaseDC(window, dc);
}

}  // namespace

HDC MirrorOf(HDC dc) {
    if (painting || frame.dc == nullptr || dc == frame.dc) return nullptr;
    return WindowFromDC(dc) == frame.window ? frame.dc : nullptr;
}

LRESULT CALLBACK MapWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        SetScrollRange(window, SB_VERT, ScrollMin, ScrollMax, TRUE);
        SetScrollRange(window, SB_HORZ, ScrollMin, ScrollMax, TRUE);
        return 0;
    case WM_SIZE:
        // The kept picture's size was chosen for the old window.
        ReleaseFrame();
        ForgetKeptPicture();
        return 0;
    case WM_DESTROY:
        ReleaseFrame();
        ForgetKeptPicture();
        return 0;
    case WM_ERASEBKGND:
        // Left to the paint (PAINTSTRUCT::fErase), which clears the same region on the off-screen
        // copy and shows it in one transfer.
        return 0;
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_HSCROLL:
        Scroll(scrollPercentX, wParam);
        return 0;
    case WM_VSCROLL:
        Scroll(scrollPercentY, wParam);
        return 0;
    case WM_MOUSEMOVE:
        MouseMove(window, wParam, lParam);
        return 0;
    case WM_LBUTTONDOWN:
        LeftButtonDown(window);
        return 0;
    case WM_RBUTTONDOWN:
        RightButtonDown(window);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        ShowSystemCursor(IDC_CROSS);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void UpdatePointerPosition() {
    ComputePointerPosition();
    UpdateStatusBar();
}

void InvalidateMap(bool erase) { InvalidateRect(mapWindow, nullptr, erase ? TRUE : FALSE); }
