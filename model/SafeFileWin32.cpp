// Replacing a file in place, Win32: the C library's rename refuses an existing target.
#include "model/SafeFile.h"

#include <cstdio>
#include <windows.h>

int64_t FileSizeOf(std::FILE* file) {
    if (_fseeki64(file, 0, SEEK_END) != 0) return -1;
    const __int64 size = _ftelli64(file);
    if (size < 0 || _fseeki64(file, 0, SEEK_SET) != 0) return -1;
    return static_cast<int64_t>(size);
}

bool ReplaceFileWith(const char* tempPath, const char* targetPath) {
    return MoveFileExA(tempPath, targetPath,
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
