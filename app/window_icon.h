#pragma once

#include <QIcon>
#include <string>

// The game's icon in its two sizes, from the data folder. A picture that is
// missing or not a regular file is left out: the window then shows fewer
// sizes, or the desktop's own icon, and never waits on a pipe.
QIcon WindowIcon(const std::string& dataDirectory);
