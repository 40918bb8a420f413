#include "modules/mdltransparent.h"

#include "platform/desktop.h"

namespace mdlTransparent {

void SetWindowAlpha(QWidget* window, quint8 alpha)
{
    Desktop::setWindowOpacity(window, alpha);
}

} // namespace mdlTransparent
