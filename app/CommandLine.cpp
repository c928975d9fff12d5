// Reading the command line: a project to open, a build without the window, or the usage.
#include "app/CommandLine.h"

#include <cstring>

const char UsageText[] =
    "Usage: Ascendor [PROJECT.prj]\r\n"
    "       Ascendor /create PROJECT.prj\r\n"
    "       Ascendor /?\r\n"
    "Without a switch Ascendor opens its window, with PROJECT.prj when it is named.\r\n"
    "/create (or -create) builds the scenery of PROJECT.prj without the window: it writes the\r\n"
    "SCASM sources beside the project as Create does (splitting a large area into bands) and\r\n"
    "runs scasm once per source. Exit code 0: built; 1: the project cannot be read or built;\r\n"
    "2: a source cannot be written; 3: scasm cannot be started or reports a failure.\r\n";

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The rest of the line without its surrounding blanks and, when it is quoted as a whole, without
// the quotes. Quotes cannot be part of a Windows file name, so any others are dropped too.
std::string PathFrom(const char* text) {
    std::string path;
    for (const char* p = text; *p != '\0'; ++p)
        if (*p != '"') path += *p;
    size_t first = 0, last = path.size();
    while (first < last && IsBlank(path[first])) ++first;
    while (last > first && IsBlank(path[last - 1])) --last;
    return path.substr(first, last - first);
}

bool SwitchIs(const std::string& word, const char* name) {
    if (word.size() != std::strlen(name) + 1) return false;
    for (size_t i = 0; name[i] != '\0'; ++i) {
        char c = word[i + 1];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != name[i]) return false;
    }
    return true;
}

}  // namespace

StartRequest ParseCommandLine(const char* arguments) {
    StartRequest request;
    if (arguments == nullptr) return request;
    const char* p = arguments;
    while (IsBlank(*p)) ++p;
    // A switch starts with '/' or '-'; a path never starts with '/' on Windows, and a relative
    // name starting with '-' can be given as ".\-name".
    if (*p != '/' && *p != '-') {
        request.path = PathFrom(p);
        return request;
    }
    const char* end = p;
    while (*end != '\0' && !IsBlank(*end)) ++end;
    const std::string word(p, end);
    if (SwitchIs(word, "?")) {
        request.action = StartAction::Usage;
    } else if (SwitchIs(word, "create")) {
        request.path = PathFrom(end);
        request.action = request.path.empty() ? StartAction::BadSwitch : StartAction::Build;
    } else {
        request.action = StartAction::BadSwitch;
    }
    return request;
}
