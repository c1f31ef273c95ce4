#pragma once

#include <string>
#include <vector>

// What the wizards read of a connection. Names come back as a statement should
// hold them (quoted where they need it).
class WizardSource {
public:
    virtual ~WizardSource() = default;
    // TABLE_NAME of every row of the table list, in its order; none while it is not open.
    virtual std::vector<std::string> TableNames() = 0;
    // COLUMN_NAME of every row of the column query for `table`, which may be
    // written quoted; none when the query fails or finds nothing.
    virtual std::vector<std::string> ColumnNames(const std::string &table) = 0;
    // The driver's operator texts, in their stored order.
    virtual std::vector<std::string> Operators() = 0;
    // TYPE_NAME of every type the data source offers, in the order returned.
    virtual std::vector<std::string> TypeNames() = 0;
    // A catalog name (the tree's label) as a statement should hold it.
    virtual std::string Written(const std::string &name) = 0;
};
