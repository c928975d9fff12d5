// File-name helpers of the project commands.
#pragma once

// target (targetSize bytes) becomes source up to its first '.'; false, target unchanged, when
// source has no '.'.
bool CutExtension(char* target, int targetSize, const char* source);
