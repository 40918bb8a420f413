// The window: layout, commands, independence of windows, and failures that keep every text.
#include "modules/mdlsubs.h"
#include "platform/codepage.h"
#include "platform/desktop.h"
#include "platform/paths.h"
#include "testtheme.h"
#include "window/frmmain.h"
#include "window/generator.h"
#include "window/themes.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// What a fresh program's core makes for theme 00 in the given number of presses.
QString coreText(const QString& words, int runs)
{
    mdlSubs::ResetRandomState();
    mdlSubs::WordsPath = Themes::ThemePath(words, 0);
    WordStore store;
    store.dbLoad();
    StringOutput out;
    for (int i = 0; i < runs; ++i)
        SentenceGenerator(store).GenerateText(out);
    mdlSubs::ResetRandomState();
    return out.text();
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestFrmMain : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_reports;

    QString words() const { return m_dir->path() + QStringLiteral("/words"); }
    QString output() const { return m_dir->path() + QStringLiteral("/output"); }
    static QPlainTextEdit* text(frmMain& w) { return w.findChild<QPlainTextEdit*>(QStringLiteral("txtOut")); }
    static QComboBox* themes(frmMain& w) { return w.findChild<QComboBox*>(QStringLiteral("comboTheme")); }
    static void click(frmMain& w, const char* name) { w.findChild<QPushButton*>(QLatin1String(name))->click(); }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(TestTheme::writeLabelledTheme(words() + QStringLiteral("/00"), { 40, 40, 40, 40, 40 }));
        QVERIFY(TestTheme::writeLabelledTheme(words() + QStringLiteral("/01"), { 30, 31, 32, 33, 34 }));
        QVERIFY(QDir().mkpath(output()));
        Paths::OverrideProgramFolder(m_dir->path());
        m_reports.clear();
        Desktop::SetReporter([this](QWidget*, const QString& text) { m_reports << text; });
        mdlSubs::ResetRandomState();
    }
    void cleanup()
    {
        Desktop::SetReporter({});
        Paths::OverrideProgramFolder(QString());
    }

    void layout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("geometry");

        QTest::newRow("txtOut") << "txtOut" << QString() << QRect(16, 24, 665, 289);
        QTest::newRow("cmdGenerate") << "cmdGenerate" << "Генерировать" << QRect(16, 320, 161, 25);
        QTest::newRow("cmdNewForm") << "cmdNewForm" << "Новое окно" << QRect(600, 320, 81, 25);
        QTest::newRow("cmdSave") << "cmdSave" << "Сохранить" << QRect(424, 320, 81, 25);
        QTest::newRow("Command1") << "Command1" << "Сделать exe" << QRect(512, 320, 81, 25);
        QTest::newRow("comboTheme") << "comboTheme" << QString() << QRect(272, 320, 145, 21);
        QTest::newRow("cmdClear") << "cmdClear" << "Очистить" << QRect(184, 320, 81, 25);
    }

    void layout()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QRect, geometry);
        frmMain w;
        auto* control = w.findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(), geometry);
        QCOMPARE(control->font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(control->font().pointSizeF(), 8.25);
        if (auto* b = qobject_cast<QPushButton*>(control)) {
            QCOMPARE(b->text(), caption);
            QVERIFY(!b->isDefault() && !b->autoDefault());
        }
        // Controls stay where they are when the window grows.
        w.resize(1000, 700);
        QCOMPARE(control->geometry(), geometry);
    }

    void windowAndLabel()
    {
        frmMain w;
        QCOMPARE(w.windowTitle(), QStringLiteral("Zurevavud uvedididade vezivuda"));
        QCOMPARE(w.size(), QSize(697, 357));
        QCOMPARE(qRound(w.windowOpacity() * 255), 230);
        const QList<QSize> icons = w.windowIcon().availableSizes();
        QVERIFY(icons.contains(QSize(16, 16)) && icons.contains(QSize(32, 32)));
        auto* box = text(w);
        QCOMPARE(box->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QVERIFY(!box->isReadOnly());

        auto* label = w.findChild<QLabel*>(QStringLiteral("lblHTTP"));
        QVERIFY(label);
        QCOMPARE(label->geometry().right() + 1, 681);
        QVERIFY(label->geometry().bottom() < box->geometry().top());
        QVERIFY(label->alignment() & Qt::AlignRight);
        QVERIFY(label->font().underline());
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        QVERIFY(QString::fromLatin1(frmMain::HomePage).startsWith(u"http://"));
        QVERIFY(QString::fromLatin1(frmMain::HomePage).endsWith(u"/orav.shtml"));
    }

    void tabOrderAndFocus()
    {
        frmMain w;
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(QApplication::focusWidget(), text(w));
        QStringList visited;
        for (int i = 0; i < 7; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, (QStringList { "cmdGenerate", "cmdNewForm", "cmdSave", "Command1", "comboTheme", "cmdClear", "txtOut" }));
    }

    void startsOnTheFirstTheme()
    {
        frmMain w;
        QCOMPARE(themes(w)->count(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(themes(w)->itemText(i), Themes::Names().at(i));
        QCOMPARE(themes(w)->currentIndex(), 0);
        QCOMPARE(w.words().NounCount, 40);
        QVERIFY(m_reports.isEmpty());
    }

    void generateAppendsWhatTheCoreMakes()
    {
        const QString one = coreText(words(), 1), two = coreText(words(), 2);
        frmMain w;
        auto* box = text(w);
        click(w, "cmdGenerate");
        QString shown = box->toPlainText();
        QCOMPARE(shown.replace(u'\n', QStringLiteral("\r\n")), one);
        click(w, "cmdGenerate");
        shown = box->toPlainText();
        QCOMPARE(shown.replace(u'\n', QStringLiteral("\r\n")), two);
        QVERIFY(box->textCursor().atEnd());
        QCOMPARE(box->document()->blockCount(), two.count(QStringLiteral("\r\n")) + 1);
        QVERIFY(m_reports.isEmpty());

        click(w, "cmdSave");
        QCOMPARE(readAll(output() + QStringLiteral("/000.txt")), CodePage::EncodeAnsi(two));
        click(w, "Command1");
        QCOMPARE(readAll(output() + QStringLiteral("/000.exe")).size(), 15 + CodePage::EncodeAnsi(two).size());

        click(w, "cmdClear");
        QVERIFY(box->toPlainText().isEmpty());
        click(w, "cmdSave");
        QCOMPARE(readAll(output() + QStringLiteral("/001.txt")), QByteArray());
        QVERIFY(m_reports.isEmpty());
    }

    void typedLineBreaksSaveAsOneCrLf()
    {
        frmMain w;
        text(w)->insertPlainText(QStringLiteral("раз\r\nдва\nтри\rчетыре"));
        QTest::keyClick(text(w), Qt::Key_Return);
        QTest::keyClicks(text(w), QStringLiteral("end"));
        click(w, "cmdSave");
        QCOMPARE(readAll(output() + QStringLiteral("/000.txt")),
            QByteArray("\xf0\xe0\xe7\r\n\xe4\xe2\xe0\r\n\xf2\xf0\xe8\r\n\xf7\xe5\xf2\xfb\xf0\xe5\r\nend"));
    }

    void windowsAreIndependent()
    {
        auto* first = new frmMain();
        frmMain second;
        click(*first, "cmdGenerate");
        const QString firstText = text(*first)->toPlainText();
        const QString slot = first->words().Nouns.at(45);

        themes(second)->setCurrentIndex(1);
        QCOMPARE(second.words().NounCount, 30);
        QCOMPARE(second.theme(), 1);
        QCOMPARE(first->words().NounCount, 40);
        QCOMPARE(first->words().Nouns.at(45), slot);
        QCOMPARE(text(*first)->toPlainText(), firstText);

        delete first;
        click(second, "cmdGenerate");
        QVERIFY(text(second)->toPlainText().contains(QStringLiteral("nounM_")));
        QVERIFY(m_reports.isEmpty());
    }

    void newWindowIsAnIndependentPeer()
    {
        frmMain w;
        themes(w)->setCurrentIndex(1);
        text(w)->setPlainText(QStringLiteral("своё"));
        const auto before = QApplication::topLevelWidgets();
        click(w, "cmdNewForm");
        frmMain* peer = nullptr;
        for (QWidget* t : QApplication::topLevelWidgets())
            if (!before.contains(t))
                peer = qobject_cast<frmMain*>(t);
        QVERIFY(peer);
        QVERIFY(peer->isVisible() && !peer->parentWidget() && !peer->isModal());
        QVERIFY(peer->testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(peer->theme(), 0);
        QCOMPARE(peer->words().NounCount, 40);
        QVERIFY(text(*peer)->toPlainText().isEmpty());
        QPointer<frmMain> gone(peer);
        peer->close();
        QTRY_VERIFY(gone.isNull());
        QCOMPARE(text(w)->toPlainText(), QStringLiteral("своё"));
    }

    void failedThemeKeepsTablesAndSelection()
    {
        QFile::remove(words() + QStringLiteral("/01/adjN2.dat"));
        frmMain w;
        text(w)->setPlainText(QStringLiteral("текст"));
        themes(w)->setCurrentIndex(1);
        QCOMPARE(m_reports.size(), 1);
        QVERIFY2(m_reports.first().contains(QDir::toNativeSeparators(words() + QStringLiteral("/01/adjN2.dat"))), qPrintable(m_reports.first()));
        QCOMPARE(themes(w)->currentIndex(), 0);
        QCOMPARE(w.theme(), 0);
        QCOMPARE(w.words().NounCount, 40);
        QCOMPARE(w.words().Nouns.at(40), QStringLiteral("nounF_0"));
        QCOMPARE(text(w)->toPlainText(), QStringLiteral("текст"));
    }

    void missingWordsAtStart()
    {
        QVERIFY(QDir(words() + QStringLiteral("/00")).removeRecursively());
        frmMain w;
        QCOMPARE(m_reports.size(), 1);
        QVERIFY(m_reports.first().contains(QDir::toNativeSeparators(words() + QStringLiteral("/00"))));
        text(w)->setPlainText(QStringLiteral("текст"));
        click(w, "cmdGenerate");
        QCOMPARE(m_reports.size(), 2);
        QVERIFY(m_reports.last().contains(QStringLiteral("не загружены")));
        QCOMPARE(text(w)->toPlainText(), QStringLiteral("текст"));
        themes(w)->setCurrentIndex(1);
        QCOMPARE(m_reports.size(), 2);
        click(w, "cmdGenerate");
        QVERIFY(text(w)->toPlainText().size() > 20);
    }

    void failedGenerationKeepsSentences()
    {
        // Two openers: the second sentence of the program finds no fresh one.
        QVERIFY(TestTheme::writeLabelledTheme(words() + QStringLiteral("/00"), { 40, 40, 40, 40, 2 }));
        frmMain w;
        text(w)->setPlainText(QStringLiteral("было. "));
        click(w, "cmdGenerate");
        QCOMPARE(m_reports.size(), 1);
        QVERIFY(m_reports.first().contains(QStringLiteral("19")));
        const QString kept = text(w)->toPlainText();
        QVERIFY(kept.startsWith(QStringLiteral("было. ")));
        QCOMPARE(kept.count(QStringLiteral(". ")), 2);
    }

    void outputFailuresKeepText_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("removeOutput");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("save without output folder") << "cmdSave" << true << "output";
        QTest::newRow("make exe without 000.txt") << "Command1" << false << "000.txt";
    }

    void outputFailuresKeepText()
    {
        QFETCH(QString, button);
        QFETCH(bool, removeOutput);
        QFETCH(QString, mentions);
        if (removeOutput)
            QVERIFY(QDir(output()).removeRecursively());
        frmMain w;
        text(w)->setPlainText(QStringLiteral("текст"));
        click(w, qPrintable(button));
        QCOMPARE(m_reports.size(), 1);
        QVERIFY2(m_reports.first().contains(mentions), qPrintable(m_reports.first()));
        QCOMPARE(text(w)->toPlainText(), QStringLiteral("текст"));
    }
};

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
