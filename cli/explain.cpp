#include "cli/explain.h"

#include "window/wordtable.h"

#include <QDir>
#include <QFileInfo>

#include <functional>

namespace {

const QString ParagraphBreak = QStringLiteral("\r\n\r\n");

QString explain(
    const SentenceTrace& trace, const std::function<QString(const WordTable&, int)>& item)
{
    QString line = QChar::fromLatin1(trace.templateName) + QStringLiteral("  g=");
    for (qsizetype i = 0; i < trace.genders.size(); ++i) {
        if (i)
            line += u',';
        line += QString::number(trace.genders.at(i));
    }
    line += u' ';
    for (const SentenceTrace::Word& w : trace.words)
        line += u' ' + item(*w.table, w.slot);
    return line;
}

QString plainItem(const WordTable& table, int slot)
{
    const SlotOrigin& origin = table.origin(slot);
    // No file reached the slot: say so, with the slot, so the gap can be found.
    if (origin.stem.isEmpty())
        return QStringLiteral("(пусто):%1").arg(slot);
    return origin.stem + u':' + QString::number(origin.line);
}

} // namespace

QString ExplainingOutput::item(const WordTable& table, int slot) const
{
    QString text = plainItem(table, slot);
    const QString& from = table.origin(slot).folder;
    if (!from.isEmpty() && from != m_folder)
        text.prepend(QFileInfo(QDir::cleanPath(from)).fileName() + u'/');
    return text;
}

void ExplainingOutput::traced(const SentenceTrace& trace)
{
    const QString line
        = explain(trace, [this](const WordTable& table, int slot) { return item(table, slot); });
    // Keep the line next to its sentence: before the paragraph break the sentence may end with.
    qsizetype at = m_text.size();
    if (m_text.endsWith(ParagraphBreak))
        at -= ParagraphBreak.size();
    m_text.insert(at, QStringLiteral("\r\n") + line + QStringLiteral("\r\n"));
}
