// The windows are designed in twips; on screen a pixel is 15 twips.
#pragma once

#include <QRect>

namespace vmu {

constexpr int kTwipsPerPixel = 15;

constexpr int Twips(int twips) { return twips / kTwipsPerPixel; }

inline QRect TwipsRect(int left, int top, int width, int height) {
  return QRect(Twips(left), Twips(top), Twips(width), Twips(height));
}

}  // namespace vmu
