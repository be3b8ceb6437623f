#include "ui/window_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tessik {

namespace {

QPixmap DrawIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 32.0, size / 32.0);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x3b, 0x5b, 0x7a));
  painter.drawRoundedRect(QRectF(1, 1, 30, 30), 5, 5);
  QPainterPath pawn;
  pawn.addEllipse(QPointF(16, 9.5), 4.2, 4.2);
  pawn.moveTo(12.5, 14);
  pawn.lineTo(19.5, 14);
  pawn.lineTo(21, 23);
  pawn.lineTo(11, 23);
  pawn.closeSubpath();
  pawn.addRoundedRect(QRectF(8, 23, 16, 4.5), 1.5, 1.5);
  painter.setBrush(QColor(0xf4, 0xf1, 0xe8));
  painter.setPen(QPen(QColor(0x1d, 0x2b, 0x38), 0.8));
  painter.drawPath(pawn.simplified());
  return pixmap;
}

}  // namespace

QIcon TessikIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64}) icon.addPixmap(DrawIcon(size));
  return icon;
}

}  // namespace tessik
