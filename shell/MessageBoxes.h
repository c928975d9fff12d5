// Message boxes in the program's style: the caption "Ascendor" copied into captionText, owned by the
// main window unless a dialog owns it.
#pragma once

#include <windows.h>

extern const char ProgramName[];  // "Ascendor"

// Shows text with caption "Ascendor" and the given buttons and icon; returns the answer.
int ShowMessage(HWND owner, const char* text, UINT type);
// "Perhaps you should start a project first..." / "...add some thermals first...": OK, exclamation.
void ShowStartProjectNotice(HWND owner);
void ShowAddThermalsNotice(HWND owner);
// A hard error: stop icon, OK, no caption of its own (the system's default caption shows).
void ShowError(HWND owner, const char* text);
// Tells the user once that the thermal table is full.
void ShowTableFullNotice(HWND owner);
