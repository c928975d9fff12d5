// Splitting a Windows command line into its arguments.
#ifndef ASCENDOR_SCASM_COMMAND_LINE_H
#define ASCENDOR_SCASM_COMMAND_LINE_H

#include <string>
#include <vector>

// Splits a command line as the Microsoft C runtime does for argv, so the stand-in sees the same
// arguments as a real Windows program: element 0 is the program name, quotes group blanks into
// one argument, backslashes escape a quote only when they stand right before one.
std::vector<std::string> SplitCommandLine(const char* line);

#endif
