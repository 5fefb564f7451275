#pragma once

#include <string>
#include <vector>

// What the screens ask of the window during a step: the session hands it on
// in its report and starts afresh.
struct WindowRequests {
    std::string caption;  // a new caption, or empty
    int beeps = 0;
    bool setupDialog = false;  // the title waits for the dialog's answer
    struct Message {
        std::string caption, text;
    };
    std::vector<Message> messages;  // error boxes, each waited for
};
