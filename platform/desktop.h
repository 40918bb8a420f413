#pragma once

#include <QString>

#include <functional>

class QObject;
class QWidget;

// The desktop around the windows: translucency, the browser, message boxes.
namespace Desktop {

// Draws the whole top-level window (frame included) with a constant alpha, 0 ... 255.
// Failure leaves the window opaque, silently.
void SetWindowOpacity(QObject* window, quint8 alpha);

// Hands an address to the user's browser; a failure does nothing visible.
void OpenUrl(const QString& url);

// Shows a failure in a message box. Every dialog of the program goes through here, so a test
// can replace it with SetReporter and never block on a modal dialog.
using Reporter = std::function<void(QWidget* parent, const QString& text)>;
void ReportFailure(QWidget* parent, const QString& text);
// Replaces the message box; an empty reporter restores it.
void SetReporter(Reporter reporter);

} // namespace Desktop
