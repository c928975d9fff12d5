// The plain-text project file: backdrop name, four bound texts, one line of thirteen numbers per thermal.
#pragma once

// Writes the project. False when the file could not be written completely; the previous file of
// that name is then left as it was.
bool WriteProject(const char* fileName);

// Reads the named file into the project (the caller runs ResetProject first). False when the file
// cannot be opened or its name or bound lines do not fit their storage.
bool ReadProject(const char* fileName);

// Reads the named file as a project of its own: the project is reset and takes the file's content
// only once the whole file has been read and accepted. False, with the project untouched, when it
// cannot be.
bool ReadNewProject(const char* fileName);

// Copies the line up to its first line end or its end into target; returns target.
// targetSize bounds the copy (the text is cut to fit).
char* CopyLine(const char* line, char* target, int targetSize);

// Copies the n-th comma-separated field (from 1) of the line into target; returns target.
char* GetField(char* target, int targetSize, const char* line, int n);
