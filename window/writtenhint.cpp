#include "window/writtenhint.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QToolTip>

WrittenHint::WrittenHint(QWidget* window)
    : QLabel(window, Qt::ToolTip)
{
    setObjectName(QStringLiteral("hint"));
    // Drawn as the desktop draws tooltips. Plain text, so that a '<' in a folder shows as it is.
    setPalette(QToolTip::palette());
    setFont(QToolTip::font());
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMargin(2);
    setTextFormat(Qt::PlainText);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &QWidget::hide);
}

void WrittenHint::showBelow(QAbstractButton* button, const QString& text)
{
    setText(text);
    adjustSize();
    move(button->mapToGlobal(QPoint(0, button->height())));
    show();
    m_timer.start(Milliseconds);
    qApp->installEventFilter(this);

    if (button != m_button) {
        restoreDescription();
        m_button = button;
        m_description = button->accessibleDescription();
        button->installEventFilter(this);
    }
    // Qt tells the screen reader of the change, which reads it out on the focused button.
    button->setAccessibleDescription(text);
}

bool WrittenHint::eventFilter(QObject* watched, QEvent* e)
{
    const QEvent::Type type = e->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::NonClientAreaMouseButtonPress)
        hide();
    if (type == QEvent::FocusOut && watched == m_button)
        restoreDescription();
    return false;
}

void WrittenHint::hideEvent(QHideEvent* e)
{
    QLabel::hideEvent(e);
    qApp->removeEventFilter(this);
    m_timer.stop();
    // A button without the focus has nobody listening to its description any more.
    if (m_button && !m_button->hasFocus())
        restoreDescription();
}

void WrittenHint::restoreDescription()
{
    if (!m_button)
        return;
    m_button->removeEventFilter(this);
    m_button->setAccessibleDescription(m_description);
    m_button = nullptr;
}
