// A small stroke font (digits, a few capitals and signs) drawn as polylines,
// so the pictures never depend on the fonts installed on the machine.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QString>

namespace trelvane::render {

// Glyph cells are 4 units wide and 6 high; `height` is the cap height in
// painter units. Characters without a glyph draw nothing but still advance.
double textWidth(const QString &text, double height);
void drawText(QPainter &painter, const QString &text, QPointF topLeft, double height, double strokeWidth,
              const QColor &colour);

}  // namespace trelvane::render
