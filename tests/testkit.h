#pragma once

// What several tests share: word files made on the spot, scripted random values, golden files
// and failures that must name their file.

#include "core/session.h"
#include "core/wordlayout.h"
#include "modules/mdlsubs.h"
#include "platform/codepage.h"
#include "platform/failure.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QtTest>

#include <functional>
#include <optional>
#include <stdexcept>
#include <sys/stat.h>

Q_DECLARE_METATYPE(FailureKind)

namespace TestKit {

inline bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Entries per file of each family.
struct Sizes {
    int nouns = 30, verbs = 30, adjectives = 30, adverbs = 30, intros = 30;
    int of(WordLayout::Family family) const
    {
        const int n[] = { nouns, verbs, adjectives, adverbs, intros };
        return n[int(family)];
    }
};

// A word file of n entries that name their file and entry: "nounF2_7" is entry 7 (from 0) of
// nounF2.dat; with a prefix "00/", "00/nounF2_7". Entry `at`, if any, is `text` instead.
inline QByteArray labelled(
    const char* stem, int n, const QString& prefix = QString(), int at = -1, const char* text = "")
{
    QString lines = QStringLiteral("заголовок\r\n");
    for (int i = 0; i < n; ++i)
        lines += (i == at ? QString::fromUtf8(text)
                          : prefix + QLatin1String(stem) + u'_' + QString::number(i))
            + QStringLiteral("\r\n");
    return CodePage::encodeAnsi(lines);
}

// A complete theme of labelled files.
inline bool writeLabelledTheme(
    const QString& dir, Sizes sizes = {}, const QString& prefix = QString())
{
    if (!QDir().mkpath(dir))
        return false;
    for (const WordLayout::WordFile& file : WordLayout::Files) {
        if (!writeBytes(dir + u'/' + QLatin1String(file.stem) + QStringLiteral(".dat"),
                labelled(file.stem, sizes.of(file.family), prefix)))
            return false;
    }
    return true;
}

// Puts at path what a hostile folder may hold instead of a file: "fifo", "device" (a link to
// /dev/zero), "loop" (a link to itself) or "folder".
inline bool makeOddEntry(const QString& path, QStringView kind)
{
    QFile::remove(path);
    if (kind == u"fifo")
        return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
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
// it got there instead, for a deliberate change of the word lists.
inline bool matchesGolden(const QString& name, const QByteArray& actual)
{
    const QString path = QStringLiteral(ZUREVAVUD_SOURCE_DIR "/tests/data/") + name;
    if (qEnvironmentVariableIntValue("ZUREVAVUD_UPDATE_GOLDEN"))
        return writeBytes(path, actual);
    const QByteArray expected = readBytes(path);
    if (expected != actual)
        qWarning("%s differs (%lld bytes expected, %lld made)", qPrintable(name),
            qint64(expected.size()), qint64(actual.size()));
    return expected == actual;
}

// Home and the data folders under root, so a test sees neither the tester's nor installed words.
inline void isolateUserFolders(const QString& root)
{
    qputenv("HOME", QFile::encodeName(root));
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_CONFIG_HOME");
    qputenv("XDG_DATA_DIRS", QFile::encodeName(root + QStringLiteral("/system")));
}

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

// A fresh program's session after choosing theme: a window starts on theme 00 first, whose
// words stay where the chosen theme's do not reach.
inline void startFresh(
    Session& session, int theme, std::unique_ptr<mdlSubs::UniformSource> source = nullptr)
{
    mdlSubs::resetRandomState();
    mdlSubs::setUniformSource(std::move(source));
    if (theme != 0)
        session.start();
    session.select(theme);
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
inline CliResult run(
    const QString& program, const QStringList& args, const QString& outFile = QString())
{
    QProcess p;
    if (!outFile.isEmpty())
        p.setStandardOutputFile(outFile);
    p.start(program, args);
    p.waitForFinished(120000);
    return { p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
        p.readAllStandardError() };
}

inline CliResult runCli(const QStringList& args, const QString& outFile = QString())
{
    return run(QStringLiteral(ZUREVAVUD_CLI), args, outFile);
}

} // namespace TestKit
