// Starting other programs without waiting for them.
#pragma once

#include <windows.h>

// Starts the program the command line names, found by the system's usual search, with the
// default start-up settings; the new process's handle, or null when none was started. With a
// folder, the program runs in it and is looked for there where the search takes the current
// folder.
HANDLE StartProcess(char* commandLine, const char* folder = nullptr);
