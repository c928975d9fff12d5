// The main window's parts that every window uses: the status bar, the map window's handle, the title.
#include "shell/Frame.h"

#include <commctrl.h>
#include <cstdio>

#include "model/Project.h"

HWND statusBar;
HWND mapWindow;
int statusBarHeight;

void UpdateTitle(HWND window, const char* name) {
    char title[576];
    std::snprintf(title, sizeof title, "%s - [%s]", "Ascendor", name[0] != '\0' ? name : "(untitled)");
    SetWindowTextA(window, title);
}

void UpdateStatusBar() {
    for (int part = 0; part < StatusParts; ++part)
        SendMessageA(statusBar, SB_SETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(statusText[part]));
}
