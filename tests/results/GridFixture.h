#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QFont>
#include <QTest>

#include <QSettings>
#include <gtest/gtest.h>

#include "FakeHost.h"
#include "TestDataSources.h"
#include "connection/CBrindleDoc.h"
#include "results/CDBListView.h"

// A result grid of an unconnected document on a fake host, in a fixed font so
// pixel widths are the same on every machine.
class GridFixture : public ::testing::Test {
public:
    static QFont TestFont() {
        QFont font(QStringLiteral("DejaVu Sans Mono"));
        font.setPixelSize(12);
        // Whole-pixel advances: every character is as wide as any other.
        font.setHintingPreference(QFont::PreferFullHinting);
        return font;
    }

protected:
    void SetUp() override {
        const QString profile = QString::fromStdString(MakeTempDir());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, profile);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, profile);
        host_ = std::make_unique<FakeHost>();
        prompts_ = &host_->prompts;
        doc_ = std::make_unique<CBrindleDoc>(*host_);
        grid_ = std::make_unique<CDBListView>(*doc_, nullptr);
        grid_->setFont(TestFont());
        grid_->resize(420, 240);
    }
    void TearDown() override {
        grid_.reset();
        doc_.reset();
        host_.reset();
    }

    // One row per entry, the texts in columns 0, 1, ...
    void Fill(const std::vector<std::string> &titles,
              const std::vector<std::vector<std::string>> &rows) {
        grid_->SetColumns(titles, QStringLiteral("Test"));
        for (size_t row = 0; row < rows.size(); ++row)
            for (size_t column = 0; column < rows[row].size(); ++column)
                grid_->SetCellText(static_cast<int>(row), static_cast<int>(column),
                                   rows[row][column]);
    }

    std::vector<std::string> Column(int column) const {
        std::vector<std::string> texts;
        for (int row = 0; row < grid_->RowCount(); ++row)
            texts.push_back(grid_->GetCellText(row, column));
        return texts;
    }

    void Show() {
        grid_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(grid_.get()));
    }

    std::unique_ptr<FakeHost> host_;
    ScriptedPrompts *prompts_ = nullptr;
    std::unique_ptr<CBrindleDoc> doc_;
    std::unique_ptr<CDBListView> grid_;
};
