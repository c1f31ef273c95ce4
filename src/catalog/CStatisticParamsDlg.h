#pragma once

#include <cstdint>

#include <QDialog>

class QRadioButton;

// Statistic Parameters: which indexes SQLStatistics lists and how exact its
// cardinality and pages must be. A new dialog opens on All and Ensure.
class CStatisticParamsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CStatisticParamsDlg(QWidget *parent = nullptr);

    // SQL_INDEX_ALL (1) or SQL_INDEX_UNIQUE (0).
    uint16_t Unique() const { return m_unique; }
    // SQL_ENSURE (1) or SQL_QUICK (0).
    uint16_t Accuracy() const { return m_accuracy; }

    QRadioButton *AllButton() const { return m_all; }
    QRadioButton *UniqueButton() const { return m_uniqueOnly; }
    QRadioButton *EnsureButton() const { return m_ensure; }
    QRadioButton *QuickButton() const { return m_quick; }

private:
    uint16_t m_unique;
    uint16_t m_accuracy;
    QRadioButton *m_all = nullptr;
    QRadioButton *m_uniqueOnly = nullptr;
    QRadioButton *m_ensure = nullptr;
    QRadioButton *m_quick = nullptr;
};
