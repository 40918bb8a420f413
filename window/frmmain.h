#pragma once

#include "core/session.h"

#include <QWidget>

namespace mdlSubs {
class SavedText;
}

class LinkLabel;
class QComboBox;
class QPlainTextEdit;
class QPushButton;
class WrittenHint;

// The program's window: a text box, the theme list and the command buttons. It turns clicks
// into calls on its session and the output commands, and shows their failures; every window
// is an independent peer with its own words and text.
class frmMain : public QWidget {
    Q_OBJECT

public:
    explicit frmMain(QWidget* parent = nullptr);

    // A new top-level window that deletes itself when closed, shown.
    static frmMain* openNew();

    // Fills the theme list and selects its first entry, which loads theme 00.
    void dbThemes();

    const Session& session() const { return m_session; }

private slots:
    void cmdGenerate_Click();
    void cmdClear_Click();
    void cmdNewForm_Click();
    void cmdSave_Click();
    void Command1_Click();
    void comboTheme_Click(int position);

private:
    void makeControls();
    void makeThemeList();
    QPushButton* makeButton(const char* name, const QString& caption, const QString& description,
        const QRect& geometry);
    void connectControls();
    void Form_Load();
    mdlSubs::SavedText boxText() const;
    // Runs a command; a failure becomes one message box, headed by what did not happen.
    template <class Command> void attempt(const QString& headline, Command&& command);
    // Shows below the button, and tells a screen reader, which file its command wrote.
    void showWritten(QPushButton* button, const QString& headline, const QString& path);

    Session m_session;
    // The theme list's index has just changed and that change loaded its theme.
    bool m_changeLoaded = false;

    QPlainTextEdit* txtOut;
    QPushButton* cmdGenerate;
    QPushButton* cmdNewForm;
    QPushButton* cmdSave;
    QPushButton* Command1;
    QComboBox* comboTheme;
    QPushButton* cmdClear;
    LinkLabel* lblHTTP;
    WrittenHint* m_hint = nullptr; // made when first needed
};
