#pragma once

#include <QWidget>

#include "framework/AppSettings.h"

class QCheckBox;

// "Column Info" page of the Settings sheet: which column details the presentations show.
class CColumnPage : public QWidget {
    Q_OBJECT
public:
    explicit CColumnPage(const AppSettings &settings, QWidget *parent = nullptr);

    void Store(AppSettings &settings) const;

private:
    QCheckBox *m_length = nullptr;
    QCheckBox *m_precision = nullptr;
    QCheckBox *m_nullability = nullptr;
};
