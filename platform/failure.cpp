#include "platform/failure.h"

#include <QDir>

Failure::Failure(FailureKind kind, QString path, int line, QString detail)
    : m_kind(kind)
    , m_path(path.isEmpty() ? path : QDir::toNativeSeparators(path))
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
        return QStringLiteral("Номер ячейки таблицы слов вне пределов 0…3000");
    case FailureKind::Overflow:
        return QStringLiteral("Переполнение 16-битного числа");
    case FailureKind::NoFreshValue:
        return QStringLiteral("Не удалось выбрать слово, которого не было среди 19 последних");
    case FailureKind::NoWordsLoaded:
        return QStringLiteral("Слова не загружены");
    case FailureKind::ReadFailed:
        return QStringLiteral("Не удалось прочитать файл");
    case FailureKind::WriteFailed:
        return QStringLiteral("Не удалось записать файл");
    case FailureKind::NoFreeNumber:
        return QStringLiteral("Нет свободного номера: заняты все имена от 000.txt до 999.txt");
    case FailureKind::NothingToMake:
        return QStringLiteral("Нечего превращать в программу: файл пуст");
    case FailureKind::TooLarge:
        return QStringLiteral("Файл слишком велик для программы DOS");
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
        text += QStringLiteral(". ") + m_detail;
    if (!text.endsWith(u'.'))
        text += u'.';
    return text;
}
