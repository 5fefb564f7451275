#pragma once

#include <string>

struct ProgramRun {
    int status = -1;
    std::string out, err;
};

// Runs a shell command line from the temporary directory, away from the build
// tree, and collects what it printed.
ProgramRun RunProgram(const std::string& commandLine);
