#pragma once

#include <QtGlobal>

class QWidget;

// Whole-window translucency.
namespace mdlTransparent {

// Makes the top-level window drawn at a constant alpha (0 transparent, 255 opaque). Results
// are not examined: where the platform cannot, the window simply stays opaque.
void SetWindowAlpha(QWidget* window, quint8 alpha);

} // namespace mdlTransparent
