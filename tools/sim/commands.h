#pragma once

#include <string>
#include <vector>

// Each command takes the arguments after its name, prints its result on
// standard output and returns the exit status; bad usage throws UsageError.
int GenerateCommand(const std::vector<std::string>& args);
int PlayCommand(const std::vector<std::string>& args);
int SolveCommand(const std::vector<std::string>& args);
int VerifyCommand(const std::vector<std::string>& args);
int RaceCommand(const std::vector<std::string>& args);
int SoundsCommand(const std::vector<std::string>& args);
