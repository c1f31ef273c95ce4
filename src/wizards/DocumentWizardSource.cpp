#include "wizards/DocumentWizardSource.h"

#include <sqlext.h>

#include "catalog/recordsets/CColumns.h"
#include "catalog/recordsets/CTables.h"
#include "catalog/recordsets/CTypeInfo.h"
#include "connection/CBrindleDoc.h"
#include "connection/CDriverInfo.h"
#include "framework/WaitCursor.h"
#include "odbc/DatabaseError.h"

namespace {

std::string Info(CBrindleDoc &doc, SQLUSMALLINT type) {
    return doc.IsConnected() ? doc.Database().InfoText(type) : std::string();
}

} // namespace

DocumentWizardSource::DocumentWizardSource(CBrindleDoc &doc)
    : m_doc(doc), m_identifier(Info(doc, SQL_IDENTIFIER_QUOTE_CHAR), Info(doc, SQL_KEYWORDS)) {}

std::vector<std::string> DocumentWizardSource::TableNames() {
    std::vector<std::string> names;
    CTables *tables = m_doc.Tables();
    if (!tables || !tables->IsOpen())
        return names;
    try {
        for (tables->MoveFirst(); !tables->IsEOF(); tables->MoveNext())
            names.push_back(m_identifier.Written(tables->TableName));
    } catch (const DatabaseError &error) {
        m_doc.ReportError(error);
    }
    return names;
}

std::vector<std::string> DocumentWizardSource::ColumnNames(const std::string &table) {
    std::vector<std::string> names;
    if (!m_doc.IsConnected())
        return names;
    m_doc.FetchColumns(m_identifier.Bare(table));
    CColumns *columns = m_doc.Columns();
    if (!columns)
        return names;
    try {
        for (; !columns->IsEOF(); columns->MoveNext())
            names.push_back(m_identifier.Written(columns->ColumnName));
    } catch (const DatabaseError &error) {
        // Half a column list would pass for the whole table.
        names.clear();
        m_doc.ReportError(error);
    }
    return names;
}

std::vector<std::string> DocumentWizardSource::Operators() {
    const CDriverInfo *info = m_doc.DriverInfo();
    return info ? info->OperatorTexts() : std::vector<std::string>();
}

std::vector<std::string> DocumentWizardSource::TypeNames() {
    std::vector<std::string> names;
    if (!m_doc.IsConnected())
        return names;
    try {
        WaitCursor wait;
        CTypeInfo types(m_doc.Database());
        if (types.Open(SQL_ALL_TYPES)) {
            for (; !types.IsEOF(); types.MoveNext())
                names.push_back(types.TypeName);
            types.Close();
        }
    } catch (const DatabaseError &) {
        // Without the type query the type list stays empty; the user types the types.
        names.clear();
    }
    return names;
}

std::string DocumentWizardSource::Written(const std::string &name) {
    return m_identifier.Written(name);
}
