// Opening a project by its path: for the Open dialog, the command line, a dropped file and the
// recent list.
#pragma once

#include <windows.h>

// Reads the project at path (relative to the current folder, or full) as Open does after its
// dialog: the project's folder becomes the current folder, so that its backdrop is found; the
// name, the title and the flags are set and the map repaints. A file that cannot be read gets
// Open's box. No save question. True when the project was read.
bool OpenProjectFile(HWND owner, const char* path);

// The save question where the project is modified; false when the command that asks should stop.
bool SaveQuestionAllows(HWND owner);
