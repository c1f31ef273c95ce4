#pragma once

#include <cstdint>
#include <optional>

#include <QWidget>

#include "framework/AppSettings.h"

class QCheckBox;
class QLineEdit;

// "General" page of the Settings sheet: message boxes and the numeric limits.
class CGeneralPage : public QWidget {
    Q_OBJECT
public:
    explicit CGeneralPage(const AppSettings &settings, QWidget *parent = nullptr);

    // The first numeric field whose text is not an unsigned 32-bit number, or nullptr.
    QLineEdit *FirstInvalidField() const;
    // Copies the page's values into `settings`; an invalid numeric field leaves its value alone.
    void Store(AppSettings &settings) const;

    // An unsigned decimal number that fits 32 bits; nothing else (no sign, blank or empty text).
    static std::optional<uint32_t> ParseUnsigned(const QString &text);

private:
    QLineEdit *AddNumberField(const char *id, uint32_t value);

    QCheckBox *m_showMessage = nullptr;
    QLineEdit *m_queryTimeout = nullptr;
    QLineEdit *m_maxRecords = nullptr;
    QLineEdit *m_maxURLHistory = nullptr;
};
