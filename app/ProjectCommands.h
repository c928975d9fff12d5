// Opening a project by its path: for the Open dialog, the command line, a dropped file and the
// recent list.
#pragma once

#include <windows.h>

// Opens the project at path (relative to the current folder, or full) as Open does once its
// dialog has chosen it, without the save question: reads it, and only when the file is a project
// ends the old one (EndProjectSession) and takes it over; its folder becomes the project's, where
// its backdrop is looked for. A file that cannot be read, or is no project, gets Open's box and
// changes nothing. A notice counts the lines left out that hold no thermal. True when read.
bool OpenProjectFile(HWND owner, const char* path);

// Ends all that belongs to the project being replaced (New, Open in every way, the end of the
// Windows session): the open tool dialog closes unapplied, the selection, a pending Test batch,
// the map's mode and any press on it, the status texts and the Undo history go.
void EndProjectSession();

// The save question where the project is modified; false when the command that asks should stop.
bool SaveQuestionAllows(HWND owner);

// The answer to WM_QUERYENDSESSION: the save question where the project is modified; FALSE when
// it is called off or the save does not happen, or, without a question, while a box or a file
// dialog is up and the project is modified.
BOOL AnswerEndOfSession(HWND owner);
