// The menu commands of the main window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

void NewProject(HWND owner);
void OpenProject(HWND owner);
void SaveProject(HWND owner);
void SaveProjectAs(HWND owner);
void ExitProgram(HWND owner);
// The save prompt: true when the command that asked may go on, the answer being No, or Yes and the
// project saved. Cancel, a cancelled Save dialog or a failed save stop it.
bool OfferSave(HWND owner);
// True when the program may quit.
bool ConfirmExit(HWND owner);

// New has begun a project: Edit opens its Setup dialog even before a backdrop is loaded.
extern bool newProjectBegun;
void EditSetup(HWND owner);
void StartManual(HWND owner);
void StartAutomatic(HWND owner);
void StartClearPartly(HWND owner);
void StartFlights(HWND owner);
// Dropped flight logs: into the Flights dialog, opened first when no tool dialog is open. False,
// loading nothing, while another tool dialog is open.
bool LoadDroppedFlights(HWND owner, const std::vector<std::string>& paths);
// Whether dropped flight logs can be loaded now: no tool dialog open, or the Flights dialog.
bool FlightsCanLoad();
void ClearAllThermals(HWND owner);
// Undo and Redo of the thermal table; nothing happens when there is nothing to take back.
void UndoTableChange();
void RedoTableChange();
void ShowHelp(HWND owner);
void ShowAbout(HWND owner);

// Opens a modeless tool dialog into currentDialog unless one is open already.
void OpenToolDialog(HWND owner, const char* templateName, DLGPROC procedure);
// Closes the open tool dialog, if any, as its close button does: nothing it holds is applied.
void CloseToolDialog();
// Destroys the open tool dialog, if any, and empties the slot (Exit, the main window's end).
void DestroyToolDialog();

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
