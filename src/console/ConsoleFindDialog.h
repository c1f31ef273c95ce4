#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The console's modeless Find dialog: a text, whole word, match case and a
// direction. It only gathers the search; the console does the finding.
class ConsoleFindDialog : public QDialog {
    Q_OBJECT
public:
    struct Search {
        QString text;
        bool wholeWord = false;
        bool matchCase = false;
        bool down = true;
    };

    explicit ConsoleFindDialog(QWidget *parent);

    Search CurrentSearch() const;
    // Puts a search into the fields, e.g. the selected text as the find text.
    void SetSearch(const Search &search);

    QLineEdit *FindEdit() const { return m_findEdit; }
    QCheckBox *WholeWordBox() const { return m_wholeWord; }
    QCheckBox *MatchCaseBox() const { return m_matchCase; }
    QRadioButton *UpButton() const { return m_up; }
    QRadioButton *DownButton() const { return m_down; }
    QPushButton *FindNextButton() const { return m_findNext; }

Q_SIGNALS:
    void FindNextRequested(const ConsoleFindDialog::Search &search);

private:
    void UpdateButtons();

    QLineEdit *m_findEdit = nullptr;
    QCheckBox *m_wholeWord = nullptr;
    QCheckBox *m_matchCase = nullptr;
    QRadioButton *m_up = nullptr;
    QRadioButton *m_down = nullptr;
    QPushButton *m_findNext = nullptr;
};
