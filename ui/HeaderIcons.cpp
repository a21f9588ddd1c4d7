#include "HeaderIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace {

// The glyphs are drawn on a grid of 20 by 20 and scaled for the screen.
constexpr int kGlyphSize = 20;
constexpr QColor kGlyphColor(232, 232, 232);
constexpr QColor kDisabledGlyphColor(110, 110, 110);

QPixmap Glyph(const QColor& color, qreal scale,
              const std::function<void(QPainter&, const QPen&)>& draw) {
  QPixmap pixmap(qRound(kGlyphSize * scale), qRound(kGlyphSize * scale));
  pixmap.setDevicePixelRatio(scale);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  draw(painter, QPen(color, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  return pixmap;
}

QIcon MakeIcon(const std::function<void(QPainter&, const QPen&)>& draw) {
  QIcon icon;
  for (const qreal scale : {1.0, 2.0}) {
    icon.addPixmap(Glyph(kGlyphColor, scale, draw), QIcon::Normal);
    icon.addPixmap(Glyph(kDisabledGlyphColor, scale, draw), QIcon::Disabled);
  }
  return icon;
}

}  // namespace

QIcon CheckStringIcon() {
  return MakeIcon([](QPainter& painter, const QPen& pen) {
    painter.setPen(pen);
    // Two lines of text, then the glass over them with its handle to the lower right.
    painter.drawLine(QPointF(2, 4), QPointF(14, 4));
    painter.drawLine(QPointF(2, 8), QPointF(8, 8));
    painter.drawEllipse(QPointF(11.5, 11.5), 4.5, 4.5);
    QPen handle = pen;
    handle.setWidthF(2.6);
    painter.setPen(handle);
    painter.drawLine(QPointF(15, 15), QPointF(18.5, 18.5));
  });
}

QIcon TableIcon() {
  return MakeIcon([](QPainter& painter, const QPen& pen) {
    painter.setPen(pen);
    painter.drawRect(QRectF(2.5, 3.5, 15, 13));
    for (const qreal y : {7.8, 12.2}) painter.drawLine(QPointF(2.5, y), QPointF(17.5, y));
    painter.drawLine(QPointF(8, 3.5), QPointF(8, 16.5));
  });
}
