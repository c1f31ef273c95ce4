#include "framework/ResourceIcon.h"

#include <QFile>

QIcon ResourceIcon::Load(const QString &path) {
    QIcon icon;
    icon.addFile(path, QSize(16, 16));
    const QString twin = TwinPath(path);
    if (QFile::exists(twin))
        icon.addFile(twin, QSize(32, 32));
    return icon;
}

QString ResourceIcon::TwinPath(const QString &path) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot <= path.lastIndexOf(QLatin1Char('/')))
        return path + QStringLiteral("@2x");
    return path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
}
