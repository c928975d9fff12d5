// Opening a project by its path: for the Open dialog, the command line, a dropped file and the
// recent list.
#pragma once

#include <windows.h>

// Opens the project at path (relative to the current folder, or full) as Open does once its
// dialog has chosen it, without the save question: reads it into a project of its own and takes
// it over only when the read succeeded; the project's folder becomes the current folder, so that
// its backdrop is found, and its backdrop is loaded. A file that cannot be read gets Open's box
// and changes nothing. True when the project was read.
bool OpenProjectFile(HWND owner, const char* path);

// The save question where the project is modified; false when the command that asks should stop.
bool SaveQuestionAllows(HWND owner);
