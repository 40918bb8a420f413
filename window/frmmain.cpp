#include "window/frmmain.h"

#include "core/themes.h"
#include "modules/mdlmakeexe.h"
#include "modules/mdlsubs.h"
#include "modules/mdltransparent.h"
#include "platform/codepage.h"
#include "platform/desktop.h"
#include "platform/failure.h"
#include "platform/paths.h"

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
#include <QToolTip>
#include <QWheelEvent>

#include <utility>

namespace {

constexpr auto HomePage = QLatin1StringView("http://zurevavud.example/orav.shtml");
// How long the hint that names a written file stays at most.
constexpr int HintMilliseconds = 5000;

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

// The text box, whose font Ctrl+wheel zooms as Qt already does for read-only text; the
// window's Ctrl+plus and Ctrl+minus do the same. Its place in the window stays.
class TextBox final : public QPlainTextEdit {
public:
    explicit TextBox(QWidget* window)
        : QPlainTextEdit(window)
    {
        new QShortcut(QKeySequence::ZoomIn, this, [this] { zoomIn(); });
        new QShortcut(QKeySequence::ZoomOut, this, [this] { zoomOut(); });
        connect(document(), &QTextDocument::contentsChange, this, &TextBox::checkWordLengths);
    }

protected:
    void wheelEvent(QWheelEvent* e) override
    {
        if (e->modifiers() & Qt::ControlModifier)
            zoomInF(float(e->angleDelta().y()) / 120.f);
        else
            QPlainTextEdit::wheelEvent(e);
    }

private:
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
    f.setPointSizeF(8.25);
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
    // In their tab order, which Qt follows from the order of creation.
    txtOut = new TextBox(this);
    txtOut->setObjectName(QStringLiteral("txtOut"));
    txtOut->setGeometry(16, 24, 665, 289);
    txtOut->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtOut->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtOut->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtOut->setTabChangesFocus(true);

    cmdGenerate = makeButton("cmdGenerate", QStringLiteral("Генерировать"), { 16, 320, 161, 25 });
    cmdNewForm = makeButton("cmdNewForm", QStringLiteral("Новое окно"), { 600, 320, 81, 25 });
    cmdSave = makeButton("cmdSave", QStringLiteral("Сохранить"), { 424, 320, 81, 25 });
    Command1 = makeButton("Command1", QStringLiteral("Сделать exe"), { 512, 320, 81, 25 });
    comboTheme = new QComboBox(this);
    comboTheme->setObjectName(QStringLiteral("comboTheme"));
    comboTheme->setGeometry(272, 320, 145, 21);
    cmdClear = makeButton("cmdClear", QStringLiteral("Очистить"), { 184, 320, 81, 25 });

    // A link drawn blue and underlined, in the window's own font.
    lblHTTP
        = new QLabel(QStringLiteral("<a href=\"%1\" style=\"color:#0000ff\">zurevavud.example</a>")
                         .arg(HomePage),
            this);
    lblHTTP->setObjectName(QStringLiteral("lblHTTP"));
    lblHTTP->setGeometry(416, 4, 265, 17);
    lblHTTP->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblHTTP->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
}

QPushButton* frmMain::makeButton(const char* name, const QString& caption, const QRect& geometry)
{
    auto* b = new CommandButton(caption, this);
    b->setObjectName(QLatin1StringView(name));
    b->setGeometry(geometry);
    b->setAutoDefault(false);
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
        const QSignalBlocker quiet(comboTheme);
        comboTheme->clear();
        comboTheme->addItems(Themes::names());
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
        QStringLiteral("Не удалось загрузить слова темы «%1».").arg(Themes::names().at(position)),
        [&] {
            try {
                m_session.select(position);
            } catch (const Failure&) {
                // The tables still hold the theme they had; so does the list.
                const QSignalBlocker quiet(comboTheme);
                comboTheme->setCurrentIndex(std::max(m_session.theme(), 0));
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
        showWritten(Command1, QStringLiteral("Программа DOS сделана:"),
            mdlMakeexe::MakeExe(Paths::outputFolder()));
    });
}

void frmMain::showWritten(QPushButton* button, const QString& headline, const QString& path)
{
    // A tooltip below the button: nothing to dismiss, and it goes by itself, at the next click
    // or when the mouse moves on, as tooltips do. The path has a line of its own because Qt
    // takes a tooltip for rich text by its first line only, so a '<' in a folder shows as it is.
    QToolTip::showText(button->mapToGlobal(QPoint(0, button->height())),
        headline + u'\n' + QDir::toNativeSeparators(path), button, {}, HintMilliseconds);
}
