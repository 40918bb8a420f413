#include "cli/sameroot.h"

#include <QStringView>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <set>

using SameRoot::Kind;
using SameRoot::Roots;

namespace {

using Affixes = QList<QStringView>;

// Words that carry no root of their own in openers and multi-word entries.
const QSet<QStringView>& functionWords()
{
    static const QSet<QStringView> words = [] {
        QSet<QStringView> set;
        for (QStringView w : QStringView(u"как что чего если при под без для еще так тем том "
                                         u"того все всем всех всеми через между после пока раз "
                                         u"зато однако итак ради вне уже лишь нет или это этот "
                                         u"эта эти один одним одной свой своей него ней нем них "
                                         u"ним кто кого чем ни не по на за из от до над про "
                                         u"перед около где когда там тут вот даже весь вся само "
                                         u"собой более менее таки всякий всякого всяком каждый "
                                         u"каждому каждого поэтому потому также тоже мой моему "
                                         u"моей твой наш")
                                 .split(u' '))
            set.insert(w);
        return set;
    }();
    return words;
}

Affixes list(QStringView words)
{
    Affixes out;
    for (QStringView w : words.split(u' '))
        out << w;
    return out;
}

const Affixes adjectiveEndings
    = list(u"ого его ому ему ыми ими ый ий ой ая яя ое ее ые ие ых их ую юю ым им");
const Affixes nounEndings = list(u"ение ание ия ие ии ию ией ием иями ей ом ем ью ами ями ах ях "
                                 u"ов ев а я о е ы и у ю ь");
const Affixes verbEndings = list(u"ивает ывает ает яет еет ует юет ет ит ут ют ат ят ать ять "
                                 u"еть ить ал ял ил ел ла ло ли");
const Affixes adjectiveSuffixes = list(u"н ич ск еск ическ ов ев ин ан ян енн онн анн ованн "
                                       u"ированн ат ят аст ист ив лив чив ач яч ущ ющ ащ ящ чат");
const Affixes nounSuffixes = list(u"ист к ик чик очк ечк ушк ышк ц ец иц ниц ник щик тел ател "
                                  u"ител ост ств еств изм ищ ил их");
const Affixes verbSuffixes = list(u"ова ева");
// Cut off only where the word ends in them: щен-ок, телён-ок.
const Affixes zeroEndingSuffixes = list(u"ок ек енок онок");
const Affixes prefixes = list(u"без бес вз вс воз вос вы до за из ис на над не ни об от пере "
                              u"по под пре пред при про раз рас");

bool isVowel(QChar c)
{
    return QStringView(u"аеиоуыэюя").contains(c);
}

bool hasVowel(QStringView s)
{
    return std::any_of(s.begin(), s.end(), isVowel);
}

bool isRussianLetter(QChar c)
{
    return c >= u'а' && c <= u'я';
}

// Whether s is nothing but affixes of the list, one after another.
bool madeOf(QStringView s, const Affixes& affixes)
{
    if (s.isEmpty())
        return true;
    for (QStringView a : affixes) {
        if (s.startsWith(a) && madeOf(s.mid(a.size()), affixes))
            return true;
    }
    return false;
}

// A prefix, or a prefix and one letter: what is left of a word, not a root.
bool prefixLike(QStringView s)
{
    return std::any_of(prefixes.begin(), prefixes.end(),
        [s](QStringView p) { return s.startsWith(p) && s.size() <= p.size() + 1; });
}

// What is left once an ending or suffix is cut off: no ь at the end, and a vowel before
// я, е, ю, и gets back its й (зме-я: змей).
QString leftOf(QStringView s, QStringView piece)
{
    QString out = s.toString();
    if (out.endsWith(u'ь'))
        out.chop(1);
    if (!out.isEmpty() && isVowel(out.back()) && QStringView(u"яеюи").contains(piece.front()))
        out += u'й';
    return out;
}

// Without the fleeting е before the last consonant: ядер, ядр.
QString withoutFleetingE(const QString& s)
{
    const qsizetype n = s.size();
    if (n >= 3 && s[n - 2] == u'е' && !isVowel(s[n - 1]) && !isVowel(s[n - 3]))
        return s.left(n - 2) + s[n - 1];
    return s;
}

struct Word {
    QString stem; // without its ending
    bool endless = false; // it had none: кот, хвост
    Affixes suffixes;
};

Word wordOf(const QString& token, Kind kind)
{
    Affixes endings;
    switch (kind) {
    case Kind::Noun:
        endings = nounEndings + adjectiveEndings;
        break;
    case Kind::Adjective:
    case Kind::Adverb:
        endings = adjectiveEndings + nounEndings;
        break;
    case Kind::ShortAdjective:
        endings = nounEndings;
        break;
    case Kind::Verb:
        endings = verbEndings;
        break;
    case Kind::Opener:
        endings = adjectiveEndings + nounEndings + verbEndings;
        break;
    }
    QStringView ending;
    for (QStringView e : endings) {
        const qsizetype rest = token.size() - e.size();
        const qsizetype least = e == u"ивает" || e == u"ывает" ? 3 : 2;
        if (e.size() > ending.size() && token.endsWith(e) && rest >= least
            && hasVowel(QStringView(token).left(rest)))
            ending = e;
    }
    Word w;
    w.endless = ending.isEmpty();
    if (w.endless)
        w.stem = token.endsWith(u'ь') ? token.chopped(1) : token;
    else
        w.stem = leftOf(QStringView(token).chopped(ending.size()), ending);
    if (!w.endless && verbEndings.contains(ending) && kind != Kind::Noun)
        w.suffixes = verbSuffixes;
    else if (kind == Kind::Adjective || kind == Kind::ShortAdjective || kind == Kind::Adverb
        || adjectiveEndings.contains(ending))
        w.suffixes = adjectiveSuffixes + nounSuffixes;
    else
        w.suffixes = nounSuffixes;
    return w;
}

// Whether s may be split after l (a linking vowel between l and r) into two parts of a
// compound.
bool compoundParts(QStringView l, QStringView r, const Affixes& suffixes)
{
    if (l.size() < 3 || isVowel(l.back()) || !hasVowel(r))
        return false;
    if (l[l.size() - 2] == u'о' && (l.back() == u'л' || l.back() == u'р'))
        return false; // голова, корова: one root
    const Affixes endings = suffixes + zeroEndingSuffixes;
    const QString linked = QChar(u'о') + r.toString();
    // The о belongs to a suffix (-ов-, -онок), or r is one after a consonant (жаворон-ок).
    if (endings.contains(r.mid(1)) || r.mid(1) == u"ен" || madeOf(linked, endings)
        || madeOf(r, endings))
        return false;
    // The о belongs to prefixes (не-про-бива-ем).
    return !prefixLike(l) && !madeOf(QString(l.toString() + QChar(u'о')), prefixes);
}

// Where a compound may be split: the linking vowel's position.
QList<qsizetype> linkingVowels(QStringView s)
{
    QList<qsizetype> at;
    for (qsizetype i = 3; i + 1 < s.size(); ++i) {
        if (s[i] == u'о' || (s[i] == u'е' && QStringView(u"жчшщц").contains(s[i - 1])))
            at << i;
    }
    return at;
}

// The alternating last consonants: к/ч, г/ж, х/ш, ц/ч; the rest only in long stems.
void addAlternations(const QString& s, bool cut, int steps, QHash<QString, int>& out)
{
    struct Alternation {
        QChar from;
        const char16_t* to;
        bool strong;
    };
    static constexpr std::array<Alternation, 8> alternations { {
        { u'ч', u"к", true },
        { u'ч', u"ц", true },
        { u'ч', u"т", false },
        { u'ж', u"г", true },
        { u'ж', u"з", false },
        { u'ж', u"д", false },
        { u'ш', u"х", true },
        { u'ш', u"с", false },
    } };
    auto add = [&](const QString& v) {
        if (!hasVowel(v) || isVowel(v.back()) || prefixes.contains(v))
            return;
        if (v.size() >= 3 || (v.size() == 2 && steps <= 1)) {
            auto it = out.find(v);
            if (it == out.end() || *it > steps)
                out.insert(v, steps);
        }
    };
    add(s);
    if (s.isEmpty())
        return;
    auto alternate = [&](QStringView to, bool strong) {
        QString v = s.chopped(1);
        v += to;
        if (!strong && v.size() < 6)
            return;
        if (v.size() < 3 && cut)
            return;
        add(v);
    };
    for (const Alternation& a : alternations) {
        if (s.back() == a.from)
            alternate(QStringView(a.to), a.strong);
    }
    if (s.back() == u'щ') {
        alternate(u"ст", false);
        alternate(u"ск", false);
    }
}

struct State {
    QString stem;
    int steps;
    bool cut; // a prefix or a compound part is off: no more prefixes, no short stems
    bool raw; // still the very end of a word without ending
};

// Walks from a word's stem to every stem that cutting a suffix, a prefix or a compound part,
// or dropping a fleeting е, reaches in a few steps, and adds their candidates.
class Walk {
public:
    Walk(const Word& word, QHash<QString, int>& out)
        : m_word(word)
        , m_out(out)
    {
    }

    void run()
    {
        m_todo = { { m_word.stem, 0, false, m_word.endless } };
        // Twice the stems any real word has (up to 27): a hostile entry must not make --stats
        // hang.
        while (!m_todo.isEmpty() && m_seen.size() < 60) {
            const State st = m_todo.takeLast();
            if (!firstVisit(st))
                continue;
            addAlternations(st.stem, st.cut, st.steps, m_out);
            if (st.steps >= 4)
                continue;
            dropFleetingE(st);
            cutSuffixes(st);
            cutPrefixes(st);
            splitCompound(st);
        }
    }

private:
    // False when the stem was reached before, with these flags, in as few steps.
    bool firstVisit(const State& st)
    {
        const QString key = st.stem + QChar(u'0' + (st.cut ? 2 : 0) + (st.raw ? 1 : 0));
        const auto it = m_seen.find(key);
        if (it != m_seen.end() && *it <= st.steps)
            return false;
        m_seen.insert(key, st.steps);
        return true;
    }

    void dropFleetingE(const State& st)
    {
        if (!st.raw && st.steps == 0)
            return;
        const QString u = withoutFleetingE(st.stem);
        if (u != st.stem)
            m_todo.append({ u, st.steps, st.cut, false });
    }

    void cutSuffixes(const State& st)
    {
        const QString& s = st.stem;
        const Affixes suffixes = st.raw ? m_word.suffixes + zeroEndingSuffixes : m_word.suffixes;
        for (QStringView x : suffixes) {
            const qsizetype rest = s.size() - x.size();
            if ((st.raw && x.size() == 1) || !s.endsWith(x) || rest < 2
                || !hasVowel(QStringView(s).left(rest)) || (st.cut && rest < 4))
                continue;
            m_todo.append({ leftOf(QStringView(s).left(rest), x), st.steps + 1, st.cut, false });
        }
    }

    void cutPrefixes(const State& st)
    {
        if (st.cut)
            return;
        const QString& s = st.stem;
        for (QStringView p : prefixes) {
            const qsizetype rest = s.size() - p.size();
            if (s.startsWith(p) && rest >= 2 && hasVowel(QStringView(s).mid(p.size()))
                && (rest >= 4 || st.steps == 0))
                m_todo.append({ s.mid(p.size()), st.steps + 1, true, false });
        }
    }

    void splitCompound(const State& st)
    {
        const QString& s = st.stem;
        for (qsizetype i : linkingVowels(s)) {
            const QStringView l = QStringView(s).left(i), r = QStringView(s).mid(i + 1);
            if (!compoundParts(l, r, m_word.suffixes))
                continue;
            for (QStringView part : { l, r }) {
                if (part.size() >= 4 || st.steps == 0)
                    m_todo.append({ part.toString(), st.steps + 1, true, false });
            }
        }
    }

    const Word& m_word;
    QHash<QString, int>& m_out;
    QHash<QString, int> m_seen; // stem and flags: the fewest steps
    QList<State> m_todo;
};

void addCandidates(const Word& word, QHash<QString, int>& out)
{
    Walk(word, out).run();
}

// The most steps two candidates of this length may take together.
int stepLimit(qsizetype length)
{
    return length <= 3 ? 2 : length == 4 ? 3 : 1000;
}

} // namespace

namespace SameRoot {

Roots rootsOf(const QString& entry, Kind kind)
{
    Roots roots;
    QString text = entry.toLower();
    text.replace(u'ё', u'е');
    QSet<QString> done;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && isRussianLetter(text[i]))
            continue;
        const QString token = text.mid(start, i - start);
        start = i + 1;
        // No Russian word is longer than 40 letters, and no entry of a list holds a dozen
        // words; what does is no word to compare.
        if (token.size() < 2 || token.size() > 40 || functionWords().contains(token)
            || done.contains(token) || done.size() >= 12)
            continue;
        done.insert(token);
        const Word word = wordOf(token, kind);
        addCandidates(word, roots.candidates);
        const QString& b = word.stem;
        roots.heads.insert(b);
        for (qsizetype at : linkingVowels(b)) {
            if (at >= 4
                && compoundParts(
                    QStringView(b).left(at), QStringView(b).mid(at + 1), word.suffixes))
                roots.heads.insert(b.left(at));
        }
        for (qsizetype at = 2; b.size() - at >= 5; ++at) {
            if (hasVowel(QStringView(b).left(at)) && !isVowel(b[at]))
                roots.tails.insert(b.mid(at));
        }
    }
    return roots;
}

QString shared(const Roots& a, const Roots& b)
{
    QString best;
    for (auto it = a.candidates.begin(); it != a.candidates.end(); ++it) {
        const auto other = b.candidates.find(it.key());
        if (other != b.candidates.end() && *it + *other <= stepLimit(it.key().size())
            && it.key().size() > best.size())
            best = it.key();
    }
    for (const QSet<QString>* tails : { &a.tails, &b.tails }) {
        const QSet<QString>& heads = tails == &a.tails ? b.heads : a.heads;
        for (const QString& t : *tails) {
            if (heads.contains(t) && t.size() > best.size())
                best = t;
        }
    }
    return best;
}

QList<std::pair<int, int>> sharingPairs(const QList<Roots>& entries)
{
    // Entries by candidate, with its steps, and by head; a pair is looked at only through the
    // root it may share, so that many entries of one root cost no more than the pairs they make.
    QHash<QString, QList<std::pair<int, int>>> byCandidate;
    QHash<QString, QList<int>> byHead;
    for (int i = 0; i < entries.size(); ++i) {
        for (auto it = entries[i].candidates.begin(); it != entries[i].candidates.end(); ++it)
            byCandidate[it.key()].append({ i, *it });
        for (const QString& h : entries[i].heads)
            byHead[h] << i;
    }
    std::set<std::pair<int, int>> found;
    for (auto it = byCandidate.begin(); it != byCandidate.end(); ++it) {
        const QList<std::pair<int, int>>& group = *it;
        const int limit = stepLimit(it.key().size());
        for (qsizetype x = 0; x < group.size(); ++x) {
            for (qsizetype y = x + 1; y < group.size(); ++y) {
                if (group[x].second + group[y].second <= limit)
                    found.insert({ group[x].first, group[y].first });
            }
        }
    }
    for (int i = 0; i < entries.size(); ++i) {
        for (const QString& t : entries[i].tails) {
            for (int j : byHead.value(t)) {
                if (i != j)
                    found.insert({ std::min(i, j), std::max(i, j) });
            }
        }
    }
    return QList<std::pair<int, int>>(found.begin(), found.end());
}

} // namespace SameRoot
