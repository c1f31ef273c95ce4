#include <set>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include "ShellFixture.h"
#include "app/DialogPrompts.h"
#include "connection/CDataSourceDialog.h"
#include "connection/CLoginDialog.h"
#include "framework/CommandTable.h"
#include "results/CDBListView.h"
#include "results/FindDialog.h"

namespace {

// Labels that may interpret markup, each for a reason of its own.
const std::set<QString> RichLabelsAllowed = {
    // Qt's own message-box icon: a pixmap, never a text.
    QStringLiteral("qt_msgboxex_icon_label"),
};

// Every label under `root` shows its text as it stands: a table name or a
// driver message holding "<img src=...>" must never make Qt load that file.
void ExpectPlainLabels(const QWidget &root, const QString &where) {
    const QList<QLabel *> labels = root.findChildren<QLabel *>();
    EXPECT_FALSE(labels.isEmpty()) << where.toStdString();
    for (const QLabel *label : labels) {
        if (RichLabelsAllowed.contains(label->objectName()))
            continue;
        EXPECT_EQ(label->textFormat(), Qt::PlainText)
            << where.toStdString() << ": label '" << label->objectName().toStdString()
            << "' showing '" << label->text().toStdString() << "'";
    }
}

using PlainTextTest = ShellFixture;

TEST_F(PlainTextTest, EveryLabelOfTheWindowsAndDialogsIsPlainText) {
    // (The Statistic Parameters dialog has no labels: group boxes and radio buttons only.)
    // A data source whose table name is markup, so the tree build puts it into the status bar.
    const std::string connect = "DRIVER={SQLite3};DATABASE=" + MakeTempDir() + "/markup.db;";
    ExecuteSql(connect, {"CREATE TABLE \"x<img src=/nonexistent/brindle.png>\" (id INTEGER)"});

    ASSERT_TRUE(Start());
    Frame().show();
    ExpectPlainLabels(Frame(), "main window");

    prompts_->dataSourceAnswers.push_back(connect);
    ASSERT_TRUE(Frame().SendCommand(ID_FILE_NEW));
    CChildFrame *frame = Frame().ActiveChildFrame();
    ASSERT_NE(frame, nullptr);
    CDBListView *grid = frame->ListView();
    grid->SetColumns({"ID"}, QStringLiteral("Rows:"));
    grid->SetCellText(0, 0, "1");

    // Modal dialogs reached through their commands: checked while they run.
    prompts_->onExec = [](QDialog &dialog) {
        ExpectPlainLabels(dialog, dialog.metaObject()->className());
        return int(QDialog::Rejected);
    };
    for (int id : {ID_SETTINGS, ID_APP_ABOUT, ID_PASTE_SYNTAX, ID_DEPLOY}) {
        const int before = prompts_->execCount;
        ASSERT_TRUE(Frame().SendCommand(id)) << id;
        EXPECT_EQ(prompts_->execCount, before + 1) << id;
    }

    // The console's Find, then the grid's: modeless, owned by the connection window.
    ASSERT_TRUE(Frame().SendCommand(ID_EDIT_FIND));
    for (int step = 0; step < 3 && frame->ActiveViewWidget() != grid; ++step)
        Frame().SendCommand(ID_NEXT_PANE);
    ASSERT_TRUE(Frame().SendCommand(ID_EDIT_FIND));
    ASSERT_NE(grid->OpenFindDialog(), nullptr);
    ExpectPlainLabels(Frame(), "connection window with its Find dialogs");

    ExpectPlainLabels(CDataSourceDialog(), "data-source dialog");
    ExpectPlainLabels(CLoginDialog(nullptr, "<b>db</b>", "<img src=/dev/zero>", "<i>u</i>"),
                      "login dialog");

    bool boxSeen = false;
    QTimer::singleShot(0, [&boxSeen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        boxSeen = true;
        ExpectPlainLabels(*box, "message box");
        box->accept();
    });
    DialogPrompts().Message(nullptr, "<img src=/dev/zero>", UserPrompts::Icon::Exclamation);
    EXPECT_TRUE(boxSeen);
}

} // namespace
