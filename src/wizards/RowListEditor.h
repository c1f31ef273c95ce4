#pragma once

#include <functional>

#include <QStringList>
#include <QWidget>

class CListCtrlEx;
class QPushButton;

// A wizard page's row list with its "&Add", "&Modify", "&Delete" and "&Clear"
// buttons. The page supplies its fields through the hooks; after every change
// (and whenever the page asks) the page's enabling rule runs.
class RowListEditor : public QWidget {
    Q_OBJECT
public:
    RowListEditor(const QStringList &headers, QWidget *parent = nullptr);

    CListCtrlEx *List() const { return m_list; }
    QPushButton *AddButton() const { return m_add; }
    QPushButton *ModifyButton() const { return m_modify; }
    QPushButton *DeleteButton() const { return m_delete; }
    QPushButton *ClearButton() const { return m_clear; }

    // The cells of a new row, from the fields.
    std::function<QStringList()> readFields;
    // Puts the fields into an existing row; by default every cell.
    std::function<void(int row, const QStringList &cells)> storeRow;
    // Empties the fields an Add or Modify empties.
    std::function<void()> emptyFields;
    // Copies a row just selected into the fields.
    std::function<void(int row)> showRow;
    // The page's enabling rule.
    std::function<void()> enable;

    // The usual rule: Clear with rows, Delete with a selection, Add when `add`,
    // Modify when Add and Delete are.
    void ApplyRule(bool add);
    void SetButtonsEnabled(bool enabled);
    void RunRule();
    void RemoveAll();

private:
    void OnAdd();
    void OnModify();
    void OnDelete();
    void OnClear();

    CListCtrlEx *m_list;
    QPushButton *m_add;
    QPushButton *m_modify;
    QPushButton *m_delete;
    QPushButton *m_clear;
};
