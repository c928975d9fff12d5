// The dialog procedures of the Manual, Automatic and Clear-partly tool dialogs.
#pragma once

#include <windows.h>

INT_PTR CALLBACK ManualDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AutomaticDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ClearPartDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

void FillAutomaticDialog(HWND dialog);
bool GenerateThermals(HWND dialog);
