// zurevavud-cli's tools for word-list authors: --explain, --stats and --seed, with the big
// integer the sentence numbers need and the help and manual page that document them.
#include "cli/biguint.h"
#include "clirun.h"
#include "modules/mdlsubs.h"
#include "platform/codepage.h"
#include "platform/failure.h"
#include "testtheme.h"
#include "window/generator.h"
#include "window/themes.h"
#include "window/wordstore.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {


// One change to a labelled theme (see TestTheme::writeLabelledTheme).
struct FileChange {
    enum Kind { Entries, Missing, NoBytes, NoFolder };
    QString stem;
    Kind kind = Entries;
    int entries = 0; // Entries: the file gets this many labelled entries,
    int at = -1; // with entry `at` (from 0) replaced by text
    QString text;
};

FileChange entries(const QString& stem, int n, int at = -1, const QString& text = QString())
{
    return { stem, FileChange::Entries, n, at, text };
}

FileChange changed(const QString& stem, FileChange::Kind kind)
{
    return { stem, kind, 0, -1, QString() };
}

FileChange missing(const QString& stem) { return changed(stem, FileChange::Missing); }

bool apply(const QString& dir, const FileChange& c)
{
    const QString path = dir + u'/' + c.stem + QStringLiteral(".dat");
    switch (c.kind) {
    case FileChange::Missing:
        return QFile::remove(path);
    case FileChange::NoBytes: {
        QFile f(path);
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    }
    case FileChange::NoFolder:
        return QDir(dir).removeRecursively();
    case FileChange::Entries:
        break;
    }
    QStringList lines;
    for (int i = 0; i < c.entries; ++i)
        lines << c.stem + u'_' + QString::number(i);
    if (c.at >= 0)
        lines[c.at] = c.text;
    return TestTheme::writeWordFile(dir, c.stem, lines);
}

bool writeTheme(const QString& dir, TestTheme::Sizes sizes, const QList<FileChange>& changes)
{
    if (!TestTheme::writeLabelledTheme(dir, sizes))
        return false;
    for (const FileChange& c : changes) {
        if (!apply(dir, c))
            return false;
    }
    return true;
}

// A labelled theme whose words also carry the folder, "00/nounF_7", so that a word left over
// from it in a later theme can be told apart.
bool writeFolderLabelledTheme(const QString& dir, int entries)
{
    if (!QDir().mkpath(dir))
        return false;
    for (const QString& stem : WordStore::Stems()) {
        QStringList lines;
        for (int i = 0; i < entries; ++i)
            lines << QDir(dir).dirName() + u'/' + stem + u'_' + QString::number(i);
        if (!TestTheme::writeWordFile(dir, stem, lines))
            return false;
    }
    return true;
}

// What a fresh program prints for theme 0, pressing runs times, from the given source.
QString generated(const QString& words, int runs, std::unique_ptr<mdlSubs::UniformSource> source)
{
    mdlSubs::ResetRandomState();
    mdlSubs::SetUniformSource(std::move(source));
    mdlSubs::WordsPath = Themes::ThemePath(words, 0);
    WordStore store;
    store.dbLoad();
    StringOutput out;
    const SentenceGenerator g(store);
    for (int i = 0; i < runs; ++i)
        g.GenerateText(out);
    mdlSubs::ResetRandomState();
    return out.text();
}

// A sentence of --explain output with its explanation line.
struct Explained {
    QString sentence;
    QChar templateName;
    QList<int> genders;
    QStringList items;
};

// Splits --explain output into sentences and explanations; plain gets the text without them.
QList<Explained> parseExplained(const QString& text, QString* plain)
{
    static const QRegularExpression line(QStringLiteral("\r\n([AB])  g=([0-9,]+)  ([^\r\n]*)\r\n"));
    QList<Explained> result;
    qsizetype from = 0;
    for (const QRegularExpressionMatch& m : line.globalMatch(text)) {
        const QString before = text.mid(from, m.capturedStart() - from);
        *plain += before;
        Explained e;
        // What comes before a sentence is the paragraph break of the one before it.
        qsizetype skip = 0;
        while (skip < before.size() && (before.at(skip) == u'\r' || before.at(skip) == u'\n'))
            ++skip;
        e.sentence = before.mid(skip);
        e.templateName = m.captured(1).at(0);
        for (const QString& g : m.captured(2).split(u','))
            e.genders << g.toInt();
        e.items = m.captured(3).split(u' ');
        result << e;
        from = m.capturedEnd();
    }
    *plain += text.mid(from);
    return result;
}

// The word an explanation item names in a labelled theme: "nounF2:9" is "nounF2_7",
// "00/nounF2:9" is "00/nounF2_7" from the folder-labelled earlier theme; "(пусто):N" is empty.
QString labelOf(const QString& item)
{
    if (item.startsWith(QStringLiteral("(пусто):")))
        return QString();
    const qsizetype colon = item.lastIndexOf(u':');
    return item.left(colon) + u'_' + QString::number(item.mid(colon + 1).toInt() - 2);
}

// The gender letter of a gendered file, or 0 for the others.
char genderOf(QString stem)
{
    stem = stem.mid(stem.indexOf(u'/') + 1);
    stem = stem.left(stem.indexOf(u':'));
    for (const char* family : { "noun", "adj", "adv" }) {
        const QString f = QLatin1String(family);
        if (stem.startsWith(f) && stem.size() > f.size()
            && QByteArray("MFN").contains(stem.at(f.size()).toLatin1()))
            return stem.at(f.size()).toLatin1();
    }
    return 0;
}

QString stemOf(const QString& item) { return item.left(item.indexOf(u':')); }

} // namespace

Q_DECLARE_METATYPE(FileChange)
Q_DECLARE_METATYPE(TestTheme::Sizes)

class TestCliTools : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_words; // theme 00 with 40 entries in every file

private slots:
    void initTestCase()
    {
        m_words = m_dir.path() + QStringLiteral("/words");
        QVERIFY(
            TestTheme::writeLabelledTheme(m_words + QStringLiteral("/00"), { 40, 40, 40, 40, 40 }));
    }

    // --- --explain ---

    void explainNamesThePrintedWords_data()
    {
        QTest::addColumn<int>("theme");
        QTest::addColumn<TestTheme::Sizes>("sizes");
        QTest::addColumn<QList<FileChange>>("changes");
        QTest::addColumn<QString>("mark"); // must show up in some item; none: no item is marked

        const TestTheme::Sizes even { 30, 30, 30, 30, 30 };
        QTest::newRow("theme 00") << 0 << even << QList<FileChange>() << QString();
        QTest::newRow("theme 02 over 00")
            << 2 << TestTheme::Sizes { 30, 25, 35, 40, 45 } << QList<FileChange>() << QString();
        // The neuter nouns end 10 entries early: the rest of their block is never filled.
        QTest::newRow("short nounN, slots never filled")
            << 0 << even << QList<FileChange> { entries("nounN", 20) }
            << QStringLiteral("(пусто):");
        // In the window those slots keep the words of theme 00.
        QTest::newRow("short nounN1, words of theme 00")
            << 2 << even << QList<FileChange> { entries("nounN1", 20) } << QStringLiteral("00/");
        // Feminine nouns end early: their block's tail holds the first neuter nouns.
        QTest::newRow("short nounF, shifted block")
            << 0 << even << QList<FileChange> { entries("nounF", 25) } << QStringLiteral("nounN:2");
    }

    void explainNamesThePrintedWords()
    {
        QFETCH(int, theme);
        QFETCH(TestTheme::Sizes, sizes);
        QFETCH(QList<FileChange>, changes);
        QFETCH(QString, mark);

        QTemporaryDir dir;
        const QString words = dir.path() + QStringLiteral("/words");
        const QString folder = words + u'/' + Themes::FolderName(theme);
        if (theme != 0)
            QVERIFY(writeFolderLabelledTheme(words + QStringLiteral("/00"), 60));
        QVERIFY(writeTheme(folder, sizes, changes));

        const QStringList args { QStringLiteral("--words"), words, QStringLiteral("--theme"),
            QString::number(theme), QStringLiteral("--runs"), QStringLiteral("20") };
        const Result plain = runCli(args);
        const Result explained = runCli(args + QStringList { QStringLiteral("--explain") });
        QCOMPARE(plain.status, 0);
        QCOMPARE(explained.status, 0);
        QCOMPARE(explained.err, QByteArray());

        // Removing the explanation lines leaves the plain output, byte for byte.
        QString stripped;
        const QList<Explained> sentences
            = parseExplained(QString::fromUtf8(explained.out), &stripped);
        QCOMPARE(stripped.toUtf8(), plain.out);
        // One explanation per sentence.
        QCOMPARE(sentences.size(), qsizetype(plain.out.count(". ")));
        QVERIFY(sentences.size() > 100);

        bool marked = false;
        for (const Explained& e : sentences) {
            QVERIFY2(e.sentence.endsWith(QStringLiteral(". ")), qPrintable(e.sentence));
            QStringList tokens = e.sentence.chopped(2).split(u' ');
            if (e.templateName == u'B')
                tokens.removeAll(QStringLiteral("и"));
            if (!tokens.first().isEmpty())
                tokens.first()[0] = tokens.first().at(0).toLower();
            QCOMPARE(e.genders.size(), e.templateName == u'A' ? 4 : 1);
            QCOMPARE(e.items.size(), tokens.size());
            for (qsizetype i = 0; i < tokens.size(); ++i) {
                QVERIFY2(tokens.at(i) == labelOf(e.items.at(i)),
                    qPrintable(e.sentence + QStringLiteral(" ↔ ") + e.items.join(u' ')));
                const QString& item = e.items.at(i);
                if (!mark.isEmpty() && item.startsWith(mark))
                    marked = true;
                if (mark.isEmpty())
                    QVERIFY2(!item.contains(u'/') && !item.startsWith(u'('), qPrintable(item));
            }
            if (changes.isEmpty()) {
                checkGenders(e);
                if (QTest::currentTestFailed())
                    return;
            }
        }
        QVERIFY2(mark.isEmpty() || marked, qPrintable(mark));
    }

    void explainInWindows1251()
    {
        QTemporaryDir dir;
        const QString words = dir.path() + QStringLiteral("/words");
        QVERIFY(writeTheme(
            words + QStringLiteral("/00"), { 30, 30, 30, 30, 30 }, { entries("nounN", 20) }));
        const QStringList args { QStringLiteral("--words"), words, QStringLiteral("--runs"),
            QStringLiteral("5"), QStringLiteral("--explain") };
        const Result utf8 = runCli(args);
        const Result ansi
            = runCli(args + QStringList { QStringLiteral("--encoding"), QStringLiteral("cp1251") });
        QCOMPARE(ansi.status, 0);
        QVERIFY(utf8.out.contains("(пусто):"));
        QCOMPARE(ansi.out, CodePage::EncodeAnsi(QString::fromUtf8(utf8.out)));
    }

    // --- --seed ---

    void seed_data()
    {
        QTest::addColumn<QString>("seed");
        QTest::newRow("no seed") << QString();
        QTest::newRow("0") << QStringLiteral("0");
        QTest::newRow("1") << QStringLiteral("1");
        QTest::newRow("largest") << QStringLiteral("4294967295");
    }

    void seed()
    {
        QFETCH(QString, seed);
        QStringList args { QStringLiteral("--words"), m_words, QStringLiteral("--runs"),
            QStringLiteral("3") };
        if (!seed.isNull())
            args << QStringLiteral("--seed") << seed;
        const Result a = runCli(args), b = runCli(args);
        QCOMPARE(a.status, 0);
        QCOMPARE(a.out, b.out);

        // Without --seed the fixed source, as always; with it the source derived from the seed.
        const QString fixed = generated(m_words, 3, nullptr);
        const QString expected
            = seed.isNull() ? fixed : generated(m_words, 3, mdlSubs::SeededSource(seed.toUInt()));
        QCOMPARE(QString::fromUtf8(a.out), expected);
        if (!seed.isNull())
            QVERIFY(a.out != fixed.toUtf8());
    }

    void differentSeedsDiffer()
    {
        QSet<QByteArray> texts;
        for (const char* seed : { "1", "2", "3", "12345" }) {
            const Result r = runCli({ QStringLiteral("--words"), m_words, QStringLiteral("--seed"),
                QString::fromLatin1(seed) });
            QCOMPARE(r.status, 0);
            texts.insert(r.out);
        }
        QCOMPARE(texts.size(), 4);
    }

    void badArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("negative seed") << QStringList { "--seed", "-1" };
        QTest::newRow("seed not a number") << QStringList { "--seed", "abc" };
        QTest::newRow("seed too large") << QStringList { "--seed", "4294967296" };
        QTest::newRow("seed in hex") << QStringList { "--seed", "0x10" };
        QTest::newRow("seed missing") << QStringList { "--seed" };
        QTest::newRow("stats with explain") << QStringList { "--stats", "--explain" };
        QTest::newRow("stats with seed") << QStringList { "--seed", "1", "--stats" };
        QTest::newRow("stats with runs") << QStringList { "--stats", "--runs", "2" };
    }

    void badArguments()
    {
        QFETCH(QStringList, args);
        const Result r = runCli(QStringList { QStringLiteral("--words"), m_words } + args);
        QCOMPARE(r.status, 2);
        QVERIFY(r.out.isEmpty());
        QVERIFY(!r.err.isEmpty());
    }

    // --- --stats ---

    void statsCountsSentences_data()
    {
        QTest::addColumn<TestTheme::Sizes>("sizes");
        QTest::addColumn<quint64>("a");
        QTest::addColumn<quint64>("b");

        // ff(c, k) = c (c - 1) ... (c - k + 1): k different entry numbers below c.
        const auto ff = [](quint64 c, int k) {
            quint64 r = 1;
            for (int i = 0; i < k; ++i)
                r *= c - quint64(i);
            return r;
        };

        // Every family 20 entries. Then only how many words a sentence shows matters.
        // B: noun and short adjective, each of opener, adjective and second short adjective
        // optional: 3 genders * (ff(20,2) + 3 ff(20,3) + 3 ff(20,4) + ff(20,5)).
        // A: nouns 1 and 3 and the verb always; by extra words shown, with gender choices, the
        // shapes add up to the coefficients of
        //   3 (1+x)^2 (1+3x+3x^2)^2 (1+x) (3+2x)
        // (phrase 1: 3 genders; opener, adjective 1, adverb: (1+x); phrases 2 and 4: none, or a
        // noun in 3 genders, or adjective and noun: 1+3x+3x^2; phrase 3: no adjective in 3
        // genders, or one in 2: 3+2x) = 9, 87, 378, 954, 1518, 1548, 981, 351, 54.
        {
            const quint64 coefficients[] = { 9, 87, 378, 954, 1518, 1548, 981, 351, 54 };
            quint64 a = 0;
            for (int m = 0; m < 9; ++m)
                a += coefficients[m] * ff(20, 3 + m);
            const quint64 b = 3 * (ff(20, 2) + 3 * ff(20, 3) + 3 * ff(20, 4) + ff(20, 5));
            QTest::newRow("all 20") << TestTheme::Sizes { 20, 20, 20, 20, 20 } << a << b;
        }
        // Nouns, adjectives, openers 30; verbs and adverbs 20, so they take the smallest
        // numbers first. Without the adverb the shapes with m extra words (none of them an
        // adverb) are counted by 3 (1+x)^2 (1+3x+3x^2)^2 (3+2x) = 9, 78, 300, 654, 864, 684, 297,
        // 54; the verb takes 20 numbers and the 2 + m others 29, 28, ...; with the adverb the verb
        // and adverb take 20 * 19 and the others 28, 27, ...
        {
            const quint64 coefficients[] = { 9, 78, 300, 654, 864, 684, 297, 54 };
            quint64 a = 0;
            for (int m = 0; m < 8; ++m)
                a += coefficients[m] * (20 * ff(29, 2 + m) + 20 * 19 * ff(28, 2 + m));
            // B, shape by shape (the short adjectives are the 20s):
            //   noun, short              20*29
            //   + adjective or opener    20*29*28, twice
            //   + second short           20*19*28
            //   + adjective and opener   20*29*28*27
            //   + one of them and second 20*19*28*27, twice
            //   + all three              20*19*28*27*26
            const quint64 b = 3
                * (20 * 29 + 2 * 20 * 29 * 28 + 20 * 19 * 28 + 20 * 29 * 28 * 27
                    + 2 * 20 * 19 * 28 * 27 + 20 * 19 * 28 * 27 * 26);
            QTest::newRow("verbs and adverbs fewer")
                << TestTheme::Sizes { 30, 20, 30, 20, 30 } << a << b;
        }
    }

    void statsCountsSentences()
    {
        QFETCH(TestTheme::Sizes, sizes);
        QFETCH(quint64, a);
        QFETCH(quint64, b);
        QTemporaryDir dir;
        QVERIFY(writeTheme(dir.path() + QStringLiteral("/words/01"), sizes, {}));
        const Result r = runCli({ QStringLiteral("--stats"), QStringLiteral("--words"),
            dir.path() + QStringLiteral("/words"), QStringLiteral("--theme"),
            QStringLiteral("1") });
        const QString out = QString::fromUtf8(r.out);
        QCOMPARE(r.status, 0);
        QVERIFY2(out.contains(QStringLiteral("Нарушенных правил нет")), qPrintable(out));
        QVERIFY(out.contains(QStringLiteral("Тема 01")));
        QVERIFY(!out.contains(QStringLiteral("Тема 00")));

        // Every file's count is listed.
        for (const QString& stem : WordStore::Stems()) {
            const int n = sizes.of(stem);
            QVERIFY2(
                out.contains(QRegularExpression(QStringLiteral("  %1 %2(\\s)").arg(stem).arg(n))),
                qPrintable(stem));
        }
        const QRegularExpressionMatch ma
            = QRegularExpression(QStringLiteral("шаблон A  (\\d+)\n")).match(out);
        const QRegularExpressionMatch mb
            = QRegularExpression(QStringLiteral("шаблон B  (\\d+)\n")).match(out);
        QVERIFY2(ma.hasMatch() && mb.hasMatch(), qPrintable(out));
        QCOMPARE(ma.captured(1), QString::number(a));
        QCOMPARE(mb.captured(1), QString::number(b));
    }

    void statsReportsBrokenRules_data()
    {
        QTest::addColumn<TestTheme::Sizes>("sizes");
        QTest::addColumn<QList<FileChange>>("changes");
        QTest::addColumn<int>("rules"); // how many broken rules the report lists
        QTest::addColumn<QStringList>("fragments"); // all in the report

        const TestTheme::Sizes even { 30, 30, 30, 30, 30 };
        QTest::newRow("missing file") << even << QList<FileChange> { missing("verbF") } << 1
                                      << QStringList { "Файл не загружается", "Файл не найден",
                                             "verbF.dat", "verbF —", "не подсчитано" };
        QTest::newRow("empty file")
            << even << QList<FileChange> { changed("verbN", FileChange::NoBytes) } << 1
            << QStringList { "Файл не загружается", "Файл пуст", "verbN.dat" };
        // Entry 7 is line 9.
        QTest::newRow("empty line") << even << QList<FileChange> { entries("nounF1", 30, 7, "") }
                                    << 1 << QStringList { "Пустая строка", "nounF1.dat, строка 9" };
        // nounN2 starts at 2060; its entry at slot 3001 is on line 2 + 941.
        QTest::newRow("past slot 3000")
            << even << QList<FileChange> { entries("nounN2", 1000) } << 1
            << QStringList { "Файл не загружается", "nounN2.dat, строка 943", "3000" };
        QTest::newRow("folder missing")
            << even << QList<FileChange> { changed("", FileChange::NoFolder) } << 1
            << QStringList { "Папка не найдена" };

        QTest::newRow("nouns: longer nounF")
            << even << QList<FileChange> { entries("nounF", 31) } << 1
            << QStringList { "Разные длины файлов", "в nounF 31 слово, а в nounM 30",
                   "Блок nounN начинается на 1 ячейку позже", "существительные среднего рода",
                   "Слова nounF после 30-го (лишних: 1)" };
        // adjM1 is never read, but it sets where adjF1 and adjN1 lie; the last adjN1 slot read
        // is then never filled.
        QTest::newRow("adjectives: shorter adjM1")
            << even << QList<FileChange> { entries("adjM1", 29) } << 2
            << QStringList { "в adjM1 29 слов, а в adjM 30",
                   "Блок adjF1 начинается на 1 ячейку раньше",
                   "Блок adjN1 начинается на 1 ячейку раньше", "Пустые ячейки",
                   "ячейку 1089 таблицы прилагательных" };
        QTest::newRow("verbs: shorter verbN")
            << even << QList<FileChange> { entries("verbN", 28) } << 1
            << QStringList { "в verbN 28 слов, а в verbP 30", "Блок verbN короче на 2" };
        QTest::newRow("adverbs: longer advF")
            << even << QList<FileChange> { entries("advF", 32) } << 1
            << QStringList { "в advF 32 слова, а в adverb 30",
                   "Блок advN начинается на 2 ячейки позже" };
        QTest::newRow("nouns: shorter nounN")
            << even << QList<FileChange> { entries("nounN", 25) } << 2
            << QStringList { "Блок nounN короче на 5", "Пустые ячейки",
                   "ячейки 85…89 таблицы существительных" };

        // 334 nouns put the neuter genitive at 2668 ... 3001; nounN2 keeps to 3000 so it loads.
        QTest::newRow("nouns above 333")
            << TestTheme::Sizes { 334, 30, 30, 30, 30 }
            << QList<FileChange> { entries("nounN2", 333) } << 2
            << QStringList { "Ячейки за пределом 3000", "в nounM 334 слова, а больше 333",
                   "для nounN2", "до 3001" };
        // 668 adverbs: advN is read at 2336 ... 3003; 664 of them fill it up to 2999.
        QTest::newRow("adverbs above 667")
            << TestTheme::Sizes { 30, 30, 30, 668, 30 }
            << QList<FileChange> { entries("advN", 664) } << 3
            << QStringList { "в adverb 668 слов, а больше 667", "для advN", "до 3003",
                   "ячейку 3000 таблицы наречий" };
        QTest::newRow("verbs above 1500")
            << TestTheme::Sizes { 30, 1501, 30, 30, 30 }
            << QList<FileChange> { entries("verbN", 1500), entries("verbF", 0) } << 2
            << QStringList { "в verbP 1501 слово, а больше 1500", "до 3001" };
        QTest::newRow("19 openers")
            << TestTheme::Sizes { 30, 30, 30, 30, 19 } << QList<FileChange>() << 1
            << QStringList { "Слишком мало слов", "в intro 19 слов" };
        QTest::newRow("no nouns") << TestTheme::Sizes { 0, 30, 30, 30, 30 } << QList<FileChange>()
                                  << 1 << QStringList { "Слишком мало слов", "в nounM 0 слов" };

        QTest::newRow("leading space")
            << even << QList<FileChange> { entries("nounF", 30, 3, " nounF_3") } << 1
            << QStringList { "Пробелы по краям слова", "nounF.dat, строка 5" };
        QTest::newRow("trailing space, unread file")
            << even << QList<FileChange> { entries("verbF", 30, 0, "verbF_0 ") } << 1
            << QStringList { "Пробелы по краям слова", "verbF.dat, строка 2" };
        QTest::newRow("blank word") << even << QList<FileChange> { entries("adjN2", 30, 0, "   ") }
                                    << 1 << QStringList { "Пустое слово", "adjN2.dat, строка 2" };
        // "#" ends nounN2 after 25 entries and stays in slot 2085, which is read.
        QTest::newRow("end mark read")
            << even << QList<FileChange> { entries("nounN2", 30, 25, "#") } << 3
            << QStringList { "Блок nounN2 короче на 5", "Метка конца в предложении", "ячейку 2085",
                   "nounN2.dat (строка 27)", "ячейки 2086…2089" };
    }

    void statsReportsBrokenRules()
    {
        QFETCH(TestTheme::Sizes, sizes);
        QFETCH(QList<FileChange>, changes);
        QFETCH(int, rules);
        QFETCH(QStringList, fragments);

        QTemporaryDir dir;
        const QString words = dir.path() + QStringLiteral("/words");
        QVERIFY(writeTheme(words + QStringLiteral("/02"), sizes, changes));
        const Result r = runCli({ QStringLiteral("--stats"), QStringLiteral("--words"), words,
            QStringLiteral("--theme"), QStringLiteral("2") });
        const QString out = QString::fromUtf8(r.out);
        QCOMPARE(r.status, 1);
        QCOMPARE(r.err, QByteArray());
        QVERIFY2(
            out.contains(QStringLiteral("Нарушенные правила (%1):").arg(rules)), qPrintable(out));
        QCOMPARE(out.count(QStringLiteral("\n  - ")), rules);
        for (const QString& f : fragments)
            QVERIFY2(out.contains(f), qPrintable(f + QStringLiteral(" not in:\n") + out));
    }

    void statsChecksEveryThemeUnlessOneIsGiven()
    {
        // m_words holds only theme 00.
        const Result all
            = runCli({ QStringLiteral("--stats"), QStringLiteral("--words"), m_words });
        const QString out = QString::fromUtf8(all.out);
        QCOMPARE(all.status, 1);
        for (const char* folder : { "00", "01", "02", "03" })
            QVERIFY(out.contains(QStringLiteral("Тема %1").arg(QLatin1String(folder))));
        QCOMPARE(out.count(QStringLiteral("Папка не найдена")), 3);
        QCOMPARE(out.count(QStringLiteral("Нарушенных правил нет")), 1);

        const Result one = runCli({ QStringLiteral("--stats"), QStringLiteral("--words"), m_words,
            QStringLiteral("--theme"), QStringLiteral("0") });
        QCOMPARE(one.status, 0);
        QVERIFY(!one.out.contains("Тема 01"));
    }

    void statsPassesOnShippedWords()
    {
        const Result r = runCli({ QStringLiteral("--stats"), QStringLiteral("--words"),
            QStringLiteral(ZUREVAVUD_SOURCE_DIR "/words") });
        const QString out = QString::fromUtf8(r.out);
        QVERIFY2(r.status == 0, qPrintable(out));
        QCOMPARE(out.count(QStringLiteral("Нарушенных правил нет")), Themes::Count);
        QCOMPARE(out.count(QRegularExpression(QStringLiteral("шаблон [AB]  [1-9]\\d*\n"))),
            2 * Themes::Count);
    }

    // --- the big integer of the sentence numbers ---

    void bigFactorials_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("decimal");
        QTest::newRow("0!") << 0 << "1";
        QTest::newRow("20!") << 20 << "2432902008176640000";
        QTest::newRow("25!") << 25 << "15511210043330985984000000";
        QTest::newRow("30!") << 30 << "265252859812191058636308480000000";
        QTest::newRow("35!") << 35 << "10333147966386144929666651337523200000000";
    }

    void bigFactorials()
    {
        QFETCH(int, n);
        QFETCH(QString, decimal);
        BigUInt f(1);
        for (int i = 2; i <= n; ++i)
            f *= quint32(i);
        QCOMPARE(f.toString(), decimal);
    }

    // --- help and manual page ---

    void optionsDocumented_data()
    {
        QTest::addColumn<QString>("option");
        for (const char* o :
            { "words", "theme", "runs", "seed", "explain", "stats", "encoding", "help" })
            QTest::newRow(o) << QString::fromLatin1(o);
    }

    void optionsDocumented()
    {
        QFETCH(QString, option);
        const Result help = runCli({ QStringLiteral("--help") });
        QCOMPARE(help.status, 0);
        QVERIFY(help.out.contains("--" + option.toLatin1()));

        // The build puts the manual page beside the program.
        QFile page(QStringLiteral(ZUREVAVUD_BIN_DIR "/zurevavud-cli.1"));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QByteArray text = page.readAll();
        QVERIFY(text.contains("\n.TH ZUREVAVUD-CLI 1 "));
        QVERIFY(text.contains("\\-\\-" + option.toLatin1()));
    }

private:
    // The genders on the explanation line are the genders of the words shown: each noun phrase's
    // adjectives and noun, the form of each noun, and in B the short adjectives too.
    void checkGenders(const Explained& e)
    {
        const QByteArray letters("MFN");
        if (e.templateName == u'B') {
            for (const QString& item : e.items) {
                if (const char g = genderOf(item))
                    QCOMPARE(g, letters.at(e.genders.at(0)));
            }
            return;
        }
        // Phrases: the subject and its genitive before the verb, object and genitive after it.
        static const char* const forms[] = { "", "2", "1", "2" };
        // Group "[adj] noun" into phrases; verbAt: how many phrases precede the verb.
        QList<QStringList> phrases;
        QStringList current;
        int verbAt = -1;
        for (const QString& item : e.items) {
            const QString stem = stemOf(item);
            if (stem == u"verbN")
                verbAt = int(phrases.size());
            if (!stem.startsWith(u"noun") && !stem.startsWith(u"adj"))
                continue;
            current << stem;
            if (stem.startsWith(u"noun")) {
                phrases << current;
                current.clear();
            }
        }
        QVERIFY(current.isEmpty());
        QVERIFY(verbAt >= 1 && verbAt <= 2);
        QVERIFY(phrases.size() - verbAt >= 1 && phrases.size() - verbAt <= 2);
        for (qsizetype p = 0; p < phrases.size(); ++p) {
            const int k = p < verbAt ? int(p) : 2 + int(p - verbAt);
            for (const QString& stem : phrases.at(p)) {
                QCOMPARE(genderOf(stem), letters.at(e.genders.at(k)));
                const qsizetype letterAt = stem.startsWith(u"noun") ? 4 : 3;
                QCOMPARE(stem.mid(letterAt + 1), QString::fromLatin1(forms[k]));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestCliTools)
#include "tst_clitools.moc"
