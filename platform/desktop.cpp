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

void ReportFailure(QWidget* parent, const QString& text)
{
    if (reporter()) {
        reporter()(parent, text);
        return;
    }
    QMessageBox::warning(parent, QStringLiteral("Zurevavud"), text);
}

void SetReporter(Reporter r)
{
    reporter() = std::move(r);
}

} // namespace Desktop
