// Start-up of the program: the class records of the main window and the map window.
#pragma once

#include "shell/AppWindow.h"

// Start-up steps shared by the entry point and the GUI tests: puts the main window's procedure,
// menu and icon into the class record, registers "MapClass", sizes the window to the work area
// and sets theApp.
void PrepareApplication(AppWindow& app);
