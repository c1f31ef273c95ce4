#include "app/CSubFrame.h"

#include <QVBoxLayout>

#include "app/CCaptionBar.h"

CSubFrame::CSubFrame(QWidget *parent) : QWidget(parent) {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_captionBar = new CCaptionBar(this);
    layout->addWidget(m_captionBar);
}

void CSubFrame::SetView(QWidget *view) {
    delete m_view;
    m_view = view;
    view->setParent(this);
    static_cast<QVBoxLayout *>(layout())->addWidget(view, 1);
    setFocusProxy(view);
}

void CSubFrame::SetCaption(const QString &caption) {
    m_caption = caption;
    m_captionBar->SetText(caption);
}

void CSubFrame::ToggleCaptionBar() {
    m_captionShown = !m_captionShown;
    m_captionBar->setVisible(m_captionShown);
}
