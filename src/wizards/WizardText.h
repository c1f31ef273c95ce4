#pragma once

#include <string>
#include <vector>

#include <QString>

class QComboBox;

// Moving texts between the wizards' fields (UTF-8 on screen) and their plain
// statement code (bytes).
class WizardText {
public:
    static QString Shown(const std::string &bytes) {
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    }
    static std::string Bytes(const QString &text) { return text.toUtf8().toStdString(); }
    static std::string Text(const QComboBox *combo);

    // `items` sorted case-insensitively, as a sorted combo box keeps them.
    static std::vector<std::string> Sorted(std::vector<std::string> items);
    // Replaces the combo box's items (and empties its text) with `items` in this order.
    static void Fill(QComboBox *combo, const std::vector<std::string> &items);
};
