#include "tools/glyphs.h"

#include <QPainterPath>
#include <QPen>

#include <vector>

namespace trelvane::render {

namespace {

using Stroke = std::vector<QPointF>;
using Glyph = std::vector<Stroke>;

Glyph glyphFor(QChar ch)
{
    switch (ch.unicode()) {
    case '0': return {{{1, 0}, {3, 0}, {4, 1}, {4, 5}, {3, 6}, {1, 6}, {0, 5}, {0, 1}, {1, 0}}};
    case '1': return {{{0.8, 1.2}, {2.2, 0}, {2.2, 6}}};
    case '2': return {{{0, 1}, {1, 0}, {3, 0}, {4, 1}, {4, 2.2}, {0, 6}, {4, 6}}};
    case '3': return {{{0, 0}, {4, 0}, {1.8, 2.6}, {3, 2.6}, {4, 3.6}, {4, 5}, {3, 6}, {1, 6}, {0, 5}}};
    case '4': return {{{3, 6}, {3, 0}, {0, 4.2}, {4, 4.2}}};
    case '5': return {{{4, 0}, {0.3, 0}, {0, 2.6}, {3, 2.6}, {4, 3.6}, {4, 5}, {3, 6}, {0, 6}}};
    case '6': return {{{3.6, 0}, {1.2, 0}, {0, 1.2}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 3.6}, {3, 2.6}, {0, 2.6}}};
    case '7': return {{{0, 0}, {4, 0}, {1.4, 6}}};
    case '8':
        return {{{1, 0}, {3, 0}, {4, 0.9}, {4, 2}, {3, 2.8}, {1, 2.8}, {0, 2}, {0, 0.9}, {1, 0}},
                {{1, 2.8}, {3, 2.8}, {4, 3.8}, {4, 5}, {3, 6}, {1, 6}, {0, 5}, {0, 3.8}, {1, 2.8}}};
    case '9': return {{{4, 3.4}, {1, 3.4}, {0, 2.4}, {0, 1}, {1, 0}, {3, 0}, {4, 1}, {4, 4.8}, {2.8, 6}, {0.4, 6}}};
    case 'F': return {{{4, 0}, {0, 0}, {0, 6}}, {{0, 2.9}, {3, 2.9}}};
    case 'P': return {{{0, 6}, {0, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}, {0, 3}}};
    case 'S':
        return {{{4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 2}, {1, 2.9}, {3, 2.9}, {4, 3.9}, {4, 5}, {3, 6}, {1, 6}, {0, 5}}};
    case '/': return {{{3.6, 0}, {0.4, 6}}};
    case ':': return {{{1, 1.6}, {1, 1.7}}, {{1, 4.4}, {1, 4.5}}};
    default: return {};
    }
}

double advanceFor(QChar ch)
{
    if (ch == ':' || ch == ' ')
        return 2.6;
    return 5.6;
}

}  // namespace

double textWidth(const QString &text, double height)
{
    double w = 0;
    for (QChar ch : text)
        w += advanceFor(ch);
    // The last advance carries spacing that is not part of the ink.
    if (!text.isEmpty())
        w -= advanceFor(text.back()) - (text.back() == ':' ? 2 : 4);
    return w * height / 6.0;
}

void drawText(QPainter &painter, const QString &text, QPointF topLeft, double height, double strokeWidth,
              const QColor &colour)
{
    const double unit = height / 6.0;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(colour, strokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    double x = topLeft.x();
    for (QChar ch : text) {
        for (const Stroke &s : glyphFor(ch)) {
            QPainterPath path;
            for (size_t i = 0; i < s.size(); ++i) {
                const QPointF p(x + s[i].x() * unit, topLeft.y() + s[i].y() * unit);
                if (i == 0)
                    path.moveTo(p);
                else
                    path.lineTo(p);
            }
            painter.drawPath(path);
        }
        x += advanceFor(ch) * unit;
    }
    painter.restore();
}

}  // namespace trelvane::render
