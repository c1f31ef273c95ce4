#pragma once

#include <string>
#include <vector>

#include <QCoreApplication>
#include <QTreeWidgetItem>

#include "../shell/ShellFixture.h"
#include "DriverFacts.h"
#include "Panes.h"
#include "catalog/CDBTreeView.h"
#include "catalog/recordsets/CTables.h"
#include "framework/CommandTable.h"
#include "results/CDBListView.h"

// A running application with one connection window on the parameter's data
// source, opened after the test has chosen its settings.
class TreeFixture : public ShellFixture, public ::testing::WithParamInterface<std::string> {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        source_ = SourceNamed(GetParam());
        ASSERT_TRUE(Start());
        Frame().show();
    }

    const DriverFacts &Facts() const { return FactsOf(source_.name); }
    bool ListsProcedures() const { return !Facts().procedure.empty(); }

    // File > New on the test source; the tree of the new window.
    CDBTreeView *Open() {
        prompts_->dataSourceAnswers.push_back(source_.connect);
        Frame().SendCommand(ID_FILE_NEW);
        doc_ = Frame().ActiveDocument();
        if (!doc_)
            return nullptr;
        tree_ = TreeOf(doc_);
        return tree_;
    }

    // The tree becomes the active view, as when the user clicks into it.
    void FocusTree() {
        tree_->setFocus();
        QCoreApplication::processEvents();
    }

    static std::vector<std::string> ChildLabels(const QTreeWidgetItem *item) {
        std::vector<std::string> labels;
        for (int i = 0; item && i < item->childCount(); ++i)
            labels.push_back(CDBTreeView::Label(item->child(i)));
        return labels;
    }
    static std::vector<int> ChildKinds(const QTreeWidgetItem *item) {
        std::vector<int> kinds;
        for (int i = 0; item && i < item->childCount(); ++i)
            kinds.push_back(CDBTreeView::Kind(item->child(i)));
        return kinds;
    }
    static QTreeWidgetItem *Child(const QTreeWidgetItem *item, const std::string &label) {
        for (int i = 0; item && i < item->childCount(); ++i)
            if (CDBTreeView::Label(item->child(i)) == label)
                return item->child(i);
        return nullptr;
    }
    // The node at a path of labels below the root.
    QTreeWidgetItem *Node(const std::vector<std::string> &path) const {
        QTreeWidgetItem *item = tree_->RootNode();
        for (const std::string &label : path)
            item = Child(item, label);
        return item;
    }

    // Names of the document's table list of one type, in the driver's order.
    std::vector<std::string> ListedTables(const std::string &type) const {
        std::vector<std::string> names;
        CTables *tables = doc_->Tables();
        tables->MoveFirst();
        for (; !tables->IsEOF(); tables->MoveNext())
            if (tables->TableType == type)
                names.push_back(tables->TableName);
        return names;
    }

    void Select(QTreeWidgetItem *item) {
        tree_->setCurrentItem(item);
        QCoreApplication::processEvents();
    }

    TestDataSource source_;
    CBrindleDoc *doc_ = nullptr;
    CDBTreeView *tree_ = nullptr;
};
