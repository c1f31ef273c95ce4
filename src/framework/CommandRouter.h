#pragma once

#include "framework/CommandTarget.h"

// Sends a command along the route a menu click takes: the active view, its
// document, the frames, the application.
class CommandRouter {
public:
    virtual ~CommandRouter() = default;
    // The state of one command as the route answers it.
    virtual CommandState QueryCommand(int id) = 0;
    // Runs the command when it is enabled; false when no target handled it.
    virtual bool SendCommand(int id) = 0;
};
