#pragma once

#include <string>

// The folder that holds the program file (from /proc/self/exe), in the OS's bytes, without a
// trailing separator: the empty text when the program lies in the root folder, "." (the
// current directory) when /proc cannot tell.
std::string programFolder();

// Makes the program's folder the current directory; false when it cannot.
bool enterProgramFolder();
