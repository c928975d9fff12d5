// The build without the window: Ascendor /create PATH, and the usage of /?.
#pragma once

// Builds the project's scenery as Create does, with no window and no box, telling what it does
// on the standard output (or the console it was started from). The exit code: 0 built, 1 the
// project cannot be read or built as it stands, 2 a source not written, 3 SCASM not started or
// failed.
int BuildWithoutWindow(const char* path);
// Prints the usage; returns code.
int PrintUsage(int code);
