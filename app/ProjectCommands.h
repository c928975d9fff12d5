// Opening a project from a path, shared by the Open command and whatever else names a project.
#pragma once

#include <windows.h>

// Opens the project at path as Open does once its dialog has chosen it (no save question):
// reads it into a project of its own, takes it over only when the read succeeded, moves the
// current folder to the project's folder, loads its backdrop; on failure the box Open shows.
bool OpenProjectFile(HWND owner, const char* path);
