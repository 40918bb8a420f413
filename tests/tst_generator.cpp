// Sentence templates, finishing and the generation run.
#include "modules/mdlsubs.h"
#include "platform/failure.h"
#include "scriptedsource.h"
#include "testtheme.h"
#include "window/generator.h"
#include "window/wordstore.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <set>

using namespace mdlSubs;

namespace {

constexpr double Yes = 0.0; // any Chance(n) succeeds
constexpr double No = 0.99; // any Chance(n) with n >= 1 fails
double gender(int g) { return pick(g, 3); }

struct Token {
    QString stem;
    int entry = -1; // -1 for the conjunction
};

// Splits a finished sentence of the labelled theme back into its words.
QList<Token> tokens(QString sentence)
{
    if (sentence.endsWith(u"\r\n\r\n"))
        sentence.chop(4);
    Q_ASSERT(sentence.endsWith(u". "));
    sentence.chop(2);
    sentence[0] = sentence.at(0).toLower();
    static const QRegularExpression word(QStringLiteral("^([A-Za-z]+[0-9]?)_([0-9]+)$"));
    QList<Token> out;
    for (const QString& t : sentence.split(u' ')) {
        if (t == u"и") {
            out.append({ t, -1 });
            continue;
        }
        const auto m = word.match(t);
        if (!m.hasMatch())
            return {};
        out.append({ m.captured(1), m.captured(2).toInt() });
    }
    return out;
}

// Checks one sentence against the template shapes; returns 'A', 'B' or an explanation.
class ShapeCheck {
public:
    explicit ShapeCheck(QList<Token> t)
        : m_t(std::move(t))
    {
    }

    QString check()
    {
        if (m_t.isEmpty())
            return QStringLiteral("unparsable");
        bool isB = false;
        for (const Token& t : m_t)
            isB = isB || QRegularExpression(QStringLiteral("^adv[MFN]$")).match(t.stem).hasMatch();
        const QString result = isB ? checkB() : checkA();
        if (!result.isEmpty())
            return result;
        std::set<int> entries;
        int words = 0;
        for (const Token& t : m_t) {
            if (t.entry >= 0) {
                entries.insert(t.entry);
                ++words;
            }
        }
        if (int(entries.size()) != words)
            return QStringLiteral("fresh entry numbers repeat");
        return isB ? QStringLiteral("B") : QStringLiteral("A");
    }
    bool hasIntro() const { return !m_t.isEmpty() && m_t.first().stem == u"intro"; }

private:
    bool at(const QString& pattern, QString* gender = nullptr)
    {
        if (m_i >= m_t.size())
            return false;
        const auto m = QRegularExpression(u'^' + pattern + u'$').match(m_t.at(m_i).stem);
        if (m.hasMatch() && gender)
            *gender = m.captured(1);
        return m.hasMatch();
    }
    // [adjective] noun of one form, agreeing in gender.
    QString phrase(const QString& form, bool masculineAdjective = true)
    {
        QString ga, gn;
        const bool adj = at(QStringLiteral("adj([MFN])") + form, &ga);
        if (adj) {
            if (!masculineAdjective && ga == u"M")
                return QStringLiteral("adjective with a masculine object");
            ++m_i;
        }
        if (!at(QStringLiteral("noun([MFN])") + form, &gn))
            return QStringLiteral("noun of form '%1' expected").arg(form);
        ++m_i;
        if (adj && ga != gn)
            return QStringLiteral("adjective and noun disagree");
        return {};
    }
    QString checkA()
    {
        QString e;
        if (at(QStringLiteral("intro")))
            ++m_i;
        if (!(e = phrase(QString())).isEmpty())
            return e;
        if (at(QStringLiteral("(adj|noun)[MFN]2")) && !(e = phrase(QStringLiteral("2"))).isEmpty())
            return e;
        if (at(QStringLiteral("adverb")))
            ++m_i;
        if (!at(QStringLiteral("verbN")))
            return QStringLiteral("verbN expected");
        ++m_i;
        if (!(e = phrase(QStringLiteral("1"), false)).isEmpty())
            return e;
        if (m_i < m_t.size() && !(e = phrase(QStringLiteral("2"))).isEmpty())
            return e;
        return m_i == m_t.size() ? QString() : QStringLiteral("trailing words");
    }
    QString checkB()
    {
        if (at(QStringLiteral("intro")))
            ++m_i;
        QString g, g2;
        if (at(QStringLiteral("adj([MFN])"), &g))
            ++m_i;
        if (!at(QStringLiteral("noun([MFN])"), &g2) || (!g.isEmpty() && g != g2))
            return QStringLiteral("noun of the adjective's gender expected");
        ++m_i;
        if (!at(QStringLiteral("adv([MFN])"), &g) || g != g2)
            return QStringLiteral("short adjective of the noun's gender expected");
        const int d1 = m_t.at(m_i++).entry;
        if (m_i < m_t.size()) {
            if (m_t.at(m_i++).stem != u"и" || !at(QStringLiteral("adv([MFN])"), &g) || g != g2)
                return QStringLiteral("и and a second short adjective expected");
            if (m_t.at(m_i++).entry == d1)
                return QStringLiteral("the two short adjectives are one entry");
        }
        return m_i == m_t.size() ? QString() : QStringLiteral("trailing words");
    }

    QList<Token> m_t;
    qsizetype m_i = 0;
};

// Keeps each sentence apart and notes whether the run ended normally.
class SentenceList : public TextOutput {
public:
    void append(const QString& text) override { items << text; }
    void finished() override { done = true; }
    QStringList items;
    bool done = false;
};

} // namespace

class TestGenerator : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    WordStore m_store;
    int m_used = 0;

    void script(QList<double> values)
    {
        SetUniformSource(std::make_unique<ScriptedSource>(std::move(values), &m_used));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(TestTheme::writeLabelledTheme(m_dir.path(), { 20, 20, 20, 20, 20 }));
        WordsPath = m_dir.path() + u'/';
        m_store.dbLoad();
    }
    void init() { ResetRandomState(); }
    void cleanupTestCase() { ResetRandomState(); }

    void finishing_data()
    {
        QTest::addColumn<QString>("chain");
        QTest::addColumn<double>("paragraph");
        QTest::addColumn<QString>("expected");

        QTest::newRow("plain") << "abc def " << No << "Abc def. ";
        QTest::newRow("Cyrillic") << "ёлка горит " << No << "Ёлка горит. ";
        QTest::newRow("digit first") << "1 раз " << No << "1 раз. ";
        QTest::newRow("empty first word") << " кот " << No << " кот. ";
        QTest::newRow("empty last word") << "кот  " << No << "Кот . ";
        QTest::newRow("paragraph break") << "кот " << Yes << "Кот. \r\n\r\n";
    }

    void finishing()
    {
        QFETCH(QString, chain);
        QFETCH(double, paragraph);
        QFETCH(QString, expected);
        script({ paragraph });
        QCOMPARE(FinishSentence(chain), expected);
        QCOMPARE(m_used, 1);
    }

    void orderOfDraws_data()
    {
        QTest::addColumn<char>("templateName");
        QTest::addColumn<int>("turn");
        QTest::addColumn<QList<double>>("values");
        QTest::addColumn<QString>("expected");

        const int c = 20;
        QTest::newRow("B, turn 0: no opener test")
            << 'B' << 0
            << QList<double> { pick(3, c), gender(1), pick(5, c), pick(6, c), pick(7, c), pick(8, c), Yes, Yes, No }
            << "AdjF_5 nounF_6 advF_7 и advF_8. ";
        QTest::newRow("B, negative turn")
            << 'B' << -1
            << QList<double> { pick(3, c), gender(0), pick(5, c), pick(6, c), pick(7, c), pick(8, c), No, No, No }
            << "NounM_6 advM_7. ";
        QTest::newRow("B, turn 1 with opener")
            << 'B' << 1
            << QList<double> { pick(3, c), gender(2), pick(5, c), pick(6, c), pick(7, c), pick(8, c), Yes, No, No, Yes }
            << "Intro_3 nounN_6 advN_7. \r\n\r\n";

        const QList<double> draws = { pick(1, c), gender(1), pick(2, c), pick(3, c), gender(2), pick(4, c), pick(5, c),
            gender(0), pick(6, c), pick(7, c), gender(0), pick(8, c), pick(9, c), pick(10, c), pick(11, c) };
        QTest::newRow("A, turn 0, masculine object still draws its adjective test")
            << 'A' << 0 << (draws + QList<double> { Yes, Yes, Yes, Yes, Yes, No, No })
            << "AdjF_2 nounF_3 adjN2_4 nounN2_5 adverb_11 verbN_10 nounM1_7. ";
        QTest::newRow("A, shortest")
            << 'A' << 0 << (draws + QList<double> { No, No, No, No, No, No })
            << "NounF_3 verbN_10 nounM1_7. ";

        QList<double> full = draws;
        full[1] = gender(0);
        full[4] = gender(1);
        full[7] = gender(1);
        full[10] = gender(2);
        QTest::newRow("A, turn 3, longest")
            << 'A' << 3 << (full + QList<double> { Yes, Yes, Yes, Yes, Yes, Yes, Yes, Yes, No })
            << "Intro_1 adjM_2 nounM_3 adjF2_4 nounF2_5 adverb_11 verbN_10 adjF1_6 nounF1_7 adjN2_8 nounN2_9. ";
    }

    void orderOfDraws()
    {
        QFETCH(char, templateName);
        QFETCH(int, turn);
        QFETCH(QList<double>, values);
        QFETCH(QString, expected);
        script(values);
        const SentenceGenerator g(m_store);
        const QString s = templateName == 'A' ? g.BuildSentenceA(qint16(turn)) : g.BuildSentenceB(qint16(turn));
        QCOMPARE(s, expected);
        QCOMPARE(m_used, values.size());
    }

    void runOrderAndClosingBreak()
    {
        // Turn 0: A (shortest), then B (bare); all later tests fail.
        const int c = 20;
        QList<double> v { Yes, pick(1, c), gender(1), pick(2, c), pick(3, c), gender(2), pick(4, c), pick(5, c),
            gender(0), pick(6, c), pick(7, c), gender(0), pick(8, c), pick(9, c), pick(10, c), pick(11, c),
            No, No, No, No, No, No };
        v << Yes << pick(12, c) << gender(2) << pick(13, c) << pick(14, c) << pick(15, c) << pick(16, c) << No << No << No;
        for (int turn = 1; turn <= 20; ++turn)
            v << No << No;
        script(v);
        SentenceList out;
        SentenceGenerator(m_store).GenerateText(out);
        QCOMPARE(out.items, (QStringList { "NounF_3 verbN_10 nounM1_7. ", "NounN_14 advN_15. ", "\r\n\r\n" }));
        QVERIFY(out.done);
        QCOMPARE(m_used, v.size());
    }

    void agreementHoldsOverManySentences()
    {
        QTemporaryDir dir;
        QVERIFY(TestTheme::writeLabelledTheme(dir.path(), { 40, 45, 50, 41, 42 }));
        WordsPath = dir.path() + u'/';
        WordStore store;
        store.dbLoad();
        const SentenceGenerator g(store);
        int a = 0, b = 0;
        for (int run = 0; run < 200; ++run) {
            SentenceList out;
            g.GenerateText(out);
            QVERIFY(out.done);
            QCOMPARE(out.items.last(), QStringLiteral("\r\n\r\n"));
            for (int i = 0; i + 1 < out.items.size(); ++i) {
                ShapeCheck check(tokens(out.items.at(i)));
                const QString r = check.check();
                if (r != u"A" && r != u"B")
                    QFAIL(qPrintable(r + QStringLiteral(": ") + out.items.at(i)));
                (r == u"A" ? a : b)++;
            }
        }
        QVERIFY(a > 1000 && b > 1500);
        // Turn 0 never has an opener, in both templates.
        for (int i = 0; i < 500; ++i) {
            QVERIFY(!ShapeCheck(tokens(g.BuildSentenceA(0))).hasIntro());
            QVERIFY(!ShapeCheck(tokens(g.BuildSentenceB(0))).hasIntro());
        }
    }

    void sameStateSameText()
    {
        const SentenceGenerator g(m_store);
        StringOutput first, second;
        for (int i = 0; i < 5; ++i)
            g.GenerateText(first);
        ResetRandomState();
        for (int i = 0; i < 5; ++i)
            g.GenerateText(second);
        QCOMPARE(first.text(), second.text());
        QVERIFY(first.text().size() > 500);
    }

    void failedRunKeepsEarlierSentences()
    {
        // Two openers: the first sentence takes entry 1 (0 is still in the history), the
        // second finds both in the history and fails.
        QTemporaryDir dir;
        QVERIFY(TestTheme::writeLabelledTheme(dir.path(), { 30, 30, 30, 30, 2 }));
        WordsPath = dir.path() + u'/';
        WordStore store;
        store.dbLoad();
        SentenceList out;
        try {
            SentenceGenerator(store).GenerateText(out);
            QFAIL("no failure");
        } catch (const Failure& e) {
            QCOMPARE(e.kind(), FailureKind::NoFreshValue);
            QVERIFY(e.message().contains(QStringLiteral("вводных слов")));
        }
        QCOMPARE(out.items.size(), 1);
        QVERIFY(!out.done);
        QVERIFY(ShapeCheck(tokens(out.items.first())).check().size() == 1);
    }

    void slotPastTheTableFails()
    {
        // 1000 adverbs per block: the neuter short adjective 999 lies in slot 3999 in a
        // template-B sentence of gender 2.
        WordStore store;
        store.AdverbCount = 1000;
        store.NounCount = store.AdjectiveCount = store.IntroCount = 30;
        script({ pick(1, 30), gender(2), pick(2, 30), pick(3, 30), pick(999, 1000), pick(998, 1000), No, No, No });
        try {
            SentenceGenerator(store).BuildSentenceB(0);
            QFAIL("no failure");
        } catch (const Failure& e) {
            QCOMPARE(e.kind(), FailureKind::SubscriptOutOfRange);
            QVERIFY(e.message().contains(QStringLiteral("3999")));
        }
    }
};

QTEST_GUILESS_MAIN(TestGenerator)
#include "tst_generator.moc"
