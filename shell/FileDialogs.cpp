// The shared file-dialog record of the Open and Save dialogs.
#include "shell/FileDialogs.h"

#include <cstdio>

#include "model/FileNames.h"
#include "model/Project.h"
#include "shell/AppWindow.h"
#include "shell/MessageBoxes.h"

OPENFILENAMEA fileDialog;

const char ProjectFilter[] = "Project Files (*.prj)\0*.prj\0";
const char BackdropFilter[] = "Backdrop Files (*.bmp)\0*.bmp\0";

void InitFileDialog(HWND owner) {
    fileDialog = OPENFILENAMEA();
    fileDialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;  // 76 bytes in the 32-bit program
    fileDialog.hwndOwner = owner;
    fileDialog.hInstance = nullptr;
    fileDialog.lpstrFilter = ProjectFilter;
    fileDialog.lpstrCustomFilter = nullptr;
    fileDialog.nMaxCustFilter = 0;
    fileDialog.nFilterIndex = 0;
    fileDialog.lpstrFile = nullptr;
    fileDialog.nMaxFile = DialogPathSize;
    fileDialog.lpstrFileTitle = nullptr;
    fileDialog.nMaxFileTitle = DialogTitleSize;
    fileDialog.lpstrInitialDir = nullptr;
    fileDialog.lpstrTitle = nullptr;
    fileDialog.Flags = 0;
    fileDialog.nFileOffset = 0;
    fileDialog.nFileExtension = 0;
    // The record is the project's: a name typed without extension is a project file.
    fileDialog.lpstrDefExt = "prj";
    fileDialog.lCustData = 0;
    fileDialog.lpfnHook = nullptr;
    fileDialog.lpTemplateName = nullptr;
}

// A confirmed project dialog makes the chosen file's folder the current folder. Some dialog
// implementations skip that when a full path is typed, so it is done here as well.
static void EnterChosenFolder(const char* path) {
    size_t offset = fileDialog.nFileOffset;
    if (offset == 0 || offset >= DialogPathSize) return;
    char folder[DialogPathSize];
    CopyText(folder, static_cast<int>(offset) + 1, path);
    SetCurrentDirectoryA(folder);
}

// Points the shared record at the caller's buffers for one dialog.
static void Prepare(HWND owner, char* path, char* title, DWORD flags) {
    fileDialog.hwndOwner = owner;
    fileDialog.lpstrFile = path;
    fileDialog.lpstrFileTitle = title;
    fileDialog.Flags = flags;
}

namespace {

// The current folder as it was before a dialog: a cancelled one moves it too on some systems.
struct FolderKeeper {
    FolderKeeper() { length = GetCurrentDirectoryA(MAX_PATH, folder); }
    void Restore() const {
        if (length > 0 && length < MAX_PATH) SetCurrentDirectoryA(folder);
    }
    char folder[MAX_PATH];
    DWORD length;
};

// Runs the prepared dialog; a confirmed one enters the chosen folder unless told not to.
bool RunDialog(HWND owner, BOOL(WINAPI* dialog)(LPOPENFILENAMEA), const char* path) {
    const FolderKeeper before;
    ModalScope modal(owner);
    if (!dialog(&fileDialog)) {
        before.Restore();
        return false;
    }
    if (fileDialog.Flags & OFN_NOCHANGEDIR)
        before.Restore();
    else
        EnterChosenFolder(path);
    return true;
}

}  // namespace

bool ChooseOpenFile(HWND owner, char* path, char* title) {
    Prepare(owner, path, title, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY);
    fileDialog.lpstrInitialDir = nullptr;
    return RunDialog(owner, GetOpenFileNameA, path);
}

bool ChooseSaveFile(HWND owner, char* path, char* title) {
    Prepare(owner, path, title, OFN_OVERWRITEPROMPT);
    return RunDialog(owner, GetSaveFileNameA, path);
}

namespace {

// A dialog for a file that is not the project's. The shared record and the current folder are
// put back as they were: the file Open and Save offer next, their filter and folder stay the user's.
bool RunOtherFileDialog(HWND owner, BOOL(WINAPI* dialog)(LPOPENFILENAMEA), const char* caption, const char* filter,
                        DWORD flags, DWORD* filterIndex, const char* defaultExtension, char* path, char* title,
                        DWORD pathSize = DialogPathSize) {
    const OPENFILENAMEA saved = fileDialog;
    Prepare(owner, path, title, flags | OFN_NOCHANGEDIR);
    fileDialog.nMaxFile = pathSize;
    fileDialog.lpstrInitialDir = nullptr;
    fileDialog.lpstrTitle = caption;
    fileDialog.lpstrFilter = filter;
    fileDialog.nFilterIndex = *filterIndex;
    fileDialog.lpstrDefExt = defaultExtension;
    const bool chosen = RunDialog(owner, dialog, path);
    if (chosen) *filterIndex = fileDialog.nFilterIndex;
    fileDialog = saved;
    return chosen;
}

}  // namespace

bool ChooseFileToRead(HWND owner, const char* caption, const char* filter, DWORD flags, char* path,
                      char* title) {
    DWORD firstType = 0;
    // The file is read by the name typed: no extension is added.
    return RunOtherFileDialog(owner, GetOpenFileNameA, caption, filter, flags, &firstType, nullptr, path, title);
}

bool ChooseFilesToRead(HWND owner, const char* caption, const char* filter, std::vector<std::string>& paths) {
    // Room for many names at once; a selection that does not fit is refused by the dialog itself.
    std::vector<char> names(64 * 1024, '\0');
    DWORD firstType = 0;
    if (!RunOtherFileDialog(owner, GetOpenFileNameA, caption, filter,
                            OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, &firstType, nullptr,
                            names.data(), nullptr, static_cast<DWORD>(names.size())))
        return false;
    // One file: its full path. Several: the folder, then each name, each ended by a zero.
    paths.clear();
    const std::string first = names.data();
    size_t at = first.size() + 1;
    if (at >= names.size() || names[at] == '\0') {
        paths.push_back(first);
        return true;
    }
    const std::string folder = first.back() == '\\' ? first : first + "\\";
    while (at < names.size() && names[at] != '\0') {
        const std::string name = names.data() + at;
        paths.push_back(folder + name);
        at += name.size() + 1;
    }
    return true;
}

bool ChooseFileToWrite(HWND owner, const char* caption, const char* filter, const char* defaultExtension,
                       DWORD* filterIndex, char* path, char* title) {
    return RunOtherFileDialog(owner, GetSaveFileNameA, caption, filter, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY,
                              filterIndex, defaultExtension, path, title);
}

void ShowFileMessage(HWND owner, const char* format, const char* name) {
    char text[576];
    // A long name would widen the box past the screen's edge.
    std::snprintf(text, sizeof text, format, name[0] != '\0' ? ShortenedName(name).c_str() : "(untitled)");
    ShowMessage(owner, text, MB_OK | MB_ICONEXCLAMATION);
}

bool FullPathOf(const char* path, NamedFile& file) {
    char full[MAX_PATH];
    char* title = nullptr;
    const DWORD length = GetFullPathNameA(path, sizeof full, full, &title);
    if (length == 0 || length >= sizeof full || title == nullptr) return false;
    file.path = full;
    file.title = title;
    file.folder = file.path.substr(0, static_cast<size_t>(title - full));
    return true;
}
