// The main window: layout of the status bar and the map, title, keys, command dispatch.
#pragma once

#include <windows.h>

extern HWND statusBar;
extern HWND mapWindow;
extern int statusBarHeight;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// "Ascendor - [name]", "(untitled)" for an empty name.
void UpdateTitle(HWND window, const char* name);
// Sends the four status texts to the status bar.
void UpdateStatusBar();
