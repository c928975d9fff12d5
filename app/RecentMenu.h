// The recent projects in the Project menu, kept in the registry between runs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Where the list lives: values File1 to File4 under HKEY_CURRENT_USER.
extern const char RecentKey[];

// The list as the registry holds it; a missing key is an empty list, and a value that is not a
// non-empty text of a path's length is passed over.
std::vector<std::string> LoadRecentProjects();
// Puts the list into the Project menu between Save As and the separator before Exit.
void ShowRecentProjects(HWND owner);
// A project just opened or saved under path (made a full path here) goes to the top.
void NoteRecentProject(HWND owner, const char* path);
// Takes path off the list.
void ForgetRecentProject(HWND owner, const std::string& path);
// The path of entry index (0 for "&1") as the registry holds it now; "" when there is none.
std::string RecentProjectPath(int index);
