// Replacing a file in place, Win32: the C library's rename refuses an existing target.
#include "model/SafeFile.h"

#include <windows.h>

bool ReplaceFileWith(const char* tempPath, const char* targetPath) {
    return MoveFileExA(tempPath, targetPath,
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
