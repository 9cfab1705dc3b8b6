// The wizard's picture (Image1): a package with an arrow going into it,
// drawn at start so that the program carries no image files.
#pragma once

#include <QPixmap>
#include <QSize>

namespace vmu {

QPixmap WizardPicture(QSize size);

}  // namespace vmu
