#include "app/CCaptionBar.h"

#include <QPainter>

CCaptionBar::CCaptionBar(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("captionBar"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void CCaptionBar::SetText(const QString &text) {
    m_text = text;
    update();
}

QSize CCaptionBar::sizeHint() const { return QSize(100, fontMetrics().height() + 6); }

void CCaptionBar::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QRect r = rect();
    const QPalette &colours = palette();
    painter.fillRect(r, colours.color(QPalette::Button));
    painter.setPen(colours.color(QPalette::ButtonText));
    // Caption texts come from the data source: drawn as plain text, one line.
    painter.drawText(r.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                     fontMetrics().elidedText(m_text, Qt::ElideRight, r.width() - 8));
    // Raised edge: dark shadow at the bottom, shadow above it, highlight top and left.
    painter.setPen(colours.color(QPalette::Shadow));
    painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    painter.setPen(colours.color(QPalette::Dark));
    painter.drawLine(r.left(), r.bottom() - 1, r.right(), r.bottom() - 1);
    painter.setPen(colours.color(QPalette::Light));
    painter.drawLine(r.left(), r.top(), r.right(), r.top());
    painter.drawLine(r.left(), r.top(), r.left(), r.bottom() - 1);
}
