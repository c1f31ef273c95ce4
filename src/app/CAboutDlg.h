#pragma once

#include <cstdint>
#include <optional>

#include <QDialog>

// The About box: title and version, physical memory and free disk space.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    // This program's title and version.
    explicit CAboutDlg(QWidget *parent = nullptr);
    // `version` holds the major number in its high byte and the minor number in its low byte.
    CAboutDlg(const QString &appTitle, uint16_t version, QWidget *parent = nullptr);

    static QString CaptionText(const QString &appTitle);
    static QString VersionLineText(const QString &appTitle, uint16_t version);
    static QString MemoryText(uint64_t bytes);
    static QString FreeDiskText(std::optional<uint64_t> freeBytes);
};
