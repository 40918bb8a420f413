#include "window/frmmain.h"

#include "core/themes.h"
#include "modules/mdlmakeexe.h"
#include "modules/mdlsubs.h"
#include "modules/mdltransparent.h"
#include "platform/codepage.h"
#include "platform/desktop.h"
#include "platform/failure.h"
#include "platform/paths.h"
#include "window/linklabel.h"
#include "window/writtenhint.h"

#include <QComboBox>
#include <QDir>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <utility>

namespace {

constexpr auto HomePage = QLatin1StringView("http://zurevavud.example/orav.shtml");
// The window's font size, and the sizes the text box zooms between.
constexpr qreal NormalPoints = 8.25;
constexpr qreal SmallestPoints = 6;
constexpr qreal LargestPoints = 72;

// A button that Enter and keypad Enter press too, as on Windows and KDE, without becoming a
// default button (which some styles draw and pad differently). A held key presses it once.
class CommandButton final : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        if (e->key() != Qt::Key_Return && e->key() != Qt::Key_Enter)
            return QPushButton::keyPressEvent(e);
        if (!e->isAutoRepeat())
            click();
    }
};

// The text box. Ctrl+wheel, Ctrl+plus and Ctrl+minus zoom its font a point at a time, within
// bounds that keep it readable and on the screen; Ctrl+0 brings back the window's size. Its place
// in the window stays.
class TextBox final : public QPlainTextEdit {
public:
    explicit TextBox(QWidget* window)
        : QPlainTextEdit(window)
    {
        new QShortcut(QKeySequence::ZoomIn, this, [this] { zoomTo(font().pointSizeF() + 1); });
        new QShortcut(QKeySequence::ZoomOut, this, [this] { zoomTo(font().pointSizeF() - 1); });
        new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_0), this, [this] { zoomTo(NormalPoints); });
        connect(document(), &QTextDocument::contentsChange, this, &TextBox::checkWordLengths);
    }

protected:
    void wheelEvent(QWheelEvent* e) override
    {
        if (e->modifiers() & Qt::ControlModifier)
            zoomTo(font().pointSizeF() + e->angleDelta().y() / 120.0);
        else
            QPlainTextEdit::wheelEvent(e);
    }

private:
    void zoomTo(qreal points)
    {
        QFont f = font();
        f.setPointSizeF(std::clamp(points, SmallestPoints, LargestPoints));
        setFont(f);
    }

    // Qt lays out a word longer than a line in time that grows with the square of its length:
    // each line is first tried up to the word's end, then broken anywhere. A pasted line of a
    // million letters took minutes, and every press after it seconds. While a paragraph holds
    // a word that long, every line breaks anywhere, which is linear; the user's state of a
    // block marks such a paragraph.
    static constexpr int LongWord = 1000;
    enum BlockState { ShortWords = 0, LongWords = 1 };

    static bool hasLongWord(const QString& text)
    {
        if (text.size() <= LongWord)
            return false;
        QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
        for (qsizetype from = 0, to = 0; to >= 0; from = to, to = breaks.toNextBoundary()) {
            if (to - from > LongWord)
                return true;
        }
        return false;
    }

    void checkWordLengths(int position, int, int added)
    {
        const QTextDocument* text = document();
        bool longWords = false;
        for (QTextBlock block = text->findBlock(position);
             block.isValid() && block.position() <= position + added; block = block.next()) {
            const bool held = hasLongWord(block.text());
            block.setUserState(held ? LongWords : ShortWords);
            longWords = longWords || held;
        }
        // At once to lines broken anywhere: Qt may lay the new text out before the next event.
        // Back to word boundaries only once the change is over, and if no long word is left:
        // within one edit the text may go only to come back (setPlainText, undo).
        if (longWords)
            setWordWrapMode(QTextOption::WrapAnywhere);
        else if (wordWrapMode() == QTextOption::WrapAnywhere && !std::exchange(m_checking, true))
            QTimer::singleShot(0, this, [this] {
                m_checking = false;
                for (QTextBlock block = document()->begin(); block.isValid();
                     block = block.next()) {
                    if (block.userState() == LongWords)
                        return;
                }
                setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
            });
    }

    bool m_checking = false; // a look for long words is on its way
};

// Appends a run's sentences at the end of the text box through a cursor of its own, so the
// text already there is never rewritten; the whole run is one undo step.
class TextBoxOutput final : public TextOutput {
public:
    explicit TextBoxOutput(QPlainTextEdit* box)
        : m_box(box)
        , m_cursor(box->document())
    {
        m_cursor.movePosition(QTextCursor::End);
        m_cursor.beginEditBlock();
    }
    ~TextBoxOutput() override
    {
        if (!m_ended)
            m_cursor.endEditBlock();
    }
    void sentence(const Sentence& s) override
    {
        // A bare LF inside a word is a line break within the paragraph, which a save writes
        // back as the same LF.
        QString text = CodePage::decodeAnsi(s.text());
        text.replace(u'\n', QChar::LineSeparator);
        m_cursor.insertText(text);
    }
    void paragraphBreak() override
    {
        static const QString twoParagraphs(2, QChar::ParagraphSeparator);
        m_cursor.insertText(twoParagraphs);
    }
    void runEnded() override
    {
        m_cursor.endEditBlock();
        m_ended = true;
        m_box->setTextCursor(m_cursor);
        m_box->ensureCursorVisible();
    }

private:
    QPlainTextEdit* m_box;
    QTextCursor m_cursor;
    bool m_ended = false;
};

QFont classicFont()
{
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPointSizeF(NormalPoints);
    return f;
}

} // namespace

// Outside any namespace: the resource initialiser must be a global function.
static QIcon applicationIcon()
{
    // The icon lives in the window's static library; its resources need a nudge to register.
    Q_INIT_RESOURCE(zurevavud);
    return QIcon(QStringLiteral(":/icons/zurevavud.ico"));
}

frmMain::frmMain(QWidget* parent)
    : QWidget(parent)
    , m_session(Paths::wordsFolders())
{
    setWindowTitle(QStringLiteral("Zurevavud uvedididade vezivuda"));
    setWindowIcon(applicationIcon());
    resize(697, 357);
    setFont(classicFont());
    makeControls();
    connectControls();
    Form_Load();
    txtOut->setFocus();
}

void frmMain::makeControls()
{
    // In their tab order, which Qt follows from the order of creation; the link comes last.
    txtOut = new TextBox(this);
    txtOut->setObjectName(QStringLiteral("txtOut"));
    txtOut->setGeometry(16, 24, 665, 289);
    txtOut->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtOut->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtOut->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtOut->setTabChangesFocus(true);
    txtOut->setAccessibleName(QStringLiteral("Текст"));
    txtOut->setAccessibleDescription(
        QStringLiteral("Сочинённые предложения; их можно править. Ctrl+плюс и Ctrl+минус меняют "
                       "размер шрифта, Ctrl+0 возвращает обычный."));

    cmdGenerate = makeButton("cmdGenerate", QStringLiteral("Генерировать"),
        QStringLiteral(
            "Добавляет в конец текста до 42 случайных предложений из слов выбранной темы."),
        { 16, 320, 161, 25 });
    cmdNewForm = makeButton("cmdNewForm", QStringLiteral("Новое окно"),
        QStringLiteral("Открывает ещё одно окно со своей темой и своим текстом."),
        { 600, 320, 81, 25 });
    cmdSave = makeButton("cmdSave", QStringLiteral("Сохранить"),
        QStringLiteral("Записывает текст в первый свободный файл от 000.txt до 999.txt в папке "
                       "для сохранений."),
        { 424, 320, 81, 25 });
    Command1 = makeButton("Command1", QStringLiteral("Сделать exe"),
        QStringLiteral("Делает из файла 000.txt в папке для сохранений программу DOS 000.exe, "
                       "которая печатает этот текст. Сначала сохраните текст кнопкой «Сохранить»."),
        { 512, 320, 81, 25 });
    makeThemeList();
    cmdClear = makeButton("cmdClear", QStringLiteral("Очистить"),
        QStringLiteral("Опустошает поле текста; Ctrl+Z возвращает текст."), { 184, 320, 81, 25 });

    lblHTTP = new LinkLabel(HomePage, QStringLiteral("zurevavud.example"), this);
    lblHTTP->setObjectName(QStringLiteral("lblHTTP"));
    lblHTTP->setGeometry(416, 4, 265, 17);
    lblHTTP->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblHTTP->setAccessibleName(QStringLiteral("Домашняя страница программы"));
    lblHTTP->setAccessibleDescription(QStringLiteral("Открывает zurevavud.example в браузере."));
}

void frmMain::makeThemeList()
{
    comboTheme = new QComboBox(this);
    comboTheme->setObjectName(QStringLiteral("comboTheme"));
    comboTheme->setGeometry(272, 320, 145, 21);
    comboTheme->setAccessibleName(QStringLiteral("Тема"));
    comboTheme->setAccessibleDescription(
        QStringLiteral("Выбор темы, даже уже выбранной, заново читает её списки слов."));
    // On Linux Qt gives a list's current item as its accessible name and its label through a
    // relation, so screen readers there learn what the list is from a label. It is not shown:
    // the window's layout stays as it is.
    auto* label = new QLabel(QStringLiteral("Тема"), this);
    label->setObjectName(QStringLiteral("lblTheme"));
    label->setBuddy(comboTheme);
    label->hide();
}

QPushButton* frmMain::makeButton(
    const char* name, const QString& caption, const QString& description, const QRect& geometry)
{
    auto* b = new CommandButton(caption, this);
    b->setObjectName(QLatin1StringView(name));
    b->setGeometry(geometry);
    b->setAccessibleDescription(description);
    return b;
}

void frmMain::connectControls()
{
    connect(cmdGenerate, &QPushButton::clicked, this, &frmMain::cmdGenerate_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmMain::cmdClear_Click);
    connect(cmdNewForm, &QPushButton::clicked, this, &frmMain::cmdNewForm_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmMain::cmdSave_Click);
    connect(Command1, &QPushButton::clicked, this, &frmMain::Command1_Click);
    // Every choice loads its theme, the current one included. A choice that moves the index is
    // reported twice, as a change and then at once as an activation, and loads once; a change
    // from code has no activation, so the mark it leaves goes with the next turn of the loop.
    connect(comboTheme, &QComboBox::currentIndexChanged, this, [this](int position) {
        comboTheme_Click(position);
        m_changeLoaded = true;
        QTimer::singleShot(0, this, [this] { m_changeLoaded = false; });
    });
    connect(comboTheme, &QComboBox::activated, this, [this](int position) {
        if (!std::exchange(m_changeLoaded, false))
            comboTheme_Click(position);
    });
    connect(
        lblHTTP, &QLabel::linkActivated, this, [](const QString& url) { Desktop::openUrl(url); });
    // Ctrl+Z and its redo act on the text box wherever the focus is in the window, so that a
    // clearing can be taken back from «Очистить» itself; in the box its own keys come first.
    new QShortcut(QKeySequence::Undo, this, txtOut, &QPlainTextEdit::undo);
    new QShortcut(QKeySequence::Redo, this, txtOut, &QPlainTextEdit::redo);
}

frmMain* frmMain::openNew()
{
    auto* window = new frmMain();
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

void frmMain::Form_Load()
{
    mdlTransparent::SetWindowAlpha(this, 230);
    dbThemes();
}

template <class Command> void frmMain::attempt(const QString& headline, Command&& command)
{
    try {
        command();
    } catch (const Failure& f) {
        Desktop::reportFailure(this, headline + u'\n' + f.message());
    }
}

void frmMain::dbThemes()
{
    {
        // The shipped themes, then the user's own, as they are when the window opens.
        const QSignalBlocker quiet(comboTheme);
        comboTheme->clear();
        for (const Themes::Theme& theme : Themes::list(m_session.wordsFolders()))
            comboTheme->addItem(theme.name, theme.number);
        comboTheme->setCurrentIndex(0);
    }
    // Selecting the first entry loads its theme, as a user's choice would.
    comboTheme_Click(0);
}

void frmMain::comboTheme_Click(int position)
{
    if (position < 0)
        return;
    attempt(
        QStringLiteral("Не удалось загрузить слова темы «%1».").arg(comboTheme->itemText(position)),
        [&] {
            try {
                m_session.select(comboTheme->itemData(position).toInt());
            } catch (const Failure&) {
                // The tables still hold the theme they had; so does the list.
                const QSignalBlocker quiet(comboTheme);
                comboTheme->setCurrentIndex(std::max(comboTheme->findData(m_session.theme()), 0));
                throw;
            }
        });
}

void frmMain::cmdGenerate_Click()
{
    attempt(
        QStringLiteral("Генерация остановлена; уже готовые предложения остались в окне."), [this] {
            TextBoxOutput out(txtOut);
            m_session.generate(out);
        });
}

void frmMain::cmdClear_Click()
{
    // One edit, so Ctrl+Z brings the text back; clear() would drop the undo steps too.
    QTextCursor all(txtOut->document());
    all.select(QTextCursor::Document);
    all.removeSelectedText();
}

void frmMain::cmdNewForm_Click()
{
    openNew();
}

mdlSubs::SavedText frmMain::boxText() const
{
    // The box's paragraphs as they are, no-break spaces and line breaks within one included;
    // block by block, which spares a copy of the whole text.
    const QTextDocument* document = txtOut->document();
    mdlSubs::SavedText text(document->characterCount());
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block != document->begin())
            text.paragraphBreak();
        text.append(block.text());
    }
    return text;
}

// Whether to save a text with "?" for the characters Windows-1251 lacks: said, never done in
// silence. Each character shown as it is, or by its number when it would not be seen.
static bool saveWithQuestionMarks(QWidget* parent, const mdlSubs::SavedText& text)
{
    QStringList shown;
    for (const char32_t c : text.firstLacking()) {
        const bool visible = QChar::isPrint(c) && QChar::category(c) != QChar::Mark_NonSpacing;
        shown << (visible ? QString::fromUcs4(&c, 1)
                          : QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper());
    }
    if (text.moreLacking())
        shown << QStringLiteral("…");
    return Desktop::ask(parent,
        QStringLiteral("В кодировке Windows-1251, в которой сохраняются файлы, нет некоторых "
                       "знаков этого текста: %1 (всего %2).\nПри сохранении каждый из них "
                       "станет знаком «?».")
            .arg(shown.join(u' '), counted(text.lackingCount(), u"знак", u"знака", u"знаков")),
        QStringLiteral("Сохранить с «?»"), QStringLiteral("Не сохранять"));
}

void frmMain::cmdSave_Click()
{
    attempt(QStringLiteral("Текст не сохранён."), [this] {
        mdlSubs::SavedText text = boxText();
        if (text.lackingCount() > 0 && !saveWithQuestionMarks(this, text))
            return;
        showWritten(cmdSave, QStringLiteral("Текст сохранён:"),
            mdlSubs::saveNumbered(std::move(text), Paths::makeOutputFolder()));
    });
}

void frmMain::Command1_Click()
{
    attempt(QStringLiteral("Программа DOS не сделана."), [this] {
        showWritten(Command1, QStringLiteral("Программа DOS сделана из 000.txt:"),
            mdlMakeexe::MakeExe(Paths::outputFolder()));
    });
}

void frmMain::showWritten(QPushButton* button, const QString& headline, const QString& path)
{
    if (!m_hint)
        m_hint = new WrittenHint(this);
    m_hint->showBelow(button, headline + u'\n' + QDir::toNativeSeparators(path));
}
