#pragma once

// What a command looks like at the moment it is asked about.
struct CommandState {
    bool enabled = false;
    bool checked = false;
};

// Something that handles commands by id. The main frame routes each command,
// and each enabling question, to the active view, then the document, then the
// frames, then the application; the first target that answers wins. A command
// nobody answers for is disabled.
class CommandTarget {
public:
    virtual ~CommandTarget() = default;
    // Fills `state` and returns true when this target handles `id`.
    virtual bool UpdateCommand(int id, CommandState &state) = 0;
    // Runs the command and returns true when this target handles `id`.
    virtual bool RunCommand(int id) = 0;
};
