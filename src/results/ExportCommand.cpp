#include "results/ExportCommand.h"

#include <QStringList>

#include "framework/UserPrompts.h"
#include "framework/WaitCursor.h"
#include "results/ExportFile.h"
#include "results/ExportProgress.h"
#include "results/GridExporter.h"

namespace {
const QStringList &Filters() {
    static const QStringList filters = {QStringLiteral("Tab Delimited File (*.tab)"),
                                        QStringLiteral("Comma Delimited File (*.csv)"),
                                        QStringLiteral("Text Report File (*.txt)")};
    return filters;
}
} // namespace

QString ExportCommand::FileFilter() { return Filters().join(QStringLiteral(";;")); }

ExportCommand::Format ExportCommand::FormatForFilter(int filterIndex) {
    switch (filterIndex) {
    case 1:
        return Format::CommaDelimited;
    case 2:
        return Format::TextReport;
    default:
        return Format::TabDelimited;
    }
}

ExportCommand::Format ExportCommand::FormatForFilter(const QString &selectedFilter) {
    return FormatForFilter(static_cast<int>(Filters().indexOf(selectedFilter)));
}

ExportCommand::Outcome ExportCommand::Export(const QString &path, Format format,
                                             const ExportSource &source, UserPrompts &prompts,
                                             QWidget *parent) {
    ExportFile file;
    if (!file.CreateBeside(path))
        return Outcome::NotCreated;
    {
        WaitCursor wait;
        const GridExporter exporter(source);
        switch (format) {
        case Format::CommaDelimited:
            exporter.ExportDelimited(file, ',');
            break;
        case Format::TextReport:
            exporter.ExportTextReport(file);
            break;
        case Format::TabDelimited:
            exporter.ExportDelimited(file, '\t');
            break;
        }
    }
    if (source.progress && source.progress->Cancelled()) {
        file.Discard();
        return Outcome::Cancelled;
    }
    if (file.Commit())
        return Outcome::Written;
    prompts.Message(parent, WriteFailedText(path, file.ErrorText()), UserPrompts::Icon::Stop);
    return Outcome::WriteFailed;
}

QString ExportCommand::WriteFailedText(const QString &path, const QString &reason) {
    return QStringLiteral("%1 could not be written completely: %2").arg(path, reason);
}
