#include "app/CAboutDlg.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QLabel>

#include "app/AppIcon.h"
#include "app/CBrindleApp.h"
#include "app/SystemInfo.h"

CAboutDlg::CAboutDlg(QWidget *parent)
    : CAboutDlg(CBrindleApp::Title(), CBrindleApp::Version, parent) {}

CAboutDlg::CAboutDlg(const QString &appTitle, uint16_t version, QWidget *parent) : QDialog(parent) {
    setWindowTitle(CaptionText(appTitle));

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setTextFormat(Qt::PlainText);
    icon->setPixmap(AppIcon::Icon().pixmap(QSize(32, 32), devicePixelRatioF()));

    const auto makeLabel = [this](const char *name, const QString &text) {
        auto *label = new QLabel(text, this);
        label->setObjectName(QLatin1String(name));
        label->setTextFormat(Qt::PlainText);
        return label;
    };
    QLabel *versionLine = makeLabel("version", VersionLineText(appTitle, version));
    QLabel *memory = makeLabel("memory", MemoryText(SystemInfo::PhysicalMemoryBytes()));
    QLabel *disk = makeLabel("disk", FreeDiskText(SystemInfo::FreeDiskBytes(QDir::currentPath())));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(versionLine, 0, 1, 1, 2);
    layout->addWidget(makeLabel("memoryCaption", tr("Physical Memory:")), 2, 1);
    layout->addWidget(memory, 2, 2);
    layout->addWidget(makeLabel("diskCaption", tr("Disk Space:")), 3, 1);
    layout->addWidget(disk, 3, 2);
    layout->addWidget(buttons, 4, 0, 1, 3);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString CAboutDlg::CaptionText(const QString &appTitle) { return tr("About %1").arg(appTitle); }

QString CAboutDlg::VersionLineText(const QString &appTitle, uint16_t version) {
    return QStringLiteral("%1, Version %2.%3").arg(appTitle).arg(version >> 8).arg(version & 0xFF);
}

// Counted in 64 bits: memory and disks beyond 4 GB are the rule, not the exception.
QString CAboutDlg::MemoryText(uint64_t bytes) { return QStringLiteral("%1 KB").arg(bytes / 1024); }

QString CAboutDlg::FreeDiskText(std::optional<uint64_t> freeBytes) {
    if (!freeBytes)
        return tr("Unavailable");
    return QStringLiteral("%1 KB Free").arg(*freeBytes / 1024);
}
