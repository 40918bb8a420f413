#include "core/wordlayout.h"

namespace WordLayout {

static_assert(maxCount(Family::Nouns) == 333 && maxCount(Family::Adjectives) == 333);
static_assert(maxCount(Family::Verbs) == 1000 && maxCount(Family::Adverbs) == 667);
static_assert(maxCount(Family::Intros) == 3001);

int indexOf(QStringView stem)
{
    for (size_t i = 0; i < LoadOrder.size(); ++i) {
        if (stem == QLatin1StringView(LoadOrder[i].stem))
            return int(i);
    }
    return -1;
}

QString familyName(Family family)
{
    switch (family) {
    case Family::Nouns:
        return QStringLiteral("существительные");
    case Family::Verbs:
        return QStringLiteral("глаголы");
    case Family::Adjectives:
        return QStringLiteral("прилагательные");
    case Family::Adverbs:
        return QStringLiteral("наречия");
    case Family::Intros:
        return QStringLiteral("вводные слова");
    }
    return QString();
}

QString tableName(Family family)
{
    switch (family) {
    case Family::Nouns:
        return QStringLiteral("существительных");
    case Family::Verbs:
        return QStringLiteral("глаголов");
    case Family::Adjectives:
        return QStringLiteral("прилагательных");
    case Family::Adverbs:
        return QStringLiteral("наречий");
    case Family::Intros:
        return QStringLiteral("вводных слов");
    }
    return QString();
}

} // namespace WordLayout
