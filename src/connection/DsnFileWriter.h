#pragma once

#include <iosfwd>
#include <string>

// Writes a connect string as a File DSN: "[ODBC]", then one KEY=value line
// per element with a value's enclosing braces dropped, CR LF line ends.
// Passwords are never written, nor a FILEDSN (a saved file stands on its own)
// or an empty DSN.
class DsnFileWriter {
public:
    // Returns whether the stream took every byte. Writes nothing and returns
    // false when a value holds CR or LF: the file cannot hold it, and its
    // second line would be read back as an element of its own. `driver` (a
    // "DRIVER=..." or "DSN=..." element) is written when the connect string
    // itself names neither.
    static bool Write(std::ostream &out, const std::string &connect,
                      const std::string &driver = std::string());
    // The DRIVER element of a File DSN, else its non-empty DSN element; empty
    // when it names neither or is not a small regular file.
    static std::string DriverOfFile(const std::string &path);
    // Creates or replaces the file; false when it cannot be created or written
    // whole, or when Write refuses (the file is then left as it was). A
    // connection opened from a .dsn names its driver through that file only:
    // the driver is taken from it.
    static bool WriteFile(const std::string &path, const std::string &connect);
};
