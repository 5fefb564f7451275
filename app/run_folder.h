#pragma once

#include <ctime>
#include <stdexcept>
#include <string>

#include "cave/run_file.h"

// Where a player's runs are kept, and how each is named there.

struct RunFolderError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// $XDG_DATA_HOME/burrowkin/runs, or ~/.local/share/burrowkin/runs.
std::string DefaultRunFolder();

// The folder runs go to: `folder`, which must exist and take new files, or,
// when empty, the default folder, made when missing. Removes the pieces of
// runs that a crash or a kill cut off there over a minute ago. Throws
// RunFolderError with a message for the player.
std::string PrepareRunFolder(const std::string& folder);

// Writes the run into the folder under a name no earlier run has; returns its
// path. Throws FileError when it cannot be written.
std::string KeepRunFile(const std::string& folder, const RunFile& run, std::time_t started);
