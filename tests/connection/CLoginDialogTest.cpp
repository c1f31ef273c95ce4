#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "connection/CLoginDialog.h"

namespace {

TEST(CLoginDialogTest, ShowsDriverTextsLiterally) {
    CLoginDialog dialog(nullptr, "<i>Sales</i>", "password required for <b>x</b>");
    dialog.show();
    auto *source = dialog.findChild<QLabel *>("dataSourceLabel");
    auto *message = dialog.findChild<QLabel *>("messageLabel");
    ASSERT_TRUE(source && message);
    EXPECT_EQ(source->textFormat(), Qt::PlainText);
    EXPECT_EQ(message->textFormat(), Qt::PlainText);
    EXPECT_EQ(source->text(), "<i>Sales</i>");
    EXPECT_EQ(message->text(), "password required for <b>x</b>");
    EXPECT_TRUE(message->isVisible());
}

TEST(CLoginDialogTest, StartsWithTheGivenUserName) {
    CLoginDialog dialog(nullptr, "Sales", "", "<b>bob</b>");
    auto *user = dialog.findChild<QLineEdit *>("userEdit");
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(user->text(), "<b>bob</b>");
    QTest::keyClicks(dialog.findChild<QLineEdit *>("passwordEdit"), "pw");
    EXPECT_EQ(dialog.Login().user, "<b>bob</b>");
    EXPECT_EQ(dialog.Login().password, "pw");
}

TEST(CLoginDialogTest, TypedLoginComesBackHidden) {
    CLoginDialog dialog(nullptr, "Sales", "");
    dialog.show();
    auto *user = dialog.findChild<QLineEdit *>("userEdit");
    auto *password = dialog.findChild<QLineEdit *>("passwordEdit");
    ASSERT_TRUE(user && password);
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    EXPECT_EQ(user->echoMode(), QLineEdit::Normal);
    QTest::keyClicks(user, "brindle");
    QTest::keyClicks(password, "s3cr");
    password->insert(QString::fromUtf8("\xc3\xa9t")); // keyClicks types ASCII only
    const ConnectPrompt::Login login = dialog.Login();
    EXPECT_EQ(login.user, "brindle");
    EXPECT_EQ(login.password, "s3cr\xc3\xa9t");
    EXPECT_FALSE(dialog.findChild<QLabel *>("messageLabel")->isVisible());
}

void AnswerNextLogin(bool accept) {
    QTimer::singleShot(0, [accept] {
        auto *dialog = qobject_cast<CLoginDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QTest::keyClicks(dialog->findChild<QLineEdit *>("userEdit"), "sa");
        QTest::keyClicks(dialog->findChild<QLineEdit *>("passwordEdit"), "pw");
        auto *buttons = dialog->findChild<QDialogButtonBox *>("buttons");
        QTest::mouseClick(buttons->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel),
                          Qt::LeftButton);
    });
}

TEST(CLoginDialogTest, AskReturnsLoginOrNothing) {
    AnswerNextLogin(true);
    const auto login = CLoginDialog::Ask(nullptr, "Sales", "Login required");
    ASSERT_TRUE(login.has_value());
    EXPECT_EQ(login->user, "sa");
    EXPECT_EQ(login->password, "pw");
    AnswerNextLogin(false);
    EXPECT_FALSE(CLoginDialog::Ask(nullptr, "Sales", "Login required").has_value());
}

} // namespace
