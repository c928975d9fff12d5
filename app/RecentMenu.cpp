// The recent projects: the registry values and the Project menu's entries. Opening one is the
// main window's: the list only keeps and shows names.
#include "app/RecentMenu.h"

#include "app/RecentProjects.h"
#include "resources/ResourceIds.h"
#include "shell/FileDialogs.h"

const char RecentKey[] = "Software\\Ascendor\\Recent";

namespace {

void ValueName(char (&name)[8], int index) { wsprintfA(name, "File%d", index + 1); }

void SaveRecentProjects(const std::vector<std::string>& list) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, RecentKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;  // the list is a convenience: the project itself is saved
    for (int i = 0; i < RecentProjectCount; ++i) {
        char name[8];
        ValueName(name, i);
        if (i < static_cast<int>(list.size()))
            RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(list[i].c_str()),
                           static_cast<DWORD>(list[i].size() + 1));
        else
            RegDeleteValueA(key, name);
    }
    RegCloseKey(key);
}

// The Project menu, found by its Save As item; the entries go after the last of Save As and the
// commands that follow it (Export thermals, Statistics).
HMENU ProjectMenu(HWND owner, int& saveAsPosition) {
    HMENU bar = GetMenu(owner);
    HMENU menu = bar != nullptr ? GetSubMenu(bar, 0) : nullptr;
    if (menu == nullptr) return nullptr;
    saveAsPosition = -1;
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
        const UINT id = GetMenuItemID(menu, i);
        if (id == CmdSaveAs || id == CmdExportThermals || id == CmdStatistics) saveAsPosition = i;
    }
    return saveAsPosition >= 0 ? menu : nullptr;
}

bool IsSeparator(HMENU menu, int position) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    return GetMenuItemInfoA(menu, position, TRUE, &info) && (info.fType & MFT_SEPARATOR) != 0;
}

void ChangeRecentProjects(HWND owner, const std::string& path, bool add) {
    std::vector<std::string> list = LoadRecentProjects();
    if (add)
        AddRecentProject(list, path);
    else
        RemoveRecentProject(list, path);
    SaveRecentProjects(list);
    ShowRecentProjects(owner);
}

}  // namespace

std::vector<std::string> LoadRecentProjects() {
    std::vector<std::string> list;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RecentKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return list;
    for (int i = 0; i < RecentProjectCount; ++i) {
        char name[8];
        ValueName(name, i);
        char text[MAX_PATH + 1] = "";
        DWORD type = 0, size = sizeof text - 1;
        if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS ||
            type != REG_SZ || size < 2)
            continue;
        text[size] = '\0';  // a value stored without its terminating zero stays inside the buffer
        const std::string path(text);
        if (path.empty()) continue;
        RemoveRecentProject(list, path);  // a file named twice counts once
        list.push_back(path);
    }
    RegCloseKey(key);
    return list;
}

void ShowRecentProjects(HWND owner) {
    int saveAs = 0;
    HMENU menu = ProjectMenu(owner, saveAs);
    if (menu == nullptr) return;
    for (int id = CmdRecentFirst; id < CmdRecentFirst + RecentProjectCount; ++id) DeleteMenu(menu, id, MF_BYCOMMAND);
    // The entries' own separator: two in a row after Save As.
    if (IsSeparator(menu, saveAs + 1) && IsSeparator(menu, saveAs + 2)) DeleteMenu(menu, saveAs + 1, MF_BYPOSITION);
    const std::vector<std::string> list = LoadRecentProjects();
    if (list.empty()) return;
    InsertMenuA(menu, saveAs + 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    for (size_t i = 0; i < list.size(); ++i)
        InsertMenuA(menu, saveAs + 2 + static_cast<int>(i), MF_BYPOSITION | MF_STRING, CmdRecentFirst + i,
                    RecentMenuText(static_cast<int>(i), list[i]).c_str());
}

void NoteRecentProject(HWND owner, const char* path) {
    NamedFile file;
    if (FullPathOf(path, file)) ChangeRecentProjects(owner, file.path, true);
}

void ForgetRecentProject(HWND owner, const std::string& path) { ChangeRecentProjects(owner, path, false); }

std::string RecentProjectPath(int index) {
    const std::vector<std::string> list = LoadRecentProjects();
    return index >= 0 && index < static_cast<int>(list.size()) ? list[index] : std::string();
}
