// The Create command: save the project, write the SCASM sources, start SCASM once per file.
#pragma once

#include <windows.h>

void CreateScenery(HWND owner);

// The command line of band's SCASM run, "scasm NAME_a.sca NAME_a.bgl" up to "_e"; a name with a
// blank is quoted so that it stays one argument. The text lasts until the next call.
const char* ComposeScasmCommand(const char* projectName, int band);
