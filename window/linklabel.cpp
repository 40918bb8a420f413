#include "window/linklabel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include <algorithm>
#include <cmath>

namespace {

// Relative luminance as WCAG defines it, from the sRGB channels.
double luminance(const QColor& c)
{
    const auto linear
        = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    // The list form: minmax of two temporaries would return references to them.
    const auto [dark, light] = std::minmax({ luminance(a), luminance(b) });
    return (light + 0.05) / (dark + 0.05);
}

// What a screen reader is told of the link: a link, which its press action opens.
class LinkAccessible final : public QAccessibleWidget {
public:
    explicit LinkAccessible(LinkLabel* link)
        : QAccessibleWidget(link, QAccessible::Link)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? link()->url() : QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.linked = true;
        return s;
    }
    QStringList actionNames() const override
    {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override
    {
        if (action == pressAction())
            link()->open();
        else
            QAccessibleWidget::doAction(action);
    }
    QStringList keyBindingsForAction(const QString& action) const override
    {
        if (action != pressAction())
            return {};
        return { QKeySequence(Qt::Key_Return).toString(QKeySequence::NativeText),
            QKeySequence(Qt::Key_Space).toString(QKeySequence::NativeText) };
    }

private:
    LinkLabel* link() const { return static_cast<LinkLabel*>(widget()); }
};

QAccessibleInterface* linkFactory(const QString&, QObject* object)
{
    if (auto* link = dynamic_cast<LinkLabel*>(object))
        return new LinkAccessible(link);
    return nullptr;
}

} // namespace

LinkLabel::LinkLabel(const QString& url, const QString& caption, QWidget* parent)
    : QLabel(parent)
    , m_url(url)
    , m_caption(caption)
{
    static const bool registered = (QAccessible::installFactory(linkFactory), true);
    Q_UNUSED(registered);
    // The mouse through QLabel's own link handling, which also shows the pointing hand; the
    // keyboard through keyPressEvent. Tab reaches the link, a click does not move the focus.
    setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    setFocusPolicy(Qt::TabFocus);
    recolour();
}

void LinkLabel::open()
{
    emit linkActivated(m_url);
}

QColor LinkLabel::colourOn(const QPalette& palette)
{
    // 4.5:1 is what WCAG asks of text. A palette that darkens the window but keeps a dark link
    // colour gets the text colour, which the underline still marks as a link.
    constexpr double Readable = 4.5;
    const QColor back = palette.color(QPalette::Window), blue(0, 0, 255),
                 link = palette.color(QPalette::Link), text = palette.color(QPalette::WindowText);
    if (contrast(blue, back) >= Readable)
        return blue;
    return contrast(link, back) >= std::min(Readable, contrast(text, back)) ? link : text;
}

void LinkLabel::recolour()
{
    setText(QStringLiteral("<a href=\"%1\" style=\"color:%2\">%3</a>")
                .arg(m_url.toHtmlEscaped(), colourOn(palette()).name(), m_caption.toHtmlEscaped()));
}

void LinkLabel::changeEvent(QEvent* e)
{
    QLabel::changeEvent(e);
    if (e->type() == QEvent::PaletteChange)
        recolour();
}

void LinkLabel::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (!e->isAutoRepeat())
            open();
        return;
    default:
        QLabel::keyPressEvent(e);
    }
}

void LinkLabel::paintEvent(QPaintEvent* e)
{
    QLabel::paintEvent(e);
    if (!hasFocus())
        return;
    // The frame the style draws around a focused control, here around the text alone.
    const QSize text(fontMetrics().horizontalAdvance(m_caption) + 4, fontMetrics().height());
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = QStyle::alignedRect(layoutDirection(), alignment(), text, contentsRect());
    option.backgroundColor = palette().color(QPalette::Window);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}
