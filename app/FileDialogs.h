// The one shared record of the Open and Save dialogs, and the questions asked before work is lost.
#pragma once

#include <windows.h>
#include <commdlg.h>

extern OPENFILENAMEA fileDialog;
extern const char TextFilter[];
extern const char ProjectFilter[];
extern const char BackdropFilter[];

void InitFileDialog(HWND owner);
bool ChooseOpenFile(HWND owner, char* path, char* title);
bool ChooseSaveFile(HWND owner, char* path, char* title);
// Fills format's one %s with name ("(untitled)" when empty) and shows it: OK, exclamation.
void ShowFileMessage(HWND owner, const char* format, const char* name);
// The save prompt; true when the user answered Yes.
bool OfferSave(HWND owner);
// True when the program may quit.
bool ConfirmExit(HWND owner);
