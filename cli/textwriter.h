#pragma once

#include "core/generator.h"

#include <QByteArray>
#include <QStringView>

#include <vector>

class QIODevice;

// The command line's text on a device, in UTF-8 or Windows-1251 and with the line ends asked
// for, written in pieces so that nothing waits for the whole text and memory stays small.
class TextWriter final : public TextOutput {
public:
    struct Format {
        bool cp1251 = false;
        QByteArrayView lineEnd = "\n";
    };
    TextWriter(QIODevice& device, Format format);
    ~TextWriter() override { flush(); }

    void sentence(const Sentence& sentence) override;
    void paragraphBreak() override;
    void runEnded() override { flush(); }

    // Windows-1251 bytes, then a line end.
    void writeLine(QByteArrayView ansi);
    // Text, each "\n" in it written as the line end asked for.
    void write(QStringView text);

    // Writes what is pending; false once a write has failed.
    bool flush();
    bool failed() const { return m_failed; }

private:
    void put(QByteArrayView ansi);
    void put(QStringView text);
    void lineEnd() { append(m_format.lineEnd); }
    void append(QByteArrayView bytes);
    // Room for n more bytes after the pending ones.
    char* room(qsizetype n);

    QIODevice& m_device;
    Format m_format;
    std::vector<char> m_pending; // the first m_length bytes are written next
    qsizetype m_length = 0;
    bool m_failed = false;
};
