#include "app/AppIcon.h"

QIcon AppIcon::Icon() {
    QIcon icon;
    for (int size : Sizes)
        icon.addFile(ImagePath(size), QSize(size, size));
    return icon;
}

QString AppIcon::ImagePath(int size) { return QStringLiteral(":/icons/brindle-%1.png").arg(size); }
