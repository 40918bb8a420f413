#pragma once

#include <QString>

#include <exception>
#include <utility>

// A failure of an operation: what went wrong and where. Nothing in the program ends on a
// failure; the operation in progress stops and whoever started it shows message().
enum class FailureKind {
    FileNotFound, // a word file or input file is missing
    PathNotFound, // its folder is missing
    InputPastEnd, // a file without even a header line
    InvalidArgument, // an empty entry line in a word list
    SubscriptOutOfRange, // a slot outside 0 ... 3000
    Overflow, // 16-bit arithmetic left -32768 ... 32767
    NoFreshValue, // every value of a fresh draw's range is among the recent draws
    NoWordsLoaded, // generating before any theme loaded
    ReadFailed,
    WriteFailed,
    MakeFolderFailed, // a folder could not be made
    FolderExists, // a folder to be made new is there already
    NoFreeNumber, // 000.txt ... 999.txt all taken
    NothingToMake, // 000.txt is empty
    TooLarge, // a file longer than its reader takes
    NotAFile, // a FIFO, device, socket, folder or refused link where a file should be
    LineTooLong, // a word-list entry far longer than any word
    NoCodePage, // the platform lacks Windows-1251 or code page 866
    NoSaveFolder, // no documents folder can be named (no usable HOME)
};

// "1 слово", "2 слова", "5 слов": n and the noun form Russian puts after it.
QString counted(qint64 n, const char16_t* one, const char16_t* few, const char16_t* many);

class Failure : public std::exception {
public:
    Failure(FailureKind kind, QString path, int line, QString detail);
    Failure(FailureKind kind, QString detail)
        : Failure(kind, QString(), 0, std::move(detail))
    {
    }

    FailureKind kind() const { return m_kind; }
    // Full native path of the file concerned, or empty.
    QString path() const { return m_path; }
    QString detail() const { return m_detail; }

    // One plain Russian sentence or two: what failed and where.
    QString message() const;
    const char* what() const noexcept override { return m_what.constData(); }

private:
    FailureKind m_kind;
    QString m_path;
    int m_line;
    QString m_detail;
    QByteArray m_what;
};
