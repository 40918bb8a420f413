#include "cli/stats.h"

#include "cli/sameroot.h"
#include "core/generator.h"
#include "core/session.h"
#include "core/themes.h"
#include "core/wordfile.h"
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

using ThemeStats::Report;
using WordLayout::FamilyCounts;

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
bool looksLikeUtf8(QByteArrayView entry)
{
    if (std::none_of(entry.begin(), entry.end(), [](char c) { return uchar(c) >= 0x80; }))
        return false;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(entry);
    return !decoder.hasError();
}

// A control character that has no place in a word; a bare LF is reported on its own.
bool hasControl(QByteArrayView entry)
{
    return std::any_of(entry.begin(), entry.end(),
        [](char c) { return c != '\n' && (uchar(c) < 0x20 || c == 0x7F); });
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

    void checkName();
    void loadFiles();
    void loadFile(size_t index);
    void checkLineEnds(const WordFile& file, QByteArrayView bytes);
    void checkEntries(const WordFile& file, QByteArrayView bytes);
    void checkWords(const WordFile& file, const WordTable& table, int start, int length);
    void loadAsTheWindow();
    void checkFamilies();
    void checkLengths(Family family, int count);
    QString effectOfLength(size_t index, int count) const;
    void checkCount(Family family, int count);
    void checkReadSlots();
    void checkReadSlots(const WordFile& file, const WordTable& table);
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
    std::array<Loaded, WordLayout::LoadOrder.size()> m_loaded {};
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

// An own theme names itself in name.txt.
void Examiner::checkName()
{
    if (m_theme < Themes::ShippedCount)
        return;
    const Themes::Name name = Themes::readName(m_folder);
    if (!name.problem.isEmpty()) {
        issue(QStringLiteral("Имя темы"),
            QStringLiteral("%1: в списке тем она зовётся «%2».")
                .arg(name.problem, Themes::nameOf(m_theme, m_folder)));
    }
}

void Examiner::loadFiles()
{
    for (size_t i = 0; i < WordLayout::LoadOrder.size(); ++i)
        loadFile(i);
}

void Examiner::loadFile(size_t index)
{
    const WordFile& file = WordLayout::LoadOrder[index];
    Loaded& l = m_loaded[index];
    const Loaded* previous = index > 0 ? &m_loaded[index - 1] : nullptr;
    const int start = WordLayout::startOf(file,
        previous && previous->ok && previous->start >= 0 ? previous->start + previous->length : -1);
    // Where the start is not known, slot 0 still shows whether the file itself reads.
    const int at = std::max(start, 0);
    WordTable scratch(file.family);
    try {
        const QByteArray bytes
            = Files::readWholeFile(WordFiles::path(m_folder, stemOf(file)), WordFiles::MaxSize);
        checkLineEnds(file, bytes);
        checkEntries(file, bytes);
        l.length = WordFiles::store(bytes, m_folder, stemOf(file), scratch, qint16(at)) - at;
        l.ok = true;
        l.start = start;
    } catch (const Failure& f) {
        issue(QStringLiteral("Файл не загружается"), f.message());
        m_filesFailed = true;
        return;
    }
    checkWords(file, scratch, at, l.length);
    if (rowKind(file)) {
        QList<std::pair<int, QString>>& entries = m_entries[index];
        for (int slot = at; slot < at + l.length; ++slot)
            entries.append({ scratch.origin(slot).line, scratch.text(slot) });
    }
    if (WordLayout::isFirstOfFamily(file))
        m_count[size_t(file.family)] = l.length;
}

void Examiner::checkLineEnds(const WordFile& file, QByteArrayView bytes)
{
    const QString name = stemOf(file) + QStringLiteral(".dat");
    if (!bytes.contains('\r') && bytes.contains('\n')) {
        issue(QStringLiteral("Концы строк LF"),
            QStringLiteral("%1: строки кончаются одним LF, а не CR LF; программа видит весь файл "
                           "как одну строку заголовка, и слов в нём нет.")
                .arg(name));
    } else if (bytes.contains('\r') && !bytes.contains("\r\n")) {
        issue(QStringLiteral("Концы строк CR"),
            QStringLiteral("%1: строки кончаются одним CR, а не CR LF; программа их понимает, "
                           "а многие редакторы — нет.")
                .arg(name));
    }
}

void Examiner::checkEntries(const WordFile& file, QByteArrayView bytes)
{
    QList<int> utf8, controls, lineFeeds;
    for (WordFiles::Lines lines(bytes); !lines.atEnd();) {
        const WordFiles::Lines::Line line = lines.next();
        if (line.endsList())
            break;
        if (looksLikeUtf8(line.text))
            utf8 << line.number;
        if (hasControl(line.text))
            controls << line.number;
        if (line.text.contains('\n'))
            lineFeeds << line.number;
    }
    const QString name = stemOf(file) + QStringLiteral(".dat");
    const std::tuple<const QList<int>&, QString, QString> findings[] = {
        { utf8, QStringLiteral("Похоже на UTF-8"),
            QStringLiteral("текст похож на UTF-8, а слова читаются в Windows-1251; в "
                           "предложениях окажутся кракозябры.") },
        { controls, QStringLiteral("Управляющие символы"),
            QStringLiteral("в слове управляющий символ (табуляция, NUL, ESC и подобные), "
                           "которому в тексте не место.") },
        { lineFeeds, QStringLiteral("Перевод строки внутри слова"),
            QStringLiteral("одинокий LF не кончает строку, а остаётся в слове и "
                           "разрывает предложение.") },
    };
    for (const auto& [lines, title, text] : findings) {
        if (!lines.isEmpty())
            issue(title, QStringLiteral("%1, %2: ").arg(name, lineList(lines)) + text);
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
        if (const std::optional<int> count = m_count[size_t(family)]) {
            checkLengths(Family(family), *count);
            checkCount(Family(family), *count);
        }
    }
}

void Examiner::checkLengths(Family family, int count)
{
    QString first;
    QStringList unequal, effects;
    for (size_t i = 0; i < WordLayout::LoadOrder.size(); ++i) {
        const WordFile& file = WordLayout::LoadOrder[i];
        if (file.family != family)
            continue;
        if (first.isEmpty())
            first = stemOf(file);
        if (!m_loaded[i].ok)
            continue;
        if (m_loaded[i].length != count)
            unequal << QStringLiteral("в %1 %2").arg(stemOf(file), words(m_loaded[i].length));
        if (const QString effect = effectOfLength(i, count); !effect.isEmpty())
            effects << effect;
    }
    if (unequal.isEmpty())
        return;
    QString text = QStringLiteral("%1, а в %2 %3: во всех файлах семьи (%4) должно быть "
                                  "столько слов, сколько в %2.")
                       .arg(unequal.join(QStringLiteral(", ")), first, QString::number(count),
                           familyName(family));
    if (!effects.isEmpty())
        text += u' ' + effects.join(u' ');
    issue(QStringLiteral("Разные длины файлов"), text);
}

// What the sentences get from a file whose length or start differs from the family's count;
// empty when they read it as it should be, or do not read it.
QString Examiner::effectOfLength(size_t index, int count) const
{
    const WordFile& file = WordLayout::LoadOrder[index];
    const Loaded& l = m_loaded[index];
    if (!SentenceGenerator::reads(file) || l.start < 0)
        return QString();
    const int expected = expectedStart(file);
    if (l.start != expected) {
        return QStringLiteral("Блок %1 начинается на %2 %3, чем его читают "
                              "предложения, и %4 берутся не из своих ячеек.")
            .arg(stemOf(file), cells(std::abs(l.start - expected)),
                l.start > expected ? QStringLiteral("позже") : QStringLiteral("раньше"),
                describe(file));
    }
    if (l.length < count) {
        return QStringLiteral("Блок %1 короче на %2: предложения читают и %3 за его "
                              "концом, где слова другого файла или пустота.")
            .arg(stemOf(file))
            .arg(count - l.length)
            .arg(cells(count - l.length));
    }
    if (l.length > count) {
        return QStringLiteral("Слова %1 после %2-го (лишних: %3) не попадут ни в одно "
                              "предложение.")
            .arg(stemOf(file))
            .arg(count)
            .arg(l.length - count);
    }
    return QString();
}

void Examiner::checkCount(Family family, int count)
{
    const QString first = QLatin1StringView(std::find_if(
        WordLayout::LoadOrder.begin(), WordLayout::LoadOrder.end(), [family](const WordFile& f) {
            return f.family == family;
        })->stem);
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
    for (const WordFile& file : WordLayout::LoadOrder) {
        if (SentenceGenerator::reads(file))
            checkReadSlots(file, m_session->words().table(file.family));
    }
}

// The slots the sentences read for a file: each holds a word of this theme, not an end mark.
void Examiner::checkReadSlots(const WordFile& file, const WordTable& table)
{
    const int first = expectedStart(file);
    const int end = std::min(first + count(file.family), WordTable::Size);
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
                    .arg(QLatin1String(WordLayout::LoadOrder[size_t(origin.file)].stem))
                    .arg(origin.line));
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
        const SameRoot::Kind kind = *rowKind(WordLayout::LoadOrder[file]);
        // Rows past the family's count are never drawn.
        const std::optional<int> count = m_count[size_t(WordLayout::LoadOrder[file].family)];
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
            .arg(QLatin1String(WordLayout::LoadOrder[w.file].stem))
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
        bytes = Files::readWholeFile(path, WordFiles::MaxSize);
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
        for (size_t i = 0; i < WordLayout::LoadOrder.size(); ++i) {
            if (int(WordLayout::LoadOrder[i].family) != family)
                continue;
            const Loaded& l = m_loaded[i];
            line += QStringLiteral("  %1 %2").arg(stemOf(WordLayout::LoadOrder[i]),
                l.ok ? QString::number(l.length) : QStringLiteral("—"));
        }
        text += line + u'\n';
    }
    return text;
}

Report Examiner::run()
{
    try {
        m_folder = Themes::locate(m_wordsFolders, m_theme);
        checkName();
        loadFiles();
        loadAsTheWindow();
    } catch (const Failure& f) {
        // No place has the theme folder; every file would only say that again.
        m_folder
            = Files::absolute(QDir(m_wordsFolders.value(0)).filePath(Themes::folderName(m_theme)))
            + u'/';
        issue(QStringLiteral("Тема не найдена"), f.message());
    }
    checkFamilies();
    if (m_session)
        checkReadSlots();
    checkSameRoots();

    Report report;
    report.brokenRules = int(m_issues.size());
    report.text = QStringLiteral("Тема %1 «%2»: %3\n")
                      .arg(Themes::folderName(m_theme), Themes::nameOf(m_theme, m_folder),
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
        FamilyCounts counts {};
        for (int family = 0; family < WordLayout::FamilyCount; ++family)
            counts[size_t(family)] = count(Family(family));
        report.text += QStringLiteral("  Разных предложений:\n    шаблон A  %1\n    шаблон B  %2\n")
                           .arg(ThemeStats::sentencesA(counts).toString(),
                               ThemeStats::sentencesB(counts).toString());
    } else {
        report.text
            += QStringLiteral("  Разных предложений: не подсчитано, тема не загружается.\n");
    }
    return report;
}

int of(const FamilyCounts& c, Family family)
{
    return c[size_t(family)];
}

// A shape of template A, "[opener] [adj] noun [[adj] noun] [adverb] verb [adj] noun [[adj]
// noun]": which optional words it has. A genitive phrase is absent (0), a noun (1) or an
// adjective and a noun (2).
struct ShapeOfA {
    bool opener, adjective1, adverb, adjective3;
    int phrase2, phrase4;
};
constexpr int ShapesOfA = 2 * 2 * 2 * 2 * 3 * 3;

ShapeOfA shapeOfA(int index)
{
    return { (index & 1) != 0, (index & 2) != 0, (index & 4) != 0, (index & 8) != 0, index / 16 % 3,
        index / 48 };
}

std::vector<int> wordsOf(const ShapeOfA& shape, const FamilyCounts& c)
{
    const int nouns = of(c, Family::Nouns), adjectives = of(c, Family::Adjectives);
    std::vector<int> words { nouns, of(c, Family::Verbs), nouns };
    if (shape.opener)
        words.push_back(of(c, Family::Intros));
    if (shape.adjective1)
        words.push_back(adjectives);
    if (shape.adverb)
        words.push_back(of(c, Family::Adverbs));
    if (shape.adjective3)
        words.push_back(adjectives);
    for (int phrase : { shape.phrase2, shape.phrase4 }) {
        if (phrase > 0)
            words.push_back(nouns);
        if (phrase > 1)
            words.push_back(adjectives);
    }
    return words;
}

// The gender choices that show: one per noun phrase that is there, and a masculine object
// never has an adjective, so with one it can only be feminine or neuter.
quint32 gendersOf(const ShapeOfA& shape)
{
    return 3 * (shape.phrase2 ? 3 : 1) * (shape.adjective3 ? 2 : 3) * (shape.phrase4 ? 3 : 1);
}

} // namespace

namespace ThemeStats {

BigUInt sentencesA(const FamilyCounts& c)
{
    BigUInt total;
    for (int index = 0; index < ShapesOfA; ++index) {
        const ShapeOfA shape = shapeOfA(index);
        total += distinctEntries(wordsOf(shape, c)) * gendersOf(shape);
    }
    return total;
}

BigUInt sentencesB(const FamilyCounts& c)
{
    // "[opener] [adj] noun short-adj [и short-adj]", one gender of three throughout.
    BigUInt total;
    for (int shape = 0; shape < 8; ++shape) {
        std::vector<int> words { of(c, Family::Nouns), of(c, Family::Adverbs) };
        if (shape & 1)
            words.push_back(of(c, Family::Intros));
        if (shape & 2)
            words.push_back(of(c, Family::Adjectives));
        if (shape & 4)
            words.push_back(of(c, Family::Adverbs));
        total += distinctEntries(words) * 3;
    }
    return total;
}

Report examine(const QStringList& wordsFolders, int theme)
{
    return Examiner(wordsFolders, theme).run();
}

} // namespace ThemeStats
