// The main window's parts that every window uses: the status bar, the map window's handle, the title.
#pragma once

#include <windows.h>

extern HWND statusBar;
extern HWND mapWindow;
extern int statusBarHeight;

// "Ascendor - [name]", "(untitled)" for an empty name.
void UpdateTitle(HWND window, const char* name);
// Sends the four status texts to the status bar.
void UpdateStatusBar();
// The same texts, set at once, but drawn by the bar's next paint instead of one repaint per
// changed part now: for a step of the view, which should show the map first.
void UpdateStatusBarLater();
