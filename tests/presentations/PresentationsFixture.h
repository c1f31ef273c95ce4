#pragma once

#include <memory>
#include <string>
#include <vector>

#include "../shell/ShellFixture.h"
#include "DriverFacts.h"
#include "Panes.h"
#include "catalog/CatalogPresentations.h"
#include "console/CDBOutputView.h"
#include "framework/CommandTable.h"
#include "odbc/OdbcStatement.h"
#include "results/CDBListView.h"

// A connection window opened with File New on one test data source, with the
// grid and console the presentations write to.
class PresentationsFixture : public ShellFixture,
                             public ::testing::WithParamInterface<std::string> {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        ASSERT_TRUE(Start());
        prompts_->dataSourceAnswers.push_back(SourceNamed(GetParam()).connect);
        Frame().SendCommand(ID_FILE_NEW);
        doc_ = Frame().ActiveDocument();
        ASSERT_NE(doc_, nullptr);
        if (!doc_->m_pOutputView)
            ownConsole_ = std::make_unique<CDBOutputView>(*doc_, nullptr);
        if (!doc_->m_pListView)
            ownGrid_ = std::make_unique<CDBListView>(*doc_, nullptr);
        grid_ = GridOf(doc_);
        console_ = ConsoleOf(doc_);
    }
    void TearDown() override {
        ownGrid_.reset();
        ownConsole_.reset();
        ShellFixture::TearDown();
    }

    const DriverFacts &Facts() const { return FactsOf(GetParam()); }
    // The Catalog cell of the fixture's tables.
    std::string Catalog() const {
        return Facts().catalogIsDatabase ? DatabaseOf(SourceNamed(GetParam()).connect) : "";
    }
    // The presentations, laying into this grid.
    CatalogPresentations Show() { return CatalogPresentations(*doc_, *grid_); }

    void Execute(const std::string &sql) {
        OdbcStatement statement(doc_->Database());
        statement.ExecuteDirect(sql);
    }
    void AllColumnInfo(bool on) {
        app_->Settings().Length = on;
        app_->Settings().Precision = on;
        app_->Settings().Nullability = on;
    }

    std::vector<std::string> Titles() const {
        std::vector<std::string> titles;
        for (int column = 0; column < grid_->GridColumnCount(); ++column)
            titles.push_back(grid_->GetColumnTitle(column));
        return titles;
    }
    // Grid layout: the cells of one record. Single-object layout: the values.
    std::vector<std::string> Row(int row) const {
        std::vector<std::string> cells;
        for (int column = 0; column < grid_->GridColumnCount(); ++column)
            cells.push_back(grid_->GetCellText(row, column));
        return cells;
    }
    std::vector<std::string> Column(int column) const {
        std::vector<std::string> cells;
        for (int row = 0; row < grid_->RowCount(); ++row)
            cells.push_back(grid_->GetCellText(row, column));
        return cells;
    }
    // The record whose first cell is `name`, or empty.
    std::vector<std::string> RowNamed(const std::string &name) const {
        for (int row = 0; row < grid_->RowCount(); ++row)
            if (grid_->GetCellText(row, 0) == name)
                return Row(row);
        return {};
    }
    // Single-object layout: the value under a property label.
    std::string Value(const std::string &label) const {
        for (int row = 0; row < grid_->RowCount(); ++row)
            if (grid_->GetCellText(row, 0) == label)
                return grid_->GetCellText(row, 1);
        ADD_FAILURE() << "no property " << label;
        return {};
    }
    void ExpectPropertyLayout(const std::vector<std::string> &labels) const {
        EXPECT_TRUE(grid_->PropertyMode);
        EXPECT_EQ(grid_->ColumnCount, 2);
        EXPECT_EQ(Titles(), (std::vector<std::string>{"Property    ", "Value       "}));
        EXPECT_EQ(Column(0), labels);
    }
    void ExpectGridLayout(const std::vector<std::string> &labels) const {
        EXPECT_FALSE(grid_->PropertyMode);
        EXPECT_EQ(grid_->ColumnCount, static_cast<int>(labels.size()));
        EXPECT_EQ(Titles(), labels);
    }
    // Neither a message box nor an error line on the console.
    void ExpectNoError() const {
        EXPECT_TRUE(prompts_->messages.empty());
        EXPECT_EQ(console_->toPlainText().indexOf(QStringLiteral("Error:")), -1)
            << console_->toPlainText().toStdString();
    }

    CBrindleDoc *doc_ = nullptr;
    CDBListView *grid_ = nullptr;
    CDBOutputView *console_ = nullptr;
    std::unique_ptr<CDBOutputView> ownConsole_;
    std::unique_ptr<CDBListView> ownGrid_;
};
