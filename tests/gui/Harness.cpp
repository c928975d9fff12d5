#include "gui/Harness.h"

#include <commctrl.h>

#include <chrono>
#include <cstring>
#include <filesystem>

#include "app/Application.h"
#include "app/MainWindow.h"
#include "map/Bitmap.h"
#include "map/Geometry.h"
#include "map/MapWindow.h"
#include "map/Selection.h"
#include "model/Project.h"
#include "shell/FileDialogs.h"
#include "shell/Frame.h"
#include "thermals/Generation.h"
#include "thermals/Manual.h"

namespace gui {

namespace {

AppWindow* app = nullptr;
boxwatch::BoxWatcher* watcher = nullptr;
StartupFacts startup;
bool quitPosted = false;
WPARAM quitCode = 0;

// Program state that no reset function of the program covers, as it was before the first test.
struct RunStart {
    char autoTexts[6][8];
    uint8_t randomClouds;
    uint8_t allClouds;
    int32_t batchStart, batchEnd;
    int markerEdge;
    int32_t areaTop, areaBottom, areaLeft, areaRight, latSpan, lonSpan;
    double latPerPixel, lonPerPixel;
    OPENFILENAMEA fileDialog;
    char dialogPath[DialogPathSize];
    char dialogTitle[DialogTitleSize];
    char folder[MAX_PATH];
};
RunStart runStart;

void SaveRunStart() {
    std::memcpy(runStart.autoTexts, autoTexts, sizeof autoTexts);
    runStart.randomClouds = randomClouds;
    runStart.allClouds = allClouds;
    runStart.batchStart = batchStart;
    runStart.batchEnd = batchEnd;
    runStart.markerEdge = markerEdge;
    runStart.areaTop = areaTop;
    runStart.areaBottom = areaBottom;
    runStart.areaLeft = areaLeft;
    runStart.areaRight = areaRight;
    runStart.latSpan = latSpan;
    runStart.lonSpan = lonSpan;
    runStart.latPerPixel = latPerPixel;
    runStart.lonPerPixel = lonPerPixel;
    std::memcpy(runStart.dialogPath, dialogPath, sizeof dialogPath);
    std::memcpy(runStart.dialogTitle, dialogTitle, sizeof dialogTitle);
    GetCurrentDirectoryA(MAX_PATH, runStart.folder);
}

void RestoreRunStart() {
    std::memcpy(autoTexts, runStart.autoTexts, sizeof autoTexts);
    randomClouds = runStart.randomClouds;
    allClouds = runStart.allClouds;
    batchStart = runStart.batchStart;
    batchEnd = runStart.batchEnd;
    markerEdge = runStart.markerEdge;
    areaTop = runStart.areaTop;
    areaBottom = runStart.areaBottom;
    areaLeft = runStart.areaLeft;
    areaRight = runStart.areaRight;
    latSpan = runStart.latSpan;
    lonSpan = runStart.lonSpan;
    latPerPixel = runStart.latPerPixel;
    lonPerPixel = runStart.lonPerPixel;
    fileDialog = runStart.fileDialog;
    std::memcpy(dialogPath, runStart.dialogPath, sizeof dialogPath);
    std::memcpy(dialogTitle, runStart.dialogTitle, sizeof dialogTitle);
    SetCurrentDirectoryA(runStart.folder);
}

LPARAM KeyData(UINT virtualKey, bool up) {
    LPARAM data = 1 | (static_cast<LPARAM>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)) << 16);
    switch (virtualKey) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
    case VK_INSERT: case VK_DELETE: case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
        data |= 1 << 24;
        break;
    default:
        break;
    }
    if (up) data |= (1 << 30) | (static_cast<LPARAM>(1) << 31);
    return data;
}

void SendMouse(UINT message, int x, int y, WPARAM keys) {
    SendMessageA(mapWindow, message, keys, MAKELPARAM(x, y));
}

}  // namespace

void StartProgram() {
    if (app) return;
    SaveRunStart();
    watcher = new boxwatch::BoxWatcher;
    watcher->Install();
    app = new AppWindow(GetModuleHandleA(nullptr), SW_SHOWNORMAL, "Ascendor", "Ascendor");
    PrepareApplication(*app);
    app->Create();
    runStart.fileDialog = fileDialog;

    HWND main = app->mainWindow;
    startup.title = Title();
    GetWindowRect(main, &startup.windowRect);
    GetClientRect(main, &startup.clientRect);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &startup.workArea, 0);
    startup.visible = main && IsWindowVisible(main);
    startup.viewWidth = viewWidth;
    startup.viewHeight = viewHeight;
    Pump();
}

void ResetProgram() {
    StartProgram();
    HWND main = Main();
    if (app->currentDialog) {
        DestroyWindow(app->currentDialog);
        app->currentDialog = nullptr;
    }
    ResetProject();
    projectModified = 0;
    backdropLoaded = 0;
    setupMode = manualMode = automaticMode = clearPartMode = 0;
    backdropReloadPending = boundsParsePending = 0;
    backdrop = Backdrop{};
    backdropWidth = backdropHeight = 0;
    ResetView();
    ResetSelection();
    ResetManualSettings();
    RestoreRunStart();

    if (IsIconic(main) || IsZoomed(main)) ShowWindow(main, SW_RESTORE);
    RECT rect{};
    GetWindowRect(main, &rect);
    if (!EqualRect(&rect, &startup.windowRect)) {
        const RECT& r = startup.windowRect;
        SetWindowPos(main, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    UpdateTitle(main, projectName);
    UpdateStatusBar();
    SetActiveWindow(main);
    SetFocus(main);
    InvalidateRect(mapWindow, nullptr, TRUE);
    Pump();
    ForgetQuit();
    watcher->Clear();
}

AppWindow& App() { return *app; }
HWND Main() { return app ? app->mainWindow : nullptr; }
HWND Map() { return mapWindow; }
HWND Status() { return statusBar; }
const StartupFacts& Startup() { return startup; }
boxwatch::BoxWatcher& Watcher() { return *watcher; }

bool Pump(int maxMs, int idleMs) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    auto last = start;
    bool quit = false;
    MSG message;
    for (;;) {
        const auto now = Clock::now();
        if (now - start >= std::chrono::milliseconds(maxMs)) break;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = quitPosted = true;
                quitCode = message.wParam;
            } else {
                app->Dispatch(message);
            }
            last = Clock::now();
            continue;
        }
        if (now - last >= std::chrono::milliseconds(idleMs)) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return quit;
}

bool QuitPosted() { return quitPosted; }
WPARAM QuitCode() { return quitCode; }
void ForgetQuit() {
    quitPosted = false;
    quitCode = 0;
}

void Command(int id) {
    SendMessageA(Main(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    Pump();
}

void PostCommand(int id) {
    PostMessageA(Main(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    Pump();
}

LRESULT Close() {
    const LRESULT result = SendMessageA(Main(), WM_CLOSE, 0, 0);
    Pump();
    return result;
}

void PostKey(UINT virtualKey, HWND target) {
    if (!target) target = GetFocus();
    if (!target) target = Main();
    PostMessageA(target, WM_KEYDOWN, virtualKey, KeyData(virtualKey, false));
    PostMessageA(target, WM_KEYUP, virtualKey, KeyData(virtualKey, true));
}

void Key(UINT virtualKey, HWND target) {
    PostKey(virtualKey, target);
    Pump();
}

void MouseMove(int x, int y, WPARAM keys) {
    SendMouse(WM_MOUSEMOVE, x, y, keys);
    Pump();
}

void LeftClick(int x, int y) {
    SendMouse(WM_MOUSEMOVE, x, y, 0);
    SendMouse(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
    SendMouse(WM_LBUTTONUP, x, y, 0);
    Pump();
}

void RightClick(int x, int y) {
    SendMouse(WM_MOUSEMOVE, x, y, 0);
    SendMouse(WM_RBUTTONDOWN, x, y, MK_RBUTTON);
    SendMouse(WM_RBUTTONUP, x, y, 0);
    Pump();
}

void Drag(int fromX, int fromY, int toX, int toY, int steps) {
    if (steps < 1) steps = 1;
    SendMouse(WM_MOUSEMOVE, fromX, fromY, 0);
    SendMouse(WM_LBUTTONDOWN, fromX, fromY, MK_LBUTTON);
    for (int i = 1; i <= steps; ++i)
        SendMouse(WM_MOUSEMOVE, fromX + (toX - fromX) * i / steps, fromY + (toY - fromY) * i / steps,
                  MK_LBUTTON);
    SendMouse(WM_LBUTTONUP, toX, toY, 0);
    Pump();
}

std::string Title() { return boxwatch::WindowText(Main()); }

std::string StatusText(int part) {
    const LRESULT length = SendMessageA(statusBar, SB_GETTEXTLENGTHA, part, 0);
    std::string text(LOWORD(length) + 1, '\0');
    SendMessageA(statusBar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(std::strlen(text.c_str()));
    return text;
}

std::vector<int> StatusEdges() {
    int edges[16] = {};
    const int count = static_cast<int>(SendMessageA(statusBar, SB_GETPARTS, 16,
                                                    reinterpret_cast<LPARAM>(edges)));
    return std::vector<int>(edges, edges + (count > 0 && count <= 16 ? count : 0));
}

bool ResizeClient(int width, int height) {
    HWND main = Main();
    for (int attempt = 0; attempt < 4; ++attempt) {
        RECT window{}, client{};
        GetWindowRect(main, &window);
        GetClientRect(main, &client);
        if (client.right == width && client.bottom == height) break;
        SetWindowPos(main, nullptr, 0, 0, window.right - window.left + width - client.right,
                     window.bottom - window.top + height - client.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Pump();
    RECT client{};
    GetClientRect(main, &client);
    return client.right == width && client.bottom == height;
}

COLORREF MapPixel(int x, int y) {
    UpdateWindow(mapWindow);
    HDC dc = GetDC(mapWindow);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(mapWindow, dc);
    return colour;
}

int Picture::Count(COLORREF colour) const {
    int n = 0;
    for (COLORREF p : pixels)
        if (p == colour) ++n;
    return n;
}

Picture CaptureMap() {
    UpdateWindow(mapWindow);
    Picture picture;
    RECT client{};
    GetClientRect(mapWindow, &client);
    picture.width = client.right;
    picture.height = client.bottom;
    if (picture.width <= 0 || picture.height <= 0) return picture;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = GetDC(mapWindow);
    HDC memory = CreateCompatibleDC(dc);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, picture.width, picture.height, dc, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* source = static_cast<const uint32_t*>(bits);
        const size_t count = static_cast<size_t>(picture.width) * picture.height;
        picture.pixels.resize(count);
        for (size_t i = 0; i < count; ++i) {
            const uint32_t p = source[i];  // 0x00RRGGBB
            picture.pixels[i] = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
        }
        SelectObject(memory, old);
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(mapWindow, dc);
    return picture;
}

std::vector<std::string> BoxTexts() {
    std::vector<std::string> texts;
    for (const auto& box : Boxes()) texts.push_back(box.text);
    return texts;
}

ScratchFolder::ScratchFolder() {
    namespace fs = std::filesystem;
    const fs::path base = fs::temp_directory_path();
    for (unsigned n = 0;; ++n) {
        const fs::path candidate =
            base / ("ascendor-gui-" + std::to_string(GetCurrentProcessId()) + "-" +
                    std::to_string(GetTickCount()) + "-" + std::to_string(n));
        std::error_code error;
        if (fs::create_directory(candidate, error)) {
            path_ = candidate.string();
            break;
        }
        if (n > 1000) break;
    }
}

ScratchFolder::~ScratchFolder() {
    if (path_.empty()) return;
    // The program's file dialogs move the current folder into here; leave before removing it.
    SetCurrentDirectoryA(runStart.folder);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ScratchFolder::File(const std::string& name) const { return path_ + "\\" + name; }

void GuiTest::SetUp() { ResetProgram(); }

void CheckWatcher() {
    for (const auto& failure : watcher->failures) ADD_FAILURE() << failure;
    for (const auto& unused : watcher->Unused()) ADD_FAILURE() << "never came: " << unused;
    watcher->Clear();
}

void GuiTest::TearDown() {
    Pump();
    CheckWatcher();
}

}  // namespace gui
