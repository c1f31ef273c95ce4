#include "wizards/WizardText.h"

#include <algorithm>

#include <QComboBox>

std::string WizardText::Text(const QComboBox *combo) { return Bytes(combo->currentText()); }

std::vector<std::string> WizardText::Sorted(std::vector<std::string> items) {
    std::stable_sort(items.begin(), items.end(), [](const std::string &a, const std::string &b) {
        return Shown(a).compare(Shown(b), Qt::CaseInsensitive) < 0;
    });
    return items;
}

void WizardText::Fill(QComboBox *combo, const std::vector<std::string> &items) {
    combo->clear();
    for (const std::string &item : items)
        combo->addItem(Shown(item));
    combo->setCurrentIndex(-1);
    combo->setEditText(QString());
}
