#include "app/glyphs.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace facetor {

namespace {

// A few plain shapes in the 16-colour spirit of the rest of the toolbar.
void draw(QPainter& p, Glyph glyph)
{
    const QColor navy(0, 0, 128), teal(0, 128, 128), olive(128, 128, 0), maroon(128, 0, 0);
    switch (glyph) {
    case Glyph::open: // a folder
        p.setPen(Qt::black);
        p.setBrush(QColor(255, 255, 0));
        p.drawPolygon(QPolygon({QPoint(1, 4), QPoint(6, 4), QPoint(7, 6), QPoint(14, 6),
                                QPoint(14, 13), QPoint(1, 13)}));
        break;
    case Glyph::toggle_view: // a pane with a cross-hair
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(1, 2, 13, 11);
        p.setPen(teal);
        p.drawLine(8, 4, 8, 11);
        p.drawLine(3, 8, 12, 8);
        break;
    case Glyph::new_model: // a sheet with a folded corner
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawPolygon(
            QPolygon({QPoint(3, 1), QPoint(10, 1), QPoint(13, 4), QPoint(13, 14), QPoint(3, 14)}));
        p.drawLine(10, 1, 10, 4);
        p.drawLine(10, 4, 13, 4);
        break;
    case Glyph::save: // a disk
        p.setPen(Qt::black);
        p.setBrush(navy);
        p.drawRect(1, 1, 13, 13);
        p.setBrush(Qt::white);
        p.drawRect(4, 2, 7, 5);
        break;
    case Glyph::cut: // scissors
        p.setPen(Qt::black);
        p.drawLine(4, 1, 10, 10);
        p.drawLine(11, 1, 5, 10);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(2, 10, 4, 4);
        p.drawEllipse(9, 10, 4, 4);
        break;
    case Glyph::help: // a question mark
        p.setPen(QPen(navy, 2));
        p.drawArc(4, 2, 8, 7, 0, 180 * 16);
        p.drawLine(12, 6, 8, 9);
        p.drawLine(8, 9, 8, 11);
        p.drawPoint(8, 14);
        break;
    case Glyph::mesh: // a wire triangle pair
        p.setPen(maroon);
        p.drawPolyline(QPolygon({QPoint(1, 14), QPoint(8, 1), QPoint(14, 14), QPoint(1, 14)}));
        p.drawLine(8, 1, 8, 14);
        break;
    case Glyph::vertex: // three corner squares
        p.setPen(Qt::NoPen);
        p.setBrush(olive);
        p.drawRect(1, 11, 4, 4);
        p.drawRect(6, 1, 4, 4);
        p.drawRect(11, 11, 4, 4);
        break;
    case Glyph::face: // a filled facet
        p.setPen(Qt::black);
        p.setBrush(teal);
        p.drawPolygon(QPolygon({QPoint(2, 13), QPoint(7, 2), QPoint(14, 9)}));
        break;
    }
}

} // namespace

QIcon make_glyph(Glyph glyph)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    draw(painter, glyph);
    painter.end();
    return QIcon(pixmap);
}

} // namespace facetor
