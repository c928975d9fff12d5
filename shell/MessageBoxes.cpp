// Message boxes in the program's style.
#include "shell/MessageBoxes.h"

#include "model/Project.h"
#include "shell/AppWindow.h"

const char ProgramName[] = "Ascendor";

int ShowMessage(HWND owner, const char* text, UINT type) {
    CopyText(captionText, CaptionTextSize, ProgramName);
    ModalScope modal(owner);
    return MessageBoxA(owner, text, captionText, type);
}

void ShowStartProjectNotice(HWND owner) {
    ShowMessage(owner, "Perhaps you should start a project first...", MB_OK | MB_ICONEXCLAMATION);
}

void ShowAddThermalsNotice(HWND owner) {
    ShowMessage(owner, "Perhaps you should add some thermals first...", MB_OK | MB_ICONEXCLAMATION);
}

void ShowError(HWND owner, const char* text) {
    ModalScope modal(owner);
    MessageBoxA(owner, text, nullptr, MB_OK | MB_ICONHAND);
}

void ShowTableFullNotice(HWND owner) {
    ShowMessage(owner, "The thermal table is full: a project holds at most 32768 thermals...",
                MB_OK | MB_ICONEXCLAMATION);
}
