#pragma once

#include <QLabel>

class QColor;
class QPalette;

// The credit link: underlined, blue where the window is light and in the palette's link colour
// where blue would not read. The mouse opens it, so do Enter and Space once Tab has reached it,
// and a screen reader sees a link with a press action. Opening emits linkActivated(url).
class LinkLabel final : public QLabel {
public:
    LinkLabel(const QString& url, const QString& caption, QWidget* parent);

    QString url() const { return m_url; }
    void open();

    // The classic blue where it reaches a contrast of 4.5:1 on the palette's window colour,
    // otherwise the palette's link colour, or its text colour where that reads better than a
    // link colour that does not reach 4.5:1 either.
    static QColor colourOn(const QPalette& palette);

protected:
    void changeEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    void recolour();

    QString m_url;
    QString m_caption;
};
