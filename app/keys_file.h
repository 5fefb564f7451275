#pragma once

#include <optional>
#include <string>

#include "screens/key_bindings.h"

// The keys a player kept: $XDG_CONFIG_HOME/burrowkin/keys.conf, or
// ~/.config/burrowkin/keys.conf; empty when neither variable is set.
std::string DefaultKeysFile();

// The keys of the file, or nothing when it is not there. A file that cannot
// be read or is broken gives one line on standard error and nothing; the
// file is left as it is.
std::optional<KeyBindings> ReadKeysFile(const std::string& path);

// Writes the keys to the file, through a temporary file and a rename, making
// its folder; "" when done, else why not.
std::string KeepKeys(const KeyBindings& keys, const std::string& path);
