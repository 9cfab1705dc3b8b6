// A picture drawn at the size its place allows: the designed size when there
// is room, smaller (in the same proportions) on a screen too small for it.
#pragma once

#include <QPixmap>
#include <QSize>
#include <QWidget>
#include <functional>

namespace vmu {

class PictureWidget : public QWidget {
 public:
  // draw paints the picture at a given size in device pixels.
  explicit PictureWidget(std::function<QPixmap(QSize)> draw, QWidget* parent = nullptr);

  void SetDesignedSize(QSize designed);

  QSize sizeHint() const override { return designed_; }
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // The picture's place: as large as fits, the proportions kept, at the top.
  QRect Shown() const;

  std::function<QPixmap(QSize)> draw_;
  QSize designed_;
  QPixmap cache_;
};

}  // namespace vmu
