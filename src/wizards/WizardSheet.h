#pragma once

#include <vector>

#include <QDialog>

class QPushButton;
class QStackedWidget;
class WizardPage;

// A modal wizard without a title of its own: the caption is the current page's
// title; Back, Next or Finish, and Cancel. Closing it is a Cancel.
class WizardSheet : public QDialog {
    Q_OBJECT
public:
    enum Buttons { Back = 1, Next = 2, Finish = 4, DisabledFinish = 8 };

    explicit WizardSheet(QWidget *parent = nullptr);

    // Pages go in before the sheet is shown; the sheet owns them.
    void AddPage(WizardPage *page);
    int PageCount() const { return int(m_pages.size()); }
    WizardPage *Page(int index) const { return m_pages.at(size_t(index)); }
    int ActiveIndex() const { return m_active; }
    WizardPage *ActivePage() const { return m_active >= 0 ? Page(m_active) : nullptr; }

    // Back and Next are always there, enabled by their flag; Finish takes
    // Next's place when Finish or DisabledFinish is given.
    void SetWizardButtons(int buttons);

    QPushButton *BackButton() const { return m_back; }
    QPushButton *NextButton() const { return m_next; }
    QPushButton *FinishButton() const { return m_finish; }
    QPushButton *CancelButton() const { return m_cancel; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Activate(int index);
    void OnBack();
    void OnNext();
    void OnFinish();

    std::vector<WizardPage *> m_pages;
    std::vector<bool> m_shown;
    int m_active = -1;
    QStackedWidget *m_stack;
    QPushButton *m_back;
    QPushButton *m_next;
    QPushButton *m_finish;
    QPushButton *m_cancel;
};
