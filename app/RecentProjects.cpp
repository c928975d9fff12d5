// The recent-projects list: order, length and menu texts.
#include "app/RecentProjects.h"

#include <algorithm>
#include <cctype>

#include "model/FileNames.h"

namespace {

bool SameFile(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

void RemoveRecentProject(std::vector<std::string>& list, const std::string& path) {
    list.erase(std::remove_if(list.begin(), list.end(), [&](const std::string& p) { return SameFile(p, path); }),
               list.end());
}

void AddRecentProject(std::vector<std::string>& list, const std::string& path) {
    if (path.empty()) return;
    RemoveRecentProject(list, path);
    list.insert(list.begin(), path);
    if (list.size() > static_cast<size_t>(RecentProjectCount)) list.resize(RecentProjectCount);
}

std::string RecentMenuText(int index, const std::string& path) {
    std::string text = "&" + std::to_string(index + 1) + " ";
    for (char c : ShortenedName(path)) {
        text += c;
        if (c == '&') text += '&';
    }
    return text;
}
