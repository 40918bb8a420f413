#include "platform/failure.h"

#include <QDir>

QString counted(qint64 n, const char16_t* one, const char16_t* few, const char16_t* many)
{
    const qint64 tens = n % 100, units = n % 10;
    const char16_t* word = many;
    if (units == 1 && tens != 11)
        word = one;
    else if (units >= 2 && units <= 4 && (tens < 12 || tens > 14))
        word = few;
    return QString::number(n) + u' ' + QString::fromUtf16(word);
}

Failure::Failure(FailureKind kind, QString path, int line, QString detail)
    : m_kind(kind)
    , m_path(path.isEmpty() ? std::move(path) : QDir::toNativeSeparators(path))
    , m_line(line)
    , m_detail(std::move(detail))
{
    m_what = message().toUtf8();
}

static QString kindText(FailureKind kind)
{
    switch (kind) {
    case FailureKind::FileNotFound:
        return QStringLiteral("Файл не найден");
    case FailureKind::PathNotFound:
        return QStringLiteral("Папка не найдена");
    case FailureKind::InputPastEnd:
        return QStringLiteral("Файл пуст: в нём нет даже строки заголовка");
    case FailureKind::InvalidArgument:
        return QStringLiteral("Пустая строка в списке слов");
    case FailureKind::SubscriptOutOfRange:
        return QStringLiteral("Номер ячейки за пределами таблицы слов");
    case FailureKind::Overflow:
        return QStringLiteral("Переполнение 16-битного числа");
    case FailureKind::NoFreshValue:
        return QStringLiteral("Не удалось выбрать слово, которого не было среди недавно выбранных");
    case FailureKind::NoWordsLoaded:
        return QStringLiteral("Слова не загружены");
    case FailureKind::ReadFailed:
        return QStringLiteral("Не удалось прочитать файл");
    case FailureKind::WriteFailed:
        return QStringLiteral("Не удалось записать файл");
    case FailureKind::MakeFolderFailed:
        return QStringLiteral("Не удалось создать папку");
    case FailureKind::FolderExists:
        return QStringLiteral("Папка уже есть, и программа её не трогает");
    case FailureKind::NoFreeNumber:
        return QStringLiteral("Нет свободного номера: заняты все имена от 000.txt до 999.txt");
    case FailureKind::NothingToMake:
        return QStringLiteral("Нечего превращать в программу: файл пуст");
    case FailureKind::TooLarge:
        return QStringLiteral("Файл слишком велик");
    case FailureKind::NotAFile:
        return QStringLiteral("Не обычный файл");
    case FailureKind::LineTooLong:
        return QStringLiteral("Слишком длинная строка в списке слов");
    case FailureKind::NoCodePage:
        return QStringLiteral("В этой сборке Qt нет нужной кодировки");
    case FailureKind::NoSaveFolder:
        return QStringLiteral("Не найдена папка для сохранений");
    }
    return QString();
}

QString Failure::message() const
{
    QString text = kindText(m_kind);
    if (!m_path.isEmpty()) {
        text += QStringLiteral(": ") + m_path;
        if (m_line > 0)
            text += QStringLiteral(", строка %1").arg(m_line);
    }
    if (!m_detail.isEmpty())
        text += QStringLiteral(". ") + m_detail.at(0).toUpper() + m_detail.mid(1);
    if (!text.endsWith(u'.'))
        text += u'.';
    // A byte of a name that is no UTF-8 is kept as U+DC80 ... U+DCFF (Files::fromNative); shown
    // as it would be typed, \xC0, so that the reader can find the folder.
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        const char16_t c = text.at(i).unicode();
        if (c >= 0xDC80 && c <= 0xDCFF)
            text.replace(i, 1, QStringLiteral("\\x") + QString::number(c - 0xDC00, 16).toUpper());
    }
    return text;
}
