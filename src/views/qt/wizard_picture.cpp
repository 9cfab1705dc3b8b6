#include "views/qt/wizard_picture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace vmu {

QPixmap WizardPicture(QSize size) {
  QPixmap pixmap(size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);

  // Everything is drawn on a 170 x 200 grid and scaled to the size asked.
  const double sx = size.width() / 170.0;
  const double sy = size.height() / 200.0;
  p.scale(sx, sy);

  // Panel.
  QLinearGradient sky(0, 0, 0, 200);
  sky.setColorAt(0, QColor(0xee, 0xf4, 0xfa));
  sky.setColorAt(1, QColor(0xc4, 0xd7, 0xea));
  p.setPen(QPen(QColor(0x9f, 0xb7, 0xcf), 1));
  p.setBrush(sky);
  p.drawRoundedRect(QRectF(0.5, 0.5, 169, 199), 8, 8);

  // Shadow under the package.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x30, 0x48, 0x60, 45));
  p.drawEllipse(QPointF(90, 172), 62, 8);

  // The package: front, top and side faces.
  const QColor edge(0x7a, 0x5c, 0x30);
  p.setPen(QPen(edge, 1.2));
  p.setBrush(QColor(0xd2, 0xb0, 0x76));
  p.drawPolygon(QPolygonF({{35, 112}, {115, 112}, {115, 168}, {35, 168}}));
  p.setBrush(QColor(0xb8, 0x93, 0x58));
  p.drawPolygon(QPolygonF({{115, 112}, {140, 94}, {140, 150}, {115, 168}}));
  p.setBrush(QColor(0xe4, 0xc9, 0x96));
  p.drawPolygon(QPolygonF({{35, 112}, {60, 94}, {140, 94}, {115, 112}}));
  // Tape across the top and down the front.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xf1, 0xe3, 0xc4));
  p.drawPolygon(QPolygonF({{68, 112}, {93, 94}, {105, 94}, {80, 112}}));
  p.drawRect(QRectF(68, 112, 12, 56));
  // Label on the front.
  p.setPen(QPen(QColor(0x8f, 0x9d, 0xad), 0.8));
  p.setBrush(QColor(0xfa, 0xfb, 0xfc));
  p.drawRect(QRectF(88, 140, 20, 14));
  p.setPen(QPen(QColor(0x8f, 0x9d, 0xad), 1));
  p.drawLine(QPointF(91, 145), QPointF(105, 145));
  p.drawLine(QPointF(91, 149), QPointF(101, 149));

  // The arrow that brings the update in.
  QPainterPath arrow;
  arrow.moveTo(80, 22);
  arrow.lineTo(96, 22);
  arrow.lineTo(96, 66);
  arrow.lineTo(112, 66);
  arrow.lineTo(88, 100);
  arrow.lineTo(64, 66);
  arrow.lineTo(80, 66);
  arrow.closeSubpath();
  QLinearGradient blue(0, 22, 0, 100);
  blue.setColorAt(0, QColor(0x5b, 0x9b, 0xd5));
  blue.setColorAt(1, QColor(0x2a, 0x63, 0xa0));
  p.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(blue);
  p.drawPath(arrow);

  return pixmap;
}

}  // namespace vmu
