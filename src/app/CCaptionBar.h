#pragma once

#include <QWidget>

// The bar across the top of an inner frame showing its caption, drawn with a
// raised edge.
class CCaptionBar : public QWidget {
    Q_OBJECT
public:
    explicit CCaptionBar(QWidget *parent = nullptr);
    void SetText(const QString &text);
    QString Text() const { return m_text; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
};
