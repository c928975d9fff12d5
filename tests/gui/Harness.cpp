#include "gui/Harness.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <set>

#include "app/Application.h"
#include "app/ProjectCommands.h"
#include "map/ThermalMap.h"
#include "model/FileNames.h"
#include "model/History.h"
#include "model/ProjectFile.h"
#include "thermals/Flights.h"
#include "shell/FileDialogs.h"

namespace gui {

namespace {

using boxwatch::BoxRecord;

constexpr UINT DeadlineMs = 20000;  // for a handled box or dialog to close; a failure past it
const char* const ToolCaptions[] = {"Setup...", "Thermals (manual)", "Thermals (automatic)", "Clear (partly)", "Flights"};

AppWindow* app = nullptr;
RECT startRect{};  // the main window as start-up placed it
bool quitPosted = false;
WPARAM quitCode = 0;
boxwatch::StartedProcesses started;  // the processes the program starts: the test's own job

// ---- The watcher: a CBT hook tells each dialog apart as it activates; a message hook acts on it
// once the dialog's own loop takes the message posted for it ----
UINT actMessage = 0;
std::map<HWND, std::function<void(HWND)>> acts;
std::set<HWND> seen;
std::deque<int> boxAnswers;
std::deque<std::pair<std::string, int>> fileAnswers;  // the path ("" cancels) and the file type picked
std::deque<std::pair<std::string, std::function<void(HWND)>>> dialogActs;
std::vector<BoxRecord> boxes;
std::vector<std::string> dialogs;
std::vector<std::string> failures;

void CALLBACK Deadline(HWND window, UINT, UINT_PTR id, DWORD) {
    KillTimer(window, id);
    failures.push_back("\"" + boxwatch::WindowText(window) + "\" still open after its deadline; closed");
    boxwatch::PressButton(window, IDCANCEL);
    PostMessageA(window, WM_CLOSE, 0, 0);
}

void Handle(HWND window, std::function<void(HWND)> act) {
    acts[window] = [act = std::move(act)](HWND dialog) {
        // The dialog's own loop runs by now: no other window of the program may take input.
        for (HWND other : {app->mainWindow, app->currentDialog})
            if (other && other != dialog && IsWindowEnabled(other))
                failures.push_back("\"" + boxwatch::WindowText(other) + "\" took input under \"" + boxwatch::WindowText(dialog) + "\"");
        act(dialog);
    };
    PostMessageA(window, actMessage, 0, 0);
    SetTimer(window, 1, DeadlineMs, Deadline);
}

void Activated(HWND window) {
    if (!boxwatch::IsDialogWindow(window) || !seen.insert(window).second) return;
    const std::string caption = boxwatch::WindowText(window);
    const boxwatch::DialogKind kind = boxwatch::KindOf(window);
    if (kind == boxwatch::DialogKind::MessageBox || caption == "About...") {
        BoxRecord box{window, GetWindow(window, GW_OWNER), caption, caption, {IDOK}};  // the About box: OK
        boxwatch::ReadMessageBox(window, box);
        box.answer = boxwatch::FallbackAnswer(box);
        if (boxAnswers.empty()) {
            failures.push_back("unexpected message box " + boxwatch::Describe(box));
        } else if (!box.HasButton(boxAnswers.front())) {
            failures.push_back("message box without button " + std::to_string(boxAnswers.front()) + ": " + boxwatch::Describe(box));
        } else {
            box.answer = boxAnswers.front(), box.expected = true;
        }
        if (!boxAnswers.empty()) boxAnswers.pop_front();
        boxes.push_back(box);
        Handle(window, [answer = box.answer](HWND box) { boxwatch::PressButton(box, answer); });
    } else if (kind == boxwatch::DialogKind::FileDialog) {
        if (fileAnswers.empty()) failures.push_back("unexpected file dialog \"" + caption + "\"");
        const auto answer = fileAnswers.empty() ? std::make_pair(std::string(), 0) : fileAnswers.front();
        if (!fileAnswers.empty()) fileAnswers.pop_front();
        dialogs.push_back(answer.first.empty() ? "(cancel)" : answer.first);
        Handle(window, [answer](HWND dialog) { boxwatch::AnswerFileDialog(dialog, answer.first, answer.second); });
    } else {
        for (const char* tool : ToolCaptions)
            if (caption == tool) return;  // the program's own tool dialog: never touched
        if (!dialogActs.empty() && dialogActs.front().first == caption) {
            Handle(window, std::move(dialogActs.front().second));
            dialogActs.pop_front();
            return;
        }
        failures.push_back("unexpected dialog \"" + caption + "\"; closed");
        Handle(window, [](HWND dialog) { boxwatch::PressButton(dialog, IDCANCEL), PostMessageA(dialog, WM_CLOSE, 0, 0); });
    }
}

LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE) Activated(window);
    if (code == HCBT_DESTROYWND) seen.erase(window), acts.erase(window);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MessageHook(int code, WPARAM wParam, LPARAM lParam) {
    MSG* message = reinterpret_cast<MSG*>(lParam);
    auto it = acts.find(message->hwnd);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->message == actMessage && it != acts.end()) {
        message->message = WM_NULL;
        const auto act = std::move(it->second);
        acts.erase(it);
        act(message->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// ---- Program state that no reset function of the program covers, as it was before any test ----
struct RunStart {
    char autoTexts[6][8];
    uint8_t randomClouds, allClouds;
    int markerEdge;
    OPENFILENAMEA fileDialog;
    char folder[MAX_PATH];
} runStart;

void StartProgram() {
    std::memcpy(runStart.autoTexts, autoTexts, sizeof autoTexts);
    runStart.randomClouds = randomClouds, runStart.allClouds = allClouds, runStart.markerEdge = markerEdge;
    GetCurrentDirectoryA(MAX_PATH, runStart.folder);
    actMessage = RegisterWindowMessageA("AscendorTestAct");
    SetWindowsHookExA(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
    SetWindowsHookExA(WH_GETMESSAGE, MessageHook, nullptr, GetCurrentThreadId());
    if (!started.Watch(GetCurrentProcess())) failures.push_back("the processes the program starts cannot be watched");
    app = new AppWindow(GetModuleHandleA(nullptr), SW_SHOWNORMAL, "Ascendor", "Ascendor");
    PrepareApplication(*app);
    app->Create();
    runStart.fileDialog = fileDialog;
    GetWindowRect(app->mainWindow, &startRect);
}

void SendMouse(UINT message, int x, int y, WPARAM keys) { SendMessageA(mapWindow, message, keys, MAKELPARAM(x, y)); }
// A click: the pointer moves there, the button goes down and up (its up message follows its down).
void Press(UINT down, WPARAM keys, int x, int y) {
    SendMouse(WM_MOUSEMOVE, x, y, 0), SendMouse(down, x, y, keys), SendMouse(down + 1, x, y, 0);
    Pump();
}

}  // namespace

void ResetProgram() {
    if (!app) StartProgram();
    // Exit and the end of a session destroy the main window: the next test gets a new one.
    if (!IsWindow(app->mainWindow)) app->Create();
    if (app->currentDialog) DestroyWindow(app->currentDialog), app->currentDialog = nullptr;
    ResetProject(), ResetView(), ResetSelection(), ResetManualSettings(), ResetFlights(), KeepBatch(), ClearHistory();
    projectModified = backdropLoaded = setupMode = manualMode = automaticMode = clearPartMode = 0;
    batchStart = batchEnd = 0;
    backdrop = Backdrop{};
    backdropWidth = backdropHeight = areaTop = areaBottom = areaLeft = areaRight = latSpan = lonSpan = 0;
    latPerPixel = lonPerPixel = 0;
    std::memcpy(autoTexts, runStart.autoTexts, sizeof autoTexts);
    randomClouds = runStart.randomClouds, allClouds = runStart.allClouds, markerEdge = runStart.markerEdge;
    thermalMapPath.clear(), useThermalMap = showThermalMap = 0, ForgetThermalMap(), thermalMapShown = false;
    fileDialog = runStart.fileDialog;
    dialogPath[0] = dialogTitle[0] = '\0';
    SetCurrentDirectoryA(runStart.folder);
    const RECT& r = startRect;
    ShowWindow(Main(), SW_RESTORE);
    SetWindowPos(Main(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateTitle(Main(), projectName);
    UpdateStatusBar();
    SetActiveWindow(Main()), SetFocus(Main());
    DropMapComposition();
    InvalidateRect(mapWindow, nullptr, TRUE);
    Pump();
    quitPosted = false, quitCode = 0;
    CheckWatcher();
    started.Forget();
}

AppWindow& App() { return *app; }
HWND Main() { return app ? app->mainWindow : nullptr; }
HWND Map() { return mapWindow; }
bool QuitPosted() { return quitPosted; }
WPARAM QuitCode() { return quitCode; }

bool Pump() {
    bool quit = false;
    MSG message;
    for (long n = 0; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++n) {
        if (n == 1000000) {
            ADD_FAILURE() << "the program never ran out of messages";
            break;
        }
        if (message.message == WM_QUIT) {
            quit = quitPosted = true, quitCode = message.wParam;
        } else {
            app->Dispatch(message);
        }
    }
    return quit;
}

void Command(int id) { SendMessageA(Main(), WM_COMMAND, MAKEWPARAM(id, 0), 0), Pump(); }
LRESULT Close() {
    const LRESULT result = SendMessageA(Main(), WM_CLOSE, 0, 0);
    Pump();
    return result;
}
void PostKey(UINT key, HWND target) {
    if (!target) target = GetFocus() ? GetFocus() : Main();
    boxwatch::PostKeyPress(target, key);
}
void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0), Pump(); }
void Drop(HWND window, const std::vector<std::string>& paths, bool later) {
    // Explorer's block: a DROPFILES record (names at offset 20, ANSI, each ended by a zero) and
    // the list's closing zero.
    std::string names;
    for (const std::string& path : paths) names += path + '\0';
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 20 + names.size() + 2);
    char* bytes = static_cast<char*>(GlobalLock(block));
    bytes[0] = 20;
    std::memcpy(bytes + 20, names.data(), names.size());
    GlobalUnlock(block);
    if (later) PostMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
    else SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0), Pump();
}
void LeftClick(int x, int y, WPARAM keys) { Press(WM_LBUTTONDOWN, MK_LBUTTON | keys, x, y); }
void RightClick(int x, int y) { Press(WM_RBUTTONDOWN, MK_RBUTTON, x, y); }
void Mouse(UINT message, int x, int y, WPARAM keys) { SendMouse(message, x, y, keys); }
void Drag(int fromX, int fromY, int toX, int toY, int steps, WPARAM keys) {
    SendMouse(WM_MOUSEMOVE, fromX, fromY, 0), SendMouse(WM_LBUTTONDOWN, fromX, fromY, MK_LBUTTON | keys);
    for (int i = 1; i <= steps; ++i)
        SendMouse(WM_MOUSEMOVE, fromX + (toX - fromX) * i / steps, fromY + (toY - fromY) * i / steps, MK_LBUTTON);
    SendMouse(WM_LBUTTONUP, toX, toY, 0);
    Pump();
}

std::string Title() { return boxwatch::WindowText(Main()); }

std::string StatusText(int part) {
    std::string text(LOWORD(SendMessageA(statusBar, SB_GETTEXTLENGTHA, part, 0)) + 1, '\0');
    SendMessageA(statusBar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(&text[0]));
    return text.c_str();
}

namespace {

// The pixels of dc from (0, 0), width by height.
Picture Capture(HDC dc, int width, int height) {
    Picture picture;
    picture.width = width, picture.height = height;
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    HDC memory = CreateCompatibleDC(dc);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    GdiFlush();
    for (size_t i = 0; bits && i < static_cast<size_t>(width) * height; ++i) {
        const uint32_t p = static_cast<const uint32_t*>(bits)[i];  // 0x00RRGGBB
        picture.pixels.push_back(RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF));
    }
    SelectObject(memory, old), DeleteObject(bitmap), DeleteDC(memory);
    return picture;
}

}  // namespace

Picture CaptureMap() {
    UpdateWindow(mapWindow);
    RECT client{};
    GetClientRect(mapWindow, &client);
    HDC dc = GetDC(mapWindow);
    Picture picture = Capture(dc, client.right, client.bottom);
    ReleaseDC(mapWindow, dc);
    return picture;
}

Picture CaptureWhole(HWND window) {
    RECT box{};
    GetWindowRect(window, &box);
    HDC dc = GetWindowDC(window);
    Picture picture = Capture(dc, box.right - box.left, box.bottom - box.top);
    ReleaseDC(window, dc);
    return picture;
}

void ExpectBox(int answer) { boxAnswers.push_back(answer); }
void ExpectFile(const std::string& path, int type) { fileAnswers.emplace_back(boxwatch::WinePath(path), type); }
void ExpectFileCancel() { fileAnswers.emplace_back("", 0); }
void ExpectDialog(const std::string& caption, std::function<void(HWND)> act) { dialogActs.emplace_back(caption, std::move(act)); }
const std::vector<BoxRecord>& Boxes() { return boxes; }
const std::vector<std::string>& Dialogs() { return dialogs; }
std::vector<std::string> BoxTexts() {
    std::vector<std::string> texts;
    for (const auto& box : boxes) texts.push_back(box.text);
    return texts;
}

void CheckWatcher() {
    for (const auto& failure : failures) ADD_FAILURE() << failure;
    for (int answer : boxAnswers) ADD_FAILURE() << "never came: a message box to answer " << answer;
    for (const auto& answer : fileAnswers) ADD_FAILURE() << "never came: a file dialog for \"" << answer.first << "\"";
    for (const auto& act : dialogActs) ADD_FAILURE() << "never came: the dialog \"" << act.first << "\"";
    for (HWND window : seen)
        if (IsWindow(window) && window != app->currentDialog) ADD_FAILURE() << "dialog \"" << boxwatch::WindowText(window) << "\" left open";
    failures.clear(), boxAnswers.clear(), fileAnswers.clear(), dialogActs.clear(), boxes.clear(), dialogs.clear();
}

int RunsStarted() { return started.Started(); }
bool WaitForRunsToEnd() {
    const bool ended = started.WaitForAllToEnd(DeadlineMs);
    EXPECT_TRUE(ended) << "started processes still running after their deadline";
    return ended;
}

Thermal MakeThermal(int32_t lat, int32_t lon, int32_t type, bool cloud, int32_t radius, int32_t windDir) {
    return Thermal{lat, lon, type, 0, 2000, radius, windDir, 1, uint8_t(cloud ? 1 : 0), 0, 2000, 1200, 3};
}

std::string ProjectFileText(const std::string& backdropName, const AreaBounds& bounds, const std::vector<Thermal>& table) {
    std::string text = backdropName + "\r\n" + bounds.top + "\r\n" + bounds.bottom + "\r\n" + bounds.left + "\r\n" + bounds.right + "\r\n";
    for (const Thermal& t : table) text += testdata::ThermalLine(t) + "\r\n";
    return text;
}

void WritePicture(const std::string& path, int width, int height, std::function<COLORREF(int, int)> colour) {
    testdata::WriteBytes(path, testdata::Bmp(width, -height, 24, [&colour](int x, int y) {
        const COLORREF c = colour(x, y);
        return uint32_t(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
    }));
}
void WriteGreyBackdrop(const std::string& path, int width, int height) {
    WritePicture(path, width, height, [](int, int) { return RGB(128, 128, 128); });
}

void BringInProject(const ScratchFolder& folder, const std::string& fileName, const std::vector<Thermal>& table,
                    const AreaBounds& bounds) {
    if (!folder.Exists("area.bmp")) WriteGreyBackdrop(folder.File("area.bmp"), 64, 48);
    folder.Write(fileName, ProjectFileText("area.bmp", bounds, table));
    ASSERT_TRUE(OpenProjectFile(Main(), folder.File(fileName).c_str()));
    Pump();
    ASSERT_EQ(backdropLoaded, 1);
    ASSERT_EQ(thermalCount, static_cast<int32_t>(table.size()));
}

void GuiTest::SetUp() { ResetProgram(); }
void GuiTest::TearDown() { Pump(), CheckWatcher(); }

}  // namespace gui
