#include "core/themes.h"

#include "core/wordfile.h"
#include "core/wordlayout.h"
#include "platform/failure.h"
#include "platform/files.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

#include <map>

namespace Themes {

namespace {

// Far more than a name needs; the file is read whole.
constexpr qint64 MaxNameFileSize = 4096;

const QString NameFile = QStringLiteral("name.txt");

// The number of a theme folder's name: two digits, or -1.
int numberOf(const QString& entry)
{
    if (entry.size() != 2 || !entry.at(0).isDigit() || !entry.at(1).isDigit())
        return -1;
    return entry.toInt();
}

} // namespace

// The first line, without control characters, trimmed and cut to the longest name; problem says
// what had to be done to it.
Name cleanName(const QString& text)
{
    Name name;
    const QString line = text.section(u'\n', 0, 0);
    for (const QChar c : line) {
        if (c.category() != QChar::Other_Control)
            name.text += c;
    }
    name.text = name.text.trimmed();
    if (name.text.isEmpty()) {
        name.problem = QStringLiteral("в первой строке %1 нет имени").arg(NameFile);
    } else if (name.text.size() > MaxNameLength) {
        const qsizetype cut
            = MaxNameLength - (name.text.at(MaxNameLength - 1).isHighSurrogate() ? 1 : 0);
        name.text = name.text.left(cut).trimmed();
        name.problem = QStringLiteral("имя в %1 длиннее %2 знаков; в списке оно обрезано")
                           .arg(NameFile)
                           .arg(MaxNameLength);
    } else if (name.text != line.trimmed()) {
        name.problem
            = QStringLiteral("в имени в %1 есть управляющие символы; они убраны").arg(NameFile);
    }
    return name;
}

QString folderName(int number)
{
    return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
}

Name readName(const QString& themeFolder)
{
    const QString path = themeFolder + NameFile;
    if (!Files::nameTaken(path))
        return { QString(), QStringLiteral("нет файла %1 с именем темы").arg(NameFile) };
    QByteArray bytes;
    try {
        bytes = Files::readWholeFile(path, MaxNameFileSize);
    } catch (const Failure& f) {
        return { QString(), f.message() };
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return { QString(), QStringLiteral("%1 не в кодировке UTF-8").arg(NameFile) };
    return cleanName(text);
}

QString nameOf(int number, const QString& themeFolder)
{
    if (number < ShippedCount)
        return QString::fromUtf16(ShippedNames[size_t(number)]);
    const QString name = readName(themeFolder).text;
    return name.isEmpty() ? QStringLiteral("Тема %1").arg(folderName(number)) : name;
}

QList<Theme> list(const QStringList& wordsFolders)
{
    std::map<int, Theme> found;
    for (int number = 0; number < ShippedCount; ++number)
        found[number].number = number;
    const auto add = [&found](int number, const QString& folder) {
        Theme& theme = found[number];
        theme.number = number;
        if (theme.folder.isEmpty())
            theme.folder = folder + u'/';
        else
            theme.hidden << folder + u'/';
    };
    for (const QString& place : wordsFolders) {
        // The shipped themes as a load finds them, whatever the place's name is spelled in.
        for (int number = 0; number < ShippedCount; ++number) {
            const QString folder = Files::absolute(QDir(place).filePath(folderName(number)));
            if (Files::isFolder(folder))
                add(number, folder);
        }
        const QDir dir(place);
        for (const QString& entry : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            if (const int number = numberOf(entry); number >= ShippedCount)
                add(number, dir.absoluteFilePath(entry));
        }
    }
    QList<Theme> themes;
    for (auto& [number, theme] : found) {
        if (number >= ShippedCount && !theme.folder.isEmpty())
            theme.nameProblem = readName(theme.folder).problem;
        theme.name = nameOf(number, theme.folder);
        themes << theme;
    }
    return themes;
}

QString locate(const QStringList& wordsFolders, int number)
{
    const QString name = folderName(number);
    QStringList tried;
    for (const QString& folder : wordsFolders) {
        // Files::absolute keeps a folder name that is no UTF-8, which Qt's absolute paths lose.
        const QString candidate = Files::absolute(QDir(folder).filePath(name));
        if (Files::isFolder(candidate))
            return candidate + u'/';
        tried << QDir::toNativeSeparators(candidate);
    }
    if (tried.size() == 1)
        throw Failure(FailureKind::PathNotFound, tried.first(), 0, QString());
    throw Failure(FailureKind::PathNotFound, QString(), 0,
        QStringLiteral("Папки темы %1 нет ни в одном из мест: %2")
            .arg(name, tried.join(QStringLiteral("; "))));
}

namespace {

// Makes folder and whatever is missing above it, one level at a time.
void makeFolders(const QString& folder)
{
    if (Files::isFolder(folder))
        return;
    const QString parent = QFileInfo(folder).path();
    if (parent != folder)
        makeFolders(parent);
    Files::makeFolder(folder);
}

// Writes a file under a name no other file has, in a folder this program has just made.
void writeFile(const QString& path, const QByteArray& bytes)
{
    Files::writeNewFile(QFileInfo(path).path(), bytes, [&path](const QString& taken) {
        if (!taken.isEmpty())
            throw Failure(FailureKind::WriteFailed, path, 0, QStringLiteral("Такой файл уже есть"));
        return path;
    });
}

} // namespace

QString create(int number, int from, const QString& name, const QStringList& wordsFolders,
    const QString& userWordsFolder)
{
    Q_ASSERT(number >= ShippedCount && number <= LastNumber);
    const QString source = locate(wordsFolders, from);
    makeFolders(userWordsFolder);
    QString target = QDir(userWordsFolder).absoluteFilePath(folderName(number)) + u'/';
    Files::makeFolder(target, Files::Existing::Refuse);
    try {
        for (const WordLayout::WordFile& file : WordLayout::LoadOrder) {
            const QString stem = QLatin1StringView(file.stem);
            writeFile(WordFiles::path(target, stem),
                Files::readWholeFile(WordFiles::path(source, stem), WordFiles::MaxSize));
        }
        writeFile(target + NameFile, name.toUtf8() + '\n');
    } catch (const Failure&) {
        // The folder was made by this call, so it holds nothing but what the call wrote.
        QDir(target).removeRecursively();
        throw;
    }
    return target;
}

} // namespace Themes
