#include "app/CChildFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QSplitter>

#include "app/CBrindleApp.h"
#include "connection/CBrindleDoc.h"

namespace {
QWidget *MakePane(const char *name, QWidget *parent) {
    auto *pane = new QFrame(parent);
    pane->setObjectName(QString::fromLatin1(name));
    pane->setFrameShape(QFrame::StyledPanel);
    return pane;
}
} // namespace

CChildFrame::CChildFrame(CBrindleDoc &doc, QWidget *parent) : QMdiSubWindow(parent), m_doc(doc) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon(QStringLiteral(":/icons/brindle.png")));
    m_outer = new QSplitter(Qt::Vertical, this);
    m_outer->setObjectName(QStringLiteral("outerSplitter"));
    m_inner = new QSplitter(Qt::Horizontal, m_outer);
    m_inner->setObjectName(QStringLiteral("innerSplitter"));
    m_inner->addWidget(MakePane("treePane", m_inner));
    m_inner->addWidget(MakePane("listPane", m_inner));
    m_outer->addWidget(m_inner);
    m_outer->addWidget(MakePane("consolePane", m_outer));
    // Row 0 ideally 200 pixels high, column 0 200 pixels wide; both may shrink to 0.
    m_outer->setSizes({200, InitialHeight - 200});
    m_inner->setSizes({200, InitialWidth - 200});
    m_outer->setCollapsible(0, true);
    setWidget(m_outer);
    resize(InitialWidth, InitialHeight);
    doc.SetFrame(this);
}

CChildFrame::~CChildFrame() = default;

CommandTarget *CChildFrame::ActiveView() const {
    for (QWidget *widget = QApplication::focusWidget(); widget; widget = widget->parentWidget()) {
        if (widget == this)
            break;
        if (auto *target = dynamic_cast<CommandTarget *>(widget))
            return target;
    }
    return nullptr;
}

bool CChildFrame::UpdateCommand(int, CommandState &) { return false; }

bool CChildFrame::RunCommand(int) { return false; }

void CChildFrame::closeEvent(QCloseEvent *event) {
    if (m_closing) {
        event->accept();
        return;
    }
    m_closing = true;
    if (CBrindleApp *app = CBrindleApp::Instance())
        app->CloseDocument(&m_doc);
    QMdiSubWindow::closeEvent(event);
}
