#pragma once

#include <string>
#include <vector>

class CDriverInfo;

// What the Syntax Dictionary reads of a connection: its table list, the
// column query and the driver's entry lists.
class SyntaxSource {
public:
    struct Table {
        std::string name;
        std::string remarks;
    };
    struct Column {
        std::string name;
        std::string typeName;
        std::string remarks;
    };

    virtual ~SyntaxSource() = default;
    // False while the connection has no table list.
    virtual bool HasTableList() = 0;
    // The rows of the table list, in its order.
    virtual std::vector<Table> Tables() = 0;
    // Runs the column query for one table: its rows, or none when it yields
    // nothing or fails (the failure is reported by the source).
    virtual std::vector<Column> Columns(const std::string &table) = 0;
    // The driver's entry lists; null without a table list.
    virtual const CDriverInfo *DriverInfo() = 0;
};
