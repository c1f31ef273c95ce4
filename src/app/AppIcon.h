#pragma once

#include <QIcon>
#include <QString>

// The application icon, one image per size so it stays sharp in a title bar, the
// About box and on 2x screens alike. The desktop entry installs the same images.
class AppIcon {
public:
    static QIcon Icon();
    // The resource path of the image drawn for `size` pixels (16, 32, 48, 64, 128, 256).
    static QString ImagePath(int size);
    static constexpr int Sizes[] = {16, 32, 48, 64, 128, 256};
};
