#include "syntax/SyntaxPageContent.h"

#include "connection/CDriverInfo.h"
#include "syntax/SyntaxSource.h"

namespace {

void Add(SyntaxList &list, std::string syntax, std::string description) {
    list.syntax.push_back(std::move(syntax));
    list.descriptions.push_back(std::move(description));
}

SyntaxList TableEntries(SyntaxSource &source) {
    SyntaxList list;
    for (SyntaxSource::Table &table : source.Tables())
        Add(list, std::move(table.name), std::move(table.remarks));
    return list;
}

SyntaxList ColumnEntries(SyntaxSource &source) {
    SyntaxList list;
    Add(list, "*", "Specifies that all fields from the specified tables are selected.");
    for (const SyntaxSource::Table &table : source.Tables()) {
        const std::vector<SyntaxSource::Column> columns = source.Columns(table.name);
        if (columns.empty())
            continue;
        Add(list, table.name + ".*",
            "Specifies that all fields from the specified table are selected.");
        for (const SyntaxSource::Column &column : columns)
            Add(list, table.name + "." + column.name,
                "Data type " + column.typeName + ". " + column.remarks);
    }
    return list;
}

SyntaxList OtherEntries(const CDriverInfo &info) {
    SyntaxList list;
    if (!info.ProcedureCallEscape().empty())
        Add(list, info.ProcedureCallEscape(), "The escape sequence for calling a procedure.");
    if (!info.LikeEscape().empty())
        Add(list, info.LikeEscape(),
            "The escape sequence that defines the LIKE predicate escape character.");
    return list;
}

} // namespace

SyntaxList SyntaxPageContent::Build(SyntaxCategory category, SyntaxSource *source) {
    if (!source)
        return {};
    if (category == SyntaxCategory::Tables)
        return TableEntries(*source);
    if (category == SyntaxCategory::Columns)
        return ColumnEntries(*source);
    const CDriverInfo *info = source->HasTableList() ? source->DriverInfo() : nullptr;
    if (!info)
        return {};
    switch (category) {
    case SyntaxCategory::Functions:
        return Described(info->Functions());
    case SyntaxCategory::DateTime:
        return Described(info->DateTimeLiterals());
    case SyntaxCategory::Joins:
        return Described(info->Joins());
    case SyntaxCategory::Operators:
        return Described(info->Operators());
    case SyntaxCategory::Other:
        return OtherEntries(*info);
    default:
        return {};
    }
}

SyntaxList SyntaxPageContent::Described(SyntaxList list) {
    // An empty description is kept: only a missing one is filled in.
    list.descriptions.resize(list.syntax.size(), "No description");
    return list;
}
