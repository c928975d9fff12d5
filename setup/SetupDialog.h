// The Setup dialog: backdrop, four bound rows, markers.
#pragma once

#include <windows.h>

INT_PTR CALLBACK SetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void FillSetupDialog(HWND dialog);
bool CheckSetup(HWND dialog);

// A backdrop file dropped while the Setup dialog is open, loaded as its Load button does; false,
// doing nothing, when the dialog is not open or the name does not make a path.
bool LoadBackdropFile(const char* path);
// Brings the Setup dialog, if it is open, in front and into use.
void ShowSetupDialogInFront();
