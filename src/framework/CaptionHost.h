#pragma once

#include <QString>
#include <QWidget>

// A frame whose caption bar shows the caption of the view inside it.
class CaptionHost {
public:
    virtual ~CaptionHost() = default;
    virtual void SetCaption(const QString &caption) = 0;

    // The nearest host above `view`, or nullptr while it has none.
    static CaptionHost *Above(const QWidget *view) {
        for (QWidget *widget = view->parentWidget(); widget; widget = widget->parentWidget())
            if (auto *host = dynamic_cast<CaptionHost *>(widget))
                return host;
        return nullptr;
    }
};
