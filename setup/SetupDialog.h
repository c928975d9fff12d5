// The Setup dialog: backdrop, four bound rows, markers.
#pragma once

#include <windows.h>

INT_PTR CALLBACK SetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void FillSetupDialog(HWND dialog);
bool CheckSetup(HWND dialog);

// Closes the Setup dialog, if it is the open tool dialog, without applying its rows: after
// another project has been opened they belong to the project that was replaced.
void CloseSetupDialogWithoutApplying();
// Brings the Setup dialog, if it is open, in front and into use.
void ShowSetupDialogInFront();
