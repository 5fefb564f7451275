#pragma once

#include <optional>
#include <string>

#include "app/command_line.h"

// What --help prints: how to start the game, its options and keys, and the
// folder it reads its pictures from.
std::string UsageText(const std::string& dataDirectory);
// What --version prints.
std::string VersionText();

// Answers what the command line asks that needs no window: --help and
// --version on standard output, a bad argument on standard error. The exit
// status when the program ends here, nothing when the game goes on to open
// its window.
std::optional<int> AnswerWithoutWindow(const CommandLine& line, const std::string& programPath);
