#include "app/SheetSyntaxOpener.h"

#include <QString>

#include "connection/CBrindleDoc.h"
#include "framework/DocumentHost.h"
#include "framework/StatusSink.h"
#include "syntax/CSyntaxSheet.h"
#include "syntax/ConnectionSyntaxSource.h"
#include "syntax/SyntaxTarget.h"

namespace {

// Keeps the chosen entry for the wizard field instead of inserting it anywhere.
class ChosenText : public SyntaxTarget {
public:
    explicit ChosenText(std::string &text) : m_text(text) {}
    void InsertText(const std::string &bytes) override { m_text = bytes; }

private:
    std::string &m_text;
};

const std::vector<SyntaxCategory> &PagesOf(SyntaxOpener::Field field) {
    switch (field) {
    case SyntaxOpener::Field::TableReference:
        return SyntaxPages::TableReference();
    case SyntaxOpener::Field::Value:
        return SyntaxPages::Value();
    default:
        return SyntaxPages::Expression();
    }
}

} // namespace

bool SheetSyntaxOpener::Open(QWidget *parent, Field field, std::string &text) {
    CBrindleDoc &doc = m_doc;
    ConnectionSyntaxSource source(
        doc.Database(), doc.Tables(), doc.DriverInfo(),
        [&doc](const std::string &status) {
            if (StatusSink *sink = doc.Host().Status())
                sink->SetMessageText(QString::fromUtf8(status.data(), qsizetype(status.size())));
        },
        [&doc](const DatabaseError &error) { doc.ReportError(error); });
    ChosenText target(text);
    return CSyntaxSheet::Run(doc.Host().Prompts(), parent, &source, PagesOf(field), target);
}
