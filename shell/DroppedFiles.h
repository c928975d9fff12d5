// Files dropped on a window from Explorer (WM_DROPFILES), read without the shell's library: the
// message carries a global memory block that starts with a DROPFILES record.
#pragma once

#include <windows.h>

#include <string>

// Lets files be dropped on the window.
void AcceptDroppedFiles(HWND window);
// The first file of the drop, in the ANSI code page; "" when the block holds none or is damaged.
std::string FirstDroppedFile(WPARAM drop);
// Frees the block, as the receiver of the message must.
void FinishDrop(WPARAM drop);
