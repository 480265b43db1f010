#include "shell/command_icons.h"

#include "resources/resource_ids.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace shell {
namespace {

using Drawing = std::function<void(QPainter&)>;

const QColor kInk(40, 40, 40);
const QColor kPaper(250, 250, 250);
const QColor kBlue(40, 90, 170);
const QColor kRed(200, 30, 30);
const QColor kYellow(235, 190, 60);
const QColor kGreen(50, 140, 60);

// Draws in a 16 x 16 square at both sizes.
QIcon Painted(const Drawing& draw)
{
    QIcon icon;
    for (const int size : { 16, 32 }) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 16.0, size / 16.0);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon Themed(const char* name, const Drawing& draw)
{
    const QString theme = QString::fromLatin1(name);
    if (!theme.isEmpty() && QIcon::hasThemeIcon(theme))
        return QIcon::fromTheme(theme);
    return Painted(draw);
}

QPen Pen(const QColor& color, double width = 1.0)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A small table: a header row and lines, the program's own sign.
void DrawTable(QPainter& p, const QRectF& r, const QColor& header)
{
    p.setPen(Pen(kInk));
    p.setBrush(kPaper);
    p.drawRect(r);
    p.fillRect(QRectF(r.left() + 0.5, r.top() + 0.5, r.width() - 1, r.height() * 0.25), header);
    for (double y = r.top() + r.height() * 0.5; y < r.bottom() - 0.5; y += r.height() * 0.25)
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    p.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.bottom()));
}

void DrawMagnifier(QPainter& p, const QPointF& centre, double radius)
{
    p.setPen(Pen(kInk, 1.6));
    p.setBrush(QColor(200, 225, 250));
    p.drawEllipse(centre, radius, radius);
    const QPointF handle = centre + QPointF(radius * 0.7, radius * 0.7);
    p.setPen(Pen(kInk, 2.4));
    p.drawLine(handle, handle + QPointF(radius, radius));
}

void DrawBookmark(QPainter& p, const QRectF& r, const QColor& color)
{
    QPainterPath path;
    path.moveTo(r.topLeft());
    path.lineTo(r.topRight());
    path.lineTo(r.bottomRight());
    path.lineTo(QPointF(r.center().x(), r.bottom() - r.height() * 0.3));
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    p.setPen(Pen(color.darker(140)));
    p.setBrush(color);
    p.drawPath(path);
}

void DrawFolder(QPainter& p)
{
    p.setPen(Pen(QColor(150, 110, 20)));
    p.setBrush(kYellow);
    QPainterPath path;
    path.moveTo(1.5, 3.5);
    path.lineTo(6, 3.5);
    path.lineTo(7.5, 5);
    path.lineTo(14.5, 5);
    path.lineTo(14.5, 13.5);
    path.lineTo(1.5, 13.5);
    path.closeSubpath();
    p.drawPath(path);
}

void DrawLetters(QPainter& p, const QString& text, const QRectF& r, const QColor& color)
{
    QFont font = p.font();
    font.setPixelSize(static_cast<int>(r.height()));
    font.setBold(true);
    p.setFont(font);
    p.setPen(color);
    p.drawText(r, Qt::AlignCenter, text);
}

} // namespace

QIcon CommandIcon(int commandId)
{
    switch (commandId) {
    case ID_FILE_OPEN:
        return Themed("document-open", DrawFolder);
    case ID_FILE_SAVE:
        return Themed("document-save", [](QPainter& p) {
            p.setPen(Pen(kInk));
            p.setBrush(kBlue);
            p.drawRect(QRectF(1.5, 1.5, 13, 13));
            p.fillRect(QRectF(4, 2, 8, 5), kPaper);
            p.fillRect(QRectF(4, 9.5, 8, 5), QColor(210, 210, 210));
        });
    case ID_RECORD_TOGGLE_DELETE:
        return Themed("", [](QPainter& p) {
            DrawTable(p, QRectF(1.5, 1.5, 10, 13), QColor(190, 200, 215));
            p.setPen(Pen(kRed, 2.2));
            p.drawLine(QPointF(8, 8), QPointF(14.5, 14.5));
            p.drawLine(QPointF(14.5, 8), QPointF(8, 14.5));
        });
    case ID_EDIT_FIND:
        return Themed("edit-find", [](QPainter& p) { DrawMagnifier(p, QPointF(6.5, 6.5), 4.5); });
    case ID_EDIT_GOTO:
        return Themed("go-jump", [](QPainter& p) {
            p.setPen(Pen(kGreen, 2.2));
            p.drawLine(QPointF(2, 8), QPointF(12, 8));
            p.drawLine(QPointF(8.5, 4), QPointF(12.5, 8));
            p.drawLine(QPointF(8.5, 12), QPointF(12.5, 8));
            p.setPen(Pen(kInk, 1.2));
            p.drawLine(QPointF(14.5, 2), QPointF(14.5, 14));
        });
    case ID_EDIT_ADD_BOOKMARK:
        return Themed("bookmark-new", [](QPainter& p) {
            DrawBookmark(p, QRectF(2.5, 1.5, 7, 13), kRed);
            p.setPen(Pen(kGreen, 2));
            p.drawLine(QPointF(12.5, 3), QPointF(12.5, 9));
            p.drawLine(QPointF(9.5, 6), QPointF(15.5, 6));
        });
    case ID_EDIT_BOOKMARKS:
        return Themed("", [](QPainter& p) {
            DrawBookmark(p, QRectF(2.5, 1.5, 6, 12), kBlue);
            DrawBookmark(p, QRectF(7.5, 2.5, 6, 12), kRed);
        });
    case ID_TABLE_CODEPAGE:
        return Themed("", [](QPainter& p) {
            DrawLetters(p, QStringLiteral("A"), QRectF(0, 0, 9, 11), kBlue);
            DrawLetters(p, QString(QChar(0x042F)), QRectF(7, 5, 9, 11), kRed);
        });
    case ID_TABLE_COLUMNS:
        return Themed("", [](QPainter& p) {
            p.setPen(Pen(kInk));
            for (int i = 0; i < 3; ++i) {
                p.setBrush(i == 1 ? QColor(190, 200, 215) : kPaper);
                p.drawRect(QRectF(1.5 + i * 4.5, 1.5, 4, 13));
            }
        });
    case ID_VIEW_ADJUST_COLUMNS:
        return Themed("", [](QPainter& p) {
            p.setPen(Pen(kInk));
            p.drawLine(QPointF(8, 1.5), QPointF(8, 14.5));
            p.setPen(Pen(kBlue, 1.8));
            p.drawLine(QPointF(1.5, 8), QPointF(6, 8));
            p.drawLine(QPointF(1.5, 8), QPointF(4, 5.5));
            p.drawLine(QPointF(1.5, 8), QPointF(4, 10.5));
            p.drawLine(QPointF(10, 8), QPointF(14.5, 8));
            p.drawLine(QPointF(14.5, 8), QPointF(12, 5.5));
            p.drawLine(QPointF(14.5, 8), QPointF(12, 10.5));
        });
    case ID_TABLE_FILTER:
        return Themed("", [](QPainter& p) {
            QPainterPath funnel;
            funnel.moveTo(1.5, 2.5);
            funnel.lineTo(14.5, 2.5);
            funnel.lineTo(9.5, 8.5);
            funnel.lineTo(9.5, 14);
            funnel.lineTo(6.5, 12.5);
            funnel.lineTo(6.5, 8.5);
            funnel.closeSubpath();
            p.setPen(Pen(kInk));
            p.setBrush(kBlue);
            p.drawPath(funnel);
        });
    case ID_VIEW_REFRESH:
        return Themed("view-refresh", [](QPainter& p) {
            p.setPen(Pen(kGreen, 2));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(2.5, 2.5, 11, 11), 60 * 16, 280 * 16);
            p.setBrush(kGreen);
            const QPointF tip[] = { QPointF(9, 1), QPointF(13.5, 3.5), QPointF(9, 6) };
            p.drawPolygon(tip, 3);
        });
    case ID_FILE_OPEN_CLASSIFIERS:
        return Themed("", [](QPainter& p) {
            DrawFolder(p);
            p.setPen(Pen(kRed, 1.6));
            p.setBrush(kPaper);
            p.drawEllipse(QPointF(10.5, 9.5), 2.5, 2.5);
        });
    case ID_CLASSIFIERS_REGION:
        return Themed("", [](QPainter& p) {
            QPainterPath land;
            land.moveTo(2, 5);
            land.lineTo(7, 2);
            land.lineTo(14, 4);
            land.lineTo(13, 12);
            land.lineTo(6, 14);
            land.lineTo(2, 10);
            land.closeSubpath();
            p.setPen(Pen(kGreen.darker(130)));
            p.setBrush(QColor(160, 210, 150));
            p.drawPath(land);
            p.setPen(Pen(kRed, 2.4));
            p.drawPoint(QPointF(8, 8));
        });
    case ID_CLASSIFIERS_SETTLEMENT:
        return Themed("", [](QPainter& p) {
            p.setPen(Pen(kInk));
            p.setBrush(QColor(220, 150, 120));
            p.drawRect(QRectF(2.5, 7.5, 5, 7));
            p.drawRect(QRectF(9.5, 4.5, 5, 10));
            p.setPen(Pen(kInk, 1.2));
            p.drawLine(QPointF(1, 14.5), QPointF(15, 14.5));
        });
    case ID_APP_ABOUT:
        return Themed("help-about", [](QPainter& p) {
            p.setPen(Pen(kBlue.darker(130)));
            p.setBrush(kBlue);
            p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
            DrawLetters(p, QStringLiteral("?"), QRectF(1.5, 2, 13, 12), kPaper);
        });
    default:
        return {};
    }
}

QIcon TableIcon()
{
    return Painted([](QPainter& p) { DrawTable(p, QRectF(1.5, 2.5, 13, 11), QColor(120, 150, 200)); });
}

QIcon ProgramIcon()
{
    // An installed program finds its own icon, in every size, in the icon theme.
    return Themed("lumetta", [](QPainter& p) {
        DrawTable(p, QRectF(0.5, 0.5, 12, 12), QColor(120, 150, 200));
        DrawMagnifier(p, QPointF(10, 10), 3);
    });
}

} // namespace shell
