// Whole-file writes that never leave a half-written file where a complete one stood.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// Writes size bytes to a temporary file beside path, then puts it in place of path. False (and
// path untouched) when path is not a regular file or a new name, or any step fails.
bool WriteWholeFile(const char* path, const char* data, size_t size);

// Puts the finished file tempPath in place of targetPath, replacing an existing regular file.
// Implemented per platform (POSIX rename, Win32 MoveFileExA).
bool ReplaceFileWith(const char* tempPath, const char* targetPath);

// The size of an open file in bytes, also past 2 GB where the C library's long is 32 bits; the
// file is left at its start. -1 when it cannot be told.
int64_t FileSizeOf(std::FILE* file);

// Test seam: when not negative, the next writes fail once this many bytes have been written in
// all. Negative (the default) means writes do not fail on purpose.
extern long long writeFaultAfterBytes;
