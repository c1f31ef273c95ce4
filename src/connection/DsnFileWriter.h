#pragma once

#include <iosfwd>
#include <string>

// Writes a connect string as a File DSN: "[ODBC]", then one KEY=value line
// per element with braces dropped, CR LF line ends. Passwords are never written.
class DsnFileWriter {
public:
    // Returns whether the stream took every byte.
    static bool Write(std::ostream &out, const std::string &connect);
    // Creates or replaces the file; false when it cannot be created or written whole.
    static bool WriteFile(const std::string &path, const std::string &connect);
};
