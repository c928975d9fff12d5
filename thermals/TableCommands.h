// Export thermals and Statistics: the thermal table written for other programs, and an overview
// of it.
#pragma once

#include <windows.h>

// Asks for a CUP, GPX or KML file in the Export thermals dialog and writes every thermal into it;
// the project's name, its modified flag and the current folder stay as they were.
void ExportThermals(HWND owner);
// The Statistics box for a project with a backdrop.
void ShowStatistics(HWND owner);
