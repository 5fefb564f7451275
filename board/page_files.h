#pragma once

#include <optional>
#include <string>

// The browser edition's folder, served beside the board: its regular files
// and nothing outside it, whatever the path says or a link points to.
class PageFiles {
public:
    // Throws std::runtime_error when `folder` is not a folder that can be read.
    explicit PageFiles(const std::string& folder);

    struct File {
        std::string bytes;
        std::string type;
    };
    // The file that a request's path (decoded, from "/") names; "/" and a
    // folder name their index.html. Nothing for a path with "..", ".", a
    // hidden name or a backslash in it, and for anything but a regular file
    // inside the folder.
    std::optional<File> Find(const std::string& path) const;

private:
    std::string root_;  // the folder's real path
};
