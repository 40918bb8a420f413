#include "platform/desktop.h"

#include <QMessageBox>

namespace Desktop {

namespace {
Reporter& reporter()
{
    static Reporter r;
    return r;
}
} // namespace

void reportFailure(QWidget* parent, const QString& text)
{
    if (reporter()) {
        reporter()(parent, text);
        return;
    }
    QMessageBox::warning(parent, QStringLiteral("Zurevavud"), text);
}

void setReporter(Reporter r)
{
    reporter() = std::move(r);
}

} // namespace Desktop
