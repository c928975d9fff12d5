#include "gui/BoxWatcher.h"

#include <dlgs.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace boxwatch {

namespace {

constexpr int TextControlId = 0xFFFF;

BOOL CALLBACK Collect(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// Wine starts its own session processes (the desktop's explorer.exe, services) from whichever
// program first needs them in a new prefix; they are no run of the program's and never end.
bool IsWineSessionProcess(DWORD id) {
    char path[MAX_PATH] = "";
    DWORD size = sizeof path;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (process == nullptr) return false;
    const bool named = QueryFullProcessImageNameA(process, 0, path, &size) != 0;
    CloseHandle(process);
    if (!named) return false;
    const char* slash = std::strrchr(path, '\\');
    std::string name = slash ? slash + 1 : path;
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* own : {"explorer.exe", "services.exe", "winedevice.exe", "plugplay.exe", "svchost.exe", "rpcss.exe",
                            "conhost.exe", "winemenubuilder.exe", "wineboot.exe"})
        if (name == own) return true;
    return false;
}

std::string ClassName(HWND window) {
    char name[64] = "";
    return GetClassNameA(window, name, sizeof name) ? name : "";
}

HWND FileNameControl(HWND dialog) { return GetDlgItem(dialog, cmb13) ? GetDlgItem(dialog, cmb13) : GetDlgItem(dialog, edt1); }

BoxIcon ReadIcon(HWND box) {
    DWORD processId = 0;
    GetWindowThreadProcessId(box, &processId);
    if (processId != GetCurrentProcessId()) return BoxIcon::Unknown;
    std::vector<HWND> children;
    EnumChildWindows(box, Collect, reinterpret_cast<LPARAM>(&children));
    for (HWND child : children) {
        if (ClassName(child) != "Static" || (GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON ||
            !(GetWindowLongPtrA(child, GWL_STYLE) & WS_VISIBLE))
            continue;
        const HICON shown = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        const BoxIcon icons[] = {BoxIcon::Hand, BoxIcon::Question, BoxIcon::Exclamation, BoxIcon::Asterisk};
        for (int i = 0; i < 4; ++i)
            if (shown && shown == LoadIconA(nullptr, MAKEINTRESOURCEA(32513 + i))) return icons[i];
        return BoxIcon::Unknown;
    }
    return BoxIcon::None;
}

}  // namespace

bool BoxRecord::HasButton(int id) const { return std::find(buttons.begin(), buttons.end(), id) != buttons.end(); }

UINT BoxRecord::Type() const {
    const std::pair<std::vector<int>, UINT> sets[] = {
        {{IDOK}, MB_OK}, {{IDOK, IDCANCEL}, MB_OKCANCEL}, {{IDABORT, IDRETRY, IDIGNORE}, MB_ABORTRETRYIGNORE},
        {{IDCANCEL, IDYES, IDNO}, MB_YESNOCANCEL}, {{IDYES, IDNO}, MB_YESNO}, {{IDCANCEL, IDRETRY}, MB_RETRYCANCEL}};
    const UINT iconFlags[] = {0, MB_ICONHAND, MB_ICONQUESTION, MB_ICONEXCLAMATION, MB_ICONASTERISK, 0};
    for (const auto& set : sets)
        if (set.first == buttons) return set.second | iconFlags[static_cast<int>(icon)];
    return 0xFFFFFFFFu;
}

std::string Describe(const BoxRecord& record) {
    return "\"" + record.caption + "\": \"" + record.text + "\", type " + std::to_string(record.Type());
}

std::string WindowText(HWND window) {
    DWORD_PTR length = 0;
    if (!window || !SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(copied < length ? copied : length);
    return text;
}

bool IsDialogWindow(HWND window) { return window && ClassName(window) == "#32770"; }

DialogKind KindOf(HWND window) {
    if (!IsDialogWindow(window)) return DialogKind::Other;
    if (FileNameControl(window)) return DialogKind::FileDialog;
    if (!GetDlgItem(window, TextControlId)) return DialogKind::Other;
    std::vector<HWND> children;
    EnumChildWindows(window, Collect, reinterpret_cast<LPARAM>(&children));
    bool anyButton = false;
    for (HWND child : children) {
        const std::string name = ClassName(child);
        const int id = GetDlgCtrlID(child);
        if (name == "Button" && ((id >= IDOK && id <= IDCONTINUE) || id == IDHELP)) {
            anyButton = true;
        } else if (name != "Static") {
            return DialogKind::Other;
        }
    }
    return anyButton ? DialogKind::MessageBox : DialogKind::Other;
}

bool ReadMessageBox(HWND box, BoxRecord& record) {
    if (KindOf(box) != DialogKind::MessageBox) return false;
    record.box = box, record.owner = GetWindow(box, GW_OWNER), record.buttons.clear();
    record.caption = WindowText(box), record.text = WindowText(GetDlgItem(box, TextControlId));
    for (int id = IDOK; id <= IDCONTINUE; ++id) {
        HWND button = GetDlgItem(box, id);
        if (button && (GetWindowLongPtrA(button, GWL_STYLE) & WS_VISIBLE)) record.buttons.push_back(id);
    }
    record.icon = ReadIcon(box);
    return true;
}

int FallbackAnswer(const BoxRecord& record) {
    for (int id : {IDCANCEL, IDNO, IDOK})
        if (record.HasButton(id)) return id;
    return record.buttons.empty() ? IDCANCEL : record.buttons.front();
}

void PressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool AnswerFileDialog(HWND dialog, const std::string& path, int type) {
    HWND control = FileNameControl(dialog);
    if (path.empty() || !control) {
        PressButton(dialog, IDCANCEL);
        return path.empty();
    }
    // As a pick in the file-type list: the selection, then the list's notices to the dialog.
    if (type > 0 && SendDlgItemMessageA(dialog, cmb1, CB_SETCURSEL, type - 1, 0) == type - 1) {
        for (WORD notice : {CBN_SELCHANGE, CBN_SELENDOK})
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, notice), reinterpret_cast<LPARAM>(GetDlgItem(dialog, cmb1)));
    }
    // Sent, so the dialog takes the text in its own loop, after everything it set up itself.
    const std::string text = WinePath(path);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000, &ignored);
    PressButton(dialog, IDOK);
    return true;
}

std::string WinePath(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') return path;
    std::string converted = path;
    std::replace(converted.begin(), converted.end(), '/', '\\');
    return converted.empty() || converted[0] != '\\' ? converted : "Z:" + converted;
}

void PostKeyPress(HWND target, UINT key) {
    LPARAM data = 1 | static_cast<LPARAM>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC) & 0xFF) << 16;
    if ((key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE || key == VK_DIVIDE) data |= 1 << 24;
    PostMessageA(target, WM_KEYDOWN, key, data);
    PostMessageA(target, WM_KEYUP, key, data | 1 << 30 | static_cast<LPARAM>(1) << 31);
}

std::vector<HWND> VisibleDialogs(DWORD processId, DWORD deadlineMs) {
    // A modal dialog whose template lacks WS_VISIBLE (the About box, file dialogs) exists from
    // the call on but shows only when its loop first runs out of messages. While one is made and
    // not yet shown and no shown dialog takes input, it is waited for, not taken for no dialog.
    // (A dialog that shows a box from its own set-up stays unshown under that box, which does.)
    const DWORD start = GetTickCount();
    for (;;) {
        std::vector<HWND> all, found;
        EnumWindows(Collect, reinterpret_cast<LPARAM>(&all));
        DWORD owner = 0;
        bool unshown = false, takesInput = false;
        for (HWND window : all) {
            if (!GetWindowThreadProcessId(window, &owner) || owner != processId || !IsDialogWindow(window)) continue;
            if (!IsWindowVisible(window)) {
                unshown = true;
                continue;
            }
            found.push_back(window);
            takesInput = takesInput || IsWindowEnabled(window);
        }
        if (!unshown || takesInput || GetTickCount() - start > deadlineMs) return found;
        Sleep(1);
    }
}

bool StartedProcesses::Watch(HANDLE process) {
    job_ = CreateJobObjectA(nullptr, nullptr);
    port_ = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1);
    JOBOBJECT_ASSOCIATE_COMPLETION_PORT link{job_, port_};
    watched_ = GetProcessId(process);
    return SetInformationJobObject(job_, JobObjectAssociateCompletionPortInformation, &link, sizeof link) &&
           AssignProcessToJobObject(job_, process);
}

void StartedProcesses::Take(DWORD waitMs) {
    DWORD code = 0;
    ULONG_PTR key = 0;
    OVERLAPPED* data = nullptr;
    while (port_ && GetQueuedCompletionStatus(port_, &code, &key, &data, waitMs)) {
        const DWORD id = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(data));
        if (id != watched_ && code == JOB_OBJECT_MSG_NEW_PROCESS && !IsWineSessionProcess(id)) ++started_, running_.push_back(id);
        if (code == JOB_OBJECT_MSG_EXIT_PROCESS || code == JOB_OBJECT_MSG_ABNORMAL_EXIT_PROCESS)
            for (auto it = running_.begin(); it != running_.end();) it = *it == id ? running_.erase(it) : it + 1;
        waitMs = 0;
    }
}

int StartedProcesses::Started() { return Take(0), started_; }
void StartedProcesses::Forget() { Take(0), started_ = 0; }

bool StartedProcesses::WaitForAllToEnd(DWORD deadlineMs) {
    const DWORD start = GetTickCount();
    for (Take(0); !running_.empty(); Take(deadlineMs - (GetTickCount() - start)))
        if (GetTickCount() - start >= deadlineMs) return false;
    return true;
}

}  // namespace boxwatch
