// The window framework: the main window's class record, its creation and the message loop.
#include "shell/AppWindow.h"

AppWindow* theApp = nullptr;

AppWindow::AppWindow(HINSTANCE instance_, int showCommand_, const char* className_,
                     const char* windowTitle_)
    : showCommand(showCommand_),
      windowClass(),
      mainWindow(nullptr),
      currentDialog(nullptr),
      acceleratorName(nullptr),
      className(className_),
      windowTitle(windowTitle_),
      style(WS_OVERLAPPEDWINDOW),
      x(0),
      y(0),
      width(GetSystemMetrics(SM_CXSCREEN)),
      height(GetSystemMetrics(SM_CYSCREEN)),
      instance(instance_) {
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = DefWindowProcA;  // the program puts its own procedure in
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    windowClass.hIconSm = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = className;
}

static bool FocusIsEdit() {
    HWND focus = GetFocus();
    char className[16] = "";
    return focus != nullptr && GetClassNameA(focus, className, sizeof className) > 0 &&
           lstrcmpiA(className, "Edit") == 0;
}

bool AppWindow::Create() {
    RegisterClassExA(&windowClass);
    mainWindow = CreateWindowExA(0, className, windowTitle, style, x, y, width, height, nullptr,
                                 nullptr, instance, nullptr);
    if (mainWindow == nullptr) return false;
    ShowWindow(mainWindow, showCommand);
    UpdateWindow(mainWindow);
    if (acceleratorName != nullptr) accelerators = LoadAcceleratorsA(instance, acceleratorName);
    return true;
}

// Function keys mean nothing to an edit, so they stay the program's wherever the focus is.
static bool IsFunctionKey(const MSG& message) {
    return (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) && message.wParam >= VK_F1 &&
           message.wParam <= VK_F24;
}

void AppWindow::Dispatch(MSG& message) {
    // The program's keys come first, so that they work in a tool dialog too, but not while an
    // edit has the focus: there Ctrl+Z stays the edit's own undo.
    if (accelerators != nullptr && (!FocusIsEdit() || IsFunctionKey(message)) &&
        TranslateAcceleratorA(mainWindow, accelerators, &message))
        return;
    // The slot is read for every message: a dialog opened or closed by the previous message is
    // served from this one on.
    if (currentDialog != nullptr && IsDialogMessageA(currentDialog, &message)) return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

int AppWindow::Loop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) Dispatch(message);
    return static_cast<int>(message.wParam);
}

void BringToFront(HWND window) {
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(window);
    SetActiveWindow(window);
}

ModalScope::ModalScope(HWND owner) {
    if (theApp == nullptr) return;
    HWND active = GetActiveWindow();
    if (active != nullptr && (active == theApp->mainWindow || active == theApp->currentDialog)) inUse = active;
    HWND windows[2] = {theApp->mainWindow, theApp->currentDialog};
    for (int i = 0; i < 2; ++i) {
        HWND window = windows[i];
        if (window == nullptr || window == owner || !IsWindowEnabled(window)) continue;
        EnableWindow(window, FALSE);
        disabled[i] = window;
    }
}

ModalScope::~ModalScope() {
    for (HWND window : disabled) {
        if (window != nullptr && IsWindow(window)) EnableWindow(window, TRUE);
    }
    if (inUse != nullptr && IsWindow(inUse) && IsWindowEnabled(inUse)) BringToFront(inUse);
}
