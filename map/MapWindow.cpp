// The map window: painting, the scroll bars, and the mouse by map mode.
#include "map/MapWindow.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "map/Bitmap.h"
#include "map/DiscStamps.h"
#include "map/Geometry.h"
#include "map/MapPaint.h"
#include "map/Pyramid.h"
#include "map/Selection.h"
#include "map/ThermalMap.h"
#include "model/Coordinates.h"
#include "model/Project.h"
#include "shell/AppWindow.h"
#include "shell/MainParts.h"
#include "shell/MessageBoxes.h"
#include "thermals/Manual.h"
#include "thermals/ThermalDialogs.h"

namespace {

// The kept picture: an off-screen copy of the window holding the composed picture of the
// current view (backdrop, discs, wind lines, selection, area frame), so that a paint that follows
// no change is one copy to the screen. It also holds what the screen holds outside the backdrop: a
// repaint that does not erase leaves earlier drawings there, and they stay in the copy too,
// because drawings made at once on the window are repeated on it (MirrorOf) and it is erased
// exactly where the window's background would have been.
struct KeptPicture {
    HWND window = nullptr;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    int width = 0, height = 0;
};

// Everything the paint reads, as it stood when the composition was made.
using CompositionKey = std::array<int64_t, 33>;

struct Composition {
    bool valid = false;
    bool clean = false;  // composed on a wholly erased window: an erasing paint may copy it too
    RECT cutBounds{};  // WindCutBounds when it was made
    CompositionKey key{};
};

KeptPicture kept;
Composition composition;
bool painting = false;
MapOverlay overlay = nullptr;
uint32_t overlayChanges = 0;

int64_t Bits(double value) {
    int64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Where the map origin stands in the key: a view moved by a step differs there only.
constexpr size_t KeyOriginX = 3, KeyOriginY = 4;

CompositionKey CurrentKey() {
    return CompositionKey{
        kept.width, kept.height, Bits(zoomFactor), mapOriginX, mapOriginY,
        backdropLoadCount, static_cast<int64_t>(reinterpret_cast<uintptr_t>(backdrop.pixels.data())),
        backdrop.width, backdrop.height, backdropWidth, backdropHeight,
        tableChanges, thermalCount,
        areaTop, areaLeft, Bits(latPerPixel), Bits(lonPerPixel),
        markers[MarkerTop].y, markers[MarkerBottom].y, markers[MarkerLeft].x, markers[MarkerRight].x,
        selStartX, selStartY, selEndX, selEndY, areaSelected,
        setupMode, manualMode, automaticMode, clearPartMode, overlayChanges, thermalMapShown, thermalMapChanges};
}

bool CompositionCurrent() { return kept.dc != nullptr && composition.valid && composition.key == CurrentKey(); }

void ReleaseKeptPicture() {
    if (kept.dc != nullptr && kept.oldBitmap != nullptr) SelectObject(kept.dc, kept.oldBitmap);
    if (kept.bitmap != nullptr) DeleteObject(kept.bitmap);
    if (kept.dc != nullptr) DeleteDC(kept.dc);
    kept = KeptPicture{};
    composition = Composition{};
}

// A copy of the window's client size; a new one starts from what the screen shows.
bool EnsureKeptPicture(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    int width = client.right, height = client.bottom;
    if (width <= 0 || height <= 0) {
        ReleaseKeptPicture();
        return false;
    }
    if (kept.dc != nullptr && kept.window == window && kept.width == width && kept.height == height)
        return true;
    ReleaseKeptPicture();
    HDC screen = GetDC(window);
    kept.dc = CreateCompatibleDC(screen);
    // A DIB section, so that the discs can be copied into its pixels by our own code.
    BITMAPINFO info = TopDownPictureInfo(width, height);
    void* bits = nullptr;
    kept.bitmap = kept.dc != nullptr ? CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (kept.bitmap == nullptr) {
        ReleaseDC(window, screen);
        ReleaseKeptPicture();
        return false;
    }
    kept.oldBitmap = SelectObject(kept.dc, kept.bitmap);
    BitBlt(kept.dc, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    ReleaseDC(window, screen);
    kept.window = window;
    kept.width = width;
    kept.height = height;
    return true;
}

// Composes the picture on target in the order of the paint: background where erased, backdrop,
// thermals, then the selection or the area frame by mode.
void DrawPicture(HWND window, HDC target, HRGN erased) {
    if (erased != nullptr) FillRgn(target, erased, reinterpret_cast<HBRUSH>(GetClassLongPtrA(window, GCLP_HBRBACKGROUND)));
    RECT clip;
    if (GetClipBox(target, &clip) == NULLREGION) return;
    PaintBackdrop(target, clip);
    if (thermalMapShown) PaintThermalMapOver(target, clip);
    DrawThermals(target);
    if (overlay != nullptr) overlay(target);
    if (automaticMode || clearPartMode) DrawSelection(target);
    if (setupMode) DrawAreaFrame(target);
}

// Makes the kept composition anew over the whole window; erased (or null) is the part whose
// background is cleared first.
void Compose(HWND window, HRGN erased) {
    SelectClipRgn(kept.dc, nullptr);
    DrawPicture(window, kept.dc, erased);
    composition.cutBounds = WindCutBounds();
    RECT box{};
    composition.clean = erased != nullptr && GetRgnBox(erased, &box) == SIMPLEREGION && box.left <= 0 &&
                        box.top <= 0 && box.right >= kept.width && box.bottom >= kept.height;
    composition.key = CurrentKey();  // after the drawing, which sets areaSelected
    composition.valid = true;
}

// A view moved by whole pixels and nothing else changed: the kept picture is moved by the step
// and only the strips that come into view are composed. It holds what a paint from scratch makes
// only where the backdrop covers the whole window before and after (outside it lies what earlier
// paints left, which a paint does not move) and is drawn alike in parts (below), without the
// selection and the area frame (their corners are truncated toward zero, not floored) and while
// wind lines are cut where they were. False, changing nothing, when the move does not apply.
bool MoveComposition(HWND window) {
    if (kept.dc == nullptr || !composition.valid || setupMode || automaticMode || clearPartMode ||
        backdrop.pixels.empty())
        return false;
    const RECT cutBounds = WindCutBounds();
    if (!EqualRect(&cutBounds, &composition.cutBounds)) return false;
    const CompositionKey now = CurrentKey();
    CompositionKey before = composition.key;
    const int64_t sx = now[KeyOriginX] - before[KeyOriginX], sy = now[KeyOriginY] - before[KeyOriginY];
    before[KeyOriginX] = now[KeyOriginX];
    before[KeyOriginY] = now[KeyOriginY];
    const int w = kept.width, h = kept.height;
    if (before != now || sx <= -w || sx >= w || sy <= -h || sy >= h) return false;
    const int64_t pw = PictureWidth(), ph = PictureHeight();
    // Only where the backdrop's strip is the same pixels as that part of the whole picture: from
    // zoom 1 up, while it is stretched in one call (past that its parts are stretched apart).
    constexpr int64_t OneStretch = int64_t{1} << 31;
    if (zoomFactor < 1.0 || pw * backdrop.width >= OneStretch || ph * backdrop.height >= OneStretch) return false;
    auto covers = [&](int64_t x, int64_t y) { return x <= 0 && y <= 0 && x + pw >= w && y + ph >= h; };
    if (!covers(mapOriginX, mapOriginY) || !covers(mapOriginX - sx, mapOriginY - sy)) return false;
    PixelTarget pixels;
    if (!PixelTargetOf(kept.dc, pixels)) return false;
    GdiFlush();
    const int dx = static_cast<int>(sx), dy = static_cast<int>(sy);
    const size_t rowBytes = static_cast<size_t>(w - (dx < 0 ? -dx : dx)) * sizeof(uint32_t);
    for (int k = 0; k < h; ++k) {
        const int y = dy > 0 ? h - 1 - k : k;  // rows moving down are moved from the bottom up
        const int from = y - dy;
        if (from < 0 || from >= h) continue;
        std::memmove(pixels.bits + static_cast<ptrdiff_t>(y) * pixels.stride + (dx > 0 ? dx : 0),
                     pixels.bits + static_cast<ptrdiff_t>(from) * pixels.stride + (dx < 0 ? -dx : 0), rowBytes);
    }
    // Each strip on its own, as a rectangle the discs' stamps can be cut to; where the two meet,
    // the second draws the same pixels again.
    const RECT parts[2] = {dx > 0 ? RECT{0, 0, dx, h} : RECT{w + dx, 0, w, h},
                           dy > 0 ? RECT{0, 0, w, dy} : RECT{0, h + dy, w, h}};
    for (const RECT& part : parts) {
        if (IsRectEmpty(&part)) continue;
        HRGN strip = CreateRectRgnIndirect(&part);
        SelectClipRgn(kept.dc, strip);
        DeleteObject(strip);
        DrawPicture(window, kept.dc, nullptr);
    }
    SelectClipRgn(kept.dc, nullptr);
    composition.key = CurrentKey();
    return true;
}

void ShowSystemCursor(LPCSTR id) { SetCursor(LoadCursorA(nullptr, id)); }

// Posted once a paint has changed a bar's position; the bars whose thumbs wait to be drawn.
constexpr UINT WM_DRAWTHUMBS = WM_APP + 1;
bool thumbsToDraw[2] = {};  // by SB_HORZ, SB_VERT
bool thumbsPosted = false;

void Paint(HWND window) {
    // The update region, taken before BeginPaint validates it, is what an erasing paint clears.
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(window, update, FALSE);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    painting = true;

    UpdateMapOrigin();

    HRGN erased = ps.fErase ? update : nullptr;
    if (EnsureKeptPicture(window)) {
        if (!CompositionCurrent()) {
            if (erased != nullptr || !MoveComposition(window)) Compose(window, erased);
        } else if (erased != nullptr && !composition.clean) {
            // Unchanged, but what lies outside the backdrop came from earlier paints: the erased
            // part is made again as the paint has always made it, and the rest stays valid.
            SelectClipRgn(kept.dc, update);
            DrawPicture(window, kept.dc, erased);
            SelectClipRgn(kept.dc, nullptr);
        }
        BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
               ps.rcPaint.bottom - ps.rcPaint.top, kept.dc, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    } else {
        DrawPicture(window, dc, erased);
    }

    painting = false;
    EndPaint(window, &ps);
    DeleteObject(update);
    // The bars take the new positions at once; their thumbs are drawn after the paint's message
    // is done, since drawing a thumb (through Wine's theme) costs several times the map's paint.
    // An unchanged thumb is not drawn again.
    bool moved = false;
    for (int bar : {SB_HORZ, SB_VERT}) {
        const int position = bar == SB_HORZ ? scrollPositionX : scrollPositionY;
        if (GetScrollPos(window, bar) == position) continue;
        SetScrollPos(window, bar, position, FALSE);
        thumbsToDraw[bar] = true;
        moved = true;
    }
    if (moved && !thumbsPosted) thumbsPosted = PostMessageA(window, WM_DRAWTHUMBS, 0, 0) != FALSE;
}

void DrawThumbs(HWND window) {
    thumbsPosted = false;
    for (int bar : {SB_HORZ, SB_VERT}) {
        if (!thumbsToDraw[bar]) continue;
        thumbsToDraw[bar] = false;
        // A bar may draw only when its position changes: it is set one unit aside and back.
        const int position = GetScrollPos(window, bar);
        SetScrollPos(window, bar, position > 0 ? position - 1 : position + 1, FALSE);
        SetScrollPos(window, bar, position, TRUE);
    }
}

void Scroll(HWND window, int bar, WPARAM wParam) {
    const ScrollAxis axis = bar == SB_HORZ ? ScrollAxis::Horizontal : ScrollAxis::Vertical;
    switch (LOWORD(wParam)) {
    case SB_LINEUP: ScrollBy(axis, -ScrollLineStep(axis)); break;
    case SB_LINEDOWN: ScrollBy(axis, ScrollLineStep(axis)); break;
    case SB_PAGEUP: ScrollBy(axis, -ScrollPageStep(axis)); break;
    case SB_PAGEDOWN: ScrollBy(axis, ScrollPageStep(axis)); break;
    case SB_THUMBTRACK: {
        // The message carries only 16 bits of the thumb's position; the bar holds all 32.
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        if (GetScrollInfo(window, bar, &info)) ScrollBy(axis, int64_t{info.nTrackPos} - ScrollPosition(axis));
        break;
    }
    default: break;
    }
    UpdateMapOrigin();
    ComputePointerPosition();
    UpdateStatusBarLater();
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

// A Ctrl press on a thermal in manual mode: released where it began it edits the thermal, moved
// at least the system's drag distance it drags it. The map holds the capture and the focus
// meanwhile, so that the release and Escape come here wherever the pointer goes. The record is
// kept, since a right click or Undo may change the table before the release.
struct ThermalPress {
    bool active = false;
    bool dragging = false;
    int32_t index = -1;
    Thermal record{};
    int x = 0, y = 0;
    HWND focusBefore = nullptr;
};

ThermalPress press;

void PressThermal(HWND window) {
    int32_t index = PickThermal(pointerLat, pointerLon);
    if (index < 0) return;  // nothing there: nothing placed, nothing opened
    ShowSystemCursor(IDC_SIZEALL);
    press = ThermalPress{true, false, index, thermals[index], pointerX, pointerY, GetFocus()};
    SetFocus(window);
    SetCapture(window);
}

// Ends the press; a dragged disc goes back to the table's picture of it.
ThermalPress EndPress() {
    ThermalPress ended = press;
    press = ThermalPress{};
    CancelThermalMove();
    if (GetCapture() == mapWindow) ReleaseCapture();
    if (ended.focusBefore != nullptr && IsWindow(ended.focusBefore)) SetFocus(ended.focusBefore);
    ShowSystemCursor(IDC_CROSS);
    if (ended.dragging) {
        DropMapComposition();
        InvalidateMap(false);
    }
    return ended;
}

void FollowPress() {
    int dx = pointerX - press.x, dy = pointerY - press.y;
    if (!press.dragging && dx < GetSystemMetrics(SM_CXDRAG) && -dx < GetSystemMetrics(SM_CXDRAG) &&
        dy < GetSystemMetrics(SM_CYDRAG) && -dy < GetSystemMetrics(SM_CYDRAG))
        return;
    if (!press.dragging) BeginThermalMove(press.index);
    press.dragging = true;
    FollowThermalMove(pointerLat, pointerLon);
    ShowSystemCursor(IDC_SIZEALL);
    // The kept composition does not know the dragged position: the next paint composes anew.
    DropMapComposition();
    InvalidateMap(false);
}

void MouseMove(HWND window, WPARAM wParam, LPARAM lParam) {
    ShowSystemCursor(IDC_CROSS);
    // While a press holds the capture the pointer may leave the window to the left or above.
    pointerX = press.active ? static_cast<short>(LOWORD(lParam)) : LOWORD(lParam);
    pointerY = press.active ? static_cast<short>(HIWORD(lParam)) : HIWORD(lParam);
    UpdatePointerPosition();
    if (press.active) FollowPress();
    bool leftDown = (wParam & MK_LBUTTON) != 0;
    if (automaticMode && leftDown) DragSelection(window);
    if (clearPartMode && leftDown) DragSelection(window);
}

// The release of a Ctrl press, at the release's own position: the drop of a drag, or the edit.
void ReleaseThermal(HWND window, LPARAM lParam) {
    MouseMove(window, 0, lParam);
    bool dropped = press.dragging && FinishThermalMove();
    ThermalPress ended = EndPress();
    // Only the thermal pressed, still in its place as it was; otherwise nothing opens.
    const bool unchanged = ended.index < thermalCount && SameThermal(thermals[ended.index], ended.record);
    if (!ended.dragging && manualMode && unchanged) {
        HWND owner = theApp->currentDialog != nullptr ? theApp->currentDialog : theApp->mainWindow;
        dropped = EditThermal(owner, ended.index);
    }
    if (!dropped) return;
    projectModified = 1;
    InvalidateMap(false);
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
void LeftButtonDown(HWND window, WPARAM wParam) {
    if (manualMode && (wParam & MK_CONTROL) != 0) {
        PressThermal(window);
        return;
    }
    if (manualMode) {
        ShowSystemCursor(IDC_SIZEALL);
        bool kept = CompositionCurrent();
        if (!AddManualThermal()) {
            ShowTableFullNotice(theApp->mainWindow);
            return;
        }
        projectModified = 1;
        // No invalidation: the disc is drawn over the picture already on the screen, and into the
        // kept composition, which so stays valid. Without one, every disc is drawn again.
        // Over a tool dialog's drawings the disc would cover them where a paint draws them over it.
        if (overlay != nullptr) {
            InvalidateMap(false);
            return;
        }
        HDC dc = GetDC(window);
        if (kept) {
            DrawThermalsFrom(dc, thermalCount - 1);
            composition.key = CurrentKey();
        } else {
            DrawThermals(dc);
        }
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

void RightButtonDown() {
    ShowSystemCursor(IDC_NO);
    if (!(manualMode || automaticMode)) return;
    if (!DeleteThermalAt()) return;
    projectModified = 1;
    // Erasing: the removed disc may have reached into the margin beside the backdrop. The paint
    // that follows draws the table anew.
    InvalidateMap(true);
}

}  // namespace

void SetMapOverlay(MapOverlay draw) {
    overlay = draw;
    ++overlayChanges;
    InvalidateMap(false);
}

void MapOverlayChanged() {
    ++overlayChanges;
    InvalidateMap(false);
}

HDC MirrorOf(HDC dc) {
    if (painting || kept.dc == nullptr || dc == kept.dc) return nullptr;
    return WindowFromDC(dc) == kept.window ? kept.dc : nullptr;
}

int ReloadBackdrop(const char* name) {
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    // The reduced copies go first, so that they never share the memory with a second picture.
    pyramid = Pyramid{};
    ForgetKeptPicture();
    int result = LoadBackdrop(name);
    SetCursor(previous);
    if (result == LoadOk) {
        FitZoom();
        InvalidateMap(true);
    }
    return result;
}

bool LoadBackdropOrTell(HWND owner, const char* path, const char* shownName, const char* advice) {
    int result = ReloadBackdrop(path);
    if (result == LoadOk) return true;
    ShowMessage(owner, (BackdropFailureText(shownName, result) + advice).c_str(), MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void EndMapPress() {
    if (press.active) EndPress();
}

void ForgetBackdrop() {
    pyramid = Pyramid{};
    ForgetKeptPicture();
    backdrop = Backdrop{};
    backdropWidth = backdropHeight = 0;
    backdropLoaded = 0;
    InvalidateMap(true);
}

LRESULT CALLBACK MapWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        SetScrollRange(window, SB_VERT, 0, ScrollPositionMax, TRUE);
        SetScrollRange(window, SB_HORZ, 0, ScrollPositionMax, TRUE);
        return 0;
    case WM_SIZE:
        // The kept picture's size was chosen for the old window.
        ReleaseKeptPicture();
        ForgetKeptPicture();
        return 0;
    case WM_DESTROY:
        ReleaseKeptPicture();
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
        Scroll(window, SB_HORZ, wParam);
        return 0;
    case WM_VSCROLL:
        Scroll(window, SB_VERT, wParam);
        return 0;
    case WM_DRAWTHUMBS:
        DrawThumbs(window);
        return 0;
    case WM_MOUSEMOVE:
        MouseMove(window, wParam, lParam);
        return 0;
    case WM_LBUTTONDOWN:
        LeftButtonDown(window, wParam);
        return 0;
    case WM_RBUTTONDOWN:
        RightButtonDown();
        return 0;
    case WM_LBUTTONUP:
        if (press.active) {
            ReleaseThermal(window, lParam);
            return 0;
        }
        ShowSystemCursor(IDC_CROSS);
        return 0;
    case WM_RBUTTONUP:
        ShowSystemCursor(IDC_CROSS);
        return 0;
    case WM_KEYDOWN:
        if (press.active && wParam == VK_ESCAPE) {
            EndPress();
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_CAPTURECHANGED:
        // Another window took the mouse: the press ends with nothing changed.
        if (press.active) EndPress();
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void UpdatePointerPosition() {
    ComputePointerPosition();
    UpdateStatusBar();
}

void InvalidateMap(bool erase) {
    // An erasing repaint follows a change the keys may not show (a table put back, say).
    if (erase) DropMapComposition();
    InvalidateRect(mapWindow, nullptr, erase ? TRUE : FALSE);
}

void DropMapComposition() {
    composition.valid = false;
    ForgetThermalGrid();
}

namespace {

// The Test batch being drawn into the kept composition; the screen gets the changed part after
// every group of discs and at the end.
constexpr int BatchGroup = 1000;

struct BatchDrawing {
    bool active = false;
    bool onScreen = false;  // no kept composition: each disc goes straight to the window
    HDC screen = nullptr;
    ThermalPainter* painter = nullptr;
    RECT touched{};
    int inGroup = 0;
};

BatchDrawing batch;

void ShowBatchGroup() {
    if (!IsRectEmpty(&batch.touched)) {
        const RECT& r = batch.touched;
        BitBlt(batch.screen, r.left, r.top, r.right - r.left, r.bottom - r.top, kept.dc, r.left, r.top, SRCCOPY);
    }
    SetRectEmpty(&batch.touched);
    batch.inGroup = 0;
}

}  // namespace

void BeginBatchDrawing() {
    EndBatchDrawing();
    batch.active = true;
    batch.screen = GetDC(mapWindow);
    UpdateMapOrigin();
    if (!EnsureKeptPicture(mapWindow)) {
        batch.onScreen = true;
        return;
    }
    // The discs are drawn on the picture they belong to, made as an erasing paint makes it, so
    // that nothing earlier paints left beside the backdrop stays.
    HRGN erased = CreateRectRgn(0, 0, kept.width, kept.height);
    if (!CompositionCurrent()) {
        Compose(mapWindow, erased);
    } else if (!composition.clean) {
        // Over the backdrop the composition is what an erasing paint makes; only beside it is it
        // made again.
        HRGN picture = CreateRectRgn(mapOriginX, mapOriginY, mapOriginX + PictureWidth(), mapOriginY + PictureHeight());
        CombineRgn(erased, erased, picture, RGN_DIFF);
        DeleteObject(picture);
        SelectClipRgn(kept.dc, erased);
        DrawPicture(mapWindow, kept.dc, erased);
        SelectClipRgn(kept.dc, nullptr);
        composition.clean = true;
    }
    DeleteObject(erased);
    batch.painter = new ThermalPainter(kept.dc, thermalCount);
    SetRectEmpty(&batch.touched);
}

void DrawBatchThermal(int index) {
    if (!batch.active) return;
    if (batch.onScreen) {
        DrawThermalsFrom(batch.screen, index);
        return;
    }
    batch.painter->Draw(index, &batch.touched);
    if (++batch.inGroup >= BatchGroup) ShowBatchGroup();
}

void EndBatchDrawing() {
    if (!batch.active) return;
    if (batch.painter != nullptr) {
        ShowBatchGroup();
        delete batch.painter;
        // The kept picture becomes what a paint of the new table makes: the selection and the
        // area frame go over the new discs. The screen shows it whole, the rest of the picture too.
        if (automaticMode || clearPartMode) DrawSelection(kept.dc);
        if (setupMode) DrawAreaFrame(kept.dc);
        composition.key = CurrentKey();
        BitBlt(batch.screen, 0, 0, kept.width, kept.height, kept.dc, 0, 0, SRCCOPY);
    }
    ReleaseDC(mapWindow, batch.screen);
    batch = BatchDrawing{};
}
