#pragma once

// What several tests share: word files made on the spot, scripted random values, golden files
// and failures that must name their file.

#include "core/generator.h"
#include "core/session.h"
#include "labelledtheme.h"
#include "modules/mdlsubs.h"
#include "platform/failure.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStringDecoder>
#include <QStringList>
#include <QtTest>

#include <functional>
#include <optional>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

Q_DECLARE_METATYPE(FailureKind)

namespace TestKit {

// Puts at path what a hostile folder may hold instead of a file: "fifo", "socket", "device" (a
// link to /dev/zero), "loop" (a link to itself) or "folder".
inline bool makeOddEntry(const QString& path, QStringView kind)
{
    QFile::remove(path);
    if (kind == u"fifo")
        return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
    if (kind == u"socket") {
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        return bound;
    }
    if (kind == u"device")
        return QFile::link(QStringLiteral("/dev/zero"), path);
    if (kind == u"loop")
        return QFile::link(path, path);
    return kind == u"folder" && QDir().mkpath(path);
}

inline QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every entry under root with its kind and content, to see that nothing else changed.
inline QMap<QString, QByteArray> snapshot(const QString& root)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(
        root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        out.insert(QDir(root).relativeFilePath(info.filePath()),
            info.isSymLink()    ? "link to " + info.symLinkTarget().toUtf8()
                : info.isDir()  ? QByteArray("folder")
                : info.isFile() ? readBytes(info.filePath())
                                : QByteArray("FIFO"));
    }
    return out;
}

// The Failure that call throws, if any.
inline std::optional<Failure> failureOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const Failure& f) {
        return f;
    }
    return std::nullopt;
}

// Calls call and checks that it throws a Failure of this kind whose message names a path
// ending in pathEnd.
inline bool throwsFailure(
    const std::function<void()>& call, FailureKind kind, const QString& pathEnd)
{
    const std::optional<Failure> f = failureOf(call);
    if (!f)
        qWarning("no failure");
    else if (f->kind() != kind || !f->path().endsWith(QDir::toNativeSeparators(pathEnd))
        || !f->message().contains(f->path()) || f->what() != f->message().toUtf8())
        qWarning("unexpected failure: %s", qPrintable(f->message()));
    else
        return true;
    return false;
}

// tests/data/name. With ZUREVAVUD_UPDATE_GOLDEN=1 in the environment, the test writes what
// it got there instead, for a deliberate change. A mismatch names the first line that differs,
// and the case it belongs to where a file holds cases separated by empty lines.
inline bool matchesGolden(const QString& name, const QByteArray& actual)
{
    const QString path = QStringLiteral(ZUREVAVUD_SOURCE_DIR "/tests/data/") + name;
    if (qEnvironmentVariableIntValue("ZUREVAVUD_UPDATE_GOLDEN"))
        return writeBytes(path, actual);
    const QByteArray expected = readBytes(path);
    if (expected == actual)
        return true;
    const QList<QByteArray> want = expected.split('\n'), got = actual.split('\n');
    qsizetype line = 0, caseStart = 0;
    for (; line < want.size() && line < got.size() && want[line] == got[line]; ++line) {
        if (want[line].trimmed().isEmpty())
            caseStart = line + 1;
    }
    // Around the first character that differs, in UTF-8 whatever the file's encoding.
    const auto shown = [](const QByteArray& bytes, qsizetype from) {
        const auto decoded = [](QByteArrayView part) {
            QStringDecoder utf8(QStringDecoder::Utf8);
            const QString text = utf8.decode(part);
            return utf8.hasError() ? CodePage::decodeAnsi(part) : text;
        };
        const qsizetype at = decoded(QByteArrayView(bytes).first(from)).size();
        return decoded(bytes).mid(std::max<qsizetype>(at - 30, 0), 70).toUtf8();
    };
    const QByteArray a = want.value(line, "(end of file)"), b = got.value(line, "(end of file)");
    qsizetype column = 0;
    while (column < a.size() && column < b.size() && a[column] == b[column])
        ++column;
    qWarning("%s:%lld differs near byte %lld: expected «%s», made «%s»", qPrintable(name),
        qint64(line + 1), qint64(column + 1), shown(a, column).constData(),
        shown(b, column).constData());
    if (caseStart > 0 && caseStart < line)
        qWarning(
            "  in the case of line %lld: %s", qint64(caseStart + 1), want[caseStart].constData());
    return false;
}

// Home, the data folders and the documents under root while it lives, so that a test sees
// neither the tester's nor installed words; then the environment as it was.
class UserFolders {
public:
    explicit UserFolders(const QString& root)
    {
        for (const char* name : Names)
            m_saved << qgetenv(name);
        qputenv("HOME", QFile::encodeName(root));
        qunsetenv("XDG_DATA_HOME");
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_DOCUMENTS_DIR");
        qputenv("XDG_DATA_DIRS", QFile::encodeName(root + QStringLiteral("/system")));
    }
    ~UserFolders()
    {
        for (size_t i = 0; i < std::size(Names); ++i) {
            if (m_saved.at(qsizetype(i)).isNull())
                qunsetenv(Names[i]);
            else
                qputenv(Names[i], m_saved.at(qsizetype(i)));
        }
    }
    UserFolders(const UserFolders&) = delete;
    UserFolders& operator=(const UserFolders&) = delete;

private:
    static constexpr const char* Names[]
        = { "HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DOCUMENTS_DIR", "XDG_DATA_DIRS" };
    QList<QByteArray> m_saved;
};

// Collects the text in Windows-1251: the bytes a save of the window's text would write.
class ByteOutput : public TextOutput {
public:
    void sentence(const Sentence& s) override { m_text.append(s.text()); }
    void paragraphBreak() override { m_text.append("\r\n\r\n"); }
    const QByteArray& text() const { return m_text; }

private:
    QByteArray m_text;
};

// A uniform source that returns given values in order, to check the exact order of draws.
class ScriptedSource : public mdlSubs::UniformSource {
public:
    ScriptedSource(QList<double> values, int* used)
        : m_values(std::move(values))
        , m_used(used)
    {
        *m_used = 0;
    }
    int refill(quint32* values, int) override
    {
        if (*m_used >= m_values.size())
            throw std::out_of_range("the script ran out of values");
        values[0] = quint32(m_values.at((*m_used)++) * 16777216.0);
        return 1;
    }

private:
    QList<double> m_values;
    int* m_used;
};

// The value that makes RandomBetween(count - 1, 0) give entry.
inline double pick(int entry, int count)
{
    return (entry + 0.5) / count;
}

// A fresh program's session after choosing theme.
inline void startFresh(
    Session& session, int theme, std::unique_ptr<mdlSubs::UniformSource> source = nullptr)
{
    mdlSubs::resetRandomState();
    mdlSubs::setUniformSource(std::move(source));
    session.openOn(theme);
}

// What a fresh program's window holds after choosing theme (`choices` times) and pressing runs
// times: the bytes a save of it writes.
inline QByteArray windowBytes(const QString& words, int theme, int runs, int choices = 1)
{
    Session session({ words });
    startFresh(session, theme);
    for (int i = 1; i < choices; ++i)
        session.select(theme);
    ByteOutput out;
    for (int i = 0; i < runs; ++i)
        session.generate(out);
    mdlSubs::resetRandomState();
    return out.text();
}

// One run of a program: exit status (-1 if it crashed) and what it printed.
struct CliResult {
    int status = -1;
    QByteArray out, err;
};

// outFile: where standard output goes instead of the result, as with "> outFile".
inline CliResult run(const QString& program, const QStringList& args,
    const QString& outFile = QString(),
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(environment);
    if (!outFile.isEmpty())
        p.setStandardOutputFile(outFile);
    p.start(program, args);
    // A run that hangs fails here, in a minute, rather than passing as status 0 half-done.
    const bool finished = p.waitForFinished(60000);
    if (!finished) {
        p.kill();
        p.waitForFinished();
    }
    return { finished && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
        p.readAllStandardOutput(), p.readAllStandardError() };
}

inline CliResult runCli(const QStringList& args, const QString& outFile = QString())
{
    return run(QStringLiteral(ZUREVAVUD_CLI), args, outFile);
}

} // namespace TestKit
