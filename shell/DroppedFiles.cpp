// Dropped files: the block behind WM_DROPFILES, read with DragQueryFileA and released with
// DragFinish.
#include "shell/DroppedFiles.h"

#include <shellapi.h>

void AcceptDroppedFiles(HWND window) {
    SetWindowLongA(window, GWL_EXSTYLE, GetWindowLongA(window, GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
}

std::vector<std::string> TakeDroppedFiles(WPARAM drop) {
    HDROP block = reinterpret_cast<HDROP>(drop);
    std::vector<std::string> files;
    if (block == nullptr) return files;
    const UINT count = DragQueryFileA(block, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileA(block, i, nullptr, 0);
        if (length == 0) continue;
        std::string name(static_cast<size_t>(length) + 1, '\0');
        const UINT copied = DragQueryFileA(block, i, &name[0], length + 1);
        name.resize(copied < length ? copied : length);
        files.push_back(name);
    }
    DragFinish(block);
    return files;
}
