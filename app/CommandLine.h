// What the program's command line asks for: a window (with a project to open, or none), a build
// without the window, or the usage.
#pragma once

#include <string>

enum class StartAction {
    Window,      // the main window; path, when not empty, is opened at start
    Build,       // "/create PATH" or "-create PATH": build without the window
    Usage,       // "/?" or "-?": the usage, exit code 0
    BadSwitch,   // any other switch, or /create without a path: the usage, exit code 1
};

struct StartRequest {
    StartAction action = StartAction::Window;
    std::string path;
};

// arguments: the command line after the program's name. A path may be quoted or not; unquoted it
// runs to the end of the line, so that a name with blanks needs no quotes.
StartRequest ParseCommandLine(const char* arguments);

// The usage text, lines ending in CR LF.
extern const char UsageText[];
