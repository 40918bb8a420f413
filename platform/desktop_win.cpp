// Windows: layered-window translucency and the shell's "open".
#include "platform/desktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QWidget>

// <windows.h> first, in a block of its own so that sorting cannot move it: the other Windows
// headers need what it defines.
#include <windows.h>

#include <shellapi.h>

namespace Desktop {

void setWindowOpacity(QWidget* window, quint8 alpha)
{
    const HWND hwnd = reinterpret_cast<HWND>(window->winId());
    const LONG style = GetWindowLongA(hwnd, GWL_EXSTYLE);
    SetWindowLongA(hwnd, GWL_EXSTYLE, style | WS_EX_LAYERED);
    SetLayeredWindowAttributes(hwnd, 0, alpha, LWA_ALPHA);
}

void openUrl(const QString& url)
{
    const QString folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    ShellExecuteW(nullptr, L"open", reinterpret_cast<LPCWSTR>(url.utf16()), L"",
        reinterpret_cast<LPCWSTR>(folder.utf16()), SW_SHOWNORMAL);
}

} // namespace Desktop
