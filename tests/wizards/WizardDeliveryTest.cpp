#include <memory>

#include <QComboBox>
#include <QPushButton>
#include <QTextCursor>
#include <gtest/gtest.h>

#include "FakeHost.h"
#include "connection/CBrindleDoc.h"
#include "console/CDBOutputView.h"
#include "framework/CommandTable.h"
#include "wizards/CTableWizard.h"
#include "wizards/CWizTable.h"
#include "wizards/StatementWizards.h"

namespace {

// A console after its prompt holding "xy"; DELETE wizards run through the
// document's prompts, as the command does.
class WizardDeliveryTest : public ::testing::Test {
protected:
    void SetUp() override {
        view_ = std::make_unique<CDBOutputView>(doc_, nullptr);
        view_->resize(400, 200);
        view_->show();
        view_->ShowPrompt();
        view_->InsertText("xy");
        view_->SetLastStatement("earlier");
    }
    void TearDown() override { view_.reset(); }

    // Runs DELETE with table `table`; Cancel instead of Finish when `cancel`.
    void RunDeleteWizard(const QString &table, bool cancel = false) {
        host_.prompts.onExec = [&](QDialog &dialog) {
            auto &wizard = dynamic_cast<CTableWizard &>(dialog);
            wizard.show();
            wizard.TablePage()->TableField()->setEditText(table);
            wizard.NextButton()->click();
            (cancel ? wizard.CancelButton() : wizard.FinishButton())->click();
            return wizard.result();
        };
        StatementWizards::TableWizard(doc_, nullptr, ID_DELETE_WIZARD, "");
    }
    std::string Text() const { return view_->toPlainText().toStdString(); }
    std::string Selected() const { return view_->textCursor().selectedText().toStdString(); }
    void PutCaret(int position) {
        QTextCursor cursor = view_->textCursor();
        cursor.setPosition(position);
        view_->setTextCursor(cursor);
    }

    FakeHost host_;
    CBrindleDoc doc_{host_};
    std::unique_ptr<CDBOutputView> view_;
};

TEST_F(WizardDeliveryTest, StatementReplacesAtTheCaretAndIsLeftSelected) {
    PutCaret(int(Text().size()) - 1); // between x and y
    RunDeleteWizard(QStringLiteral("t%d"));
    EXPECT_EQ(Text().substr(Text().rfind("SQL> ")), "SQL> xDELETE FROM t%d y");
    EXPECT_EQ(Selected(), "DELETE FROM t%d ");
    EXPECT_EQ(view_->LastStatement(), "DELETE FROM t%d ");
}

TEST_F(WizardDeliveryTest, StatementGoesToTheEndWhenTheCaretIsInTheHistory) {
    PutCaret(0);
    RunDeleteWizard(QStringLiteral("t"));
    EXPECT_EQ(Text().substr(Text().rfind("SQL> ")), "SQL> xyDELETE FROM t ");
    EXPECT_EQ(Selected(), "DELETE FROM t ");
}

TEST_F(WizardDeliveryTest, CancelChangesNothing) {
    const std::string before = Text();
    RunDeleteWizard(QStringLiteral("t"), true);
    EXPECT_EQ(Text(), before);
    EXPECT_EQ(view_->LastStatement(), "earlier");
}

} // namespace
