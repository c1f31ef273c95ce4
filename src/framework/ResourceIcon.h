#pragma once

#include <QIcon>
#include <QString>

// A 16x16 toolbar or tree image with its 32x32 twin (name@2x.png) for 2x screens.
// Qt looks for the twin only when the primary screen is 2x; a window moved to a 2x
// screen beside a 1x one would show the small image enlarged.
class ResourceIcon {
public:
    static QIcon Load(const QString &path);
    // ":/toolbar/new.png" -> ":/toolbar/new@2x.png"
    static QString TwinPath(const QString &path);
};
