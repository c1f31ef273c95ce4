#pragma once

#include <optional>
#include <string>

// What the connection asks of the user while connecting. The driver manager
// here shows no dialogs of its own, so the front end answers through this seam,
// and tests answer it directly.
class ConnectPrompt {
public:
    struct Login {
        std::string user;
        std::string password;
    };

    virtual ~ConnectPrompt() = default;

    // The connection string was empty: choose a data source. The result is a
    // connection string ("DSN=x", "DRIVER={y};...", "FILEDSN=path"); nullopt is a cancel.
    virtual std::optional<std::string> ChooseDataSource() = 0;

    // The driver refused for want of a login. `dataSource` names what is being
    // connected, `message` is the driver's text, `user` the user name the
    // connection string already gives (UID), to start the prompt with; empty
    // when it gives none. nullopt is a cancel.
    virtual std::optional<Login> AskLogin(const std::string &dataSource, const std::string &message,
                                          const std::string &user) = 0;
};
