// The Create command: save the project, write the SCASM sources, start SCASM once per file.
#pragma once

#include <windows.h>

void CreateScenery(HWND owner);
