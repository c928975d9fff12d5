#include "gui/BoxWatcher.h"

#include <dlgs.h>

#include <cstdint>
#include <cstdlib>

namespace boxwatch {

namespace {

constexpr int TextControlId = 0xFFFF;
constexpr UINT_PTR ActionTimerId = 0x5A01;
constexpr UINT_PTR DeadlineTimerId = 0x5A02;
constexpr UINT NoType = 0xFFFFFFFFu;

BoxWatcher* current = nullptr;

bool IsAnswerButtonId(int id) {
    return (id >= IDOK && id <= IDCONTINUE) || id == IDHELP;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

bool HasVisibleStyle(HWND window) {
    return (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

// A modal dialog disables its owner; a modeless tool dialog leaves it enabled.
bool IsModal(HWND dialog) {
    HWND owner = GetWindow(dialog, GW_OWNER);
    return owner && !IsWindowEnabled(owner);
}

HWND IconControl(HWND box) {
    for (HWND child : Children(box)) {
        if (ClassName(child) == "Static" &&
            (GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return child;
    }
    return nullptr;
}

// A 32-bit top-down picture of the given size, for reading pixels back.
BITMAPINFO TopDownInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

struct IconChoice {
    BoxIcon icon;
    WORD resource;
};
const IconChoice iconChoices[] = {
    {BoxIcon::Hand, 32513},
    {BoxIcon::Question, 32514},
    {BoxIcon::Exclamation, 32515},
    {BoxIcon::Asterisk, 32516},
};

HICON SystemIcon(WORD resource) { return LoadIconA(nullptr, MAKEINTRESOURCEA(resource)); }

// Copies a window's client pixels, top row first, as 0x00RRGGBB, from the screen: under Wine a
// window's own device context does not show what another process drew into it.
std::vector<uint32_t> CapturePixels(HWND window, int& width, int& height) {
    RECT rect{};
    GetClientRect(window, &rect);
    width = rect.right;
    height = rect.bottom;
    std::vector<uint32_t> pixels;
    if (width <= 0 || height <= 0) return pixels;
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    BITMAPINFO info = TopDownInfo(width, height);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
        GdiFlush();
        const uint32_t* source = static_cast<const uint32_t*>(bits);
        pixels.assign(source, source + static_cast<size_t>(width) * height);
        for (auto& p : pixels) p &= 0xFFFFFF;
        SelectObject(memory, old);
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// An icon handle from another process is not one of this process's shared icons, so the icon is
// recognised by drawing each candidate on the same background and comparing pixels.
BoxIcon IconFromPixels(HWND control) {
    int width = 0, height = 0;
    const std::vector<uint32_t> shown = CapturePixels(control, width, height);
    if (shown.empty()) return BoxIcon::Unknown;
    const uint32_t background = shown.back();
    BoxIcon best = BoxIcon::Unknown;
    size_t bestDiff = shown.size();
    for (const auto& choice : iconChoices) {
        BITMAPINFO info = TopDownInfo(width, height);
        HDC memory = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bitmap || !bits) {
            DeleteDC(memory);
            continue;
        }
        HGDIOBJ old = SelectObject(memory, bitmap);
        uint32_t* drawn = static_cast<uint32_t*>(bits);
        for (size_t i = 0; i < shown.size(); ++i) drawn[i] = background;
        DrawIconEx(memory, 0, 0, SystemIcon(choice.resource), 0, 0, 0, nullptr, DI_NORMAL);
        GdiFlush();
        size_t diff = 0;
        for (size_t i = 0; i < shown.size(); ++i)
            if ((drawn[i] & 0xFFFFFF) != shown[i]) ++diff;
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        if (diff < bestDiff) {
            bestDiff = diff;
            best = choice.icon;
        }
    }
    return bestDiff * 20 <= shown.size() ? best : BoxIcon::Unknown;
}

BoxIcon ReadIcon(HWND box) {
    HWND control = IconControl(box);
    if (!control || !HasVisibleStyle(control)) return BoxIcon::None;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(control, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) || !result)
        return BoxIcon::None;
    const HICON shown = reinterpret_cast<HICON>(result);
    for (const auto& choice : iconChoices)
        if (shown == SystemIcon(choice.resource)) return choice.icon;
    DWORD processId = 0;
    GetWindowThreadProcessId(box, &processId);
    if (processId != GetCurrentProcessId()) return IconFromPixels(control);
    return BoxIcon::Unknown;
}

struct Search {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) && IsDialogWindow(window))
        search->found.push_back(window);
    return TRUE;
}

HWND WaitFor(const std::function<HWND()>& find, int timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND window = find()) return window;
        if (static_cast<int>(GetTickCount() - start) >= timeoutMs) return nullptr;
        Sleep(20);
    }
}

}  // namespace

bool BoxRecord::HasButton(int id) const {
    for (int b : buttons)
        if (b == id) return true;
    return false;
}

UINT BoxRecord::Type() const {
    struct ButtonSet {
        std::vector<int> ids;
        UINT type;
    };
    static const ButtonSet sets[] = {
        {{IDOK}, MB_OK},
        {{IDOK, IDCANCEL}, MB_OKCANCEL},
        {{IDABORT, IDRETRY, IDIGNORE}, MB_ABORTRETRYIGNORE},
        {{IDCANCEL, IDYES, IDNO}, MB_YESNOCANCEL},
        {{IDYES, IDNO}, MB_YESNO},
        {{IDCANCEL, IDRETRY}, MB_RETRYCANCEL},
        {{IDCANCEL, IDTRYAGAIN, IDCONTINUE}, MB_CANCELTRYCONTINUE},
    };
    std::vector<int> shown;
    for (int b : buttons)
        if (b != IDHELP) shown.push_back(b);
    UINT type = NoType;
    for (const auto& set : sets)
        if (set.ids == shown) type = set.type;
    if (type == NoType) return NoType;
    switch (icon) {
    case BoxIcon::None: return type;
    case BoxIcon::Hand: return type | MB_ICONHAND;
    case BoxIcon::Question: return type | MB_ICONQUESTION;
    case BoxIcon::Exclamation: return type | MB_ICONEXCLAMATION;
    case BoxIcon::Asterisk: return type | MB_ICONASTERISK;
    case BoxIcon::Unknown: break;
    }
    return NoType;
}

const char* IconName(BoxIcon icon) {
    switch (icon) {
    case BoxIcon::None: return "no icon";
    case BoxIcon::Hand: return "stop";
    case BoxIcon::Question: return "question";
    case BoxIcon::Exclamation: return "exclamation";
    case BoxIcon::Asterisk: return "information";
    case BoxIcon::Unknown: break;
    }
    return "unknown icon";
}

const char* ButtonName(int id) {
    switch (id) {
    case IDOK: return "OK";
    case IDCANCEL: return "Cancel";
    case IDABORT: return "Abort";
    case IDRETRY: return "Retry";
    case IDIGNORE: return "Ignore";
    case IDYES: return "Yes";
    case IDNO: return "No";
    case IDHELP: return "Help";
    case IDTRYAGAIN: return "Try Again";
    case IDCONTINUE: return "Continue";
    default: return "?";
    }
}

std::string Describe(const BoxRecord& record) {
    std::string text = "\"" + record.caption + "\": \"" + record.text + "\" [";
    for (size_t i = 0; i < record.buttons.size(); ++i) {
        if (i) text += ' ';
        text += ButtonName(record.buttons[i]);
    }
    text += "] ";
    text += IconName(record.icon);
    return text;
}

std::string WindowText(HWND window) {
    if (!window) return {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 1000, &length))
        return {};
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                             SMTO_ABORTIFHUNG, 1000, &copied))
        return {};
    text.resize(copied < text.size() ? copied : text.size() - 1);
    return text;
}

std::string ClassName(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool IsDialogWindow(HWND window) { return window && ClassName(window) == "#32770"; }

DialogKind KindOf(HWND dialog) {
    if (!IsDialogWindow(dialog)) return DialogKind::Other;
    if (FileNameControl(dialog)) return DialogKind::FileDialog;
    if (!GetDlgItem(dialog, TextControlId)) return DialogKind::Other;
    bool anyButton = false;
    for (HWND child : Children(dialog)) {
        if (GetParent(child) != dialog) continue;
        const std::string name = ClassName(child);
        if (name == "Button") {
            if (!IsAnswerButtonId(GetDlgCtrlID(child))) return DialogKind::Other;
            anyButton = true;
        } else if (name != "Static") {
            return DialogKind::Other;
        }
    }
    return anyButton ? DialogKind::MessageBox : DialogKind::Other;
}

bool ReadMessageBox(HWND box, BoxRecord& record) {
    if (KindOf(box) != DialogKind::MessageBox) return false;
    record.box = box;
    record.owner = GetWindow(box, GW_OWNER);
    record.caption = WindowText(box);
    record.text = WindowText(GetDlgItem(box, TextControlId));
    record.buttons.clear();
    for (int id = IDOK; id <= IDCONTINUE; ++id) {
        HWND button = GetDlgItem(box, id);
        if (button && HasVisibleStyle(button) && ClassName(button) == "Button")
            record.buttons.push_back(id);
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
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

HWND FileNameControl(HWND fileDialog) {
    if (HWND combo = GetDlgItem(fileDialog, cmb13)) return combo;
    return GetDlgItem(fileDialog, edt1);
}

bool TypeFileName(HWND fileDialog, const std::string& text) {
    if (text.empty()) {
        PressButton(fileDialog, IDCANCEL);
        return true;
    }
    HWND control = FileNameControl(fileDialog);
    if (!control) return false;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_ABORTIFHUNG, 1000, &ignored);
    PressButton(fileDialog, IDOK);
    return true;
}

FileSteps SplitFilePath(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return {{}, path};
    std::string folder = path.substr(0, slash);
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';  // the root of a drive
    return {folder, path.substr(slash + 1)};
}

std::string WinePath(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') return path;
    std::string converted = path;
    for (char& c : converted)
        if (c == '/') c = '\\';
    return converted.empty() || converted[0] != '\\' ? converted : "Z:" + converted;
}

std::vector<HWND> VisibleDialogs(DWORD processId) {
    Search search{processId, {}};
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindMessageBox(DWORD processId) {
    for (HWND dialog : VisibleDialogs(processId))
        if (KindOf(dialog) == DialogKind::MessageBox) return dialog;
    return nullptr;
}

HWND FindFileDialog(DWORD processId) {
    for (HWND dialog : VisibleDialogs(processId))
        if (KindOf(dialog) == DialogKind::FileDialog) return dialog;
    return nullptr;
}

HWND FindDialog(DWORD processId, const std::string& caption) {
    for (HWND dialog : VisibleDialogs(processId))
        if (WindowText(dialog) == caption) return dialog;
    return nullptr;
}

HWND WaitForMessageBox(DWORD processId, int timeoutMs) {
    return WaitFor([=] { return FindMessageBox(processId); }, timeoutMs);
}

HWND WaitForFileDialog(DWORD processId, int timeoutMs) {
    return WaitFor([=] { return FindFileDialog(processId); }, timeoutMs);
}

HWND WaitForDialog(DWORD processId, const std::string& caption, int timeoutMs) {
    return WaitFor([=] { return FindDialog(processId, caption); }, timeoutMs);
}

bool WaitUntilGone(HWND window, int timeoutMs) {
    const DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (static_cast<int>(GetTickCount() - start) >= timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

bool AnswerNextBox(DWORD processId, int answer, BoxRecord& record, int timeoutMs) {
    record = BoxRecord{};
    HWND box = WaitForMessageBox(processId, timeoutMs);
    if (!box || !ReadMessageBox(box, record)) return false;
    record.expected = record.HasButton(answer);
    record.answer = record.expected ? answer : FallbackAnswer(record);
    PressButton(box, record.answer);
    return WaitUntilGone(box, timeoutMs);
}

bool AnswerNextFileDialog(DWORD processId, const std::string& path, int timeoutMs) {
    HWND dialog = WaitForFileDialog(processId, timeoutMs);
    if (!dialog) return false;
    Sleep(150);  // lets the dialog fill its views first
    const FileSteps steps = SplitFilePath(path.empty() ? path : WinePath(path));
    bool typed = true;
    if (!steps.folder.empty()) {
        typed = TypeFileName(dialog, steps.folder);
        Sleep(300);
    }
    if (!typed || !TypeFileName(dialog, steps.name)) {
        PressButton(dialog, IDCANCEL);
        WaitUntilGone(dialog, timeoutMs);
        return false;
    }
    return WaitUntilGone(dialog, timeoutMs);
}

// ---- BoxWatcher ----

BoxWatcher::~BoxWatcher() { Uninstall(); }

bool BoxWatcher::Install() {
    if (hook_) return true;
    if (current && current != this) return false;
    hook_ = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
    if (hook_) current = this;
    return hook_ != nullptr;
}

void BoxWatcher::Uninstall() {
    if (hook_) UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
    if (current == this) current = nullptr;
}

void BoxWatcher::ExpectBox(int answer) { boxAnswers_.push_back(answer); }

void BoxWatcher::ExpectFile(const std::string& path) {
    fileAnswers_.push_back({false, WinePath(path)});
}

void BoxWatcher::ExpectFileCancel() { fileAnswers_.push_back({true, {}}); }

void BoxWatcher::OnDialog(const std::string& caption, std::function<void(HWND)> action) {
    actions_.push_back({caption, std::move(action)});
}

void BoxWatcher::Clear() {
    boxes.clear();
    dialogs.clear();
    failures.clear();
    boxAnswers_.clear();
    fileAnswers_.clear();
    actions_.clear();
}

std::vector<std::string> BoxWatcher::Unused() const {
    std::vector<std::string> unused;
    for (int answer : boxAnswers_)
        unused.push_back(std::string("a message box to answer ") + ButtonName(answer));
    for (const auto& file : fileAnswers_)
        unused.push_back(file.cancel ? "a file dialog to cancel" : "a file dialog for " + file.path);
    for (const auto& action : actions_) unused.push_back("a dialog \"" + action.caption + "\"");
    return unused;
}

LRESULT CALLBACK BoxWatcher::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    if (current) {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (code == HCBT_ACTIVATE) {
            current->Activated(window);
        } else if (code == HCBT_DESTROYWND) {
            current->seen_.erase(window);
            current->pending_.erase(window);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK BoxWatcher::TimerProc(HWND window, UINT, UINT_PTR id, DWORD) {
    KillTimer(window, id);
    if (current) current->Timer(window, id);
}

void BoxWatcher::Activated(HWND window) {
    if (!IsDialogWindow(window) || !seen_.insert(window).second) return;
    Pending pending;
    pending.caption = WindowText(window);
    int deadline = dialogDeadlineMs;

    switch (KindOf(window)) {
    case DialogKind::MessageBox: {
        BoxRecord record;
        ReadMessageBox(window, record);
        record.answer = FallbackAnswer(record);
        if (boxAnswers_.empty()) {
            failures.push_back("unexpected message box " + Describe(record));
        } else {
            const int wanted = boxAnswers_.front();
            boxAnswers_.pop_front();
            if (record.HasButton(wanted)) {
                record.answer = wanted;
                record.expected = true;
            } else {
                failures.push_back(std::string("message box has no button ") + ButtonName(wanted) +
                                   ": " + Describe(record));
            }
        }
        boxes.push_back(record);
        pending.kind = PendingKind::Box;
        pending.answer = record.answer;
        pending.fallback = FallbackAnswer(record);
        SetTimer(window, ActionTimerId, boxDelayMs, TimerProc);
        deadline = boxDeadlineMs;
        break;
    }
    case DialogKind::FileDialog: {
        DialogRecord record{window, GetWindow(window, GW_OWNER), DialogKind::FileDialog,
                            pending.caption, "(cancel)"};
        if (fileAnswers_.empty()) {
            failures.push_back("unexpected file dialog \"" + pending.caption + "\"");
        } else {
            pending.file = fileAnswers_.front();
            fileAnswers_.pop_front();
            if (!pending.file.cancel) record.answer = pending.file.path;
        }
        dialogs.push_back(record);
        pending.kind = PendingKind::File;
        SetTimer(window, ActionTimerId, fileDelayMs, TimerProc);
        deadline = fileDeadlineMs;
        break;
    }
    case DialogKind::Other: {
        // Checked soon for an unexpected modal dialog; a modeless one is left alone.
        SetTimer(window, ActionTimerId, actionDelayMs, TimerProc);
        for (auto it = actions_.begin(); it != actions_.end(); ++it) {
            if (it->caption != pending.caption) continue;
            pending.kind = PendingKind::Action;
            pending.action = std::move(it->run);
            actions_.erase(it);
            dialogs.push_back({window, GetWindow(window, GW_OWNER), DialogKind::Other,
                               pending.caption, "(action)"});
            break;
        }
        break;
    }
    }
    pending_[window] = std::move(pending);
    SetTimer(window, DeadlineTimerId, deadline, TimerProc);
}

void BoxWatcher::Timer(HWND window, UINT_PTR id) {
    auto it = pending_.find(window);
    if (it == pending_.end() || !IsWindow(window)) return;

    if (id == ActionTimerId) {
        if (it->second.kind == PendingKind::Box) {
            PressButton(window, it->second.answer);
        } else if (it->second.kind == PendingKind::File) {
            // The whole path at once: the program makes the chosen file's folder current
            // itself, and a folder that does not exist reaches the program as typed.
            const FileAnswer answer = it->second.file;
            if (answer.cancel) {
                PressButton(window, IDCANCEL);
            } else if (!TypeFileName(window, answer.path)) {
                failures.push_back("file dialog \"" + it->second.caption +
                                   "\" has no file-name control");
                PressButton(window, IDCANCEL);
            }
        } else if (it->second.kind == PendingKind::Action && it->second.action) {
            // The action may open or close windows, which changes pending_.
            auto action = std::move(it->second.action);
            action(window);
        } else if (it->second.kind == PendingKind::Unknown) {
            if (IsModal(window)) {
                failures.push_back("unexpected modal dialog \"" + it->second.caption + "\"; closed");
                PressButton(window, IDCANCEL);
                PostMessageA(window, WM_CLOSE, 0, 0);
            } else {
                // A modeless tool dialog: its owner is disabled later only while a box or a
                // file dialog is up, which must not make it look modal at the deadline.
                KillTimer(window, DeadlineTimerId);
                pending_.erase(it);
            }
        }
        return;
    }

    if (id != DeadlineTimerId) return;
    const Pending& pending = it->second;
    const char* what = "dialog";
    if (pending.kind == PendingKind::Unknown) {
        if (!IsModal(window)) return;
        what = "unexpected modal dialog";
    } else if (pending.kind == PendingKind::Box) {
        what = "message box";
    } else if (pending.kind == PendingKind::File) {
        what = "file dialog";
    }
    failures.push_back(std::string(what) + " \"" + pending.caption +
                       "\" still open after its deadline; closed");
    if (pending.kind == PendingKind::Box) {
        PressButton(window, pending.fallback);
    } else {
        PressButton(window, IDCANCEL);
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
}

}  // namespace boxwatch
