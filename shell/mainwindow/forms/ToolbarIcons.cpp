#include "shell/mainwindow/forms/ToolbarIcons.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <functional>
#include <map>

namespace kavina::shell {

namespace {

// Pictures are drawn on a 32 x 32 grid and rendered at twice that for sharp screens.
constexpr int kGrid = 32;
constexpr qreal kScale = 2;

using Painting = std::function<void(QPainter&)>;

QColor darker(const QColor& c) {
    return c.darker(150);
}

QPainterPath polygon(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

void outlined(QPainter& p, const QPainterPath& path, const QColor& fill) {
    p.setPen(QPen(darker(fill), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QLinearGradient g(0, 0, 0, kGrid);
    g.setColorAt(0, fill.lighter(130));
    g.setColorAt(1, fill);
    p.setBrush(g);
    p.drawPath(path);
}

void sheet(QPainter& p) {
    const QPainterPath page = polygon({{6, 3}, {20, 3}, {26, 9}, {26, 29}, {6, 29}});
    p.setPen(QPen(QColor(110, 120, 135), 1.2));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.setBrush(QColor(220, 225, 232));
    p.drawPolygon(QPolygonF({QPointF(20, 3), QPointF(20, 9), QPointF(26, 9)}));
    p.setPen(QPen(QColor(170, 178, 190), 1.2));
    for (int y = 12; y <= 18; y += 3) p.drawLine(QPointF(9, y), QPointF(22, y));
}

// A document with a round badge carrying a short sign.
Painting document(QColor badge, QString sign) {
    return [badge, sign](QPainter& p) {
        sheet(p);
        outlined(
            p,
            [] {
                QPainterPath c;
                c.addEllipse(QPointF(21, 23), 8.5, 8.5);
                return c;
            }(),
            badge);
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setBold(true);
        f.setPixelSize(sign.size() > 1 ? 8 : 11);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(12.5, 14.5, 17, 17), Qt::AlignCenter, sign);
    };
}

void box(QPainter& p, QRectF r, QColor colour) {
    QPainterPath front;
    front.addRect(r);
    outlined(p, front, colour);
    p.setPen(QPen(darker(colour), 1));
    p.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.top() + r.height() / 3));
}

void arrow(QPainter& p, QPointF from, QPointF to, QColor colour) {
    p.setPen(QPen(colour, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF n(-d.y(), d.x());
    p.drawPolyline(QPolygonF({to - 5 * d + 4 * n, to, to - 5 * d - 4 * n}));
}

Painting goodsWithArrow(QColor colour, bool in) {
    return [colour, in](QPainter& p) {
        box(p, QRectF(4, 14, 18, 15), QColor(196, 150, 92));
        if (in)
            arrow(p, QPointF(25, 2), QPointF(25, 18), colour);
        else
            arrow(p, QPointF(20, 8), QPointF(30, 8), colour);
    };
}

void person(QPainter& p, QPointF at, qreal size, QColor colour) {
    QPainterPath body;
    body.addEllipse(at + QPointF(0, -size * 0.55), size * 0.32, size * 0.32);
    QPainterPath shoulders;
    shoulders.moveTo(at + QPointF(-size * 0.55, size * 0.6));
    shoulders.quadTo(at + QPointF(-size * 0.55, -size * 0.1), at + QPointF(0, -size * 0.1));
    shoulders.quadTo(at + QPointF(size * 0.55, -size * 0.1), at + QPointF(size * 0.55, size * 0.6));
    shoulders.closeSubpath();
    outlined(p, shoulders, colour);
    outlined(p, body, colour);
}

void partners(QPainter& p) {
    person(p, QPointF(20, 17), 16, QColor(90, 130, 190));
    person(p, QPointF(12, 20), 17, QColor(60, 150, 110));
}

void truck(QPainter& p) {
    QPainterPath cargo;
    cargo.addRoundedRect(QRectF(2, 9, 18, 14), 1.5, 1.5);
    outlined(p, cargo, QColor(52, 120, 200));
    outlined(p, polygon({{20, 13}, {26, 13}, {30, 18}, {30, 23}, {20, 23}}), QColor(230, 160, 40));
    for (const qreal x : {8.0, 25.0}) {
        QPainterPath wheel;
        wheel.addEllipse(QPointF(x, 25), 3.4, 3.4);
        outlined(p, wheel, QColor(60, 60, 60));
    }
}

void warehouse(QPainter& p) {
    outlined(p, polygon({{3, 13}, {16, 4}, {29, 13}, {29, 29}, {3, 29}}), QColor(150, 160, 172));
    box(p, QRectF(9, 17, 14, 12), QColor(196, 150, 92));
}

void coins(QPainter& p) {
    for (int i = 0; i < 4; ++i) {
        QPainterPath coin;
        coin.addEllipse(QRectF(3, 22 - i * 4, 18, 7));
        outlined(p, coin, QColor(226, 178, 40));
    }
    arrow(p, QPointF(20, 10), QPointF(30, 10), QColor(200, 60, 40));
}

void shield(QPainter& p) {
    QPainterPath s;
    s.moveTo(16, 2);
    s.lineTo(28, 7);
    s.cubicTo(28, 19, 23, 26, 16, 30);
    s.cubicTo(9, 26, 4, 19, 4, 7);
    s.closeSubpath();
    outlined(p, s, QColor(130, 90, 180));
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(10, 16), QPointF(15, 21), QPointF(23, 11)}));
}

void bin(QPainter& p) {
    outlined(p, polygon({{8, 9}, {24, 9}, {22, 29}, {10, 29}}), QColor(200, 70, 60));
    p.setPen(QPen(darker(QColor(200, 70, 60)), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 6), QPointF(27, 6));
    p.drawLine(QPointF(13, 3), QPointF(19, 3));
    p.setPen(QPen(Qt::white, 1.4));
    for (const qreal x : {12.5, 16.0, 19.5}) p.drawLine(QPointF(x, 13), QPointF(x, 25));
}

void stock(QPainter& p) {
    box(p, QRectF(2, 17, 13, 12), QColor(196, 150, 92));
    box(p, QRectF(16, 17, 13, 12), QColor(180, 136, 80));
    box(p, QRectF(9, 5, 13, 12), QColor(210, 165, 105));
}

void product(QPainter& p) {
    outlined(p, polygon({{3, 9}, {16, 15}, {16, 30}, {3, 23}}), QColor(190, 140, 80));
    outlined(p, polygon({{29, 9}, {16, 15}, {16, 30}, {29, 23}}), QColor(160, 115, 62));
    outlined(p, polygon({{16, 3}, {29, 9}, {16, 15}, {3, 9}}), QColor(222, 178, 120));
}

void chart(QPainter& p) {
    p.setPen(QPen(QColor(90, 90, 90), 1.5));
    p.drawLine(QPointF(3, 29), QPointF(29, 29));
    const QColor colours[] = {QColor(70, 140, 210), QColor(80, 170, 100), QColor(230, 160, 40), QColor(200, 80, 70)};
    const qreal heights[] = {10, 18, 13, 23};
    for (int i = 0; i < 4; ++i) {
        QPainterPath bar;
        bar.addRect(QRectF(4.5 + i * 6.2, 28 - heights[i], 4.6, heights[i]));
        outlined(p, bar, colours[i]);
    }
}

void gear(QPainter& p) {
    QPainterPath teeth;
    for (int i = 0; i < 8; ++i) {
        QTransform t;
        t.translate(16, 16);
        t.rotate(i * 45);
        teeth.addPolygon(t.map(QPolygonF(QRectF(-3, -14, 6, 8))));
        teeth.closeSubpath();
    }
    QPainterPath wheel;
    wheel.addEllipse(QPointF(16, 16), 10.5, 10.5);
    QPainterPath hole;
    hole.addEllipse(QPointF(16, 16), 4, 4);
    outlined(p, (wheel.united(teeth)).subtracted(hole), QColor(120, 132, 148));
}

Painting worksheet() {
    return [](QPainter& p) {
        sheet(p);
        p.setPen(QPen(QColor(60, 110, 150), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(13, 27), QPointF(24, 16));
        QPainterPath head;
        head.addEllipse(QPointF(25, 15), 4.5, 4.5);
        QPainterPath jaw;
        jaw.addRect(QRectF(25, 10, 6, 4));
        outlined(p, head.subtracted(jaw), QColor(60, 110, 150));
    };
}

const std::map<QString, Painting>& paintings() {
    static const std::map<QString, Painting> all = {
        {"bAjanlat", document(QColor(20, 150, 140), "%")},
        {"bSzamla", document(QColor(40, 100, 190), "Ft")},
        {"bEladas", document(QColor(60, 160, 70), "€")},
        {"bKifizetes", coins},
        {"bGarancia", shield},
        {"bMegrendeles", document(QColor(200, 120, 40), "?")},
        {"bBevetel", goodsWithArrow(QColor(60, 160, 70), true)},
        {"bSzallito", truck},
        {"warehousesButton", warehouse},
        {"bVisszaru", goodsWithArrow(QColor(220, 120, 30), false)},
        {"bSelejt", bin},
        {"bMunkalap", worksheet()},
        {"partnersButton", partners},
        {"productsButton", product},
        {"stockButton", stock},
        {"dailyTurnoverButton", chart},
        {"settingsButton", gear},
    };
    return all;
}

QPixmap render(const Painting& paint, int size) {
    QPixmap pixmap(int(size * kScale), int(size * kScale));
    pixmap.setDevicePixelRatio(kScale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(qreal(size) / kGrid, qreal(size) / kGrid);
    paint(p);
    return pixmap;
}

}  // namespace

QIcon toolbarIcon(const QString& buttonName) {
    const auto it = paintings().find(buttonName);
    QIcon icon;
    for (const int size : {16, 24, 32})
        icon.addPixmap(render(it == paintings().end() ? Painting(sheet) : it->second, size));
    return icon;
}

std::vector<QIcon> menuPictures() {
    static const char* const kOrder[] = {"bSzamla",          "bEladas",        "bKifizetes",  "bAjanlat",
                                         "bGarancia",        "bMegrendeles",   "bBevetel",    "bSzallito",
                                         "warehousesButton", "bVisszaru",      "bSelejt",     "bMunkalap",
                                         "partnersButton",   "productsButton", "stockButton", "dailyTurnoverButton",
                                         "settingsButton"};
    std::vector<QIcon> pictures;
    for (const char* name : kOrder) pictures.push_back(toolbarIcon(QString::fromLatin1(name)));
    return pictures;
}

QPixmap saveIndicatorPixmap(int size) {
    return render(
        [](QPainter& p) {
            QPainterPath disk;
            disk.addRoundedRect(QRectF(4, 4, 24, 24), 3, 3);
            outlined(p, disk, QColor(50, 100, 180));
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(9, 4.5, 14, 9));
            p.setBrush(QColor(50, 100, 180));
            p.drawRect(QRectF(18, 6, 3, 6));
            p.setBrush(QColor(230, 236, 245));
            p.drawRect(QRectF(8, 18, 16, 9));
        },
        size);
}

QPixmap workAreaPicture() {
    constexpr int kWidth = 420;
    constexpr int kHeight = 300;
    QPixmap pixmap(int(kWidth * kScale), int(kHeight * kScale));
    pixmap.setDevicePixelRatio(kScale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 20, 0, 190);
    g.setColorAt(0, QColor(70, 140, 215));
    g.setColorAt(1, QColor(25, 80, 160));
    p.setPen(QPen(QColor(20, 60, 125), 3));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(kWidth / 2.0 - 80, 14, 160, 160), 34, 34);
    QFont big(QStringLiteral("DejaVu Sans"));
    big.setBold(true);
    big.setPixelSize(118);
    p.setFont(big);
    p.setPen(Qt::white);
    p.drawText(QRectF(kWidth / 2.0 - 80, 14, 160, 160), Qt::AlignCenter, QStringLiteral("K"));
    QFont name(QStringLiteral("DejaVu Sans"));
    name.setBold(true);
    name.setPixelSize(44);
    p.setFont(name);
    p.setPen(QColor(30, 60, 110));
    p.drawText(QRectF(0, 185, kWidth, 56), Qt::AlignCenter, QStringLiteral("Kavina"));
    QFont line(QStringLiteral("DejaVu Sans"));
    line.setPixelSize(17);
    p.setFont(line);
    p.setPen(QColor(80, 95, 120));
    p.drawText(QRectF(0, 242, kWidth, 30), Qt::AlignCenter, QStringLiteral("számlázás és készletnyilvántartás"));
    return pixmap;
}

}  // namespace kavina::shell
