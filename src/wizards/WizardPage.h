#pragma once

#include <QString>
#include <QWidget>

class WizardSheet;

// One step of a wizard. The sheet calls the handlers as the user moves:
// OnInitialShow once, OnSetActive every time the page becomes current,
// OnWizardNext/OnWizardFinish when it is left forwards (false stays), and
// OnWizardBack when it is left backwards.
class WizardPage : public QWidget {
    Q_OBJECT
public:
    explicit WizardPage(QString title, QWidget *parent = nullptr);

    const QString &Title() const { return m_title; }
    void SetSheet(WizardSheet *sheet) { m_sheet = sheet; }

    virtual void OnInitialShow() {}
    virtual void OnSetActive() {}
    virtual bool OnWizardNext() { return true; }
    virtual void OnWizardBack() {}
    virtual bool OnWizardFinish() { return true; }

protected:
    // WizardSheet::Back | Next | Finish | DisabledFinish.
    void SetWizardButtons(int buttons);

private:
    QString m_title;
    WizardSheet *m_sheet = nullptr;
};
