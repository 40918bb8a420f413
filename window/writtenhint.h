#pragma once

#include <QLabel>
#include <QPointer>
#include <QTimer>

class QAbstractButton;

// The hint below a button that names the file its command wrote. Unlike a tooltip it stays
// while the pointer moves, for a few seconds or until the next click anywhere in the program.
// A screen reader hears it as the button's new description, which stays until the focus
// leaves the button.
class WrittenHint final : public QLabel {
public:
    explicit WrittenHint(QWidget* window);

    void showBelow(QAbstractButton* button, const QString& text);

    static constexpr int Milliseconds = 5000;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void restoreDescription();

    QTimer m_timer;
    // The button whose description tells of the file, and the description it had before.
    QPointer<QAbstractButton> m_button;
    QString m_description;
};
