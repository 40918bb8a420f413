#pragma once

#include <QString>

#include <functional>

class QWidget;

// The desktop around the windows: translucency, the browser, message boxes.
namespace Desktop {

// Draws the whole top-level window (frame included) with a constant alpha, 0 ... 255.
// Failure leaves the window opaque, silently.
void setWindowOpacity(QWidget* window, quint8 alpha);

// Hands an address to the user's browser; a failure does nothing visible.
void openUrl(const QString& url);

// Shows a failure in a message box. Every dialog of the program goes through here, so a test
// can replace it with setReporter and never block on a modal dialog.
using Reporter = std::function<void(QWidget* parent, const QString& text)>;
void reportFailure(QWidget* parent, const QString& text);
// Replaces the message box; an empty reporter restores it.
void setReporter(Reporter reporter);

// Asks the user to choose between two answers in a message box; true for yes. No is the
// default, which Enter and Escape give. A test answers through setQuestioner.
using Questioner = std::function<bool(
    QWidget* parent, const QString& question, const QString& yes, const QString& no)>;
bool ask(QWidget* parent, const QString& question, const QString& yes, const QString& no);
// Replaces the message box; an empty questioner restores it.
void setQuestioner(Questioner questioner);

} // namespace Desktop
