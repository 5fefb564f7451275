#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// A burrowkin-board process for the tests: started with `args` (the program
// first), its standard error going to `errors` (appended), and the first line
// it prints, which says where it listens, read within a minute.
struct BoardProcess {
    pid_t pid = -1;
    std::string firstLine;  // without its line end
};
BoardProcess StartBoardProcess(std::vector<std::string> args, const std::string& errors);
