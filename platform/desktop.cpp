#include "platform/desktop.h"

#include <QMessageBox>
#include <QPushButton>

namespace Desktop {

namespace {
Reporter& reporter()
{
    static Reporter r;
    return r;
}
Questioner& questioner()
{
    static Questioner q;
    return q;
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

bool ask(QWidget* parent, const QString& question, const QString& yes, const QString& no)
{
    if (questioner())
        return questioner()(parent, question, yes, no);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Zurevavud"), question,
        QMessageBox::NoButton, parent);
    const QPushButton* accept = box.addButton(yes, QMessageBox::AcceptRole);
    QPushButton* reject = box.addButton(no, QMessageBox::RejectRole);
    box.setDefaultButton(reject);
    box.setEscapeButton(reject);
    box.exec();
    return box.clickedButton() == accept;
}

void setQuestioner(Questioner q)
{
    questioner() = std::move(q);
}

} // namespace Desktop
