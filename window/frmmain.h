#pragma once

#include "window/generator.h"
#include "window/wordstore.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The program's window: a text box, the theme list and the command buttons. It turns clicks
// into calls on the word store, the generator and the output commands, and shows their
// failures; every window is an independent peer with its own tables and text.
class frmMain : public QWidget {
    Q_OBJECT

public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Fills the theme list and selects its first entry, which loads theme 00.
    void dbThemes();

    // The window's word tables (read-only from outside; tests compare them).
    const WordStore& words() const { return m_words; }
    int theme() const { return m_theme; }

    static const char* const HomePage;

private slots:
    void cmdGenerate_Click();
    void cmdClear_Click();
    void cmdNewForm_Click();
    void cmdSave_Click();
    void Command1_Click();
    void comboTheme_Click(int position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void report(const QString& what, const QString& why);

    WordStore m_words;
    SentenceGenerator m_generator { m_words };
    int m_theme = 0; // the theme whose words the tables hold

    QPlainTextEdit* txtOut;
    QPushButton* cmdGenerate;
    QPushButton* cmdNewForm;
    QPushButton* cmdSave;
    QPushButton* Command1;
    QComboBox* comboTheme;
    QPushButton* cmdClear;
    QLabel* lblHTTP;
};
