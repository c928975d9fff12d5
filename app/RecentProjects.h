// The list of projects last opened or saved, newest first, as the Project menu shows it.
#pragma once

#include <string>
#include <vector>

constexpr int RecentProjectCount = 4;

// Puts path first; an entry naming the same file (Windows names compare without regard to case)
// is dropped, and the list keeps its newest RecentProjectCount entries.
void AddRecentProject(std::vector<std::string>& list, const std::string& path);
// Takes out every entry naming that file.
void RemoveRecentProject(std::vector<std::string>& list, const std::string& path);
// "&1 PATH" for index 0: the path shortened in its middle as boxes show it, and each '&' doubled
// so that the menu shows it instead of underlining the next character.
std::string RecentMenuText(int index, const std::string& path);
