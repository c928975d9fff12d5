// Dropped files: the DROPFILES block behind WM_DROPFILES.
#include "shell/DroppedFiles.h"

#include <cstring>
#include <vector>

namespace {

// The layout of DROPFILES (shlobj.h): the names follow at offset files, each ended by a zero, the
// list by a second zero; in UTF-16 when wide is set.
struct DropHeader {
    DWORD files;
    POINT point;
    BOOL nonClient;
    BOOL wide;
};

}  // namespace

void AcceptDroppedFiles(HWND window) {
    SetWindowLongA(window, GWL_EXSTYLE, GetWindowLongA(window, GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
}

std::string FirstDroppedFile(WPARAM drop) {
    HGLOBAL block = reinterpret_cast<HGLOBAL>(drop);
    const SIZE_T size = block != nullptr ? GlobalSize(block) : 0;
    const char* bytes = size >= sizeof(DropHeader) ? static_cast<const char*>(GlobalLock(block)) : nullptr;
    if (bytes == nullptr) return std::string();
    DropHeader header;
    std::memcpy(&header, bytes, sizeof header);
    std::string name;
    if (header.files >= sizeof header && header.files < size) {
        // Every read stays inside the block, ended by a zero or not.
        if (header.wide) {
            std::vector<wchar_t> wide;
            for (SIZE_T at = header.files; at + 1 < size; at += 2) {
                wchar_t c;
                std::memcpy(&c, bytes + at, sizeof c);
                if (c == 0) break;
                wide.push_back(c);
            }
            if (!wide.empty()) {
                int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                                 nullptr, nullptr);
                name.resize(length > 0 ? length : 0);
                if (length > 0)
                    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &name[0], length,
                                        nullptr, nullptr);
            }
        } else {
            for (SIZE_T at = header.files; at < size && bytes[at] != '\0'; ++at) name += bytes[at];
        }
    }
    GlobalUnlock(block);
    return name;
}

void FinishDrop(WPARAM drop) {
    if (drop != 0) GlobalFree(reinterpret_cast<HGLOBAL>(drop));
}
