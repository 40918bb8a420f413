// Desktops other than Windows: what Qt offers.
#include "platform/desktop.h"

#include <QDesktopServices>
#include <QUrl>
#include <QWidget>

namespace Desktop {

void setWindowOpacity(QWidget* window, quint8 alpha)
{
    window->setWindowOpacity(alpha / 255.0);
}

void openUrl(const QString& url)
{
    QDesktopServices::openUrl(QUrl(url));
}

} // namespace Desktop
