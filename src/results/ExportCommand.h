#pragma once

#include <QString>

#include "results/ExportSource.h"

class QWidget;
class UserPrompts;

// Export All and Export Selected after the Save dialog: the format comes from
// the filter the user chose, never from the file name's extension.
class ExportCommand {
public:
    enum class Format { TabDelimited, CommaDelimited, TextReport };
    enum class Outcome { NotCreated, Written, WriteFailed, Cancelled };

    // The Save dialog's filter, in this order; "tab" is the default extension.
    static QString FileFilter();
    static Format FormatForFilter(int filterIndex);
    static Format FormatForFilter(const QString &selectedFilter);

    // Writes the rows to a file beside `path` that replaces it once complete. A
    // file that cannot be created is left silently; a failed write or close is
    // reported; a cancel (the source's progress says it) leaves no file.
    static Outcome Export(const QString &path, Format format, const ExportSource &source,
                          UserPrompts &prompts, QWidget *parent);

    static QString WriteFailedText(const QString &path, const QString &reason);
};
