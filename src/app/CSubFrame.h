#pragma once

#include <QWidget>

#include "framework/CaptionHost.h"

class CCaptionBar;

// An inner frame of a connection window: a caption bar above one view.
class CSubFrame : public QWidget, public CaptionHost {
    Q_OBJECT
public:
    explicit CSubFrame(QWidget *parent = nullptr);

    // Takes ownership of the view and puts it below the caption bar.
    void SetView(QWidget *view);
    QWidget *View() const { return m_view; }

    void SetCaption(const QString &caption) override;
    QString GetCaption() const { return m_caption; }
    void ToggleCaptionBar();
    bool IsCaptionBarShown() const { return m_captionShown; }
    CCaptionBar *CaptionBar() const { return m_captionBar; }

private:
    CCaptionBar *m_captionBar = nullptr;
    QWidget *m_view = nullptr;
    QString m_caption;
    bool m_captionShown = true;
};
