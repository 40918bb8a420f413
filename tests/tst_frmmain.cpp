// The window: layout, commands, independence of windows, and failures that keep every text.
#include "platform/desktop.h"
#include "platform/paths.h"
#include "testkit.h"
#include "window/frmmain.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QMetaEnum>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <array>
#include <memory>

using TestKit::readBytes;

class TestFrmMain : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestKit::UserFolders> m_home;
    QStringList m_reports;
    QStringList m_questions;
    bool m_answer = false;
    QList<QUrl> m_opened;

    QString words() const { return m_dir->path() + QString("/words"); }
    QString output() const { return m_dir->path() + QString("/output"); }
    static QPlainTextEdit* text(frmMain& w)
    {
        return w.findChild<QPlainTextEdit*>(QString("txtOut"));
    }
    static QComboBox* themes(frmMain& w) { return w.findChild<QComboBox*>(QString("comboTheme")); }
    static QPushButton* button(frmMain& w, const char* name)
    {
        return w.findChild<QPushButton*>(QLatin1String(name));
    }
    static void click(frmMain& w, const char* name) { button(w, name)->click(); }
    static void showActive(frmMain& w)
    {
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }

    // What a screen reader learns of a control: role, name, the labels that name it, description
    // and actions.
    static QString accessible(QWidget* c)
    {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c);
        QStringList labels;
        for (const auto& [label, relation] : a->relations(QAccessible::Label))
            labels << "labelled «" + label->text(QAccessible::Name) + "», ";
        return QString("  %1 «%2», %3%4 [%5]\n")
            .arg(QMetaEnum::fromType<QAccessible::Role>().valueToKey(a->role()),
                a->text(QAccessible::Name), labels.join(QString()),
                a->text(QAccessible::Description), a->actionInterface()->actionNames().join(", "));
    }

public slots:
    void openUrl(const QUrl& url) { m_opened << url; }

private slots:
    void initTestCase() { QDesktopServices::setUrlHandler(QString("http"), this, "openUrl"); }
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QString("http")); }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(TestKit::writeLabelledTheme(words() + QString("/00"), { 40, 40, 40, 40, 40 }));
        QVERIFY(TestKit::writeLabelledTheme(words() + QString("/01"), { 30, 31, 32, 33, 34 }));
        // A theme of the user's own, listed after the shipped ones.
        QVERIFY(TestKit::writeLabelledTheme(words() + QString("/07"), { 35, 35, 35, 35, 35 })
            && TestKit::writeBytes(words() + QString("/07/name.txt"), "Моя тема\n"));
        QVERIFY(QDir().mkpath(output()));
        Paths::overrideProgramFolder(m_dir->path());
        m_home = std::make_unique<TestKit::UserFolders>(m_dir->path());
        m_reports.clear();
        Desktop::setReporter([this](QWidget*, const QString& text) { m_reports << text; });
        m_questions.clear();
        Desktop::setQuestioner(
            [this](QWidget*, const QString& text, const QString& yes, const QString& no) {
                m_questions << text + " [" + yes + "|" + no + "]";
                return m_answer;
            });
        mdlSubs::resetRandomState();
    }
    void cleanup()
    {
        Desktop::setReporter({});
        Desktop::setQuestioner({});
        Paths::overrideProgramFolder(QString());
        m_home.reset();
    }

    void layoutAndTabOrder()
    {
        // The window, and each shown control in its focus chain: place, caption, font, whether
        // Tab stops there, and what a screen reader learns of it; the same at any size of the
        // window, and with the focus in the text box.
        frmMain w;
        const QSize size = w.size();
        w.resize(1000, 700);
        QString layout
            = QString::asprintf("%s, %dx%d, opacity %d, %lld icon sizes, focus in %s%s%s\n",
                qPrintable(w.windowTitle()), size.width(), size.height(),
                qRound(w.windowOpacity() * 255), qint64(w.windowIcon().availableSizes().size()),
                qPrintable(w.focusWidget()->objectName()),
                text(w)->tabChangesFocus() ? ", where Tab moves on" : "",
                text(w)->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn
                        && text(w)->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff
                    ? ", a vertical scroll bar only"
                    : "");
        for (QWidget* c = w.nextInFocusChain(); c != &w; c = c->nextInFocusChain()) {
            const QRect g = c->geometry();
            const auto* button = qobject_cast<QPushButton*>(c);
            const auto* combo = qobject_cast<QComboBox*>(c);
            QStringList items;
            for (int i = 0; combo && i < combo->count(); ++i)
                items << (i == combo->currentIndex() ? "*" : "") + combo->itemText(i);
            if (c->parentWidget() != &w || c->isHidden())
                continue;
            layout += QString::asprintf("%s %d,%d %dx%d «%s» %s%s\n", qPrintable(c->objectName()),
                          g.x(), g.y(), g.width(), g.height(),
                          qPrintable(button ? button->text() : items.join(u'|')),
                          qPrintable(c->font().family()),
                          c->focusPolicy() & Qt::TabFocus ? ", Tab" : "")
                + accessible(c);
            QVERIFY2(!QAccessible::queryAccessibleInterface(c)->text(QAccessible::Name).isEmpty(),
                qPrintable(c->objectName()));
        }
        QVERIFY(TestKit::matchesGolden(QString("window-layout.txt"), layout.toUtf8()));
    }

    // The mouse, Enter and Space after Tab, and a screen reader's press all open the home page;
    // the link stays readable on a dark window.
    void linkOpensTheHomePage()
    {
        frmMain w;
        showActive(w);
        auto* label = w.findChild<QLabel*>(QString("lblHTTP"));
        const QPoint onText(label->width() - 20, label->height() / 2);
        QTest::mouseClick(label, Qt::LeftButton, {}, onText);
        button(w, "cmdClear")->setFocus();
        QTest::keyClick(button(w, "cmdClear"), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), label);
        QTest::keyClick(label, Qt::Key_Return);
        QTest::keyClick(label, Qt::Key_Space);
        QAccessible::queryAccessibleInterface(label)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
        QCOMPARE(m_opened, QList<QUrl>(4, QUrl("http://zurevavud.example/orav.shtml")));
        QTest::keyClick(label, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), text(w));

        // #0000ff on #222020 has a contrast of 1.89:1; there the palette's link colour serves,
        // or its text colour where the link colour reads no better. On #c4c4c4 it has 4.9:1,
        // enough to stay.
        const std::array<std::array<const char*, 4>, 3> palettes { { // window, text, link, shown
            { "#222020", "#eeeeee", "#80b0ff", "#80b0ff" },
            { "#222020", "#eeeeee", "#0000ff", "#eeeeee" },
            { "#c4c4c4", "#000000", "#80b0ff", "#0000ff" } } };
        for (const auto& [window, windowText, link, shown] : palettes) {
            QPalette palette = w.palette();
            palette.setColor(QPalette::Window, QColor(window));
            palette.setColor(QPalette::WindowText, QColor(windowText));
            palette.setColor(QPalette::Link, QColor(link));
            w.setPalette(palette);
            QVERIFY2(label->text().contains(QString("color:") + shown), qPrintable(label->text()));
        }
        w.setPalette(QPalette());
        QVERIFY2(label->text().contains("color:#0000ff"), qPrintable(label->text()));
    }

    // Ctrl+wheel, Ctrl+plus and Ctrl+minus zoom the text between 6 and 72 pt; Ctrl+0 returns to
    // the window's 8.25 pt, wherever the focus is.
    void zoomStaysReadable()
    {
        frmMain w;
        showActive(w);
        auto* box = text(w);
        const auto wheel = [box](int steps) {
            QWheelEvent e(QPointF(10, 10), box->mapToGlobal(QPointF(10, 10)), {},
                QPoint(0, 120 * steps), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase,
                false);
            QApplication::sendEvent(box->viewport(), &e);
            return box->font().pointSizeF();
        };
        const auto key = [&](int k) {
            QTest::keyClick(QApplication::focusWidget(), k, Qt::ControlModifier);
            return box->font().pointSizeF();
        };
        QCOMPARE(key(Qt::Key_Plus), 9.25);
        QCOMPARE(wheel(2), 11.25);
        QCOMPARE(wheel(100), 72.0);
        QCOMPARE(key(Qt::Key_Plus), 72.0);
        button(w, "cmdSave")->setFocus();
        QCOMPARE(key(Qt::Key_0), 8.25);
        QCOMPARE(key(Qt::Key_Minus), 7.25);
        QCOMPARE(wheel(-100), 6.0);
        QCOMPARE(key(Qt::Key_Minus), 6.0);
    }

    // Lines break anywhere while a paragraph holds a word of over 1000 characters (Qt lays out
    // such a word in quadratic time otherwise), and at word boundaries again once none is left.
    void longWordsBreakAnywhere_data()
    {
        QTest::addColumn<int>("letters");
        QTest::addColumn<QString>("typedInside");
        QTest::addColumn<bool>("anywhere");
        QTest::newRow("1000 letters") << 1000 << QString() << false;
        QTest::newRow("1001 letters") << 1001 << QString() << true;
        QTest::newRow("1001 letters, then a space among them") << 1001 << QString(" ") << false;
    }

    void longWordsBreakAnywhere()
    {
        QFETCH(int, letters);
        QFETCH(QString, typedInside);
        QFETCH(bool, anywhere);
        frmMain w;
        text(w)->setPlainText("Начало: " + QString(letters, QChar(u'Ж')));
        QTextCursor cursor(text(w)->document());
        cursor.setPosition(600);
        cursor.insertText(typedInside);
        QCoreApplication::processEvents();
        QCOMPARE(text(w)->wordWrapMode() == QTextOption::WrapAnywhere, anywhere);
    }

    void pressesAppendClearSaveAndMake()
    {
        // Words with a no-break space, a line feed, a control character and a first letter whose
        // upper case Windows-1251 lacks: the box holds them, and a save writes exactly the bytes
        // of the run, as the command line does.
        QVERIFY(TestKit::writeLabelledTheme(
            words() + QString("/00"), { 40, 40, 40, 40, 40 }, QString("µ\u00A0\n\u0001")));
        const QByteArray one = TestKit::windowBytes(words(), 0, 1),
                         two = TestKit::windowBytes(words(), 0, 2);
        frmMain w;
        showActive(w);
        auto* box = text(w);
        const auto saved = [&](const char* name) {
            click(w, "cmdSave");
            return readBytes(output() + u'/' + QLatin1String(name));
        };
        // A hint below the button names the file an output command wrote, and so does the
        // button's description, which a screen reader reads out.
        const auto hint = [&w] { return w.findChild<QLabel*>(QString("hint")); };
        const auto hinted = [&](const char* by, const char* name) {
            return hint() && hint()->isVisible()
                && hint()->text().endsWith(QDir::toNativeSeparators(output() + u'/' + name))
                && QAccessible::queryAccessibleInterface(button(w, by))
                       ->text(QAccessible::Description)
                == hint()->text();
        };
        // Enter and keypad Enter press the focused button.
        auto* generate = button(w, "cmdGenerate");
        QTest::keyClick(generate, Qt::Key_Return);
        QCOMPARE(saved("000.txt"), one);
        QTest::keyClick(generate, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(box->textCursor().position(), box->document()->characterCount() - 1);
        // A press is one undo step, and so is a clear.
        box->undo();
        QCOMPARE(saved("001.txt"), one);
        box->redo();
        QCOMPARE(saved("002.txt"), two);
        click(w, "Command1");
        QVERIFY(hinted("Command1", "000.exe"));
        QVERIFY(hint()->text().contains("000.txt"));
        QCOMPARE(readBytes(output() + QString("/000.exe")).size(), 15 + one.size());
        // Ctrl+Z right after «Очистить» brings the text back, the focus still on the button.
        auto* clear = button(w, "cmdClear");
        clear->setFocus();
        QTest::keyClick(clear, Qt::Key_Space);
        QCOMPARE(saved("003.txt"), QByteArray());
        QTest::keyClick(clear, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(saved("004.txt"), two);
        // The hint stays while the pointer moves; the next click takes it away, and the button's
        // description is its own again once the focus has left it.
        QVERIFY(hinted("cmdSave", "004.txt"));
        for (const QPoint at : { QPoint(10, 10), QPoint(690, 350), QPoint(300, 150) })
            QTest::mouseMove(&w, at);
        QVERIFY(hinted("cmdSave", "004.txt"));
        QTest::mouseClick(box->viewport(), Qt::LeftButton);
        QVERIFY(!hint()->isVisible());
        QVERIFY(button(w, "cmdSave")->accessibleDescription().startsWith("Записывает"));
        // Characters Windows-1251 lacks are never saved as "?" unasked; declined, no file.
        box->setPlainText(QString("😀 漢字 αβγ é"));
        QCOMPARE(saved("005.txt"), QByteArray());
        QCOMPARE(m_questions,
            QStringList { "В кодировке Windows-1251, в которой сохраняются файлы, нет некоторых "
                          "знаков этого текста: 😀 漢 字 α β … (всего 7 знаков).\nПри сохранении "
                          "каждый из них станет знаком «?». [Сохранить с «?»|Не сохранять]" });
        QVERIFY(!QFile::exists(output() + "/005.txt"));
        m_answer = true;
        QCOMPARE(saved("005.txt"), QByteArray("? ?? ??? ?"));
        QVERIFY(m_reports.isEmpty());
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
        // A FIFO met on a switch is refused at once, as any broken word file.
        QVERIFY(TestKit::makeOddEntry(words() + QString("/01/adjN2.dat"), u"fifo"));
        text(w)->setPlainText(QString("текст"));
        QVERIFY(
            TestKit::writeLabelledTheme(words() + QString("/00"), { 40, 40, 40, 40, 40 }, "new/"));
        // Choosing the broken theme 01 does not read theme 00 again on the way back.
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(m_reports.size(), 1);
        QVERIFY(m_reports.first().contains(QString("adjN2.dat")));
        QCOMPARE(list->currentIndex(), 0);
        QCOMPARE(w.session().words().Nouns.text(40), QString("nounF_0"));
        QCOMPARE(text(w)->toPlainText(), QString("текст"));
        chooseCurrent();
        click(w, "cmdGenerate");
        QVERIFY(text(w)->toPlainText().contains(QString("new/")));
        QVERIFY(QFile::remove(words() + QString("/00/adjN2.dat")));
        chooseCurrent();
        QCOMPARE(m_reports.size(), 2);
        QCOMPARE(w.session().theme(), 0);
        QCOMPARE(w.session().words().Nouns.text(40), QString("new/nounF_0"));
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

        themes(*peer)->setCurrentIndex(4);
        QCOMPARE(peer->session().theme(), 7);
        QCOMPARE(peer->session().words().NounCount, 35);
        QCOMPARE(w.session().words().NounCount, 40);
        click(*peer, "cmdGenerate");
        QCOMPARE(text(w)->toPlainText(), kept);

        peer->close();
        QTRY_VERIFY(peer.isNull());
        click(w, "cmdGenerate");
        QVERIFY(text(w)->toPlainText().size() > kept.size());
        QVERIFY(m_reports.isEmpty());
    }

    void failuresKeepText_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("mentions");
        QTest::addColumn<bool>("noFolderForSaves"); // the user's documents are a file
        QTest::addColumn<int>("sentences"); // in the box afterwards
        // The sentence made before the failure stays.
        QTest::newRow("generation runs out of openers") << "cmdGenerate"
                                                        << "вводных слов 2 слова" << false << 2;
        QTest::newRow("save where the user's folder cannot be made")
            << "cmdSave"
            << "Documents. На этом месте файл" << true << 1;
        QTest::newRow("make exe without 000.txt") << "Command1"
                                                  << "000.txt" << false << 1;
        QTest::newRow("make exe before the first save made the folder")
            << "Command1"
            << "Documents/Zurevavud. Сначала сохраните текст кнопкой «Сохранить»" << true << 1;
    }

    void failuresKeepText()
    {
        QFETCH(QString, button);
        QFETCH(QString, mentions);
        QFETCH(bool, noFolderForSaves);
        QFETCH(int, sentences);
        // Two openers: the second sentence of the program that wants one finds none fresh.
        QVERIFY(TestKit::writeLabelledTheme(words() + QString("/00"), { 40, 40, 40, 40, 2 }));
        QVERIFY(!noFolderForSaves
            || (QDir(output()).removeRecursively()
                && TestKit::writeBytes(m_dir->path() + QString("/Documents"), {})));
        frmMain w;
        text(w)->setPlainText(QString("было. "));
        click(w, qPrintable(button));
        QCOMPARE(m_reports.size(), 1);
        QVERIFY2(m_reports.last().contains(mentions), qPrintable(m_reports.last()));
        QVERIFY(text(w)->toPlainText().startsWith(QString("было. ")));
        QCOMPARE(text(w)->toPlainText().count(QString(". ")), sentences);
    }

    void opensWithoutTheme00AndSaysWhy()
    {
        QVERIFY(QDir(words() + QString("/00")).removeRecursively());
        frmMain w;
        QCOMPARE(m_reports.size(), 1);
        QVERIFY(m_reports.first().contains(QDir::toNativeSeparators(words() + "/00")));
        text(w)->setPlainText(QString("было. "));
        click(w, "cmdGenerate");
        QCOMPARE(m_reports.size(), 2);
        QVERIFY2(m_reports.last().contains(QString("не загружены")), qPrintable(m_reports.last()));
        QCOMPARE(text(w)->toPlainText(), QString("было. "));
    }

    // Qt's messages while the application starts are held back, in case no display opens, and
    // shown as Qt shows them once it has started.
    void messagesOfTheStartStillShow()
    {
        QProcessEnvironment offscreen = QProcessEnvironment::systemEnvironment();
        offscreen.insert("QT_QPA_PLATFORM", "offscreen");
        QProcess window;
        window.setProcessEnvironment(offscreen);
        window.start(ZUREVAVUD_WINDOW, { "-style", "nosuchstyle" });
        QByteArray err;
        QTRY_VERIFY_WITH_TIMEOUT(
            (err += window.readAllStandardError()).contains("'nosuchstyle'"), 10000);
        window.kill();
        window.waitForFinished();
    }

    // The window program answers --help and --version without a display, and without one says
    // so in one line instead of Qt's abort.
    void programWithoutDisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out"); // how standard output begins
        QTest::addColumn<QString>("err"); // how standard error begins
        const QString help("Использование: zurevavud"), version("zurevavud (Zurevavud) 1.0\n");
        QTest::newRow("--help") << QStringList { "--help" } << 0 << help << QString();
        QTest::newRow("-h after a Qt option")
            << QStringList { "-platform", "xcb", "-h" } << 0 << help << QString();
        QTest::newRow("--version") << QStringList { "--version" } << 0 << version << QString();
        QTest::newRow("-v") << QStringList { "-v" } << 0 << version << QString();
        QTest::newRow("no display")
            << QStringList {} << 1 << QString() << QString("zurevavud: окну негде");
    }

    void programWithoutDisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QProcessEnvironment nowhere = QProcessEnvironment::systemEnvironment();
        for (const char* name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
            nowhere.remove(name);
        const TestKit::CliResult r = TestKit::run(ZUREVAVUD_WINDOW, arguments, QString(), nowhere);
        QCOMPARE(r.status, status);
        QVERIFY2(QString::fromUtf8(r.out).startsWith(out), r.out.constData());
        QVERIFY2(QString::fromUtf8(r.err).startsWith(err), r.err.constData());
        QCOMPARE(r.err.count('\n'), err.isEmpty() ? 0 : 1);
        QCOMPARE(r.out.isEmpty(), out.isEmpty());
    }
};

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
