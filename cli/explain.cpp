#include "cli/explain.h"

#include "cli/textwriter.h"
#include "core/session.h"

#include <QDir>
#include <QFileInfo>

QString explainSentence(const Sentence& sentence, const Session& session)
{
    QString line = sentence.kind == Sentence::Template::A ? QStringLiteral("A  g=")
                                                          : QStringLiteral("B  g=");
    for (int i = 0; i < sentence.genderCount; ++i) {
        if (i)
            line += u',';
        line += QString::number(sentence.genders[size_t(i)]);
    }
    line += u' ';
    for (int i = 0; i < sentence.wordCount; ++i) {
        const Sentence::Word& w = sentence.words[size_t(i)];
        const SlotOrigin& origin = session.words().table(w.family).origin(w.slot);
        line += u' ';
        if (origin.file < 0) {
            line += QStringLiteral("(пусто):%1").arg(w.slot);
            continue;
        }
        if (origin.folder != session.themeFolder())
            line += QFileInfo(QDir::cleanPath(origin.folder)).fileName() + u'/';
        line += QLatin1String(WordLayout::LoadOrder[size_t(origin.file)].stem) + u':'
            + QString::number(origin.line);
    }
    return line;
}

void ExplainingOutput::sentence(const Sentence& sentence)
{
    m_out.sentence(sentence);
    m_out.write(u'\n' + explainSentence(sentence, m_session) + u'\n');
}

void ExplainingOutput::paragraphBreak()
{
    m_out.paragraphBreak();
}

void ExplainingOutput::runEnded()
{
    m_out.runEnded();
}
