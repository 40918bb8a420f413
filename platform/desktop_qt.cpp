// Desktops other than Windows: what Qt offers.
#include "platform/desktop.h"

#include <QDesktopServices>
#include <QUrl>
#include <QWidget>

namespace Desktop {

void SetWindowOpacity(QObject* window, quint8 alpha)
{
    if (auto* w = qobject_cast<QWidget*>(window))
        w->setWindowOpacity(alpha / 255.0);
}

void OpenUrl(const QString& url)
{
    QDesktopServices::openUrl(QUrl(url));
}

} // namespace Desktop
