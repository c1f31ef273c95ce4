#include "wizards/SyntaxFieldButton.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>

#include "wizards/WizardText.h"

SyntaxFieldButton::SyntaxFieldButton(QComboBox *field, QPushButton *button, SyntaxOpener *opener,
                                     SyntaxOpener::Field pages, bool allowed)
    : QObject(field), m_field(field), m_button(button), m_opener(opener), m_pages(pages),
      m_allowed(allowed && opener) {
    m_button->setEnabled(false);
    m_button->setAutoDefault(false);
    m_field->installEventFilter(this);
    if (QLineEdit *edit = m_field->lineEdit())
        edit->installEventFilter(this);
    connect(m_button, &QPushButton::clicked, this, &SyntaxFieldButton::Open);
}

bool SyntaxFieldButton::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::FocusIn) {
        m_button->setEnabled(m_allowed);
    } else if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason) {
            Remember();
            QWidget *now = QApplication::focusWidget();
            if (now != m_button && now != m_field && now != m_field->lineEdit())
                m_button->setEnabled(false);
        }
    }
    return QObject::eventFilter(watched, event);
}

void SyntaxFieldButton::Remember() {
    QLineEdit *edit = m_field->lineEdit();
    if (!edit)
        return;
    if (edit->hasSelectedText()) {
        m_start = edit->selectionStart();
        m_end = edit->selectionEnd();
    } else {
        m_start = m_end = edit->cursorPosition();
    }
}

void SyntaxFieldButton::Select(int start, int end) {
    m_field->setFocus(Qt::OtherFocusReason);
    if (QLineEdit *edit = m_field->lineEdit()) {
        edit->setCursorPosition(start);
        if (end != start)
            edit->setSelection(start, end - start);
    }
}

void SyntaxFieldButton::Open() {
    if (!m_opener)
        return;
    std::string chosen;
    QLineEdit *edit = m_field->lineEdit();
    if (m_opener->Open(m_field->window(), m_pages, chosen) && !chosen.empty() && edit) {
        const QString text = WizardText::Shown(chosen);
        edit->setSelection(m_start, m_end - m_start);
        edit->insert(text);
        const int caret = edit->cursorPosition();
        m_start = m_end = caret;
        Select(caret, caret);
        edit->setSelection(caret - int(text.size()), int(text.size()));
    } else {
        Select(m_start, m_end);
    }
}
