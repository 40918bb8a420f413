#include "cli/stats.h"

#include "cli/sameroot.h"
#include "core/session.h"
#include "core/themes.h"
#include "modules/mdlsubs.h"
#include "platform/failure.h"
#include "platform/files.h"

#include <QDir>
#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>
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

using WordLayout::Family;
using WordLayout::WordFile;

using WordLayout::familyName;
using WordLayout::tableName;

// The words of a file, for messages: "существительные женского рода".
QString describe(const WordFile& file)
{
    static const char16_t* const genders[] = { u"мужского", u"женского", u"среднего" };
    const bool shortAdjectives = file.family == Family::Adverbs && file.form == 1;
    const bool gendered
        = file.family == Family::Nouns || file.family == Family::Adjectives || shortAdjectives;
    QString text
        = shortAdjectives ? QStringLiteral("краткие прилагательные") : familyName(file.family);
    if (gendered)
        text += u' ' + QString::fromUtf16(genders[file.block]) + QStringLiteral(" рода");
    return text;
}

QString stemOf(const WordFile& file)
{
    return QLatin1String(file.stem);
}

// Russian in Windows-1251 is almost never valid UTF-8; text saved as UTF-8 always is.
bool isUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

QString words(int n)
{
    return counted(n, u"слово", u"слова", u"слов");
}

QString cells(int n)
{
    return counted(n, u"ячейку", u"ячейки", u"ячеек");
}

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
    Examiner(const QStringList& wordsFolders, int theme)
        : m_wordsFolders(wordsFolders)
        , m_theme(theme)
    {
    }

    Report run();

private:
    void issue(const QString& title, const QString& text)
    {
        const QString line = QStringLiteral("  - ") + title + QStringLiteral(": ") + text + u'\n';
        if (!m_issues.contains(line))
            m_issues << line;
    }

    void loadFiles();
    void checkBytes(const WordFile& file, QByteArrayView bytes);
    void checkWords(const WordFile& file, const WordTable& table, int start, int length);
    void loadAsTheWindow();
    void checkFamilies();
    void checkFamily(Family family, int count);
    void checkReadSlots();
    void checkSameRoots();
    QSet<std::pair<QString, QString>> acceptedPairs(const QSet<QString>& words, QStringList& notes);
    QString countsText() const;
    // Known for every family once the theme loads as a whole.
    int count(Family family) const { return m_count[size_t(family)].value(); }
    int expectedStart(const WordFile& file) const
    {
        return WordLayout::expectedStart(file, count(file.family));
    }

    QStringList m_wordsFolders;
    int m_theme;
    QString m_folder;
    std::array<Loaded, WordLayout::Files.size()> m_loaded {};
    std::array<std::optional<int>, WordLayout::FamilyCount> m_count; // none: first file failed
    bool m_filesFailed = false;
    std::unique_ptr<Session> m_session; // the theme as a window loads it, when it loads
    QStringList m_issues;
    // The entries of the files whose rows are compared for roots, with their lines.
    std::map<size_t, QList<std::pair<int, QString>>> m_entries;
    QStringList m_warnings;
};

// The files whose rows stand for words when roots are compared: a noun is a row of nounM, F or
// N with its other cases, an adjective a row of all nine adj files, a short adjective a row of
// advM, F and N.
std::optional<SameRoot::Kind> rowKind(const WordFile& file)
{
    using SameRoot::Kind;
    if (file.family == Family::Nouns && file.form == 0)
        return Kind::Noun;
    if (file.family == Family::Adjectives && file.form == 0 && file.block == 0)
        return Kind::Adjective;
    if (file.family == Family::Adverbs)
        return file.form == 0 ? Kind::Adverb
            : file.block == 0 ? std::optional(Kind::ShortAdjective)
                              : std::nullopt;
    if (file.family == Family::Verbs)
        return SentenceGenerator::reads(file) ? std::optional(Kind::Verb) : std::nullopt;
    if (file.family == Family::Intros)
        return Kind::Opener;
    return std::nullopt;
}

// Whether one sentence may hold two different words of these kinds. Template A has an opener,
// up to four nouns and four adjectives, an adverb and a verb; template B an opener, an
// adjective, a noun and up to two short adjectives.
bool canMeet(SameRoot::Kind a, SameRoot::Kind b)
{
    using SameRoot::Kind;
    struct Template {
        std::set<Kind> words, twice;
    };
    static const Template templates[] = {
        { { Kind::Opener, Kind::Noun, Kind::Adjective, Kind::Adverb, Kind::Verb },
            { Kind::Noun, Kind::Adjective } },
        { { Kind::Opener, Kind::Adjective, Kind::Noun, Kind::ShortAdjective },
            { Kind::ShortAdjective } },
    };
    return std::any_of(std::begin(templates), std::end(templates), [a, b](const Template& t) {
        return a == b ? t.twice.count(a) > 0 : t.words.count(a) > 0 && t.words.count(b) > 0;
    });
}

// An entry as same-root.txt names it: case, ё and spaces do not matter.
QString pairWord(const QString& text)
{
    QString word = text.simplified().toLower();
    word.replace(u'ё', u'е');
    return word;
}

void Examiner::loadFiles()
{
    for (size_t i = 0; i < WordLayout::Files.size(); ++i) {
        const WordFile& file = WordLayout::Files[i];
        Loaded& l = m_loaded[i];
        int start = file.block == 0 ? WordLayout::FormSize * file.form : -1;
        if (start < 0 && m_loaded[i - 1].ok && m_loaded[i - 1].start >= 0)
            start = m_loaded[i - 1].start + m_loaded[i - 1].length;
        // Where the start is not known, slot 0 still shows whether the file itself reads.
        const int at = std::max(start, 0);
        WordTable scratch(file.family);
        try {
            const QString path = m_folder + stemOf(file) + QStringLiteral(".dat");
            const QByteArray bytes = Files::readWholeFile(path, mdlSubs::MaxWordFileSize);
            checkBytes(file, bytes);
            const SlotOrigin origin { int(i), 0, m_folder };
            l.length
                = mdlSubs::storeWordLines(bytes, Files::absolute(path), origin, scratch, qint16(at))
                - at;
            l.ok = true;
            l.start = start;
        } catch (const Failure& f) {
            issue(QStringLiteral("Файл не загружается"), f.message());
            m_filesFailed = true;
            continue;
        }
        checkWords(file, scratch, at, l.length);
        if (rowKind(file)) {
            QList<std::pair<int, QString>>& entries = m_entries[i];
            for (int slot = at; slot < at + l.length; ++slot)
                entries.append({ scratch.origin(slot).line, scratch.text(slot) });
        }
        if (WordLayout::isFirstOfFamily(file))
            m_count[size_t(file.family)] = l.length;
    }
}

void Examiner::checkBytes(const WordFile& file, QByteArrayView bytes)
{
    const QString name = stemOf(file) + QStringLiteral(".dat");
    const bool crlf = bytes.contains("\r\n");
    if (!bytes.contains('\r') && bytes.contains('\n')) {
        issue(QStringLiteral("Концы строк LF"),
            QStringLiteral("%1: строки кончаются одним LF, а не CR LF; программа видит весь файл "
                           "как одну строку заголовка, и слов в нём нет.")
                .arg(name));
    } else if (bytes.contains('\r') && !crlf) {
        issue(QStringLiteral("Концы строк CR"),
            QStringLiteral("%1: строки кончаются одним CR, а не CR LF; программа их понимает, "
                           "а многие редакторы — нет.")
                .arg(name));
    }
    // The entries as the reader takes them: lines ending at CR or CR LF, after the header, up
    // to a "#" line.
    QList<int> utf8, controls, lineFeeds;
    int line = 0;
    for (QByteArrayView rest = bytes; !rest.isEmpty();) {
        qsizetype end = rest.indexOf('\r');
        if (end < 0)
            end = rest.size();
        const QByteArrayView entry = rest.first(end);
        rest = rest.sliced(end);
        if (rest.startsWith("\r\n"))
            rest = rest.sliced(2);
        else if (!rest.isEmpty())
            rest = rest.sliced(1);
        if (++line == 1)
            continue;
        if (entry.startsWith('#'))
            break;
        bool wide = false, control = false;
        for (const char c : entry) {
            wide = wide || uchar(c) >= 0x80;
            control = control || (c != '\n' && (uchar(c) < 0x20 || c == 0x7F));
        }
        if (wide && isUtf8(entry))
            utf8 << line;
        if (control)
            controls << line;
        if (entry.contains('\n'))
            lineFeeds << line;
    }
    if (!utf8.isEmpty()) {
        issue(QStringLiteral("Похоже на UTF-8"),
            QStringLiteral("%1, %2: текст похож на UTF-8, а слова читаются в Windows-1251; в "
                           "предложениях окажутся кракозябры.")
                .arg(name, lineList(utf8)));
    }
    if (!controls.isEmpty()) {
        issue(QStringLiteral("Управляющие символы"),
            QStringLiteral("%1, %2: в слове управляющий символ (табуляция, NUL, ESC и подобные), "
                           "которому в тексте не место.")
                .arg(name, lineList(controls)));
    }
    if (!lineFeeds.isEmpty()) {
        issue(QStringLiteral("Перевод строки внутри слова"),
            QStringLiteral("%1, %2: одинокий LF не кончает строку, а остаётся в слове и "
                           "разрывает предложение.")
                .arg(name, lineList(lineFeeds)));
    }
}

void Examiner::checkWords(const WordFile& file, const WordTable& table, int start, int length)
{
    QList<int> blank, spaced;
    for (int slot = start; slot < start + length; ++slot) {
        const QString word = table.text(slot);
        if (word.trimmed().isEmpty())
            blank << table.origin(slot).line;
        else if (word != word.trimmed())
            spaced << table.origin(slot).line;
    }
    const QString name = stemOf(file) + QStringLiteral(".dat");
    if (!blank.isEmpty()) {
        issue(QStringLiteral("Пустое слово"),
            QStringLiteral("%1, %2: в строке одни пробелы, а в предложении на её месте "
                           "окажется пустое слово.")
                .arg(name, lineList(blank)));
    }
    if (!spaced.isEmpty()) {
        issue(QStringLiteral("Пробелы по краям слова"),
            QStringLiteral("%1, %2: пробел в начале или в конце слова даёт в предложении "
                           "двойной пробел.")
                .arg(name, lineList(spaced)));
    }
}

void Examiner::loadAsTheWindow()
{
    auto session = std::make_unique<Session>(m_wordsFolders);
    try {
        session->select(m_theme);
        m_session = std::move(session);
    } catch (const Failure& f) {
        // The files one by one already said why; this is for what only the whole load shows.
        if (!m_filesFailed)
            issue(QStringLiteral("Тема не загружается"), f.message());
    }
}

void Examiner::checkFamilies()
{
    for (int family = 0; family < WordLayout::FamilyCount; ++family) {
        if (m_count[size_t(family)])
            checkFamily(Family(family), *m_count[size_t(family)]);
    }
}

void Examiner::checkFamily(Family family, int count)
{
    QString first;
    QStringList unequal, effects;
    for (size_t i = 0; i < WordLayout::Files.size(); ++i) {
        const WordFile& file = WordLayout::Files[i];
        const Loaded& l = m_loaded[i];
        if (file.family != family)
            continue;
        if (first.isEmpty())
            first = stemOf(file);
        if (!l.ok)
            continue;
        if (l.length != count)
            unequal << QStringLiteral("в %1 %2").arg(stemOf(file), words(l.length));
        if (!SentenceGenerator::reads(file) || l.start < 0)
            continue;
        const int expected = expectedStart(file);
        if (l.start != expected) {
            effects << QStringLiteral("Блок %1 начинается на %2 %3, чем его читают "
                                      "предложения, и %4 берутся не из своих ячеек.")
                           .arg(stemOf(file), cells(std::abs(l.start - expected)),
                               l.start > expected ? QStringLiteral("позже")
                                                  : QStringLiteral("раньше"),
                               describe(file));
        } else if (l.length < count) {
            effects << QStringLiteral("Блок %1 короче на %2: предложения читают и %3 за его "
                                      "концом, где слова другого файла или пустота.")
                           .arg(stemOf(file))
                           .arg(count - l.length)
                           .arg(cells(count - l.length));
        } else if (l.length > count) {
            effects << QStringLiteral("Слова %1 после %2-го (лишних: %3) не попадут ни в одно "
                                      "предложение.")
                           .arg(stemOf(file))
                           .arg(count)
                           .arg(l.length - count);
        }
    }
    if (!unequal.isEmpty()) {
        QString text = QStringLiteral("%1, а в %2 %3: во всех файлах семьи (%4) должно быть "
                                      "столько слов, сколько в %2.")
                           .arg(unequal.join(QStringLiteral(", ")), first, QString::number(count),
                               familyName(family));
        if (!effects.isEmpty())
            text += u' ' + effects.join(u' ');
        issue(QStringLiteral("Разные длины файлов"), text);
    }
    const int limit = WordLayout::maxCount(family);
    if (count > limit) {
        issue(QStringLiteral("Слишком много слов"),
            QStringLiteral(
                "в %1 %2, а больше %3 нельзя: блоки семьи заходят на чужие ячейки или за "
                "ячейку %4, и предложения берут чужие слова или останавливаются с ошибкой.")
                .arg(first, words(count))
                .arg(limit)
                .arg(WordTable::Size - 1));
    }
    if (count <= mdlSubs::RecentDrawCount) {
        issue(QStringLiteral("Слишком мало слов"),
            QStringLiteral("в %1 %2, а нужно хотя бы %3: номер слова не должен быть среди %4 "
                           "последних выбранных, и при %4 словах или меньше выбор может не "
                           "найти номера — генерация остановится с ошибкой.")
                .arg(first, words(count))
                .arg(mdlSubs::RecentDrawCount + 1)
                .arg(mdlSubs::RecentDrawCount));
    }
}

void Examiner::checkReadSlots()
{
    const WordStore& store = m_session->words();
    for (const WordFile& file : WordLayout::Files) {
        if (!SentenceGenerator::reads(file))
            continue;
        const int n = count(file.family);
        const WordTable& table = store.table(file.family);
        const int first = expectedStart(file);
        const int end = std::min(first + n, WordTable::Size);
        for (int slot = first; slot < end; ++slot) {
            const SlotOrigin& origin = table.origin(slot);
            if (origin.file < 0) {
                int last = slot;
                while (last + 1 < end && table.origin(last + 1).file < 0)
                    ++last;
                issue(QStringLiteral("Пустые ячейки"),
                    QStringLiteral("для %1 предложения читают %2 таблицы %3, куда не дошёл ни один "
                                   "файл темы: в окне там окажется пустота или слово темы, "
                                   "выбранной раньше.")
                        .arg(stemOf(file), slotRange(slot, last), tableName(file.family)));
                slot = last;
            } else if (table.at(slot).startsWith(u'#')) {
                issue(QStringLiteral("Метка конца в предложении"),
                    QStringLiteral("для %1 предложения читают ячейку %2, а в ней строка «#», "
                                   "которой кончается %3.dat (строка %4): она попадёт в текст.")
                        .arg(stemOf(file))
                        .arg(slot)
                        .arg(QLatin1String(WordLayout::Files[size_t(origin.file)].stem))
                        .arg(origin.line));
            }
        }
    }
}

void Examiner::checkSameRoots()
{
    struct Word {
        size_t file;
        int line;
        QString text, key; // key: as same-root.txt names it
        SameRoot::Kind kind;
    };
    QList<Word> words;
    QList<SameRoot::Roots> roots;
    QSet<QString> known;
    for (const auto& [file, entries] : m_entries) {
        const SameRoot::Kind kind = *rowKind(WordLayout::Files[file]);
        // Rows past the family's count are never drawn.
        const std::optional<int> count = m_count[size_t(WordLayout::Files[file].family)];
        for (qsizetype row = 0; row < entries.size() && (!count || row < *count); ++row) {
            const auto& [line, text] = entries[row];
            words.append({ file, line, text, pairWord(text), kind });
            roots.append(SameRoot::rootsOf(text, kind));
            known.insert(words.last().key);
        }
    }
    QStringList notes;
    const QSet<std::pair<QString, QString>> accepted = acceptedPairs(known, notes);
    auto named = [](const Word& w) {
        return QStringLiteral("%1.dat, строка %2 «%3»")
            .arg(QLatin1String(WordLayout::Files[w.file].stem))
            .arg(w.line)
            .arg(w.text);
    };
    for (const auto& [i, j] : SameRoot::sharingPairs(roots)) {
        const Word &a = words[i], &b = words[j];
        if (canMeet(a.kind, b.kind) && !accepted.contains({ a.key, b.key }))
            m_warnings
                << QStringLiteral("  - Однокоренные слова: %1 и %2.\n").arg(named(a), named(b));
    }
    m_warnings << notes;
}

// The pairs of words that same-root.txt in the theme folder accepts, both ways round, and
// warnings of what in it cannot be read.
QSet<std::pair<QString, QString>> Examiner::acceptedPairs(
    const QSet<QString>& words, QStringList& notes)
{
    QSet<std::pair<QString, QString>> accepted;
    const QString path = m_folder + QStringLiteral("same-root.txt");
    if (!Files::nameTaken(path))
        return accepted;
    auto warn = [&notes](const QString& text) {
        notes << QStringLiteral("  - Принятые пары: ") + text + u'\n';
    };
    QByteArray bytes;
    try {
        bytes = Files::readWholeFile(path, mdlSubs::MaxWordFileSize);
    } catch (const Failure& f) {
        warn(f.message());
        return accepted;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        warn(QStringLiteral("same-root.txt не в UTF-8, и ни одна пара в нём не принята."));
        return accepted;
    }
    const QStringList lines = text.split(u'\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].section(u'#', 0, 0).trimmed();
        if (line.isEmpty())
            continue;
        const QString where = QStringLiteral("same-root.txt, строка %1").arg(n + 1);
        const QStringList pair = line.split(u'/');
        if (pair.size() != 2 || pair[0].trimmed().isEmpty() || pair[1].trimmed().isEmpty()) {
            warn(QStringLiteral("%1: нужны два слова через «/», как «ухо / ушастый».").arg(where));
            continue;
        }
        const QString a = pairWord(pair[0]), b = pairWord(pair[1]);
        for (const QString& w : pair) {
            if (!words.contains(pairWord(w)))
                warn(QStringLiteral("%1: слова «%2» нет в списках темы.").arg(where, w.trimmed()));
        }
        accepted.insert({ a, b });
        accepted.insert({ b, a });
    }
    return accepted;
}

QString Examiner::countsText() const
{
    QString text = QStringLiteral("  Слов в файлах:\n");
    for (int family = 0; family < WordLayout::FamilyCount; ++family) {
        QString line = QStringLiteral("    %1").arg(familyName(Family(family)), -16);
        for (size_t i = 0; i < WordLayout::Files.size(); ++i) {
            if (int(WordLayout::Files[i].family) != family)
                continue;
            const Loaded& l = m_loaded[i];
            line += QStringLiteral("  %1 %2").arg(stemOf(WordLayout::Files[i]),
                l.ok ? QString::number(l.length) : QStringLiteral("—"));
        }
        text += line + u'\n';
    }
    return text;
}

Report Examiner::run()
{
    try {
        m_folder = Session::locate(m_wordsFolders, m_theme);
        loadFiles();
        loadAsTheWindow();
    } catch (const Failure& f) {
        // No place has the theme folder; every file would only say that again.
        m_folder
            = QDir(m_wordsFolders.value(0)).absoluteFilePath(Themes::folderName(m_theme)) + u'/';
        issue(QStringLiteral("Тема не найдена"), f.message());
    }
    checkFamilies();
    if (m_session)
        checkReadSlots();
    checkSameRoots();

    Report report;
    report.brokenRules = int(m_issues.size());
    report.text = QStringLiteral("Тема %1 «%2»: %3\n")
                      .arg(Themes::folderName(m_theme), Themes::names().at(m_theme),
                          QDir::toNativeSeparators(m_folder))
        + countsText();
    if (m_issues.isEmpty()) {
        report.text += QStringLiteral("  Нарушенных правил нет.\n");
    } else {
        report.text += QStringLiteral("  Нарушенные правила (%1):\n").arg(m_issues.size());
        for (const QString& line : m_issues)
            report.text += line;
    }
    if (!m_warnings.isEmpty()) {
        report.text += QStringLiteral("  Предупреждения (%1):\n").arg(m_warnings.size());
        for (const QString& line : m_warnings)
            report.text += line;
    }
    if (m_session) {
        const WordStore& w = m_session->words();
        const FamilyCounts counts { w.NounCount, w.VerbCount, w.AdjectiveCount, w.AdverbCount,
            w.IntroCount };
        report.text += QStringLiteral("  Разных предложений:\n    шаблон A  %1\n    шаблон B  %2\n")
                           .arg(ThemeStats::sentencesA(counts).toString(),
                               ThemeStats::sentencesB(counts).toString());
    } else {
        report.text
            += QStringLiteral("  Разных предложений: не подсчитано, тема не загружается.\n");
    }
    return report;
}

} // namespace

namespace ThemeStats {

BigUInt sentencesA(const FamilyCounts& c)
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

BigUInt sentencesB(const FamilyCounts& c)
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

Report examine(const QStringList& wordsFolders, int theme)
{
    return Examiner(wordsFolders, theme).run();
}

} // namespace ThemeStats
