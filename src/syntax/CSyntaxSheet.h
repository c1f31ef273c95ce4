#pragma once

#include <vector>

#include <QDialog>

#include "syntax/SyntaxCategory.h"

class CSyntaxPage;
class QPushButton;
class QTabWidget;
class SyntaxSource;
class SyntaxTarget;
class UserPrompts;

// The "Syntax Dictionary": one page per category the opener asks for. Insert
// (or a double click on an entry) accepts it with the chosen entry in
// g_strSyntax; Cancel rejects it.
class CSyntaxSheet : public QDialog {
    Q_OBJECT
public:
    // `source` may be null (every page stays empty); it must outlive the sheet.
    CSyntaxSheet(SyntaxSource *source, const std::vector<SyntaxCategory> &pages,
                 QWidget *parent = nullptr);

    int PageCount() const { return int(m_pages.size()); }
    CSyntaxPage *Page(int index) const { return m_pages.at(size_t(index)); }
    CSyntaxPage *ActivePage() const;
    void SetActivePage(int index);
    QPushButton *InsertButton() const { return m_insert; }

    // Runs the sheet modally through `prompts` with the opener's pages; on
    // Insert with an entry chosen, hands it to `target`. True when it did.
    static bool Run(UserPrompts &prompts, QWidget *parent, SyntaxSource *source,
                    const std::vector<SyntaxCategory> &pages, SyntaxTarget &target);

private:
    QTabWidget *m_tabs;
    std::vector<CSyntaxPage *> m_pages;
    QPushButton *m_insert;
};

// Edit > Paste Syntax: every page, the chosen entry inserted into the console.
// Enable the command only while the console's caret is after the prompt.
bool PasteSyntax(UserPrompts &prompts, QWidget *parent, SyntaxSource *source,
                 SyntaxTarget &console);
