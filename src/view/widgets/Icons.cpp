#include "view/widgets/Icons.h"

#include <cmath>
#include <functional>

#include <QHash>
#include <QPainter>
#include <QPainterPath>

namespace lumo {

namespace {

using Draw = std::function<void(QPainter&)>;

// Colours of the pictures; routine kinds and visibilities must stay apart
// at a glance, also for the common kinds of colour blindness (shape and
// letter carry the kind as well).
const QColor kInk(0x33, 0x33, 0x33);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kWordBlue(0x2B, 0x57, 0x9A);
const QColor kSub(0x7B, 0x3F, 0xA0);
const QColor kFunction(0x1F, 0x6F, 0xC0);
const QColor kProperty(0x2E, 0x8B, 0x57);
const QColor kDeclare(0xC0, 0x6A, 0x10);
const QColor kPublic(0x2E, 0xA0, 0x40);
const QColor kFriend(0x1F, 0x5F, 0xD0);
const QColor kLockBody(0xE8, 0xB0, 0x20);
const QColor kCross(0xD0, 0x20, 0x20);

QPen pen(const QColor& c, qreal w = 1.0) {
    QPen p(c, w);
    p.setJoinStyle(Qt::RoundJoin);
    p.setCapStyle(Qt::RoundCap);
    return p;
}

// A sheet of paper with a folded corner, the base of most module pictures.
void page(QPainter& p, const QColor& fill = kPaper, const QColor& edge = QColor(0x6A, 0x6A, 0x6A),
          qreal left = 2.5, qreal right = 13.5) {
    QPainterPath path;
    path.moveTo(left, 0.5);
    path.lineTo(right - 3, 0.5);
    path.lineTo(right, 3.5);
    path.lineTo(right, 15.5);
    path.lineTo(left, 15.5);
    path.closeSubpath();
    p.setPen(pen(edge));
    p.setBrush(fill);
    p.drawPath(path);
    QPainterPath fold;
    fold.moveTo(right - 3, 0.5);
    fold.lineTo(right - 3, 3.5);
    fold.lineTo(right, 3.5);
    p.setBrush(QColor(0xDD, 0xDD, 0xDD));
    p.drawPath(fold);
}

void codeLines(QPainter& p, const QColor& c, qreal left, const QVector<qreal>& lengths, qreal top = 5.5) {
    p.setPen(pen(c));
    qreal y = top;
    for (qreal len : lengths) {
        p.drawLine(QPointF(left, y), QPointF(left + len, y));
        y += 2;
    }
}

void letter(QPainter& p, const QRectF& r, const QString& text, const QColor& c, qreal pixel = 9.5) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(qRound(pixel * 4));   // drawn at 4x and scaled back: smooth at every size
    p.save();
    p.setFont(f);
    p.setPen(c);
    p.translate(r.center());
    p.scale(0.25, 0.25);
    const QRectF big(-r.width() * 2, -r.height() * 2, r.width() * 4, r.height() * 4);
    p.drawText(big, Qt::AlignCenter, text);
    p.restore();
}

void chevrons(QPainter& p, const QPointF& c, const QColor& col) {
    p.setPen(pen(col, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({{c.x() - 1.5, c.y() - 2.5}, {c.x() - 4, c.y()}, {c.x() - 1.5, c.y() + 2.5}}));
    p.drawPolyline(QPolygonF({{c.x() + 1.5, c.y() - 2.5}, {c.x() + 4, c.y()}, {c.x() + 1.5, c.y() + 2.5}}));
}

void cube(QPainter& p, qreal cx, qreal cy, qreal s) {
    const QPointF top(cx, cy - s), left(cx - s, cy - s / 2), right(cx + s, cy - s / 2),
        mid(cx, cy), bl(cx - s, cy + s / 2), br(cx + s, cy + s / 2), bottom(cx, cy + s);
    p.setPen(pen(QColor(0x8A, 0x55, 0x00)));
    p.setBrush(QColor(0xF7, 0xC8, 0x4E));
    p.drawPolygon(QPolygonF({top, right, mid, left}));
    p.setBrush(QColor(0xE5, 0x9A, 0x1E));
    p.drawPolygon(QPolygonF({left, mid, bottom, bl}));
    p.setBrush(QColor(0xC5, 0x78, 0x0A));
    p.drawPolygon(QPolygonF({mid, right, br, bottom}));
}

void gear(QPainter& p, qreal cx, qreal cy, qreal r, const QColor& c) {
    QPainterPath teeth;
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(cx, cy);
        p.rotate(i * 45);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRect(QRectF(-1.2, -r - 1.6, 2.4, 2.4));
        p.restore();
    }
    p.setPen(pen(c.darker(130)));
    p.setBrush(c);
    p.drawEllipse(QPointF(cx, cy), r, r);
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(cx, cy), r / 2.5, r / 2.5);
}

void crossBadge(QPainter& p) {
    p.setPen(pen(kPaper, 1));
    p.setBrush(kCross);
    p.drawEllipse(QPointF(12, 12), 3.6, 3.6);
    p.setPen(pen(kPaper, 1.3));
    p.drawLine(QPointF(10.5, 10.5), QPointF(13.5, 13.5));
    p.drawLine(QPointF(13.5, 10.5), QPointF(10.5, 13.5));
}

void magnifier(QPainter& p, qreal cx, qreal cy, qreal r) {
    p.setPen(pen(QColor(0x5A, 0x3A, 0x1A), 2.2));
    p.drawLine(QPointF(cx + r * 0.7, cy + r * 0.7), QPointF(cx + r * 1.7, cy + r * 1.7));
    p.setPen(pen(kInk, 1.2));
    p.setBrush(QColor(0xCF, 0xE8, 0xFF));
    p.drawEllipse(QPointF(cx, cy), r, r);
    p.setPen(pen(kPaper, 1));
    p.drawArc(QRectF(cx - r + 1.2, cy - r + 1.2, 2 * r - 2.4, 2 * r - 2.4), 100 * 16, 60 * 16);
}

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& c, qreal w = 1.6) {
    p.setPen(pen(c, w));
    p.drawLine(from, to);
    const QLineF l(to, from);
    QLineF a = l; a.setLength(3); a.setAngle(l.angle() + 35);
    QLineF b = l; b.setLength(3); b.setAngle(l.angle() - 35);
    p.drawLine(a);
    p.drawLine(b);
}

// --- module kinds -------------------------------------------------------

void form(QPainter& p) {
    p.setPen(pen(QColor(0x44, 0x44, 0x44)));
    p.setBrush(QColor(0xEE, 0xEE, 0xEE));
    p.drawRect(QRectF(0.5, 1.5, 15, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(kWordBlue);
    p.drawRect(QRectF(1, 2, 14, 3));
    p.setBrush(kPaper);
    p.drawRect(QRectF(12, 2.7, 2, 1.6));
    p.setPen(pen(QColor(0x77, 0x77, 0x77)));
    p.setBrush(kPaper);
    p.drawRect(QRectF(2.5, 6.5, 11, 2));
    p.setBrush(QColor(0xD8, 0xD8, 0xD8));
    p.drawRect(QRectF(8.5, 10.5, 5, 2.5));
}

void standardModule(QPainter& p) {
    page(p, QColor(0xE9, 0xF1, 0xFC), QColor(0x3C, 0x64, 0xA0));
    codeLines(p, QColor(0x1F, 0x4E, 0x99), 4.5, {6, 4, 5, 3, 6}, 5.5);
}

void classModule(QPainter& p) { cube(p, 8, 8, 6.5); }

void documentModule(QPainter& p) {
    page(p, kPaper, QColor(0x6A, 0x6A, 0x6A), 4.5, 15.5);
    codeLines(p, QColor(0x9A, 0x9A, 0x9A), 10, {4, 4, 4, 4}, 6.5);
    p.setPen(Qt::NoPen);
    p.setBrush(kWordBlue);
    p.drawRoundedRect(QRectF(0.5, 3.5, 9, 9), 1.2, 1.2);
    letter(p, QRectF(0.5, 3.5, 9, 9), QStringLiteral("W"), kPaper, 7.5);
}

void otherModule(QPainter& p) {
    page(p, QColor(0xF2, 0xF2, 0xF2));
    gear(p, 8, 9.5, 3.2, QColor(0x80, 0x80, 0x80));
}

void propertyPage(QPainter& p) {
    page(p);
    p.setPen(pen(QColor(0x4A, 0x8A, 0x4A)));
    for (qreal y : {5.5, 8.5, 11.5}) p.drawLine(QPointF(4.5, y), QPointF(11.5, y));
    p.drawLine(QPointF(7.5, 5.5), QPointF(7.5, 13.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(4.5, 5.5, 7, 8));
}

// A control of one's own: a purple tile holding a switch.
void userControl(QPainter& p) {
    p.setPen(pen(QColor(0x55, 0x35, 0x80)));
    p.setBrush(QColor(0xB8, 0x9C, 0xE0));
    p.drawRoundedRect(QRectF(1.5, 2.5, 13, 11), 2, 2);
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(3.5, 6, 9, 4), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x55, 0x35, 0x80));
    p.drawEllipse(QPointF(10.5, 8), 1.6, 1.6);
}

void userDocument(QPainter& p) {
    page(p);
    p.setPen(pen(QColor(0x1F, 0x6F, 0xC0)));
    p.setBrush(QColor(0xCF, 0xE4, 0xFA));
    p.drawEllipse(QPointF(8, 9.5), 4, 4);
    p.drawLine(QPointF(4, 9.5), QPointF(12, 9.5));
    p.drawEllipse(QPointF(8, 9.5), 1.6, 4);
}

void projectGroup(QPainter& p) {
    p.save();
    p.translate(-2.5, -2.5);
    p.scale(0.8, 0.8);
    cube(p, 8, 8, 6);
    p.restore();
    p.save();
    p.translate(4, 4);
    p.scale(0.75, 0.75);
    cube(p, 8, 8, 6);
    p.restore();
}

void designer(QPainter& p) { gear(p, 8, 8, 4.5, QColor(0x70, 0x78, 0x88)); }

void flag(QPainter& p) {
    p.setPen(pen(QColor(0x55, 0x55, 0x55), 1.4));
    p.drawLine(QPointF(3, 1), QPointF(3, 15.5));
    QPainterPath cloth;
    cloth.moveTo(3.7, 1.5);
    cloth.cubicTo(7, 0, 9, 3.5, 14.5, 2);
    cloth.lineTo(14.5, 9);
    cloth.cubicTo(9, 10.5, 7, 7, 3.7, 8.5);
    cloth.closeSubpath();
    p.setPen(pen(QColor(0x9A, 0x10, 0x10)));
    p.setBrush(QColor(0xE0, 0x30, 0x30));
    p.drawPath(cloth);
}

// --- routine kinds and visibility ----------------------------------------

// The routine shape sits in the upper left 12x12 units; the lower right
// corner is left for the visibility badge.
void routineShape(QPainter& p, int type) {
    const QRectF r(0.5, 0.5, 12, 12);
    QString text;
    QColor fill;
    p.setPen(Qt::NoPen);
    switch (type) {
    case 1:   // Sub: rounded square
        fill = kSub; text = QStringLiteral("S");
        p.setBrush(fill);
        p.drawRoundedRect(r, 2.5, 2.5);
        break;
    case 2:   // Function: circle
        fill = kFunction; text = QStringLiteral("F");
        p.setBrush(fill);
        p.drawEllipse(r);
        break;
    case 3: case 4: case 5: {   // Property Let / Get / Set: a label tag
        fill = kProperty;
        text = type == 3 ? QStringLiteral("L") : type == 4 ? QStringLiteral("G") : QStringLiteral("S");
        QPainterPath tag;
        tag.moveTo(0.5, 3.5);
        tag.lineTo(3.5, 0.5);
        tag.lineTo(12.5, 0.5);
        tag.lineTo(12.5, 12.5);
        tag.lineTo(3.5, 12.5);
        tag.lineTo(0.5, 9.5);
        tag.closeSubpath();
        p.setBrush(fill);
        p.drawPath(tag);
        break;
    }
    default: {   // Declare Sub / Function: a hexagon, the outside world
        fill = kDeclare;
        text = type == 11 ? QStringLiteral("S") : QStringLiteral("F");
        QPolygonF hex;
        for (int i = 0; i < 6; ++i) {
            const double a = (60.0 * i) * 3.14159265 / 180.0;
            hex << QPointF(6.5 + 6.3 * std::cos(a), 6.5 + 6.3 * std::sin(a));
        }
        p.setBrush(fill);
        p.drawPolygon(hex);
        break;
    }
    }
    letter(p, r.adjusted(0, 0.3, 0, 0), text, kPaper, type == 2 ? 8.5 : 9);
}

void visibilityBadge(QPainter& p, int open) {
    switch (open) {
    case 1:   // Public: a green dot
        p.setPen(pen(kPaper, 1.2));
        p.setBrush(kPublic);
        p.drawEllipse(QPointF(12.3, 12.3), 3.3, 3.3);
        break;
    case 2:   // Private: a padlock
        p.setPen(pen(QColor(0x40, 0x40, 0x40), 1.3));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(9.8, 7.6, 4.6, 5.6), 0, 180 * 16);
        p.drawLine(QPointF(9.8, 10.4), QPointF(9.8, 11.2));
        p.drawLine(QPointF(14.4, 10.4), QPointF(14.4, 11.2));
        p.setPen(pen(QColor(0x70, 0x50, 0x00), 0.8));
        p.setBrush(kLockBody);
        p.drawRect(QRectF(8.6, 11, 7, 4.8));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x50, 0x38, 0x00));
        p.drawRect(QRectF(11.6, 12.3, 1, 2));
        break;
    default:   // Friend: a blue diamond
        p.setPen(pen(kPaper, 1.1));
        p.setBrush(kFriend);
        p.drawPolygon(QPolygonF({{12.3, 8.4}, {16, 12.2}, {12.3, 16}, {8.6, 12.2}}));
        break;
    }
}

Draw routine(int type, int open) {
    return [type, open](QPainter& p) { routineShape(p, type); visibilityBadge(p, open); };
}

Draw withCross(Draw base) {
    return [base](QPainter& p) { base(p); crossBadge(p); };
}

// --- toolbar --------------------------------------------------------------

void newPage(QPainter& p) {
    page(p);
    p.setPen(pen(QColor(0xC8, 0x8A, 0x00)));
    p.setBrush(QColor(0xFF, 0xD3, 0x3A));
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double a = (-90 + 36.0 * i) * 3.14159265 / 180.0;
        const double rr = i % 2 ? 1.6 : 4;
        star << QPointF(11.5 + rr * std::cos(a), 4.5 + rr * std::sin(a));
    }
    p.drawPolygon(star);
}

void openFolder(QPainter& p) {
    p.setPen(pen(QColor(0x9A, 0x6A, 0x00)));
    p.setBrush(QColor(0xE8, 0xB8, 0x40));
    p.drawPolygon(QPolygonF({{0.5, 3.5}, {5.5, 3.5}, {7, 5}, {13.5, 5}, {13.5, 14.5}, {0.5, 14.5}}));
    p.setBrush(QColor(0xFF, 0xD8, 0x60));
    p.drawPolygon(QPolygonF({{3, 7.5}, {15.5, 7.5}, {13.5, 14.5}, {0.5, 14.5}}));
}

void floppy(QPainter& p) {
    p.setPen(pen(QColor(0x1A, 0x3A, 0x70)));
    p.setBrush(QColor(0x3A, 0x6E, 0xC0));
    p.drawPolygon(QPolygonF({{1.5, 1.5}, {12.5, 1.5}, {14.5, 3.5}, {14.5, 14.5}, {1.5, 14.5}}));
    p.setPen(Qt::NoPen);
    p.setBrush(kPaper);
    p.drawRect(QRectF(4, 2, 8, 4.5));
    p.setBrush(QColor(0x1A, 0x3A, 0x70));
    p.drawRect(QRectF(9.5, 2.7, 1.6, 3));
    p.setBrush(QColor(0xDD, 0xE6, 0xF2));
    p.drawRect(QRectF(3.5, 9, 9, 5));
}

void refresh(QPainter& p) {
    const QColor g(0x2E, 0x8B, 0x3E);
    p.setPen(pen(g, 1.8));
    p.setBrush(Qt::NoBrush);
    const QRectF r(2.5, 2.5, 11, 11);
    p.drawArc(r, 30 * 16, 140 * 16);
    p.drawArc(r, 210 * 16, 140 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPolygon(QPolygonF({{12.8, 1.2}, {14.8, 6.4}, {9.8, 5.6}}));
    p.drawPolygon(QPolygonF({{3.2, 14.8}, {1.2, 9.6}, {6.2, 10.4}}));
}

void readCode(QPainter& p) {
    page(p, QColor(0xE9, 0xF1, 0xFC), QColor(0x3C, 0x64, 0xA0), 1.5, 11.5);
    codeLines(p, QColor(0x1F, 0x4E, 0x99), 3.5, {5, 3, 4}, 5.5);
    p.setPen(pen(kPaper, 1));
    p.setBrush(QColor(0x2E, 0xA0, 0x40));
    p.drawPolygon(QPolygonF({{8.5, 7.5}, {15.5, 11.5}, {8.5, 15.5}}));
}

void clipboard(QPainter& p) {
    p.setPen(pen(QColor(0x6A, 0x45, 0x20)));
    p.setBrush(QColor(0xB8, 0x86, 0x50));
    p.drawRoundedRect(QRectF(1.5, 2.5, 13, 13), 1.5, 1.5);
    p.setBrush(kPaper);
    p.drawRect(QRectF(3.5, 4.5, 9, 9.5));
    p.setBrush(QColor(0x90, 0x90, 0x90));
    p.drawRoundedRect(QRectF(5, 0.8, 6, 3.4), 1, 1);
    chevrons(p, {8, 9.5}, QColor(0xD0, 0x50, 0x10));
}

void selectionHtml(QPainter& p) {
    QPen dash = pen(QColor(0x20, 0x50, 0xA0), 1);
    dash.setDashPattern({2, 1.5});
    p.setPen(dash);
    p.setBrush(QColor(0xDC, 0xE8, 0xFA));
    p.drawRect(QRectF(0.5, 2.5, 15, 11));
    chevrons(p, {8, 8}, QColor(0xD0, 0x50, 0x10));
}

void moduleHtml(QPainter& p) {
    page(p);
    chevrons(p, {8, 9.5}, QColor(0xD0, 0x50, 0x10));
}

void projectHtml(QPainter& p) {
    p.save();
    p.translate(2, -0.2);
    p.scale(0.85, 0.85);
    page(p, QColor(0xEE, 0xEE, 0xEE));
    p.restore();
    p.save();
    p.translate(-1.5, 2.4);
    p.scale(0.85, 0.85);
    page(p);
    p.restore();
    chevrons(p, {6.5, 10}, QColor(0xD0, 0x50, 0x10));
}

void search(QPainter& p) { magnifier(p, 6.5, 6.5, 4.5); }

void searchOn(QPainter& p) {
    magnifier(p, 5.5, 5.5, 4);
    arrow(p, {8.5, 13.5}, {15, 13.5}, QColor(0x2E, 0x8B, 0x3E), 1.8);
}

void searchProject(QPainter& p) {
    p.save();
    p.translate(3, -0.5);
    p.scale(0.8, 0.8);
    page(p, QColor(0xEE, 0xEE, 0xEE));
    p.restore();
    p.save();
    p.translate(0, 1.5);
    p.scale(0.8, 0.8);
    page(p);
    p.restore();
    magnifier(p, 9, 9, 3.4);
}

void wholeWord(QPainter& p) {
    p.setPen(pen(kInk, 1.3));
    p.drawLine(QPointF(1.5, 3), QPointF(1.5, 13));
    p.drawLine(QPointF(14.5, 3), QPointF(14.5, 13));
    letter(p, QRectF(2, 2, 12, 12), QStringLiteral("ab"), QColor(0x1F, 0x4E, 0x99), 8.5);
    p.setPen(pen(QColor(0x1F, 0x4E, 0x99), 1));
    p.drawLine(QPointF(3.5, 13.5), QPointF(12.5, 13.5));
}

void selectionToSearch(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3A, 0x6E, 0xC0));
    p.drawRect(QRectF(1, 1.5, 9, 3.5));
    p.setPen(pen(kPaper, 1));
    p.drawLine(QPointF(2.5, 3.25), QPointF(8.5, 3.25));
    arrow(p, {5.5, 5.5}, {5.5, 10.5}, QColor(0x2E, 0x8B, 0x3E), 1.6);
    p.setPen(pen(QColor(0x55, 0x55, 0x55)));
    p.setBrush(kPaper);
    p.drawRect(QRectF(0.5, 11.5, 15, 4));
    magnifier(p, 12, 5, 2.5);
}

void zoom(QPainter& p) {
    p.setPen(pen(QColor(0x55, 0x55, 0x55)));
    p.setBrush(QColor(0xE9, 0xF1, 0xFC));
    p.drawRect(QRectF(4.5, 4.5, 7, 7));
    const QColor c(0x1F, 0x4E, 0x99);
    arrow(p, {4, 4}, {0.8, 0.8}, c, 1.3);
    arrow(p, {12, 4}, {15.2, 0.8}, c, 1.3);
    arrow(p, {4, 12}, {0.8, 15.2}, c, 1.3);
    arrow(p, {12, 12}, {15.2, 15.2}, c, 1.3);
}

// The button "close" of the caller result's head: a cross on a light plate.
void closeResult(QPainter& p) {
    p.setPen(pen(QColor(0x9A, 0x9A, 0x9A)));
    p.setBrush(QColor(0xF4, 0xF4, 0xF4));
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 2, 2);
    QPen cross = pen(kCross, 2.2);
    cross.setCapStyle(Qt::RoundCap);
    p.setPen(cross);
    p.drawLine(QPointF(5, 5), QPointF(11, 11));
    p.drawLine(QPointF(11, 5), QPointF(5, 11));
}

void windowPicture(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(kWordBlue);
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    // A light above the code: the program's name.
    QRadialGradient glow(QPointF(11.5, 4.5), 4.5);
    glow.setColorAt(0, QColor(0xFF, 0xF0, 0x90));
    glow.setColorAt(0.45, QColor(0xFF, 0xC8, 0x30));
    glow.setColorAt(1, QColor(0xFF, 0xC8, 0x30, 0));
    p.setBrush(glow);
    p.drawEllipse(QPointF(11.5, 4.5), 4.5, 4.5);
    p.setPen(pen(kPaper, 1.3));
    p.drawLine(QPointF(3, 8), QPointF(8, 8));
    p.drawLine(QPointF(3, 10.5), QPointF(10.5, 10.5));
    p.drawLine(QPointF(5, 13), QPointF(12.5, 13));
}

const QHash<QString, Draw>& painters() {
    static const QHash<QString, Draw> all = [] {
        QHash<QString, Draw> h;
        h.insert(QStringLiteral("M1"), form);
        h.insert(QStringLiteral("M2"), standardModule);
        h.insert(QStringLiteral("M2x"), withCross(standardModule));
        h.insert(QStringLiteral("M3"), classModule);
        h.insert(QStringLiteral("M3x"), withCross(classModule));
        h.insert(QStringLiteral("M4"), propertyPage);
        h.insert(QStringLiteral("M5"), documentModule);
        h.insert(QStringLiteral("M6"), userControl);
        h.insert(QStringLiteral("M7"), userDocument);
        h.insert(QStringLiteral("VBG"), projectGroup);
        h.insert(QStringLiteral("XXX"), designer);
        h.insert(QStringLiteral("Fahne"), flag);
        h.insert(QStringLiteral("M32"), otherModule);
        for (int type : {1, 2, 3, 4, 5, 11, 12})
            for (int open : {1, 2, 3})
                h.insert(QStringLiteral("R%1O%2").arg(type).arg(open), routine(type, open));
        h.insert(QStringLiteral("neu"), newPage);
        h.insert(QStringLiteral("open"), openFolder);
        h.insert(QStringLiteral("save"), floppy);
        h.insert(QStringLiteral("refresh"), refresh);
        h.insert(QStringLiteral("doit"), readCode);
        h.insert(QStringLiteral("blind"), [](QPainter&) {});   // a button without picture or command
        h.insert(QStringLiteral("ht_clip"), clipboard);
        h.insert(QStringLiteral("ht_aus"), selectionHtml);
        h.insert(QStringLiteral("ht_mod"), moduleHtml);
        h.insert(QStringLiteral("ht_pro"), projectHtml);
        h.insert(QStringLiteral("su_a"), search);
        h.insert(QStringLiteral("su_w"), searchOn);
        h.insert(QStringLiteral("su_p"), searchProject);
        h.insert(QStringLiteral("su_g"), wholeWord);
        h.insert(QStringLiteral("su_i"), selectionToSearch);
        h.insert(QStringLiteral("zoom"), zoom);
        h.insert(QStringLiteral("close"), closeResult);
        h.insert(QStringLiteral("A2"), windowPicture);
        return h;
    }();
    return all;
}

QIcon makeIcon(const QString& key, std::initializer_list<int> sizes) {
    QIcon icon;
    for (int s : sizes) {
        const QPixmap pm = drawPicture(key, s);
        if (pm.isNull()) return QIcon();
        icon.addPixmap(pm);
    }
    return icon;
}

QIcon cachedIcon(const QString& key, std::initializer_list<int> sizes) {
    static QHash<QString, QIcon> cache;
    auto it = cache.constFind(key);
    if (it != cache.cend()) return it.value();
    const QIcon icon = makeIcon(key, sizes);
    if (!icon.isNull()) cache.insert(key, icon);
    return icon;
}

}  // namespace

const QStringList& treeImageKeys() {
    static const QStringList keys = {
        "M1", "M2x", "M2", "M3x", "M3", "M4", "M5", "M6", "M7", "VBG", "XXX", "Fahne", "M32",
        "R1O2", "R1O3", "R1O1", "R2O2", "R2O1", "R2O3", "R3O2", "R3O1", "R3O3", "R4O2", "R4O1", "R4O3",
        "R5O2", "R5O1", "R5O3", "R11O2", "R11O1", "R11O3", "R12O2", "R12O1", "R12O3"};
    return keys;
}

const QStringList& toolbarImageKeys() {
    static const QStringList keys = {"neu", "open", "save", "refresh", "doit", "blind", "ht_clip", "ht_aus",
                                     "ht_mod", "ht_pro", "su_a", "su_w", "su_p", "su_g", "su_i", "zoom",
                                     "close"};
    return keys;
}

QPixmap drawPicture(const QString& key, int size) {
    const auto it = painters().constFind(key);
    if (it == painters().cend() || size <= 0) return QPixmap();
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / 16.0, size / 16.0);
    it.value()(p);
    return pm;
}

QIcon treeIcon(const QString& key) {
    if (!treeImageKeys().contains(key)) return QIcon();
    return cachedIcon(key, {16, 32, 48});
}

QIcon toolbarIcon(const QString& key) {
    for (const QString& k : toolbarImageKeys())
        if (k.compare(key, Qt::CaseInsensitive) == 0) return cachedIcon(k, {16, 24, 32, 48});
    return QIcon();
}

QIcon windowIcon() {
    return cachedIcon(QStringLiteral("A2"), {16, 24, 32, 48, 64, 128});
}

}  // namespace lumo
