// The dialog procedures of the Manual, Automatic and Clear-partly tool dialogs, and the modal
// Thermal dialog.
#pragma once

#include <windows.h>

#include <cstdint>

INT_PTR CALLBACK ManualDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AutomaticDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ClearPartDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

void FillAutomaticDialog(HWND dialog);
// The thermal map and the boxes "Thermal map" and "Show" as the registry kept them from the run
// before; a map that cannot be loaded is forgotten there too. For the start of the run.
void LoadAutomaticSettings();
bool GenerateThermals(HWND dialog);

// "The cloud type must be 1 to 20.", the box of a Set or OK refused for it.
void ShowCloudTypeRefusal(HWND owner);

// Shows the values of the thermal at index in the modal Thermal dialog owned by owner; OK puts
// the values typed into that record as one Undo step. True when the table changed.
bool EditThermal(HWND owner, int32_t index);
