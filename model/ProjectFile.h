// The plain-text project file: backdrop name, four bound texts, one line of thirteen numbers per thermal.
#pragma once

// Writes the project. False when the file could not be written completely; the previous file of
// that name is then left as it was.
bool WriteProject(const char* fileName);

// Reads the named file into the project (the caller runs ResetProject first). False, changing
// nothing, when the file cannot be read, is no project (fewer than five lines, or a NUL byte) or
// its name or bound lines do not fit their storage. Thermal lines whose position holds no number
// are left out; leftOut, when given, receives how many.
bool ReadProject(const char* fileName, int* leftOut = nullptr);

// Reads the named file as a project of its own: once the whole file has been read and accepted,
// beforeTaking (when given) ends what belongs to the project it replaces, then the project is
// reset and takes the file's content. False, with the project untouched, when it cannot be.
bool ReadNewProject(const char* fileName, int* leftOut = nullptr, void (*beforeTaking)() = nullptr);

// Copies the line up to its first line end or its end into target; returns target.
// targetSize bounds the copy (the text is cut to fit).
char* CopyLine(const char* line, char* target, int targetSize);

// Copies the n-th comma-separated field (from 1) of the line into target; returns target.
char* GetField(char* target, int targetSize, const char* line, int n);
