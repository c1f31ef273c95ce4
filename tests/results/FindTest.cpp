#include <set>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>

#include "GridFixture.h"
#include "ScriptedPrompts.h"
#include "results/FindDialog.h"
#include "results/FindHistory.h"
#include "results/FindTarget.h"
#include "results/GridFinder.h"

namespace {

// A grid reduced to what the search uses: one column of texts.
class FakeTarget : public FindTarget {
public:
    explicit FakeTarget(const std::vector<std::string> &cells) {
        model.InsertColumn(0, "name", Qt::AlignLeft);
        for (size_t row = 0; row < cells.size(); ++row)
            model.InsertRow(static_cast<int>(row), cells[row]);
    }
    const GridModel &Model() const override { return model; }
    int LastChangedRow() const override { return lastChanged; }
    void ClearSelection() override { selected.clear(); }
    void SelectRows(const std::vector<int> &rows) override {
        selected.insert(rows.begin(), rows.end());
        lastChanged = rows.back();
    }
    void RevealRow(int row) override { revealed = row; }

    GridModel model;
    int lastChanged = -1;
    std::set<int> selected;
    int revealed = -1;
};

// Rows 2 and 8 hold "apple"; the others do not.
std::vector<std::string> TwoApples() {
    return {"pear", "plum", "apple", "fig", "kiwi", "lime", "date", "sloe", "apple", "nut"};
}

FindCriteria Looking(const std::string &text, bool down = true) {
    FindCriteria criteria;
    criteria.text = text;
    criteria.down = down;
    return criteria;
}

TEST(GridFinder, MatchingModes) {
    struct Case {
        const char *cell;
        const char *text;
        bool matchCase;
        bool wholeCell;
        bool matches;
    };
    const Case cases[] = {
        {"xABy", "ab", false, false, true},
        {"xABy", "ab", true, false, false},
        {"xaby", "ab", true, false, true},
        {"abc", "ab", true, true, false},
        {"abc", "ab", false, true, false},
        {"AB", "ab", false, true, true},
        {"AB", "ab", true, true, false},
        {"ab", "ab", true, true, true},
        // Only A-Z fold: other bytes must be equal.
        {"\xC3\x89t\xC3\xA9", "\xC3\xA9T\xC3\xA9", false, true, false},
        {"", "", false, false, true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(GridFinder::CellMatches(c.cell, c.text, c.matchCase, c.wholeCell), c.matches)
            << c.cell << " / " << c.text << " case " << c.matchCase << " whole " << c.wholeCell;
}

TEST(GridFinder, StartsAtTheLastChangedRowItself) {
    struct Case {
        int lastChanged;
        bool down;
        int found;
    };
    // "apple" in rows 2, 5 and 8.
    for (const Case c :
         {Case{5, true, 5}, Case{5, false, 5}, Case{6, true, 8}, Case{4, false, 2}}) {
        std::vector<std::string> cells = TwoApples();
        cells[5] = "apple";
        FakeTarget target(cells);
        ScriptedPrompts prompts;
        GridFinder finder(target, prompts, nullptr);
        target.lastChanged = c.lastChanged;
        target.selected = {0, 9};
        EXPECT_TRUE(finder.FindNext(Looking("apple", c.down)));
        EXPECT_EQ(target.selected, std::set<int>{c.found}) << c.lastChanged << " " << c.down;
        EXPECT_EQ(target.revealed, c.found);
        EXPECT_TRUE(prompts.questions.empty());
    }
}

TEST(GridFinder, AsksToRestartAtTheEndOfTheGrid) {
    struct Case {
        int lastChanged;
        bool down;
        int foundFirst; // -1: nothing found before the question
        const char *question;
        int foundAfterOk;
    };
    const Case cases[] = {
        {-1, true, -1, "No matches are found. Restart from the beginning ?", 2},
        {-1, false, -1, "No matches are found. Restart from the end ?", 8},
        {8, true, 8, "No more matches are found. Restart from the beginning ?", 2},
        {2, false, 2, "No more matches are found. Restart from the end ?", 8},
    };
    for (const Case &c : cases) {
        FakeTarget target(TwoApples());
        ScriptedPrompts prompts;
        prompts.questionAnswers = {true};
        GridFinder finder(target, prompts, nullptr);
        target.lastChanged = c.lastChanged;
        if (c.foundFirst >= 0) {
            ASSERT_TRUE(finder.FindNext(Looking("apple", c.down)));
            ASSERT_EQ(target.selected, std::set<int>{c.foundFirst});
        }
        EXPECT_TRUE(finder.FindNext(Looking("apple", c.down)));
        EXPECT_EQ(prompts.questions, std::vector<QString>{QString::fromLatin1(c.question)});
        EXPECT_EQ(prompts.captions, std::vector<QString>{QStringLiteral("Find Result")});
        EXPECT_EQ(target.selected, std::set<int>{c.foundAfterOk}) << c.question;
    }
}

TEST(GridFinder, SingleMatchIsFoundAgainAfterRestart) {
    FakeTarget target({"a", "b", "c", "match", "d"});
    ScriptedPrompts prompts;
    prompts.questionAnswers = {true, false};
    GridFinder finder(target, prompts, nullptr);
    target.lastChanged = 0;
    ASSERT_TRUE(finder.FindNext(Looking("match")));
    EXPECT_EQ(target.selected, std::set<int>{3});
    EXPECT_TRUE(finder.FindNext(Looking("match")));
    EXPECT_EQ(target.selected, std::set<int>{3});
    // Cancel leaves the selection as it is.
    EXPECT_FALSE(finder.FindNext(Looking("match")));
    EXPECT_EQ(target.selected, std::set<int>{3});
    const QString noMore =
        QStringLiteral("No more matches are found. Restart from the beginning ?");
    EXPECT_EQ(prompts.questions, (std::vector<QString>{noMore, noMore}));

    // Nothing anywhere: after OK, the whole grid is said to hold no match.
    prompts.questionAnswers = {true};
    EXPECT_FALSE(finder.FindNext(Looking("zebra")));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].first, QStringLiteral("No matches are found in total contents."));
    EXPECT_EQ(prompts.messages[0].second, UserPrompts::Icon::Exclamation);
}

TEST(GridFinder, MarkAllSelectsTheSameRowsUpAndDown) {
    const std::vector<std::string> cells = {"x", "Hit", "x", "x", "hit", "x", "x", "HIT", "x"};
    for (bool down : {true, false}) {
        FakeTarget target(cells);
        ScriptedPrompts prompts;
        GridFinder finder(target, prompts, nullptr);
        target.selected = {0, 3};
        EXPECT_EQ(finder.MarkAll(Looking("hit", down)), 3);
        EXPECT_EQ(target.selected, (std::set<int>{1, 4, 7}));
        EXPECT_EQ(target.revealed, down ? 7 : 1);
        EXPECT_TRUE(prompts.messages.empty());
    }
    FakeTarget target(cells);
    ScriptedPrompts prompts;
    GridFinder finder(target, prompts, nullptr);
    target.selected = {2};
    EXPECT_EQ(finder.MarkAll(Looking("miss")), 0);
    EXPECT_TRUE(target.selected.empty());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].first, QStringLiteral("No match is found."));
}

TEST(FindHistory, KeepsSixteenNewestFirstOnceFull) {
    FindHistory history;
    for (int i = 0; i < 16; ++i)
        EXPECT_TRUE(history.Add(QStringLiteral("t%1").arg(i)));
    EXPECT_EQ(history.Texts().front(), QStringLiteral("t0"));
    EXPECT_EQ(history.Texts().back(), QStringLiteral("t15"));
    EXPECT_FALSE(history.Add(QStringLiteral("t7")));
    EXPECT_TRUE(history.Add(QStringLiteral("T7")));
    ASSERT_EQ(history.Texts().size(), 16);
    EXPECT_EQ(history.Texts().front(), QStringLiteral("T7"));
    EXPECT_EQ(history.Texts().back(), QStringLiteral("t14"));
    EXPECT_EQ(history.Texts()[8], QStringLiteral("t7"));
}

using FindDialogTest = GridFixture;

TEST_F(FindDialogTest, FindsFromTheClickedRowAndKeepsItsHistory) {
    {
        QSettings profile(QStringLiteral("Quenwick"), QStringLiteral("Brindle"));
        profile.setValue("SearchList/0", "old");
        profile.setValue("SearchList/1", "");
        profile.setValue("SearchList/2", "older");
    }
    Fill({"name", "kind"}, {{"a", "x"}, {"b", "hit"}, {"c", "x"}, {"d", "hit"}, {"e", "x"}});
    Show();
    QPointer<FindDialog> slot;
    FindDialog *dialog = FindDialog::Open(slot, *grid_, *prompts_, nullptr);
    EXPECT_EQ(FindDialog::Open(slot, *grid_, *prompts_, nullptr), dialog);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Find"));

    auto *findText = dialog->findChildren<QComboBox *>().at(0);
    auto *column = dialog->findChildren<QComboBox *>().at(1);
    EXPECT_EQ(findText->count(), 2);
    EXPECT_EQ(column->count(), 2);
    column->setCurrentIndex(1);
    QTest::keyClicks(findText->lineEdit(), "HIT");
    grid_->SelectRow(2, true);
    QTest::keyClick(findText->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(dialog->Finder().MatchRow(), 3);
    EXPECT_TRUE(grid_->IsRowSelected(3));
    EXPECT_EQ(grid_->SelectedRowCount(), 1);
    EXPECT_EQ(dialog->History().Texts(),
              (QStringList{QStringLiteral("old"), QStringLiteral("older"), QStringLiteral("HIT")}));

    for (QPushButton *button : dialog->findChildren<QPushButton *>())
        if (button->text() == QStringLiteral("&Mark All"))
            QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(grid_->SelectedRowCount(), 2);
    EXPECT_TRUE(grid_->IsRowSelected(1) && grid_->IsRowSelected(3));
    EXPECT_EQ(grid_->LastChangedRow(), 3);

    // New columns reach the "Search in:" list while the dialog is open.
    grid_->SetColumns({"one", "two", "three"}, QStringLiteral("Other"));
    EXPECT_EQ(column->count(), 3);
    EXPECT_EQ(column->itemText(2), QStringLiteral("three"));

    dialog->reject();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(slot.isNull());
    QSettings profile(QStringLiteral("Quenwick"), QStringLiteral("Brindle"));
    EXPECT_EQ(profile.value("SearchList/2").toString(), QStringLiteral("HIT"));
    EXPECT_EQ(profile.childKeys().size(), 0);
    profile.beginGroup("SearchList");
    EXPECT_EQ(profile.childKeys().size(), 3);
}

} // namespace
