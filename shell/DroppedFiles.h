// Files dropped on a window from Explorer (WM_DROPFILES), read through the shell's own calls.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Lets files be dropped on the window.
void AcceptDroppedFiles(HWND window);
// Every file of the drop, in the ANSI code page and in the drop's order; then the block is
// released, as the receiver of the message must.
std::vector<std::string> TakeDroppedFiles(WPARAM drop);
