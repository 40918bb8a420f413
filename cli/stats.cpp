#include "cli/stats.h"

#include "modules/mdlsubs.h"
#include "platform/failure.h"
#include "window/wordstore.h"
#include "window/wordtable.h"

#include <QStringList>

#include <algorithm>
#include <vector>

using ThemeStats::FamilyCounts;
using ThemeStats::Report;

namespace {

// Entry choices for words drawn from families of these counts, all numbers different.
BigUInt distinctEntries(std::vector<int> counts)
{
    std::sort(counts.begin(), counts.end());
    BigUInt choices(1);
    for (size_t i = 0; i < counts.size(); ++i) {
        const long long factor = static_cast<long long>(counts[i]) - static_cast<long long>(i);
        if (factor <= 0)
            return BigUInt();
        choices *= quint32(factor);
    }
    return choices;
}

enum Family { Nouns, Verbs, Adjectives, Adverbs, Intros, FamilyTotal };

const char16_t* const FamilyNames[FamilyTotal]
    = { u"существительные", u"глаголы", u"прилагательные", u"наречия", u"вводные слова" };
const char16_t* const TableNames[FamilyTotal]
    = { u"существительных", u"глаголов", u"прилагательных", u"наречий", u"вводных слов" };

// One word file and where it lies in its table. Loading puts it at a fixed slot or right after
// the file before it; sentences read it at base + step * count, count entries long, where count
// is the length of the family's first file.
struct Block {
    QString stem;
    Family family;
    int fixedStart; // -1: right after the previous file
    int base, step;
    bool read; // some sentence reads it
    QString what; // its words, for messages
};

std::vector<Block> layout()
{
    static const char16_t* const genders[] = { u"мужского", u"женского", u"среднего" };
    std::vector<Block> blocks;
    auto gendered = [&](Family family, const QString& prefix, const QString& kind) {
        for (int form = 0; form < 3; ++form) {
            for (int g = 0; g < 3; ++g) {
                const QString stem
                    = prefix + QLatin1Char("MFN"[g]) + (form ? QString::number(form) : QString());
                // The object of A takes an adjective only when feminine or neuter.
                const bool read = !(family == Adjectives && form == 1 && g == 0);
                blocks.push_back({ stem, family, g == 0 ? 1000 * form : -1, 1000 * form, g, read,
                    kind + u' ' + QString::fromUtf16(genders[g]) + QStringLiteral(" рода") });
            }
        }
    };
    gendered(Nouns, QStringLiteral("noun"), QStringLiteral("существительные"));
    // Only the present tense is read; the other two files set where it lies.
    blocks.push_back({ QStringLiteral("verbP"), Verbs, 0, 0, 0, false, QStringLiteral("глаголы") });
    blocks.push_back({ QStringLiteral("verbN"), Verbs, -1, 0, 1, true, QStringLiteral("глаголы") });
    blocks.push_back(
        { QStringLiteral("verbF"), Verbs, -1, 0, 2, false, QStringLiteral("глаголы") });
    gendered(Adjectives, QStringLiteral("adj"), QStringLiteral("прилагательные"));
    blocks.push_back(
        { QStringLiteral("adverb"), Adverbs, 0, 0, 0, true, QStringLiteral("наречия") });
    for (int g = 0; g < 3; ++g) {
        blocks.push_back({ QStringLiteral("adv") + QLatin1Char("MFN"[g]), Adverbs,
            g == 0 ? 1000 : -1, 1000, g, true,
            QStringLiteral("краткие прилагательные ") + QString::fromUtf16(genders[g])
                + QStringLiteral(" рода") });
    }
    blocks.push_back(
        { QStringLiteral("intro"), Intros, 0, 0, 0, true, QStringLiteral("вводные слова") });
    return blocks;
}

// Russian noun forms after a number: 1 слово, 2 слова, 5 слов.
QString counted(int n, const char16_t* one, const char16_t* few, const char16_t* many)
{
    const int tens = n % 100, units = n % 10;
    const char16_t* word = many;
    if (units == 1 && tens != 11)
        word = one;
    else if (units >= 2 && units <= 4 && (tens < 12 || tens > 14))
        word = few;
    return QString::number(n) + u' ' + QString::fromUtf16(word);
}

QString words(int n) { return counted(n, u"слово", u"слова", u"слов"); }

QString cells(int n) { return counted(n, u"ячейку", u"ячейки", u"ячеек"); }

// "ячейку 7" or "ячейки 7…9".
QString slotRange(int first, int last)
{
    if (first == last)
        return QStringLiteral("ячейку %1").arg(first);
    return QStringLiteral("ячейки %1…%2").arg(first).arg(last);
}

// "строка 7" or "строки 7, 9".
QString lineList(const QList<int>& lines)
{
    QStringList shown;
    for (qsizetype i = 0; i < lines.size() && i < 5; ++i)
        shown << QString::number(lines.at(i));
    QString text = (lines.size() == 1 ? QStringLiteral("строка ") : QStringLiteral("строки "))
        + shown.join(QStringLiteral(", "));
    if (lines.size() > 5)
        text += QStringLiteral(" и ещё %1").arg(lines.size() - 5);
    return text;
}

struct Loaded {
    bool ok = false;
    int start = -1; // -1: not known, because the file before it did not load
    int length = 0;
};

class Examiner {
public:
    explicit Examiner(const QString& folder)
        : m_folder(folder)
        , m_blocks(layout())
        , m_loaded(m_blocks.size())
    {
    }

    Report run(const QString& heading);

private:
    void issue(const QString& title, const QString& text)
    {
        const QString line = QStringLiteral("  - ") + title + QStringLiteral(": ") + text + u'\n';
        if (!m_issues.contains(line))
            m_issues << line;
    }

    void loadFiles();
    void checkWords(const Block& block, const WordTable& table, int start, int length);
    void loadAsTheWindow();
    void checkFamilies();
    void checkReadSlots();
    QString countsText() const;
    int expectedStart(const Block& b) const { return b.base + b.step * m_count[b.family]; }

    QString m_folder;
    std::vector<Block> m_blocks;
    std::vector<Loaded> m_loaded;
    int m_count[FamilyTotal] = { -1, -1, -1, -1, -1 }; // -1: the first file did not load
    bool m_filesFailed = false;
    bool m_storeLoaded = false;
    WordStore m_store;
    QStringList m_issues;
};

void Examiner::loadFiles()
{
    for (size_t i = 0; i < m_blocks.size(); ++i) {
        const Block& b = m_blocks[i];
        Loaded& l = m_loaded[i];
        int start = b.fixedStart;
        if (start < 0 && m_loaded[i - 1].ok && m_loaded[i - 1].start >= 0)
            start = m_loaded[i - 1].start + m_loaded[i - 1].length;
        // Where the start is not known, slot 0 still shows whether the file itself reads.
        const int at = std::max(start, 0);
        WordTable scratch(QString::fromUtf16(TableNames[b.family]));
        try {
            l.length = mdlSubs::LoadWordFile(b.stem, scratch, qint16(at)) - at;
            l.ok = true;
            l.start = start;
        } catch (const Failure& f) {
            issue(QStringLiteral("Файл не загружается"), f.message());
            m_filesFailed = true;
            continue;
        }
        checkWords(b, scratch, at, l.length);
        // The family's first file sets the count every block of the family is read by.
        if (i == 0 || m_blocks[i - 1].family != b.family)
            m_count[b.family] = l.length;
    }
}

void Examiner::checkWords(const Block& b, const WordTable& table, int start, int length)
{
    QList<int> blank, spaced;
    for (int slot = start; slot < start + length; ++slot) {
        const QString& word = table.at(slot);
        if (word.trimmed().isEmpty())
            blank << table.origin(slot).line;
        else if (word != word.trimmed())
            spaced << table.origin(slot).line;
    }
    const QString file = b.stem + QStringLiteral(".dat");
    if (!blank.isEmpty()) {
        issue(QStringLiteral("Пустое слово"),
            QStringLiteral("%1, %2: в строке одни пробелы, а в предложении на её месте "
                           "окажется пустое слово.")
                .arg(file, lineList(blank)));
    }
    if (!spaced.isEmpty()) {
        issue(QStringLiteral("Пробелы по краям слова"),
            QStringLiteral("%1, %2: пробел в начале или в конце слова даёт в предложении "
                           "двойной пробел.")
                .arg(file, lineList(spaced)));
    }
}

void Examiner::loadAsTheWindow()
{
    mdlSubs::WordsPath = m_folder;
    try {
        m_store.dbLoad();
        m_storeLoaded = true;
    } catch (const Failure& f) {
        // The files one by one already said why; this is for what only the whole load shows.
        if (!m_filesFailed)
            issue(QStringLiteral("Тема не загружается"), f.message());
    }
}

void Examiner::checkFamilies()
{
    for (int family = 0; family < FamilyTotal; ++family) {
        const int count = m_count[family];
        if (count < 0)
            continue;
        QString first;
        QStringList unequal, effects;
        QStringList beyond;
        int lastSlot = 0;
        int limit = WordTable::Size;
        for (size_t i = 0; i < m_blocks.size(); ++i) {
            const Block& b = m_blocks[i];
            const Loaded& l = m_loaded[i];
            if (b.family != family)
                continue;
            if (first.isEmpty())
                first = b.stem;
            if (b.read) {
                // The largest count that keeps this block's reads within 0 ... 3000.
                limit = std::min(limit, (WordTable::Size - b.base) / (b.step + 1));
                const int last = expectedStart(b) + count - 1;
                if (last >= WordTable::Size) {
                    beyond << b.stem;
                    lastSlot = std::max(lastSlot, last);
                }
            }
            if (!l.ok)
                continue;
            if (l.length != count)
                unequal << QStringLiteral("в %1 %2").arg(b.stem, words(l.length));
            if (!b.read || l.start < 0)
                continue;
            const int expected = expectedStart(b);
            if (l.start != expected) {
                effects << QStringLiteral("Блок %1 начинается на %2 %3, чем его читают "
                                          "предложения, и %4 берутся не из своих ячеек.")
                               .arg(b.stem, cells(std::abs(l.start - expected)),
                                   l.start > expected ? QStringLiteral("позже")
                                                      : QStringLiteral("раньше"),
                                   b.what);
            } else if (l.length < count) {
                effects << QStringLiteral("Блок %1 короче на %2: предложения читают и %3 за его "
                                          "концом, где слова другого файла или пустота.")
                               .arg(b.stem)
                               .arg(count - l.length)
                               .arg(cells(count - l.length));
            } else if (l.length > count) {
                effects << QStringLiteral("Слова %1 после %2-го (лишних: %3) не попадут ни в одно "
                                          "предложение.")
                               .arg(b.stem)
                               .arg(count)
                               .arg(l.length - count);
            }
        }
        if (!unequal.isEmpty()) {
            QString text = QStringLiteral("%1, а в %2 %3: во всех файлах семьи (%4) должно быть "
                                          "столько слов, сколько в %2.")
                               .arg(unequal.join(QStringLiteral(", ")), first,
                                   QString::number(count), QString::fromUtf16(FamilyNames[family]));
            if (!effects.isEmpty())
                text += u' ' + effects.join(u' ');
            issue(QStringLiteral("Разные длины файлов"), text);
        }
        if (!beyond.isEmpty()) {
            issue(QStringLiteral("Ячейки за пределом 3000"),
                QStringLiteral(
                    "в %1 %2, а больше %3 нельзя: для %4 предложения обратятся к ячейкам "
                    "до %5, и генерация остановится с ошибкой.")
                    .arg(first, words(count))
                    .arg(limit)
                    .arg(beyond.join(QStringLiteral(", ")))
                    .arg(lastSlot));
        }
        if (count <= mdlSubs::RecentDrawCount) {
            issue(QStringLiteral("Слишком мало слов"),
                QStringLiteral("в %1 %2, а нужно хотя бы 20: номер слова не должен быть среди %3 "
                               "последних выбранных, и при %3 словах или меньше выбор может не "
                               "найти номера — генерация остановится с ошибкой.")
                    .arg(first, words(count))
                    .arg(mdlSubs::RecentDrawCount));
        }
    }
}

void Examiner::checkReadSlots()
{
    const WordTable* tables[FamilyTotal] = { &m_store.Nouns, &m_store.Verbs, &m_store.Adjectives,
        &m_store.Adverbs, &m_store.Intros };
    for (const Block& b : m_blocks) {
        const int count = m_count[b.family];
        if (!b.read || count < 0)
            continue;
        const WordTable& table = *tables[b.family];
        const int first = expectedStart(b);
        const int end = std::min(first + count, WordTable::Size);
        for (int slot = first; slot < end; ++slot) {
            const SlotOrigin& origin = table.origin(slot);
            if (origin.stem.isEmpty()) {
                int last = slot;
                while (last + 1 < end && table.origin(last + 1).stem.isEmpty())
                    ++last;
                issue(QStringLiteral("Пустые ячейки"),
                    QStringLiteral("для %1 предложения читают %2 таблицы %3, куда не дошёл ни один "
                                   "файл темы: в окне там окажется пустота или слово темы, "
                                   "выбранной раньше.")
                        .arg(b.stem, slotRange(slot, last),
                            QString::fromUtf16(TableNames[b.family])));
                slot = last;
            } else if (table.at(slot).startsWith(u'#')) {
                issue(QStringLiteral("Метка конца в предложении"),
                    QStringLiteral("для %1 предложения читают ячейку %2, а в ней строка «#», "
                                   "которой кончается %3.dat (строка %4): она попадёт в текст.")
                        .arg(b.stem)
                        .arg(slot)
                        .arg(origin.stem)
                        .arg(origin.line));
            }
        }
    }
}

QString Examiner::countsText() const
{
    QString text = QStringLiteral("  Слов в файлах:\n");
    for (int family = 0; family < FamilyTotal; ++family) {
        QString line = QStringLiteral("    %1").arg(QString::fromUtf16(FamilyNames[family]), -16);
        for (size_t i = 0; i < m_blocks.size(); ++i) {
            if (m_blocks[i].family != family)
                continue;
            const Loaded& l = m_loaded[i];
            line += QStringLiteral("  %1 %2").arg(
                m_blocks[i].stem, l.ok ? QString::number(l.length) : QStringLiteral("—"));
        }
        text += line + u'\n';
    }
    return text;
}

Report Examiner::run(const QString& heading)
{
    mdlSubs::WordsPath = m_folder;
    loadFiles();
    loadAsTheWindow();
    checkFamilies();
    if (m_storeLoaded)
        checkReadSlots();

    Report report;
    report.brokenRules = int(m_issues.size());
    report.text = heading + u'\n' + countsText();
    if (m_issues.isEmpty()) {
        report.text += QStringLiteral("  Нарушенных правил нет.\n");
    } else {
        report.text += QStringLiteral("  Нарушенные правила (%1):\n").arg(m_issues.size());
        for (const QString& line : m_issues)
            report.text += line;
    }
    if (m_storeLoaded) {
        const FamilyCounts counts { m_store.NounCount, m_store.VerbCount, m_store.AdjectiveCount,
            m_store.AdverbCount, m_store.IntroCount };
        report.text += QStringLiteral("  Разных предложений:\n    шаблон A  %1\n    шаблон B  %2\n")
                           .arg(ThemeStats::SentencesA(counts).toString(),
                               ThemeStats::SentencesB(counts).toString());
    } else {
        report.text
            += QStringLiteral("  Разных предложений: не подсчитано, тема не загружается.\n");
    }
    return report;
}

} // namespace

namespace ThemeStats {

BigUInt SentencesA(const FamilyCounts& c)
{
    // "[opener] [adj] noun [[adj] noun] [adverb] verb [adj] noun [[adj] noun]"; a genitive
    // phrase is absent (0), a noun (1) or an adjective and a noun (2).
    BigUInt total;
    for (bool opener : { false, true }) {
        for (bool adjective1 : { false, true }) {
            for (int phrase2 : { 0, 1, 2 }) {
                for (bool adverb : { false, true }) {
                    for (bool adjective3 : { false, true }) {
                        for (int phrase4 : { 0, 1, 2 }) {
                            std::vector<int> words { c.nouns, c.verbs, c.nouns };
                            if (opener)
                                words.push_back(c.intros);
                            if (adjective1)
                                words.push_back(c.adjectives);
                            for (int phrase : { phrase2, phrase4 }) {
                                if (phrase > 0)
                                    words.push_back(c.nouns);
                                if (phrase > 1)
                                    words.push_back(c.adjectives);
                            }
                            if (adverb)
                                words.push_back(c.adverbs);
                            if (adjective3)
                                words.push_back(c.adjectives);
                            // A gender shows only through a phrase that is there; a masculine
                            // object never has an adjective.
                            const quint32 genders
                                = 3 * (phrase2 ? 3 : 1) * (adjective3 ? 2 : 3) * (phrase4 ? 3 : 1);
                            total += distinctEntries(words) * genders;
                        }
                    }
                }
            }
        }
    }
    return total;
}

BigUInt SentencesB(const FamilyCounts& c)
{
    // "[opener] [adj] noun short-adj [и short-adj]", one gender of three throughout.
    BigUInt total;
    for (bool opener : { false, true }) {
        for (bool adjective : { false, true }) {
            for (bool second : { false, true }) {
                std::vector<int> words { c.nouns, c.adverbs };
                if (opener)
                    words.push_back(c.intros);
                if (adjective)
                    words.push_back(c.adjectives);
                if (second)
                    words.push_back(c.adverbs);
                total += distinctEntries(words) * 3;
            }
        }
    }
    return total;
}

Report Examine(const QString& folder, const QString& heading)
{
    return Examiner(folder).run(heading);
}

} // namespace ThemeStats
