// Starting other programs without waiting for them.
#pragma once

#include <windows.h>

// Starts the program the command line names, found by the system's usual search, with the
// default start-up settings; the new process's handle, or null when none was started.
HANDLE StartProcess(char* commandLine);
