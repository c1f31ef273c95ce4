#include <map>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

#include "wizards/CListCtrlEx.h"
#include "wizards/CQueryWizard.h"
#include "wizards/CTableWizard.h"
#include "wizards/CWizColumns.h"
#include "wizards/CWizTable.h"
#include "wizards/CWizardPage1.h"
#include "wizards/CWizardPage2.h"
#include "wizards/CWizardPage3.h"
#include "wizards/CWizardPage4.h"
#include "wizards/CWizardPage5.h"
#include "wizards/ConditionEditor.h"
#include "wizards/RowListEditor.h"
#include "wizards/SyntaxFieldButton.h"
#include "wizards/WizardSource.h"

namespace {

class FakeSource : public WizardSource {
public:
    std::vector<std::string> TableNames() override { return {"t", "u"}; }
    std::vector<std::string> ColumnNames(const std::string &table) override {
        return table == "t" ? std::vector<std::string>{"b", "a"} : std::vector<std::string>{};
    }
    std::vector<std::string> Operators() override { return {"=", "<>", ">"}; }
    std::vector<std::string> TypeNames() override { return {"INTEGER", "VARCHAR"}; }
    std::string Written(const std::string &name) override { return name; }
};

class FakeOpener : public SyntaxOpener {
public:
    std::vector<Field> asked;
    std::string answer;
    bool Open(QWidget *, Field field, std::string &text) override {
        asked.push_back(field);
        text = answer;
        return !answer.empty();
    }
};

void Focus(QWidget *widget) {
    QFocusEvent in(QEvent::FocusIn, Qt::OtherFocusReason);
    QApplication::sendEvent(widget, &in);
}

class WizardPagesTest : public ::testing::Test {
protected:
    void SetUp() override { wizard_.show(); }

    void AddRow(RowListEditor *editor, QComboBox *field, const QString &text) {
        field->setEditText(text);
        editor->AddButton()->click();
    }
    void AddCondition(ConditionEditor *editor, const QString &link, const QString &e1,
                      const QString &op, const QString &e2) {
        editor->Link()->setCurrentText(link);
        editor->Expression1()->setEditText(e1);
        editor->Operator()->setEditText(op);
        editor->Expression2()->setEditText(e2);
        editor->Editor()->AddButton()->click();
    }
    // Walks from step 1 to step `step` with one table and one select item.
    void GoTo(int step) {
        AddRow(wizard_.Step1()->Editor(), wizard_.Step1()->TableField(), QStringLiteral("t"));
        for (int at = 1; at < step; ++at) {
            wizard_.NextButton()->click();
            if (at == 1)
                AddRow(wizard_.Step2()->Editor(), wizard_.Step2()->ColumnField(),
                       QStringLiteral("t.a"));
        }
        ASSERT_EQ(wizard_.ActiveIndex(), step - 1);
    }

    FakeSource source_;
    FakeOpener opener_;
    CQueryWizard wizard_{source_, &opener_, ""};
};

TEST_F(WizardPagesTest, StepOneWithoutRowsOffersNeitherBackNorNext) {
    EXPECT_EQ(wizard_.windowTitle(), "SELECT Statement Wizard - Step 1 of 5: Table Reference List");
    EXPECT_FALSE(wizard_.BackButton()->isEnabled());
    EXPECT_FALSE(wizard_.NextButton()->isEnabled());
    AddRow(wizard_.Step1()->Editor(), wizard_.Step1()->TableField(), QStringLiteral("t"));
    EXPECT_TRUE(wizard_.NextButton()->isEnabled());
    EXPECT_FALSE(wizard_.BackButton()->isEnabled());
}

TEST_F(WizardPagesTest, FiveStepsBuildTheWholeStatement) {
    GoTo(2);
    CWizardPage2 *step2 = wizard_.Step2();
    EXPECT_EQ(step2->Candidates(), (std::vector<std::string>{"*", "t.*", "t.b", "t.a"}));
    step2->AliasField()->setText(QStringLiteral("x"));
    AddRow(step2->Editor(), step2->ColumnField(), QStringLiteral("t.b"));
    step2->DistinctBox()->setChecked(true);
    wizard_.NextButton()->click();

    ConditionEditor *search = wizard_.Step3()->Conditions();
    AddCondition(search, QStringLiteral("OR"), QStringLiteral("t.a"), QStringLiteral("="),
                 QStringLiteral("1"));
    AddCondition(search, QStringLiteral("AND"), QStringLiteral("t.b"), QStringLiteral(">"),
                 QStringLiteral("2"));
    wizard_.NextButton()->click();

    CWizardPage4 *step4 = wizard_.Step4();
    EXPECT_FALSE(step4->Criteria()->Expression1()->isEnabled());
    EXPECT_FALSE(step4->Criteria()->Editor()->AddButton()->isEnabled());
    step4->ColumnsList()->setCurrentRow(0); // t.a: sorted
    step4->MoveRightButton()->click();
    EXPECT_TRUE(step4->Criteria()->Expression1()->isEnabled());
    AddCondition(step4->Criteria(), QStringLiteral("AND"), QStringLiteral("t.a"),
                 QStringLiteral("<>"), QStringLiteral("3"));
    wizard_.NextButton()->click();

    EXPECT_TRUE(wizard_.FinishButton()->isVisible());
    CWizardPage5 *step5 = wizard_.Step5();
    step5->DescendingBox()->setChecked(true);
    AddRow(step5->Editor(), step5->ColumnField(), QStringLiteral("t.a"));
    wizard_.FinishButton()->click();
    EXPECT_EQ(wizard_.result(), QDialog::Accepted);
    EXPECT_EQ(wizard_.Statement(),
              "SELECT DISTINCT t.a, t.b AS x FROM t WHERE  (t.a = 1) AND (t.b > 2)  "
              "GROUP BY t.a HAVING  (t.a <> 3)  ORDER BY t.a DESC");
}

TEST_F(WizardPagesTest, TheFirstConditionRowNeverCarriesALink) {
    GoTo(3);
    ConditionEditor *editor = wizard_.Step3()->Conditions();
    CListCtrlEx *list = editor->List();
    AddCondition(editor, QStringLiteral("AND"), QStringLiteral("a"), {}, {});
    AddCondition(editor, QStringLiteral("AND"), QStringLiteral("b"), {}, {});
    AddCondition(editor, QStringLiteral("OR"), QStringLiteral("c"), {}, {});
    ASSERT_EQ(list->GetItemText(1, 0), "AND");

    list->SelectRow(0);
    editor->Editor()->DeleteButton()->click();
    EXPECT_EQ(list->GetItemText(0, 1), "b");
    EXPECT_EQ(list->GetItemText(0, 0), "");
    EXPECT_EQ(list->GetItemText(1, 0), "OR");

    list->SelectRow(0);
    editor->Link()->setCurrentText(QStringLiteral("OR"));
    editor->Expression1()->setEditText(QStringLiteral("z"));
    editor->Editor()->ModifyButton()->click();
    EXPECT_EQ(list->GetItemText(0, 0), "");
    EXPECT_EQ(list->GetItemText(0, 1), "z");
}

TEST_F(WizardPagesTest, BackFromStepFourThenNextOffersEveryColumnOnce) {
    GoTo(4);
    CWizardPage4 *step4 = wizard_.Step4();
    step4->ColumnsList()->setCurrentRow(1);
    step4->MoveRightButton()->click();
    wizard_.BackButton()->click();
    wizard_.NextButton()->click();
    EXPECT_EQ(step4->ColumnsList()->count(), 2);
    EXPECT_EQ(step4->GroupList()->count(), 0);
}

TEST_F(WizardPagesTest, BackFromStepThreeKeepsTheSelectListButUnchecksDistinct) {
    GoTo(2);
    wizard_.Step2()->DistinctBox()->setChecked(true);
    wizard_.NextButton()->click();
    wizard_.BackButton()->click();
    EXPECT_FALSE(wizard_.Step2()->DistinctBox()->isChecked());
    EXPECT_EQ(wizard_.Step2()->Editor()->List()->GetItemCount(), 1);
    // Step 2 without rows offers only Back.
    wizard_.Step2()->Editor()->ClearButton()->click();
    EXPECT_TRUE(wizard_.BackButton()->isEnabled());
    EXPECT_FALSE(wizard_.NextButton()->isEnabled());
}

TEST_F(WizardPagesTest, SyntaxButtonInsertsAtTheRememberedSelectionOrRestoresIt) {
    QComboBox *field = wizard_.Step1()->TableField();
    field->setEditText(QStringLiteral("ab"));
    field->lineEdit()->setCursorPosition(1);
    Focus(field->lineEdit());
    EXPECT_TRUE(wizard_.Step1()->SyntaxButton()->isEnabled());
    QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
    QApplication::sendEvent(field->lineEdit(), &out);

    opener_.answer.clear();
    wizard_.Step1()->Syntax()->Open();
    EXPECT_EQ(field->currentText(), "ab");
    opener_.answer = "{oj x}";
    wizard_.Step1()->Syntax()->Open();
    EXPECT_EQ(field->currentText(), "a{oj x}b");
    EXPECT_EQ(field->lineEdit()->selectedText(), "{oj x}");
    EXPECT_EQ(opener_.asked.back(), SyntaxOpener::Field::TableReference);
}

TEST(TableWizardPagesTest, DropTableFinishesOnlyWithAName) {
    FakeSource source;
    CTableWizard wizard(TableStatement::Kind::DropTable, source, nullptr, "");
    wizard.show();
    EXPECT_TRUE(wizard.FinishButton()->isVisible());
    EXPECT_FALSE(wizard.FinishButton()->isEnabled());
    wizard.TablePage()->TableField()->setEditText(QStringLiteral("t"));
    EXPECT_TRUE(wizard.FinishButton()->isEnabled());
    wizard.FinishButton()->click();
    EXPECT_EQ(wizard.Statement(), "DROP TABLE t");
}

TEST(TableWizardPagesTest, ValueSyntaxOffersDateTimeAndTypesOfferNone) {
    FakeSource source;
    FakeOpener opener;
    CTableWizard insert(TableStatement::Kind::Insert, source, &opener, "t");
    insert.show();
    insert.NextButton()->click();
    CWizColumns *columns = insert.ColumnsPage();
    Focus(columns->SecondField()->lineEdit());
    EXPECT_TRUE(columns->SyntaxButton()->isEnabled());
    columns->Syntax()->Open();
    EXPECT_EQ(opener.asked, std::vector<SyntaxOpener::Field>{SyntaxOpener::Field::Value});

    CTableWizard create(TableStatement::Kind::CreateTable, source, &opener, "");
    create.show();
    create.TablePage()->TableField()->setEditText(QStringLiteral("t"));
    create.NextButton()->click();
    Focus(create.ColumnsPage()->SecondField()->lineEdit());
    EXPECT_FALSE(create.ColumnsPage()->SyntaxButton()->isEnabled());
    EXPECT_EQ(create.ColumnsPage()->SecondField()->count(), 2); // the type names
}

} // namespace
