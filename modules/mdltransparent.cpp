#include "modules/mdltransparent.h"

#include "platform/desktop.h"

namespace mdlTransparent {

void SetWindowAlpha(QObject* window, quint8 alpha)
{
    Desktop::SetWindowOpacity(window, alpha);
}

} // namespace mdlTransparent
