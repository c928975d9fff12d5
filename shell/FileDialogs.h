// The one shared record of the Open and Save dialogs.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

extern OPENFILENAMEA fileDialog;
extern const char ProjectFilter[];
extern const char BackdropFilter[];

// A file named without a dialog (command line, drop, recent list) as a confirmed dialog gives it:
// the full path, its file title and its folder (ending in its separator). False when the system
// makes no full path within MAX_PATH or the path names no file.
struct NamedFile {
    std::string path, title, folder;
};
bool FullPathOf(const char* path, NamedFile& file);

void InitFileDialog(HWND owner);
// The project's Open dialog on the shared record: opens only a file that exists and makes its
// folder the current one. A cancelled dialog leaves the current folder as it was.
bool ChooseOpenFile(HWND owner, char* path, char* title);
bool ChooseSaveFile(HWND owner, char* path, char* title);
// An Open dialog of its own title, filter and flags on the given buffers, for a file read in
// passing: the shared record and the current folder stay as they were. True when confirmed.
bool ChooseFileToRead(HWND owner, const char* caption, const char* filter, DWORD flags, char* path,
                      char* title);
// The same for several files at once (a multiple selection): their full paths. True when confirmed.
bool ChooseFilesToRead(HWND owner, const char* caption, const char* filter, std::vector<std::string>& paths);
// A Save dialog of its own title and filter for a file written in passing (an export): asks before
// replacing a file, starts on the filter *filterIndex (from 1) and gives the chosen one back there,
// completes a name without extension with the chosen filter's. The shared record, the current
// folder and the name Open and Save offer stay as they were. True when confirmed.
bool ChooseFileToWrite(HWND owner, const char* caption, const char* filter, const char* defaultExtension,
                       DWORD* filterIndex, char* path, char* title);
// Fills format's one %s with name, shortened for a box ("(untitled)" when empty), and shows it:
// OK, exclamation.
void ShowFileMessage(HWND owner, const char* format, const char* name);
