// The small window framework: the main window's class record, its creation and the message loop.
#pragma once

#include <windows.h>

class AppWindow {
public:
    AppWindow(HINSTANCE instance, int showCommand, const char* className, const char* windowTitle);

    // Registers the main class, creates and shows the main window. False when the window could
    // not be created.
    bool Create();
    // Hands one fetched message to the open tool dialog, or translates and dispatches it.
    void Dispatch(MSG& message);
    // The message loop; returns the quit code.
    int Loop();

    int showCommand;
    WNDCLASSEXA windowClass;
    HWND mainWindow;
    HWND currentDialog;
    const char* acceleratorName;
    const char* className;
    const char* windowTitle;
    DWORD style;
    int x, y;
    int width, height;
    HINSTANCE instance;

private:
    HACCEL accelerators = nullptr;
};

extern AppWindow* theApp;

// While a message box, file dialog or the About box is up, neither the main window nor the open
// tool dialog takes input: the box disables its owner itself, and this disables the other one
// for as long as the scope lives. When the box closes, the system activates the box's owner; the
// scope gives the input back, and the front place, to the window that was in use.
class ModalScope {
public:
    explicit ModalScope(HWND owner);
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    HWND disabled[2] = {nullptr, nullptr};
    HWND inUse = nullptr;  // the program's window that was active, to be active again after
};

// Raises a top-level window above the others and makes it the active one.
void BringToFront(HWND window);
