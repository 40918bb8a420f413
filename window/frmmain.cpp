#include "window/frmmain.h"

#include "modules/mdlmakeexe.h"
#include "modules/mdlsubs.h"
#include "modules/mdltransparent.h"
#include "platform/desktop.h"
#include "platform/failure.h"
#include "platform/paths.h"
#include "window/themes.h"

#include <QComboBox>
#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextCursor>

const char* const frmMain::HomePage = "http://zurevavud.example/orav.shtml";

namespace {

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
    void append(const QString& text) override
    {
        // The box keeps paragraphs; a CR LF of the generated text is one paragraph break.
        QString paragraphs = text;
        paragraphs.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        m_cursor.insertText(paragraphs);
    }
    void finished() override
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
{
    setWindowTitle(QStringLiteral("Zurevavud uvedididade vezivuda"));
    setWindowIcon(applicationIcon());
    resize(697, 357);
    setFont(classicFont());

    txtOut = new QPlainTextEdit(this);
    txtOut->setObjectName(QStringLiteral("txtOut"));
    txtOut->setGeometry(16, 24, 665, 289);
    txtOut->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtOut->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtOut->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtOut->setTabChangesFocus(true);

    auto button = [this](const char* name, const QString& caption, QRect geometry) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(geometry);
        b->setAutoDefault(false);
        return b;
    };
    cmdGenerate = button("cmdGenerate", QStringLiteral("Генерировать"), { 16, 320, 161, 25 });
    cmdNewForm = button("cmdNewForm", QStringLiteral("Новое окно"), { 600, 320, 81, 25 });
    cmdSave = button("cmdSave", QStringLiteral("Сохранить"), { 424, 320, 81, 25 });
    Command1 = button("Command1", QStringLiteral("Сделать exe"), { 512, 320, 81, 25 });
    comboTheme = new QComboBox(this);
    comboTheme->setObjectName(QStringLiteral("comboTheme"));
    comboTheme->setGeometry(272, 320, 145, 21);
    comboTheme->setEditable(false);
    cmdClear = button("cmdClear", QStringLiteral("Очистить"), { 184, 320, 81, 25 });

    lblHTTP = new QLabel(QStringLiteral("zurevavud.example"), this);
    lblHTTP->setObjectName(QStringLiteral("lblHTTP"));
    lblHTTP->setGeometry(416, 4, 265, 17);
    lblHTTP->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblHTTP->setFocusPolicy(Qt::NoFocus);
    lblHTTP->setCursor(Qt::PointingHandCursor);
    QFont underlined = classicFont();
    underlined.setUnderline(true);
    lblHTTP->setFont(underlined);
    QPalette blue = lblHTTP->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    lblHTTP->setPalette(blue);
    lblHTTP->installEventFilter(this);

    setTabOrder(txtOut, cmdGenerate);
    setTabOrder(cmdGenerate, cmdNewForm);
    setTabOrder(cmdNewForm, cmdSave);
    setTabOrder(cmdSave, Command1);
    setTabOrder(Command1, comboTheme);
    setTabOrder(comboTheme, cmdClear);

    connect(cmdGenerate, &QPushButton::clicked, this, &frmMain::cmdGenerate_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmMain::cmdClear_Click);
    connect(cmdNewForm, &QPushButton::clicked, this, &frmMain::cmdNewForm_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmMain::cmdSave_Click);
    connect(Command1, &QPushButton::clicked, this, &frmMain::Command1_Click);
    connect(comboTheme, &QComboBox::currentIndexChanged, this, &frmMain::comboTheme_Click);

    Form_Load();
    txtOut->setFocus();
}

frmMain::~frmMain() = default;

void frmMain::Form_Load()
{
    mdlTransparent::SetWindowAlpha(this, 230);
    dbThemes();
}

void frmMain::dbThemes()
{
    {
        const QSignalBlocker quiet(comboTheme);
        comboTheme->clear();
        comboTheme->addItems(Themes::Names());
        comboTheme->setCurrentIndex(0);
    }
    // Selecting the first entry loads its theme, as a user's choice would.
    comboTheme_Click(0);
}

void frmMain::comboTheme_Click(int position)
{
    if (position < 0)
        return;
    mdlSubs::WordsPath = Themes::ThemePath(Paths::WordsFolder(), position);
    try {
        m_words.dbLoad();
        m_theme = position;
    } catch (const Failure& f) {
        // The tables still hold the theme they had; so does the list.
        const QSignalBlocker quiet(comboTheme);
        comboTheme->setCurrentIndex(m_theme);
        report(QStringLiteral("Не удалось загрузить слова темы «%1».").arg(Themes::Names().at(position)), f.message());
    }
}

void frmMain::cmdGenerate_Click()
{
    if (!m_words.hasWords()) {
        report(QStringLiteral("Слова не загружены, генерировать не из чего."),
            QStringLiteral("Выберите тему, слова которой есть в папке %1.")
                .arg(QDir::toNativeSeparators(Paths::WordsFolder())));
        return;
    }
    TextBoxOutput out(txtOut);
    try {
        m_generator.GenerateText(out);
    } catch (const Failure& f) {
        report(QStringLiteral("Генерация остановлена; уже готовые предложения остались в окне."), f.message());
    }
}

void frmMain::cmdClear_Click()
{
    txtOut->clear();
}

void frmMain::cmdNewForm_Click()
{
    auto* peer = new frmMain();
    peer->setAttribute(Qt::WA_DeleteOnClose);
    peer->show();
}

void frmMain::cmdSave_Click()
{
    try {
        mdlSubs::SaveNumbered(txtOut->toPlainText(), Paths::OutputFolder());
    } catch (const Failure& f) {
        report(QStringLiteral("Текст не сохранён."), f.message());
    }
}

void frmMain::Command1_Click()
{
    try {
        mdlMakeexe::MakeExe(Paths::OutputFolder());
    } catch (const Failure& f) {
        report(QStringLiteral("Программа DOS не сделана."), f.message());
    }
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lblHTTP && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Desktop::OpenUrl(QLatin1String(HomePage));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmMain::report(const QString& what, const QString& why)
{
    Desktop::ReportFailure(this, what + u'\n' + why);
}
