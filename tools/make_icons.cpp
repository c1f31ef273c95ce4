// Draws Brindle's toolbar, tree, application and splash images: the toolbar and tree
// images at 16x16 and at 32x32 for 2x screens (name@2x.png, which QIcon picks up), the
// application icon at every hicolor size and as SVG.
//
// Not part of the CMake build: the PNGs it writes are committed. To redraw them,
// from the repository root:
//   QT_FLAGS=$(pkg-config --cflags --libs Qt6Gui)
//   g++ -std=c++20 -fPIC tools/make_icons.cpp -o tools/make_icons $QT_FLAGS
//   QT_QPA_PLATFORM=offscreen tools/make_icons resources [--preview /tmp/icons.png]
// --preview also writes every 16x16 image enlarged on one sheet, for checking by eye.

#include <cmath>
#include <functional>
#include <iostream>
#include <utility>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QString>

namespace {

// One palette for everything, so the icons read as a set.
namespace color {
const QColor outline(0x2E, 0x3B, 0x4E);
const QColor paper(0xFF, 0xFF, 0xFF);
const QColor paperEdge(0x6B, 0x77, 0x85);
const QColor text(0x9A, 0xA6, 0xB4);
const QColor blue(0x3D, 0x7C, 0xC9);
const QColor blueLight(0xCF, 0xE0, 0xF5);
const QColor blueDark(0x1F, 0x4E, 0x8C);
const QColor gridLine(0x8A, 0xA6, 0xC8);
const QColor folder(0xF2, 0xC1, 0x4E);
const QColor folderFront(0xF8, 0xD9, 0x82);
const QColor folderEdge(0xA8, 0x7A, 0x12);
const QColor green(0x3B, 0x9B, 0x5A);
const QColor greenDark(0x25, 0x6B, 0x3C);
const QColor red(0xD0, 0x45, 0x3A);
const QColor redDark(0x8E, 0x25, 0x1E);
const QColor grey(0x8C, 0x96, 0xA0);
const QColor greyLight(0xE3, 0xE7, 0xEB);
const QColor greyDark(0x55, 0x5F, 0x6A);
const QColor orange(0xE8, 0x89, 0x2B);
const QColor orangeDark(0x9A, 0x52, 0x0C);
const QColor gold(0xE8, 0xB0, 0x2A);
const QColor goldDark(0x8A, 0x5F, 0x08);
const QColor steel(0x9D, 0xB4, 0xD0);
const QColor steelDark(0x3F, 0x5A, 0x7E);
const QColor teal(0x2E, 0x9C, 0x95);
const QColor tealDark(0x1C, 0x63, 0x5F);
const QColor wood(0xB0, 0x7A, 0x3B);
const QColor woodDark(0x6A, 0x44, 0x1A);
} // namespace color

using Painter = std::function<void(QPainter &)>;

// A rectangle whose 1-pixel outline lands exactly on pixel columns x..x+w-1.
QRectF Px(qreal x, qreal y, qreal w, qreal h) { return QRectF(x + 0.5, y + 0.5, w - 1, h - 1); }

QPen Pen(const QColor &c, qreal width = 1.0) {
    QPen pen(c, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

QImage Render(int width, int height, const Painter &paint) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paint(p);
    p.end();
    return image;
}

// ---- Shapes, each drawn into the rectangle it is given -------------------------------

void Page(QPainter &p, const QRectF &r, qreal fold = 4, bool lines = true,
          const QColor &lineColor = color::text) {
    QPolygonF outline;
    outline << r.topLeft() << QPointF(r.right() - fold, r.top())
            << QPointF(r.right(), r.top() + fold) << r.bottomRight() << r.bottomLeft();
    p.setPen(Pen(color::paperEdge));
    p.setBrush(color::paper);
    p.drawPolygon(outline);
    QPolygonF corner;
    corner << QPointF(r.right() - fold, r.top()) << QPointF(r.right() - fold, r.top() + fold)
           << QPointF(r.right(), r.top() + fold);
    p.setBrush(color::greyLight);
    p.drawPolygon(corner);
    if (!lines)
        return;
    p.setPen(Pen(lineColor));
    for (qreal y = r.top() + fold + 2; y < r.bottom() - 1; y += 2)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

void Folder(QPainter &p) {
    QPolygonF back;
    back << QPointF(1.5, 2.5) << QPointF(6, 2.5) << QPointF(7.5, 4.5) << QPointF(14.5, 4.5)
         << QPointF(14.5, 13.5) << QPointF(1.5, 13.5);
    p.setPen(Pen(color::folderEdge));
    p.setBrush(color::folder);
    p.drawPolygon(back);
    p.setPen(Qt::NoPen);
    p.setBrush(color::folderFront);
    p.drawRect(QRectF(2, 6, 12, 7));
    p.setPen(Pen(color::folderEdge));
    p.drawLine(QPointF(1.5, 5.5), QPointF(14.5, 5.5));
}

void OpenFolder(QPainter &p) {
    QPolygonF back;
    back << QPointF(0.5, 2.5) << QPointF(5, 2.5) << QPointF(6.5, 4.5) << QPointF(12.5, 4.5)
         << QPointF(12.5, 13.5) << QPointF(0.5, 13.5);
    p.setPen(Pen(color::folderEdge));
    p.setBrush(color::folder);
    p.drawPolygon(back);
    QPolygonF front;
    front << QPointF(3.5, 7.5) << QPointF(15.5, 7.5) << QPointF(12.5, 13.5) << QPointF(0.5, 13.5);
    p.setBrush(color::folderFront);
    p.drawPolygon(front);
}

void Grid(QPainter &p, const QRectF &r, const QColor &header, const QColor &line, int columns = 3,
          int rows = 3, qreal headerHeight = 3) {
    p.setPen(Qt::NoPen);
    p.setBrush(color::paper);
    p.drawRect(r);
    p.setBrush(header);
    p.drawRect(QRectF(r.left(), r.top(), r.width(), headerHeight));
    p.setPen(Pen(line));
    qreal body = r.top() + headerHeight;
    qreal rowHeight = (r.bottom() - body) / rows;
    for (int i = 1; i < rows; ++i) {
        qreal y = std::floor(body + i * rowHeight) + 0.5;
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    }
    qreal columnWidth = r.width() / columns;
    for (int i = 1; i < columns; ++i) {
        qreal x = std::floor(r.left() + i * columnWidth) + 0.5;
        p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(Pen(header.darker(150)));
    p.drawRect(r);
}

void Cylinder(QPainter &p, const QRectF &r, const QColor &body, qreal capHeight) {
    QColor dark = body.darker(160);
    QLinearGradient shade(r.topLeft(), r.topRight());
    shade.setColorAt(0, body.lighter(125));
    shade.setColorAt(0.45, body.lighter(145));
    shade.setColorAt(1, body.darker(125));
    qreal half = capHeight / 2;
    QPainterPath side;
    side.moveTo(r.left(), r.top() + half);
    side.lineTo(r.left(), r.bottom() - half);
    side.arcTo(QRectF(r.left(), r.bottom() - capHeight, r.width(), capHeight), 180, 180);
    side.lineTo(r.right(), r.top() + half);
    side.closeSubpath();
    p.setPen(Pen(dark));
    p.setBrush(shade);
    p.drawPath(side);
    // Bands between the stacked discs.
    p.setBrush(Qt::NoBrush);
    for (int band = 1; band <= 2; ++band) {
        qreal y = r.top() + half + (r.height() - capHeight) * band / 3.0;
        QPainterPath arc;
        arc.moveTo(r.left(), y);
        arc.arcTo(QRectF(r.left(), y - half, r.width(), capHeight), 180, 180);
        p.drawPath(arc);
    }
    p.setBrush(body.lighter(170));
    p.drawEllipse(QRectF(r.left(), r.top(), r.width(), capHeight));
}

// A light rim that lifts a small badge off the folder behind it.
void Halo(QPainter &p, const QPainterPath &shape) {
    p.strokePath(shape,
                 QPen(QColor(255, 255, 255, 235), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void Key(QPainter &p, const QRectF &r, const QColor &body, const QColor &edge, bool halo = false) {
    // Bow on the left, blade to the right with two bits below it.
    qreal s = r.height() / 16.0;
    auto at = [&](qreal x, qreal y) { return QPointF(r.left() + x * s, r.top() + y * s); };
    QPainterPath key;
    key.addEllipse(QRectF(at(0.5, 4), at(8.5, 12)));
    QPainterPath blade;
    blade.moveTo(at(7, 6.8));
    blade.lineTo(at(15.5, 6.8));
    blade.lineTo(at(15.5, 11.5));
    blade.lineTo(at(13.5, 11.5));
    blade.lineTo(at(13.5, 9.6));
    blade.lineTo(at(12.2, 9.6));
    blade.lineTo(at(12.2, 11));
    blade.lineTo(at(10.2, 11));
    blade.lineTo(at(10.2, 9.6));
    blade.lineTo(at(7, 9.6));
    blade.closeSubpath();
    key = key.united(blade);
    QPainterPath hole;
    hole.addEllipse(QRectF(at(2.5, 6.8), at(5, 9.3)));
    key = key.subtracted(hole);
    if (halo)
        Halo(p, key);
    p.setPen(Pen(edge, std::max(1.0, s)));
    p.setBrush(body);
    p.drawPath(key);
}

void Gear(QPainter &p, const QPointF &c, qreal outer, const QColor &body, const QColor &edge,
          int teeth = 8, bool halo = false) {
    qreal inner = outer * 0.72;
    QPainterPath gear;
    int points = teeth * 4;
    for (int i = 0; i < points; ++i) {
        qreal angle = (i - 0.5) * 2 * M_PI / points;
        qreal radius = (i % 4 == 0 || i % 4 == 1) ? outer : inner;
        QPointF point(c.x() + radius * std::cos(angle), c.y() + radius * std::sin(angle));
        if (i == 0)
            gear.moveTo(point);
        else
            gear.lineTo(point);
    }
    gear.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(c, outer * 0.3, outer * 0.3);
    gear = gear.subtracted(hole);
    if (halo)
        Halo(p, gear);
    p.setPen(Pen(edge));
    p.setBrush(body);
    p.drawPath(gear);
}

void Bar(QPainter &p, const QRectF &r, const QColor &body, const QColor &edge) {
    p.setPen(Pen(edge));
    p.setBrush(body);
    p.drawRoundedRect(r, 1.5, 1.5);
    p.setPen(Pen(body.lighter(170)));
    qreal y = std::floor(r.center().y()) + 0.5;
    p.drawLine(QPointF(r.left() + 2.5, y), QPointF(r.right() - 2.5, y));
}

void Eye(QPainter &p, const QRectF &r) {
    QPainterPath almond;
    almond.moveTo(r.left(), r.center().y());
    almond.quadTo(r.center().x(), r.top() - r.height() * 0.45, r.right(), r.center().y());
    almond.quadTo(r.center().x(), r.bottom() + r.height() * 0.45, r.left(), r.center().y());
    p.setPen(Pen(color::outline));
    p.setBrush(color::paper);
    p.drawPath(almond);
    qreal iris = r.height() * 0.42;
    p.setPen(Qt::NoPen);
    p.setBrush(color::green);
    p.drawEllipse(r.center(), iris, iris);
    p.setBrush(color::outline);
    p.drawEllipse(r.center(), iris * 0.45, iris * 0.45);
}

// A thick arrow from `from` to `to` with a triangular head.
void Arrow(QPainter &p, QPointF from, QPointF to, const QColor &body, const QColor &edge,
           qreal shaft = 2.2, qreal head = 3.2) {
    QLineF line(from, to);
    qreal length = line.length();
    QPointF unit = (to - from) / length;
    QPointF normal(-unit.y(), unit.x());
    QPointF neck = to - unit * head * 1.1;
    QPolygonF shape;
    shape << from + normal * shaft / 2 << neck + normal * shaft / 2 << neck + normal * head << to
          << neck - normal * head << neck - normal * shaft / 2 << from - normal * shaft / 2;
    p.setPen(Pen(edge));
    p.setBrush(body);
    p.drawPolygon(shape);
}

void Sparkle(QPainter &p, QPointF c, qreal r, const QColor &body, const QColor &edge) {
    QPolygonF star;
    for (int i = 0; i < 8; ++i) {
        qreal angle = i * M_PI / 4 - M_PI / 2;
        qreal radius = (i % 2 == 0) ? r : r * 0.35;
        star << QPointF(c.x() + radius * std::cos(angle), c.y() + radius * std::sin(angle));
    }
    p.setPen(Pen(edge));
    p.setBrush(body);
    p.drawPolygon(star);
}

void Floppy(QPainter &p, const QRectF &r) {
    qreal s = r.width() / 14.0;
    auto box = [&](qreal x, qreal y, qreal w, qreal h) {
        return QRectF(r.left() + x * s, r.top() + y * s, w * s, h * s);
    };
    QPainterPath body;
    body.moveTo(r.topLeft());
    body.lineTo(r.right() - 2 * s, r.top());
    body.lineTo(r.right(), r.top() + 2 * s);
    body.lineTo(r.bottomRight());
    body.lineTo(r.bottomLeft());
    body.closeSubpath();
    p.setPen(Pen(color::blueDark));
    p.setBrush(color::blue);
    p.drawPath(body);
    p.setPen(Pen(color::paperEdge));
    p.setBrush(color::paper);
    p.drawRect(box(2.5, 0, 8, 5.5));
    p.setPen(Qt::NoPen);
    p.setBrush(color::greyLight);
    p.drawRect(box(3.5, 8.5, 7, 5.5));
    p.setBrush(color::blueDark);
    p.drawRect(box(7.5, 9.5, 2, 3.5));
}

void MiniGrid(QPainter &p, const QColor &header) {
    Grid(p, Px(7, 7, 9, 9), header, color::gridLine, 2, 2, 3);
}

// ---- Toolbar --------------------------------------------------------------------------

std::vector<std::pair<QString, Painter>> ToolbarIcons() {
    return {
        {"new",
         [](QPainter &p) {
             Page(p, Px(3, 1, 11, 15), 4, false);
             Sparkle(p, QPointF(4.5, 4.5), 4.2, color::gold, color::goldDark);
         }},
        {"open", [](QPainter &p) { OpenFolder(p); }},
        {"save", [](QPainter &p) { Floppy(p, QRectF(1.5, 1.5, 13, 13)); }},
        {"runscript",
         [](QPainter &p) {
             Page(p, Px(1, 1, 11, 14), 3, true, color::blue);
             QPolygonF play;
             play << QPointF(8.5, 7.5) << QPointF(15.5, 11.5) << QPointF(8.5, 15.5);
             p.setPen(Pen(color::greenDark));
             p.setBrush(color::green);
             p.drawPolygon(play);
         }},
        {"opensql",
         [](QPainter &p) {
             Page(p, Px(5, 0, 9, 11), 3, true, color::blue);
             QPolygonF back;
             back << QPointF(0.5, 5.5) << QPointF(4, 5.5) << QPointF(5.5, 7) << QPointF(12.5, 7)
                  << QPointF(12.5, 15.5) << QPointF(0.5, 15.5);
             QPolygonF front;
             front << QPointF(3.5, 9.5) << QPointF(15.5, 9.5) << QPointF(12.5, 15.5)
                   << QPointF(0.5, 15.5);
             p.setPen(Pen(color::folderEdge));
             p.setBrush(color::folder);
             p.drawPolygon(back);
             p.setBrush(color::folderFront);
             p.drawPolygon(front);
         }},
        {"savesql",
         [](QPainter &p) {
             Page(p, Px(1, 0, 11, 14), 3, true, color::blue);
             Floppy(p, QRectF(7.5, 7.5, 8, 8));
         }},
        {"exportall",
         [](QPainter &p) {
             Grid(p, Px(0, 1, 11, 13), color::blue, color::gridLine, 2, 3, 3);
             Arrow(p, QPointF(6, 10.5), QPointF(15.5, 10.5), color::green, color::greenDark, 3,
                   3.6);
         }},
        {"deploy",
         [](QPainter &p) {
             QRectF globe(1.5, 4.5, 11, 11);
             p.setPen(Pen(color::blueDark));
             QRadialGradient sea(QPointF(5, 7), 10);
             sea.setColorAt(0, color::blueLight);
             sea.setColorAt(1, color::blue);
             p.setBrush(sea);
             p.drawEllipse(globe);
             p.setBrush(Qt::NoBrush);
             p.setPen(Pen(color::blueDark, 0.8));
             p.drawEllipse(QRectF(4.5, 4.5, 5, 11));
             p.drawLine(QPointF(1.5, 10), QPointF(12.5, 10));
             p.drawLine(QPointF(7, 4.5), QPointF(7, 15.5));
             Arrow(p, QPointF(12.5, 9), QPointF(12.5, 0.5), color::green, color::greenDark, 2.6,
                   3.2);
         }},
        {"cut",
         [](QPainter &p) {
             p.setPen(Pen(color::greyDark, 1.6));
             p.drawLine(QPointF(4.5, 0.8), QPointF(10.3, 10));
             p.drawLine(QPointF(11.5, 0.8), QPointF(5.7, 10));
             p.setPen(Pen(color::red.darker(130), 1.8));
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(QPointF(4.5, 12.2), 2.5, 2.5);
             p.drawEllipse(QPointF(11.5, 12.2), 2.5, 2.5);
             p.setPen(Qt::NoPen);
             p.setBrush(color::outline);
             p.drawEllipse(QPointF(8, 6.7), 0.9, 0.9);
         }},
        {"copy",
         [](QPainter &p) {
             Page(p, Px(1, 0, 9, 12), 3);
             Page(p, Px(6, 4, 9, 12), 3);
         }},
        {"paste",
         [](QPainter &p) {
             p.setPen(Pen(color::woodDark));
             p.setBrush(color::wood);
             p.drawRoundedRect(Px(1, 2, 11, 14), 1.5, 1.5);
             p.setPen(Pen(color::greyDark));
             p.setBrush(color::greyLight);
             p.drawRoundedRect(Px(4, 0, 5, 4), 1, 1);
             Page(p, Px(6, 6, 10, 10), 3);
         }},
        {"pastesyntax",
         [](QPainter &p) {
             // The Syntax Dictionary: a book with a bookmark.
             p.setPen(Pen(color::paperEdge));
             p.setBrush(color::paper);
             p.drawRect(Px(4, 2, 11, 14));
             p.setPen(Pen(color::blueDark));
             p.setBrush(color::blue);
             p.drawRoundedRect(Px(2, 0, 12, 14), 1, 1);
             p.setPen(Pen(color::blueDark.darker(120)));
             p.drawLine(QPointF(4.5, 0.5), QPointF(4.5, 13.5));
             p.setPen(Pen(color::blueLight));
             p.drawLine(QPointF(7, 4.5), QPointF(11.5, 4.5));
             p.drawLine(QPointF(7, 6.5), QPointF(10, 6.5));
             QPolygonF ribbon;
             ribbon << QPointF(10, 10) << QPointF(13, 10) << QPointF(13, 16) << QPointF(11.5, 14.5)
                    << QPointF(10, 16);
             p.setPen(Pen(color::redDark));
             p.setBrush(color::red);
             p.drawPolygon(ribbon);
         }},
        {"undo",
         [](QPainter &p) {
             QPainterPath path;
             path.moveTo(13, 14);
             path.cubicTo(16.5, 8.5, 12, 4.5, 5.5, 5.5);
             p.setPen(Pen(color::blueDark, 3.2));
             p.setBrush(Qt::NoBrush);
             p.drawPath(path);
             p.setPen(Pen(color::blue, 1.6));
             p.drawPath(path);
             QPolygonF head;
             head << QPointF(0.5, 5.5) << QPointF(7, 0.8) << QPointF(7, 10.2);
             p.setPen(Pen(color::blueDark));
             p.setBrush(color::blue);
             p.drawPolygon(head);
         }},
        {"find",
         [](QPainter &p) {
             p.setPen(Pen(color::woodDark, 3.4));
             p.drawLine(QPointF(10, 10), QPointF(14.3, 14.3));
             p.setPen(Pen(color::wood, 1.6));
             p.drawLine(QPointF(10.5, 10.5), QPointF(14, 14));
             QRadialGradient glass(QPointF(5, 5), 6);
             glass.setColorAt(0, color::paper);
             glass.setColorAt(1, color::blueLight);
             p.setPen(Pen(color::greyDark, 1.6));
             p.setBrush(glass);
             p.drawEllipse(QPointF(6.5, 6.5), 5, 5);
         }},
        {"spool",
         [](QPainter &p) {
             // A reel paying out paper.
             QPolygonF tape;
             tape << QPointF(7, 11) << QPointF(15.5, 11) << QPointF(15.5, 15.5) << QPointF(7, 15.5);
             p.setPen(Pen(color::paperEdge));
             p.setBrush(color::paper);
             p.drawPolygon(tape);
             p.setPen(Pen(color::text));
             p.drawLine(QPointF(10, 13.5), QPointF(14, 13.5));
             p.setPen(Pen(color::steelDark));
             p.setBrush(color::steel);
             p.drawEllipse(QPointF(7, 7.5), 6.5, 6.5);
             p.setBrush(color::paper);
             for (int i = 0; i < 3; ++i) {
                 qreal angle = i * 2 * M_PI / 3 - M_PI / 2;
                 p.drawEllipse(QPointF(7 + 3.3 * std::cos(angle), 7.5 + 3.3 * std::sin(angle)), 1.4,
                               1.4);
             }
             p.setBrush(color::steelDark);
             p.drawEllipse(QPointF(7, 7.5), 1, 1);
             p.setPen(Pen(color::redDark));
             p.setBrush(color::red);
             p.drawEllipse(QPointF(13, 3), 2.4, 2.4);
         }},
        {"showgrid",
         [](QPainter &p) {
             p.setPen(Qt::NoPen);
             p.setBrush(color::paper);
             p.drawRect(Px(1, 1, 14, 14));
             p.setPen(Pen(color::blue));
             for (qreal v : {5.5, 10.5}) {
                 p.drawLine(QPointF(v, 1.5), QPointF(v, 14.5));
                 p.drawLine(QPointF(1.5, v), QPointF(14.5, v));
             }
             p.setPen(Pen(color::blueDark));
             p.setBrush(Qt::NoBrush);
             p.drawRect(Px(1, 1, 14, 14));
         }},
        {"autoformat",
         [](QPainter &p) {
             p.setPen(Pen(color::blueDark));
             p.setBrush(color::blueLight);
             p.drawRect(Px(0, 1, 16, 5));
             p.drawLine(QPointF(5.5, 1.5), QPointF(5.5, 5.5));
             p.drawLine(QPointF(10.5, 1.5), QPointF(10.5, 5.5));
             p.setPen(Pen(color::text));
             p.drawLine(QPointF(5.5, 6), QPointF(5.5, 15.5));
             p.drawLine(QPointF(10.5, 6), QPointF(10.5, 15.5));
             Arrow(p, QPointF(8, 11), QPointF(15.5, 11), color::green, color::greenDark, 2, 3);
             Arrow(p, QPointF(8, 11), QPointF(0.5, 11), color::green, color::greenDark, 2, 3);
         }},
        {"settings",
         [](QPainter &p) { Gear(p, QPointF(8, 8), 7.4, color::grey, color::greyDark); }},
        {"querywizard",
         [](QPainter &p) {
             p.setPen(Pen(color::outline, 2.6));
             p.drawLine(QPointF(1.8, 14.2), QPointF(9.5, 6.5));
             p.setPen(Pen(color::paper, 2.6));
             p.drawLine(QPointF(8.2, 7.8), QPointF(10, 6));
             Sparkle(p, QPointF(12, 4), 3.8, color::gold, color::goldDark);
             Sparkle(p, QPointF(5.5, 3), 2.3, color::gold, color::goldDark);
             Sparkle(p, QPointF(13.2, 11), 2.3, color::gold, color::goldDark);
         }},
        {"refresh",
         [](QPainter &p) {
             QRectF ring(2.5, 2.5, 11, 11);
             p.setBrush(Qt::NoBrush);
             for (int half = 0; half < 2; ++half) {
                 int start = half * 180 + 20;
                 p.setPen(Pen(color::greenDark, 3.2));
                 p.drawArc(ring, start * 16, 120 * 16);
                 p.setPen(Pen(color::green, 1.6));
                 p.drawArc(ring, start * 16, 120 * 16);
                 // Head at the end of the arc, pointing along it (counter-clockwise).
                 qreal end = (start + 120) * M_PI / 180;
                 QPointF tip(8 + 5.5 * std::cos(end), 8 - 5.5 * std::sin(end));
                 QPointF along(-std::sin(end), -std::cos(end));
                 QPointF across(std::cos(end), -std::sin(end));
                 QPolygonF head;
                 head << tip + along * 3.2 << tip + across * 2.8 << tip - across * 2.8;
                 p.setPen(Pen(color::greenDark));
                 p.setBrush(color::green);
                 p.drawPolygon(head);
                 p.setBrush(Qt::NoBrush);
             }
         }},
        {"cancel",
         [](QPainter &p) {
             // A stop sign: a red octagon with a white bar.
             QPolygonF sign;
             for (int corner = 0; corner < 8; ++corner) {
                 const qreal angle = (corner * 45 + 22.5) * M_PI / 180;
                 sign << QPointF(8 + 7.3 * std::cos(angle), 8 + 7.3 * std::sin(angle));
             }
             p.setPen(Pen(color::redDark));
             p.setBrush(color::red);
             p.drawPolygon(sign);
             p.setPen(Qt::NoPen);
             p.setBrush(color::paper);
             p.drawRect(QRectF(3.5, 6.8, 9, 2.4));
         }},
        {"print",
         [](QPainter &p) {
             p.setPen(Pen(color::paperEdge));
             p.setBrush(color::paper);
             p.drawRect(Px(4, 0, 8, 6));
             p.setPen(Pen(color::greyDark));
             p.setBrush(color::grey);
             p.drawRoundedRect(Px(0, 5, 16, 8), 1.5, 1.5);
             p.setPen(Pen(color::paperEdge));
             p.setBrush(color::paper);
             p.drawRect(Px(3, 10, 10, 6));
             p.setPen(Pen(color::text));
             p.drawLine(QPointF(5, 12.5), QPointF(11, 12.5));
             p.drawLine(QPointF(5, 14.5), QPointF(9, 14.5));
             p.setPen(Qt::NoPen);
             p.setBrush(color::green.lighter(130));
             p.drawEllipse(QPointF(13, 7.8), 1, 1);
         }},
        {"about",
         [](QPainter &p) {
             p.setPen(Pen(color::blueDark));
             QRadialGradient fill(QPointF(6, 5), 10);
             fill.setColorAt(0, color::blue.lighter(130));
             fill.setColorAt(1, color::blue);
             p.setBrush(fill);
             p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
             p.setPen(Qt::NoPen);
             p.setBrush(color::paper);
             p.drawEllipse(QPointF(8, 4.6), 1.4, 1.4);
             p.drawRoundedRect(QRectF(6.8, 7, 2.4, 6), 0.6, 0.6);
         }},
        {"contexthelp",
         [](QPainter &p) {
             QPolygonF cursor;
             cursor << QPointF(1.5, 1.5) << QPointF(1.5, 12.5) << QPointF(4.2, 10)
                    << QPointF(6.2, 14.5) << QPointF(7.8, 13.8) << QPointF(5.9, 9.4)
                    << QPointF(9.3, 9.4);
             p.setPen(Pen(color::outline));
             p.setBrush(color::paper);
             p.drawPolygon(cursor);
             QFont font("DejaVu Sans");
             font.setBold(true);
             font.setPixelSize(11);
             p.setFont(font);
             p.setPen(color::blue);
             p.drawText(QRectF(8, 0, 8, 12), Qt::AlignCenter, "?");
         }},
        {"exit",
         [](QPainter &p) {
             p.setPen(Pen(color::woodDark));
             p.setBrush(color::outline);
             p.drawRect(Px(2, 0, 9, 16));
             QPolygonF door;
             door << QPointF(2.5, 0.5) << QPointF(7.5, 2) << QPointF(7.5, 15.5)
                  << QPointF(2.5, 15.5);
             p.setBrush(color::wood);
             p.drawPolygon(door);
             p.setPen(Qt::NoPen);
             p.setBrush(color::gold);
             p.drawEllipse(QPointF(6.2, 8.5), 0.9, 0.9);
             Arrow(p, QPointF(8, 8), QPointF(15.5, 8), color::red, color::redDark, 2.6, 3.4);
         }},
    };
}

// ---- Catalog tree: image i is the picture of node kind i -----------------------------

std::vector<Painter> TreeIcons() {
    auto folderWith = [](Painter badge) {
        return [badge](QPainter &p) {
            Folder(p);
            badge(p); // what the folder holds, in its bottom-right corner
        };
    };
    auto table = [](const QColor &header) {
        return
            [header](QPainter &p) { Grid(p, Px(1, 2, 14, 12), header, color::gridLine, 3, 3, 3); };
    };
    Painter key = [](QPainter &p) { Key(p, QRectF(0, 0, 16, 16), color::gold, color::goldDark); };
    Painter foreignKey = [](QPainter &p) {
        Key(p, QRectF(0, 0, 16, 16), color::steel, color::steelDark);
    };
    Painter field = [](QPainter &p) { Bar(p, Px(1, 5, 14, 6), color::blue, color::blueDark); };
    Painter parameter = [](QPainter &p) {
        Bar(p, Px(1, 5, 14, 6), color::orange, color::orangeDark);
    };
    Painter procedure = [](QPainter &p) {
        Gear(p, QPointF(8, 8), 7.4, color::orange, color::orangeDark);
    };
    Painter shortcut = [](QPainter &p) {
        p.setPen(Pen(color::outline));
        p.setBrush(color::paper);
        p.drawRect(Px(0, 8, 8, 8));
        QPainterPath bend;
        bend.moveTo(2.5, 14.5);
        bend.quadTo(2.5, 10.5, 5.5, 10.5);
        p.setPen(Pen(color::blueDark, 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawPath(bend);
        QPolygonF head;
        head << QPointF(7.3, 10.5) << QPointF(5, 8.6) << QPointF(5, 12.4);
        p.setPen(Qt::NoPen);
        p.setBrush(color::blueDark);
        p.drawPolygon(head);
    };

    return {
        // 0 data source
        [](QPainter &p) { Cylinder(p, QRectF(2.5, 0.5, 11, 15), color::blue, 4); },
        // 1 never used
        [](QPainter &) {},
        // 2 table, 3 Tables folder
        table(color::blue),
        folderWith([](QPainter &p) { MiniGrid(p, color::blue); }),
        // 4 field, 5 Fields folder
        field,
        folderWith([](QPainter &p) { Bar(p, Px(7, 10, 9, 5), color::blue, color::blueDark); }),
        // 6 system table, 7 SysTables folder
        table(color::grey),
        folderWith([](QPainter &p) { MiniGrid(p, color::grey); }),
        // 8 synonym, 9 Synonyms folder
        [table, shortcut](QPainter &p) {
            table(color::teal)(p);
            shortcut(p);
        },
        folderWith([](QPainter &p) { MiniGrid(p, color::teal); }),
        // 10 view, 11 Views folder
        [table](QPainter &p) {
            table(color::green)(p);
            Eye(p, QRectF(5.5, 9, 10, 6));
        },
        folderWith([](QPainter &p) { MiniGrid(p, color::green); }),
        // 12 primary-key column, 13 Primary Keys folder
        key,
        folderWith([](QPainter &p) {
            Key(p, QRectF(6.5, 6.5, 9.5, 9.5), color::gold, color::goldDark, true);
        }),
        // 14 foreign-key column, 15 Foreign Keys folder
        foreignKey,
        folderWith([](QPainter &p) {
            Key(p, QRectF(6.5, 6.5, 9.5, 9.5), color::steel, color::steelDark, true);
        }),
        // 16 procedure, 17 Procedures folder
        procedure,
        folderWith([](QPainter &p) {
            Gear(p, QPointF(11.5, 11.5), 4.4, color::orange, color::orangeDark, 6, true);
        }),
        // 18 procedure column, 19 Columns folder
        parameter,
        folderWith([](QPainter &p) { Bar(p, Px(7, 10, 9, 5), color::orange, color::orangeDark); }),
    };
}

// ---- Application icon and splash -------------------------------------------------------

// The application icon drawn in a 32-unit square: a database with a console prompt.
void AppIcon(QPainter &p) {
    Cylinder(p, QRectF(2.5, 1.5, 21, 27), color::blue, 7);
    QRectF console(13.5, 16.5, 18, 14);
    p.setPen(Pen(color::outline.darker(130)));
    p.setBrush(color::outline);
    p.drawRoundedRect(console, 2, 2);
    p.setPen(Pen(QColor(0x7C, 0xE0, 0x8E), 2));
    p.drawLine(QPointF(17, 20.5), QPointF(20.5, 23.5));
    p.drawLine(QPointF(20.5, 23.5), QPointF(17, 26.5));
    p.drawLine(QPointF(22.5, 26.5), QPointF(27.5, 26.5));
}

void SmallAppIcon(QPainter &p) {
    Cylinder(p, QRectF(0.5, 0.5, 11, 14), color::blue, 4);
    p.setPen(Pen(color::outline.darker(130)));
    p.setBrush(color::outline);
    p.drawRoundedRect(Px(7, 8, 9, 8), 1, 1);
    p.setPen(Pen(QColor(0x7C, 0xE0, 0x8E), 1.2));
    p.drawLine(QPointF(9.2, 10), QPointF(11.2, 12));
    p.drawLine(QPointF(11.2, 12), QPointF(9.2, 14));
    p.drawLine(QPointF(12, 14), QPointF(14.2, 14));
}

void Splash(QPainter &p, int width, int height) {
    QRectF all(0, 0, width, height);
    QLinearGradient sky(all.topLeft(), all.bottomRight());
    sky.setColorAt(0, QColor(0x14, 0x2B, 0x45));
    sky.setColorAt(1, QColor(0x1F, 0x5A, 0x88));
    p.fillRect(all, sky);

    // Faint brindle streaks across the right side.
    p.save();
    p.setClipRect(all);
    for (int i = 0; i < 14; ++i) {
        qreal x = width * 0.45 + i * 17 + (i % 3) * 5;
        QPainterPath streak;
        streak.moveTo(x, -10);
        streak.cubicTo(x + 30, height * 0.3, x - 20, height * 0.7, x + 25, height + 10);
        QColor c = (i % 2) ? QColor(255, 255, 255, 14) : QColor(0, 0, 0, 22);
        p.setPen(QPen(c, 4 + (i % 4) * 2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(streak);
    }
    p.restore();

    p.save();
    p.translate(36, 70);
    p.scale(3.3, 3.3);
    AppIcon(p);
    p.restore();

    QFont title("DejaVu Sans");
    title.setBold(true);
    title.setPixelSize(50);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(160, 62, 230, 64), Qt::AlignLeft | Qt::AlignVCenter, "Brindle");

    // The version line is painted by the splash window itself, from the build's version.

    p.setPen(QPen(QColor(0x7C, 0xE0, 0x8E), 2));
    p.drawLine(QPointF(164, 158), QPointF(236, 158));

    QFont tagline("DejaVu Sans");
    tagline.setPixelSize(12);
    p.setFont(tagline);
    p.setPen(QColor(0xDD, 0xE8, 0xF3));
    p.drawText(QRectF(163, 168, 230, 40), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               "Database browser and SQL console\nfor ODBC data sources");

    p.setPen(QPen(QColor(0x0B, 0x1A, 0x2B), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, width - 1, height - 1));
}

// The application icon of AppIcon() as SVG, in the same 32-unit square and colours.
QString AppIconSvg() {
    const QColor body = color::blue;
    const auto name = [](const QColor &c) { return c.name(); };
    QString svg = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" "
        "viewBox=\"0 0 32 32\">\n"
        "  <defs>\n"
        "    <linearGradient id=\"shade\" gradientUnits=\"userSpaceOnUse\" x1=\"2.5\" y1=\"0\" "
        "x2=\"23.5\" y2=\"0\">\n"
        "      <stop offset=\"0\" stop-color=\"%1\"/>\n"
        "      <stop offset=\"0.45\" stop-color=\"%2\"/>\n"
        "      <stop offset=\"1\" stop-color=\"%3\"/>\n"
        "    </linearGradient>\n"
        "  </defs>\n"
        "  <g stroke=\"%4\" stroke-width=\"1\" stroke-linejoin=\"round\" "
        "stroke-linecap=\"round\">\n"
        "    <path d=\"M2.5 5 V25 A10.5 3.5 0 0 0 23.5 25 V5 Z\" fill=\"url(#shade)\"/>\n"
        "    <path d=\"M2.5 11.667 A10.5 3.5 0 0 0 23.5 11.667\" fill=\"none\"/>\n"
        "    <path d=\"M2.5 18.333 A10.5 3.5 0 0 0 23.5 18.333\" fill=\"none\"/>\n"
        "    <ellipse cx=\"13\" cy=\"5\" rx=\"10.5\" ry=\"3.5\" fill=\"%5\"/>\n"
        "  </g>\n"
        "  <rect x=\"13.5\" y=\"16.5\" width=\"18\" height=\"14\" rx=\"2\" fill=\"%6\" "
        "stroke=\"%7\" stroke-width=\"1\"/>\n"
        "  <g fill=\"none\" stroke=\"#7ce08e\" stroke-width=\"2\" stroke-linejoin=\"round\" "
        "stroke-linecap=\"round\">\n"
        "    <polyline points=\"17,20.5 20.5,23.5 17,26.5\"/>\n"
        "    <line x1=\"22.5\" y1=\"26.5\" x2=\"27.5\" y2=\"26.5\"/>\n"
        "  </g>\n"
        "</svg>\n");
    return svg.arg(name(body.lighter(125)), name(body.lighter(145)), name(body.darker(125)),
                   name(body.darker(160)), name(body.lighter(170)), name(color::outline),
                   name(color::outline.darker(130)));
}

bool Save(const QImage &image, const QString &path) {
    if (!image.save(path, "PNG")) {
        std::cerr << "cannot write " << path.toStdString() << "\n";
        return false;
    }
    return true;
}

// All 16x16 images enlarged on one sheet with a light and a dark background row.
QImage Preview(const std::vector<QImage> &images) {
    const int zoom = 6;
    const int cell = 16 * zoom + 8;
    const int columns = 12;
    int rows = (static_cast<int>(images.size()) + columns - 1) / columns;
    QImage sheet(columns * cell, rows * cell * 2 + 2 * cell, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    for (int pass = 0; pass < 2; ++pass) {
        int top = pass * (rows * cell + cell);
        p.fillRect(0, top, sheet.width(), rows * cell,
                   pass ? QColor(0x3A, 0x3F, 0x46) : QColor(0xF3, 0xF3, 0xF3));
        for (size_t i = 0; i < images.size(); ++i) {
            int x = static_cast<int>(i % columns) * cell + 4;
            int y = top + static_cast<int>(i / columns) * cell + 4;
            p.drawImage(QRect(x, y, 16 * zoom, 16 * zoom), images[i]);
        }
    }
    // Actual size, on both backgrounds.
    int y = 2 * rows * cell + cell;
    for (size_t i = 0; i < images.size(); ++i) {
        p.drawImage(QPoint(4 + static_cast<int>(i) * 20, y + 4), images[i]);
        p.fillRect(4 + static_cast<int>(i) * 20 - 2, y + 30, 20, 20, QColor(0x3A, 0x3F, 0x46));
        p.drawImage(QPoint(4 + static_cast<int>(i) * 20, y + 32), images[i]);
    }
    return sheet;
}

} // namespace

int main(int argc, char **argv) {
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments();
    if (args.size() < 2) {
        std::cerr << "usage: make_icons RESOURCES_DIR [--preview FILE]\n";
        return 2;
    }
    QDir root(args[1]);
    QString preview;
    int previewAt = static_cast<int>(args.indexOf("--preview"));
    if (previewAt > 0 && previewAt + 1 < args.size())
        preview = args[previewAt + 1];
    for (const char *sub : {"toolbar", "tree", "icons", "images"})
        root.mkpath(sub);

    bool ok = true;
    std::vector<QImage> small;
    // Each small image also at 2x, drawn rather than enlarged so its lines stay sharp.
    const auto saveBoth = [&ok](const Painter &paint, const QString &path) {
        QImage image = Render(16, 16, paint);
        ok &= Save(image, path + ".png");
        ok &= Save(Render(32, 32,
                          [&paint](QPainter &p) {
                              p.scale(2, 2);
                              paint(p);
                          }),
                   path + "@2x.png");
        return image;
    };
    for (const auto &[name, paint] : ToolbarIcons())
        small.push_back(saveBoth(paint, root.filePath("toolbar/" + name)));
    auto tree = TreeIcons();
    for (size_t i = 0; i < tree.size(); ++i)
        small.push_back(
            saveBoth(tree[i], root.filePath(QString("tree/node%1").arg(i, 2, 10, QChar('0')))));

    // The application icon: its own drawing at 16 pixels, the 32-unit one scaled above.
    QImage icon16 = Render(16, 16, SmallAppIcon);
    small.push_back(icon16);
    ok &= Save(icon16, root.filePath("icons/brindle-16.png"));
    for (int size : {32, 48, 64, 128, 256})
        ok &= Save(Render(size, size,
                          [size](QPainter &p) {
                              p.scale(size / 32.0, size / 32.0);
                              AppIcon(p);
                          }),
                   root.filePath(QString("icons/brindle-%1.png").arg(size)));
    QFile svg(root.filePath("icons/brindle.svg"));
    ok &= svg.open(QIODevice::WriteOnly) && svg.write(AppIconSvg().toUtf8()) > 0 && svg.flush();

    for (int scale : {1, 2})
        ok &= Save(Render(400 * scale, 250 * scale,
                          [scale](QPainter &p) {
                              p.scale(scale, scale);
                              Splash(p, 400, 250);
                          }),
                   root.filePath(scale == 1 ? "images/splash.png" : "images/splash@2x.png"));
    if (!preview.isEmpty())
        ok &= Save(Preview(small), preview);
    return ok ? 0 : 1;
}
