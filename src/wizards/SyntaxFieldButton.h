#pragma once

#include <QObject>

#include "wizards/SyntaxOpener.h"

class QComboBox;
class QPushButton;

// A "&Syntax..." button and the combo box it serves. The button is enabled
// while the field has the focus (or the focus went from the field to it); the
// field's edit selection is remembered when it loses the focus, and the entry
// chosen in the Syntax Dictionary replaces that selection.
class SyntaxFieldButton : public QObject {
    Q_OBJECT
public:
    // `opener` may be null: the button then never enables. `allowed` false
    // keeps it disabled too (the CREATE TABLE type field).
    SyntaxFieldButton(QComboBox *field, QPushButton *button, SyntaxOpener *opener,
                      SyntaxOpener::Field pages, bool allowed = true);

    int SelectionStart() const { return m_start; }
    int SelectionEnd() const { return m_end; }
    // Opens the dictionary and inserts or restores, as a click does.
    void Open();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Remember();
    void Select(int start, int end);

    QComboBox *m_field;
    QPushButton *m_button;
    SyntaxOpener *m_opener;
    SyntaxOpener::Field m_pages;
    bool m_allowed;
    int m_start = 0;
    int m_end = 0;
};
