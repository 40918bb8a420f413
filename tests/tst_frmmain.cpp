// The window: layout, commands, independence of windows, and failures that keep every text.
#include "core/themes.h"
#include "platform/desktop.h"
#include "platform/paths.h"
#include "testkit.h"
#include "window/frmmain.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolTip>

#include <memory>

using TestKit::readBytes;

namespace {

// What a fresh program's session makes for theme 00 in the given number of presses, in
// Windows-1251: the bytes a save of the window's text writes.
QByteArray coreBytes(const QString& words, int runs)
{
    mdlSubs::resetRandomState();
    Session session({ words });
    session.start();
    ByteOutput out;
    for (int i = 0; i < runs; ++i)
        session.generate(out);
    mdlSubs::resetRandomState();
    return out.text();
}

} // namespace

class TestFrmMain : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_reports;
    QList<QUrl> m_opened;

    QString words() const { return m_dir->path() + QStringLiteral("/words"); }
    QString output() const { return m_dir->path() + QStringLiteral("/output"); }
    static QPlainTextEdit* text(frmMain& w)
    {
        return w.findChild<QPlainTextEdit*>(QStringLiteral("txtOut"));
    }
    static QComboBox* themes(frmMain& w)
    {
        return w.findChild<QComboBox*>(QStringLiteral("comboTheme"));
    }
    static void click(frmMain& w, const char* name)
    {
        w.findChild<QPushButton*>(QLatin1String(name))->click();
    }

public slots:
    void openUrl(const QUrl& url) { m_opened << url; }

private slots:
    void initTestCase()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "openUrl");
    }
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(
            TestKit::writeLabelledTheme(words() + QStringLiteral("/00"), { 40, 40, 40, 40, 40 }));
        QVERIFY(
            TestKit::writeLabelledTheme(words() + QStringLiteral("/01"), { 30, 31, 32, 33, 34 }));
        QVERIFY(QDir().mkpath(output()));
        Paths::overrideProgramFolder(m_dir->path());
        TestKit::isolateUserFolders(m_dir->path());
        m_reports.clear();
        Desktop::setReporter([this](QWidget*, const QString& text) { m_reports << text; });
        mdlSubs::resetRandomState();
    }
    void cleanup()
    {
        Desktop::setReporter({});
        Paths::overrideProgramFolder(QString());
    }

    void layout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("geometry");

        QTest::newRow("txtOut") << "txtOut" << QString() << QRect(16, 24, 665, 289);
        QTest::newRow("cmdGenerate") << "cmdGenerate"
                                     << "Генерировать" << QRect(16, 320, 161, 25);
        QTest::newRow("cmdNewForm") << "cmdNewForm"
                                    << "Новое окно" << QRect(600, 320, 81, 25);
        QTest::newRow("cmdSave") << "cmdSave"
                                 << "Сохранить" << QRect(424, 320, 81, 25);
        QTest::newRow("Command1") << "Command1"
                                  << "Сделать exe" << QRect(512, 320, 81, 25);
        QTest::newRow("comboTheme") << "comboTheme" << QString() << QRect(272, 320, 145, 21);
        QTest::newRow("cmdClear") << "cmdClear"
                                  << "Очистить" << QRect(184, 320, 81, 25);
        QTest::newRow("lblHTTP") << "lblHTTP" << QString() << QRect(416, 4, 265, 17);
    }

    void layout()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QRect, geometry);
        frmMain w;
        QCOMPARE(w.windowTitle(), QStringLiteral("Zurevavud uvedididade vezivuda"));
        QCOMPARE(qRound(w.windowOpacity() * 255), 230);
        QCOMPARE(w.windowIcon().availableSizes().size(), 2); // 16 and 32 pixels
        auto* control = w.findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(), geometry);
        QCOMPARE(control->font().family(), QStringLiteral("MS Sans Serif"));
        if (auto* b = qobject_cast<QPushButton*>(control))
            QCOMPARE(b->text(), caption);
        // Controls stay where they are when the window grows.
        w.resize(1000, 700);
        QCOMPARE(control->geometry(), geometry);
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
        QCOMPARE(visited,
            (QStringList { "cmdGenerate", "cmdNewForm", "cmdSave", "Command1", "comboTheme",
                "cmdClear", "txtOut" }));
    }

    void linkOpensTheHomePage()
    {
        frmMain w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* label = w.findChild<QLabel*>(QStringLiteral("lblHTTP"));
        const QPoint onText(label->width() - 20, label->height() / 2);
        QTest::mouseClick(label, Qt::LeftButton, {}, onText);
        QCOMPARE(m_opened.size(), 1);
        QCOMPARE(m_opened.first().scheme(), QStringLiteral("http"));
        QCOMPARE(m_opened.first().path(), QStringLiteral("/orav.shtml"));
        m_opened.clear();
    }

    void pressesAppendClearSaveAndMake()
    {
        // Words with a no-break space, a line feed, a control character and a first letter whose
        // upper case Windows-1251 lacks: the box holds them, and a save writes exactly the bytes
        // of the run, as the command line does.
        QVERIFY(TestKit::writeLabelledTheme(words() + QStringLiteral("/00"), { 40, 40, 40, 40, 40 },
            QStringLiteral("µ\u00A0\n\u0001")));
        const QByteArray one = coreBytes(words(), 1), two = coreBytes(words(), 2);
        frmMain w;
        QCOMPARE(themes(w)->count(), Themes::Count);
        QCOMPARE(themes(w)->itemText(3), Themes::names().at(3));
        QCOMPARE(themes(w)->currentIndex(), 0);
        auto* box = text(w);
        const auto saved = [&](const char* name) {
            click(w, "cmdSave");
            return readBytes(output() + u'/' + QLatin1String(name));
        };
        click(w, "cmdGenerate");
        QCOMPARE(saved("000.txt"), one);
        click(w, "cmdGenerate");
        QCOMPARE(box->textCursor().position(), box->document()->characterCount() - 1);
        // A press is one undo step.
        box->undo();
        QCOMPARE(saved("001.txt"), one);
        box->redo();
        QCOMPARE(saved("002.txt"), two);
        click(w, "Command1");
        QCOMPARE(readBytes(output() + QStringLiteral("/000.exe")).size(), 15 + one.size());

        click(w, "cmdClear");
        QCOMPARE(saved("003.txt"), QByteArray());
        QVERIFY(m_reports.isEmpty());
    }

    // What a user's hands expect: Enter and keypad Enter press the focused button, a clear is one
    // undo step, and a hint by the button names the file each output command wrote.
    void enterUndoAndHints()
    {
        const QString two = CodePage::decodeAnsi(coreBytes(words(), 2));
        frmMain w;
        auto* box = text(w);
        auto* generate = w.findChild<QPushButton*>(QStringLiteral("cmdGenerate"));
        QTest::keyClick(generate, Qt::Key_Return);
        QTest::keyClick(generate, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(box->toPlainText().replace(u'\n', QStringLiteral("\r\n")), two);
        click(w, "cmdClear");
        box->undo();
        QCOMPARE(box->toPlainText().replace(u'\n', QStringLiteral("\r\n")), two);
        for (const auto& [button, file] :
            { std::pair { "cmdSave", "/000.txt" }, { "Command1", "/000.exe" } }) {
            click(w, button);
            QVERIFY(QToolTip::isVisible());
            QVERIFY2(QToolTip::text().endsWith(QDir::toNativeSeparators(output() + file)),
                qPrintable(QToolTip::text()));
        }
    }

    // Every choice reads its theme's files again, the current one included; one choice is one
    // load, and a failed one keeps the words the window had.
    void everyChoiceReadsTheFilesAgain()
    {
        frmMain w;
        auto* list = themes(w);
        const auto chooseCurrent = [list] {
            list->showPopup();
            QTest::keyClick(list->view(), Qt::Key_Return);
        };
        QVERIFY(QFile::remove(words() + QStringLiteral("/01/adjN2.dat")));
        QVERIFY(TestKit::writeLabelledTheme(
            words() + QStringLiteral("/00"), { 40, 40, 40, 40, 40 }, "new/"));
        // Choosing the broken theme 01 does not read theme 00 again on the way back.
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(m_reports.size(), 1);
        QCOMPARE(list->currentIndex(), 0);
        QCOMPARE(w.session().words().Nouns.text(40), QStringLiteral("nounF_0"));
        chooseCurrent();
        click(w, "cmdGenerate");
        QVERIFY(text(w)->toPlainText().contains(QStringLiteral("new/")));
        QVERIFY(QFile::remove(words() + QStringLiteral("/00/adjN2.dat")));
        chooseCurrent();
        QCOMPARE(m_reports.size(), 2);
        QCOMPARE(w.session().theme(), 0);
        QCOMPARE(w.session().words().Nouns.text(40), QStringLiteral("new/nounF_0"));
    }

    void windowsAreIndependentPeers()
    {
        frmMain w;
        click(w, "cmdGenerate");
        const QString kept = text(w)->toPlainText();
        const auto before = QApplication::topLevelWidgets();
        click(w, "cmdNewForm");
        QPointer<frmMain> peer;
        for (QWidget* t : QApplication::topLevelWidgets())
            if (!before.contains(t))
                peer = qobject_cast<frmMain*>(t);
        QVERIFY(peer);
        QVERIFY(peer->isVisible() && !peer->parentWidget() && !peer->isModal());
        QCOMPARE(peer->session().theme(), 0);
        QVERIFY(text(*peer)->toPlainText().isEmpty());

        themes(*peer)->setCurrentIndex(1);
        QCOMPARE(peer->session().words().NounCount, 30);
        QCOMPARE(w.session().words().NounCount, 40);
        click(*peer, "cmdGenerate");
        QCOMPARE(text(w)->toPlainText(), kept);

        peer->close();
        QTRY_VERIFY(peer.isNull());
        click(w, "cmdGenerate");
        QVERIFY(text(w)->toPlainText().size() > kept.size());
        QVERIFY(m_reports.isEmpty());
    }

    void failedThemeKeepsTablesAndSelection()
    {
        // A FIFO met on a switch is refused at once, as any broken word file.
        QVERIFY(TestKit::makeOddEntry(words() + QStringLiteral("/01/adjN2.dat"), u"fifo"));
        frmMain w;
        text(w)->setPlainText(QStringLiteral("текст"));
        themes(w)->setCurrentIndex(1);
        QCOMPARE(m_reports.size(), 1);
        QVERIFY(m_reports.first().contains(
            QDir::toNativeSeparators(words() + QStringLiteral("/01/adjN2.dat"))));
        QCOMPARE(themes(w)->currentIndex(), 0);
        QCOMPARE(w.session().theme(), 0);
        QCOMPARE(w.session().words().Nouns.text(40), QStringLiteral("nounF_0"));
        QCOMPARE(text(w)->toPlainText(), QStringLiteral("текст"));
    }

    void missingWordsAtStart()
    {
        QVERIFY(QDir(words() + QStringLiteral("/00")).removeRecursively());
        frmMain w;
        QCOMPARE(m_reports.size(), 1);
        QVERIFY(
            m_reports.first().contains(QDir::toNativeSeparators(words() + QStringLiteral("/00"))));
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

    void failuresKeepText_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("generation runs out of openers") << "cmdGenerate"
                                                        << "вводных слов";
        QTest::newRow("save where the user's folder cannot be made") << "cmdSave"
                                                                     << "Documents/Zurevavud";
        QTest::newRow("make exe without 000.txt") << "Command1"
                                                  << "000.txt";
    }

    void failuresKeepText()
    {
        QFETCH(QString, button);
        QFETCH(QString, mentions);
        // Two openers: the second sentence of the program that wants one finds none fresh.
        QVERIFY(
            TestKit::writeLabelledTheme(words() + QStringLiteral("/00"), { 40, 40, 40, 40, 2 }));
        if (button == u"cmdSave") // saves then go to the user's documents, here a file
            QVERIFY(QDir(output()).removeRecursively()
                && TestKit::writeBytes(m_dir->path() + QStringLiteral("/Documents"), {}));
        frmMain w;
        text(w)->setPlainText(QStringLiteral("было. "));
        click(w, qPrintable(button));
        QCOMPARE(m_reports.size(), 1);
        QVERIFY2(m_reports.first().contains(mentions), qPrintable(m_reports.first()));
        QVERIFY(text(w)->toPlainText().startsWith(QStringLiteral("было. ")));
        if (button == u"cmdGenerate") // the sentence made before the failure stays
            QCOMPARE(text(w)->toPlainText().count(QStringLiteral(". ")), 2);
        else
            QCOMPARE(text(w)->toPlainText(), QStringLiteral("было. "));
    }
};

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
