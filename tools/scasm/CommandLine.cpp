#include "CommandLine.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::vector<std::string> SplitCommandLine(const char* line) {
    std::vector<std::string> args;
    if (line == nullptr) return args;
    const char* p = line;

    // The program name knows no escapes: quoted up to the next quote, else up to a blank.
    std::string name;
    if (*p == '"') {
        for (++p; *p != '\0' && *p != '"'; ++p) name += *p;
        if (*p == '"') ++p;
    } else {
        for (; *p != '\0' && !IsBlank(*p); ++p) name += *p;
    }
    args.push_back(name);

    for (;;) {
        while (IsBlank(*p)) ++p;
        if (*p == '\0') break;
        std::string arg;
        bool quoted = false;
        while (*p != '\0' && (quoted || !IsBlank(*p))) {
            if (*p == '\\') {
                size_t run = 0;
                for (; *p == '\\'; ++p) ++run;
                if (*p == '"') {
                    // 2n backslashes before a quote give n and leave the quote to open or close;
                    // 2n + 1 give n and a literal quote.
                    arg.append(run / 2, '\\');
                    if (run % 2 == 1) {
                        arg += '"';
                        ++p;
                    }
                } else {
                    arg.append(run, '\\');
                }
            } else if (*p == '"') {
                if (quoted && p[1] == '"') {  // "" inside quotes is one literal quote
                    arg += '"';
                    p += 2;
                } else {
                    quoted = !quoted;
                    ++p;
                }
            } else {
                arg += *p++;
            }
        }
        args.push_back(arg);
    }
    return args;
}
