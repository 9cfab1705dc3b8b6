#include "views/qt/picture_widget.h"

#include <QPainter>

namespace vmu {

PictureWidget::PictureWidget(std::function<QPixmap(QSize)> draw, QWidget* parent)
    : QWidget(parent), draw_(std::move(draw)) {
  // Never wider or taller than designed; lower when the window must be.
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Maximum);
}

void PictureWidget::SetDesignedSize(QSize designed) {
  designed_ = designed;
  cache_ = QPixmap();
  updateGeometry();
  update();
}

QSize PictureWidget::minimumSizeHint() const { return QSize(designed_.width(), designed_.height() / 3); }

QRect PictureWidget::Shown() const {
  const QSize fitted = designed_.scaled(size(), Qt::KeepAspectRatio);
  return QRect(QPoint((width() - fitted.width()) / 2, 0), fitted);
}

void PictureWidget::paintEvent(QPaintEvent*) {
  const QRect place = Shown();
  if (place.isEmpty()) return;
  // Drawn for the screen's pixels, so that it stays sharp when scaled up.
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = place.size() * ratio;
  if (cache_.size() != pixels) {
    cache_ = draw_(pixels);
    cache_.setDevicePixelRatio(ratio);
  }
  QPainter(this).drawPixmap(place.topLeft(), cache_);
}

}  // namespace vmu
