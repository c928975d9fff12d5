// The main window's parts that every window uses: the status bar, the map window's handle, the title.
#include "shell/MainParts.h"

#include <commctrl.h>
#include <cstdio>
#include <string>

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

namespace {

std::string PartText(int part) {
    const LRESULT length = LOWORD(SendMessageA(statusBar, SB_GETTEXTLENGTHA, static_cast<WPARAM>(part), 0));
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(statusBar, SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}

}  // namespace

void UpdateStatusBarLater() {
    if (statusBar == nullptr || !IsWindowVisible(statusBar)) {
        UpdateStatusBar();
        return;
    }
    // The bar repaints each changed part at once; with its drawing held, the texts change and the
    // parts are left for its paint. Holding the drawing forgets what was waiting to be painted,
    // so that is kept and given back.
    HRGN waiting = CreateRectRgn(0, 0, 0, 0);
    const int kind = GetUpdateRgn(statusBar, waiting, FALSE);
    SendMessageA(statusBar, WM_SETREDRAW, FALSE, 0);
    RECT changed[StatusParts];
    int count = 0;
    for (int part = 0; part < StatusParts; ++part) {
        if (PartText(part) == statusText[part]) continue;
        SendMessageA(statusBar, SB_SETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(statusText[part]));
        if (SendMessageA(statusBar, SB_GETRECT, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(&changed[count])))
            ++count;
    }
    SendMessageA(statusBar, WM_SETREDRAW, TRUE, 0);
    if (kind != NULLREGION && kind != ERROR) InvalidateRgn(statusBar, waiting, FALSE);
    DeleteObject(waiting);
    for (int k = 0; k < count; ++k) InvalidateRect(statusBar, &changed[k], FALSE);
}
