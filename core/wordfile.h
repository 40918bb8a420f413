#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QtGlobal>

class WordTable;

// The format of a word file, read in this one place. A word file is Windows-1251 text whose
// lines end at CR or at CR LF; a bare LF belongs to its line. Line 1 is a header, thrown away
// whatever it holds; every later line is one entry, taken as it stands; the list ends after the
// first line that starts with "#", which is stored but is no entry, or at the end of the file.
namespace WordFiles {

// Far above any real word list and any real word: a larger file is refused before it is read,
// a longer entry when it is met, so that a broken list can neither exhaust memory nor freeze
// the window.
inline constexpr qint64 MaxSize = qint64(4) << 20;
inline constexpr qsizetype MaxEntryLength = 1000;

// The entry lines of a word file's bytes, one at a time, after the header.
class Lines {
public:
    struct Line {
        int number = 0; // in the file, the header being line 1
        qsizetype from = 0; // where the line starts in the bytes
        QByteArrayView text; // without its line end
        // The "#" line that ends the list.
        bool endsList() const { return text.startsWith('#'); }
    };

    explicit Lines(QByteArrayView bytes);

    // False for an empty file, which lacks even the header line.
    bool hasHeader() const { return !m_bytes.isEmpty(); }
    // True when no entry line is left: the file has ended, or its "#" line has been read.
    bool atEnd() const { return m_ended || m_pos >= m_bytes.size(); }
    Line next();

private:
    QByteArrayView nextLine();

    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    int m_number = 0;
    bool m_ended = false;
};

// The path of a word file: the theme folder (with a trailing separator), the stem and ".dat".
QString path(const QString& folder, QStringView stem);

// Reads the word file of this stem in folder into table from slot start. Returns start + the
// number of entries; a "#" line is stored in the slot it returns. Every slot stored records the
// file, its line and the folder. Failures name the file's full path and line, and leave the
// slots stored before them.
qint16 read(const QString& folder, QStringView stem, WordTable& table, qint16 start);
// The same on the bytes of that file, already read.
qint16 store(
    QByteArrayView bytes, const QString& folder, QStringView stem, WordTable& table, qint16 start);

} // namespace WordFiles
