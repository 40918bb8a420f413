// zurevavud-cli: the text a window would show, on standard output; and tools for the people
// who write word lists.
#include "cli/explain.h"
#include "cli/stats.h"
#include "core/session.h"
#include "core/themes.h"
#include "modules/mdlsubs.h"
#include "platform/codepage.h"
#include "platform/failure.h"
#include "platform/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <cstdio>
#include <optional>

namespace {

const char Usage[] = R"(Использование:
  zurevavud-cli [--words ПАПКА] [--theme N] [--runs K] [--seed S] [--explain]
                [--encoding utf-8|cp1251]
  zurevavud-cli --stats [--words ПАПКА] [--theme N] [--encoding utf-8|cp1251]

Печатает в стандартный вывод ровно тот текст, который оказался бы в поле первого окна
программы, если сразу после запуска выбрать тему N и нажать «Генерировать» K раз.
Строки разделены CR LF, как в окне.

  --words ПАПКА   папка с темами 00 … 03 (по умолчанию words/ рядом с программой)
  --theme N       тема: 0 «Всё одной кучей», 1 «Философия», 2 «Зверюшки», 3 «Техника»
                  (по умолчанию 0)
  --runs K        сколько раз нажать «Генерировать» (по умолчанию 1)
  --seed S        начать случайные числа с состояния, выведенного из S (0 … 4294967295),
                  а не с постоянного: разные S дают разный текст, одно и то же S — тот же.
                  Без --seed текст всегда один и тот же, как в окне после запуска.
  --explain       после каждого предложения — строка о том, как оно получилось:
                    A  g=1,0,2,2  intro:14 adjF:3 nounF:3 nounM2:40 verbN:7 nounN1:22
                  шаблон (A или B); род каждой именной группы (0 — мужской, 1 — женский,
                  2 — средний; у A четыре группы, у B одна, общая для всего предложения);
                  для каждого слова по порядку — файл и строка, как в текстовом редакторе
                  (заголовок — строка 1). «(пусто):1234» — слово взято из ячейки 1234,
                  которую не заполнил ни один файл; «00/nounN:5» — слово осталось в ячейке
                  от темы 00, загруженной до выбранной. Строка стоит между CR LF и CR LF
                  сразу после предложения, перед его разрывом абзаца; если убрать все такие
                  вставки, останется ровно текст без --explain.
  --stats         ничего не генерировать, а проверить темы: все четыре папки или только
                  --theme N. Для каждой печатает число слов в каждом файле, нарушенные
                  правила и число разных предложений каждого шаблона.
  --encoding E    кодировка вывода: utf-8 (по умолчанию) или cp1251
  --help          эта справка

Правила, которые проверяет --stats (имена файлов — без .dat):
  - каждый файл загружается: есть, не пуст, без пустых строк, не выходит за ячейку 3000;
  - в семье столько же слов, сколько в её первом файле: девять файлов noun* — как в
    nounM, девять adj* — как в adjM, verbN и verbF — как в verbP, advM, advF и advN —
    как в adverb; иначе следующие блоки сдвигаются и слова читаются не из своих ячеек;
  - предложения не обращаются к ячейкам за 3000: существительных и прилагательных не больше
    333, наречий не больше 667, глаголов не больше 1500, вводных слов не больше 3001;
  - в каждой семье больше 19 слов: номер слова выбирается не из 19 последних выбранных;
  - ни одна ячейка, которую читают предложения, не пуста и не хранит метку конца «#»;
    в словах нет пробелов по краям и слов из одних пробелов.

Число разных предложений. Предложение определяют его вид (какие необязательные слова в нём
есть), роды, которые в нём видны, и номера его слов. Номера слов одного предложения все
разные, поэтому k слов из семей, где c1 <= c2 <= … <= ck слов (по возрастанию), выбираются
  (c1 − 0) · (c2 − 1) · … · (ck − (k − 1))
способами (0, если хоть один множитель не больше 0). Число предложений шаблона — сумма по
всем его видам этого произведения, умноженного на число видимых родов:
  B  [вводное] [прил.] сущ. кратк.прил. [и кратк.прил.]: роды — 3;
  A  [вводное] [прил.] сущ. [[прил.] сущ.] [наречие] глагол [прил.] сущ. [[прил.] сущ.]:
     роды — 3 · (3, если есть второе сущ.) · (2 с прилагательным перед третьим сущ.,
     3 без него) · (3, если есть четвёртое сущ.).
Вводное слово бывает со второго хода, считаются предложения с ним и без него; разрыв абзаца
после предложения не делает его другим.

Примеры:
  zurevavud-cli --theme 2 --runs 3
  zurevavud-cli --seed $RANDOM
  zurevavud-cli --theme 1 --explain
  zurevavud-cli --stats --words ~/мои-слова --theme 3

Коды выхода: 0 — всё получилось; 1 — ошибка в словах или при выборе слова (то, что
успело получиться, всё равно напечатано, а причина — одной строкой в stderr), а для
--stats — хоть одно правило нарушено; 2 — неверные аргументы (в том числе --stats вместе с
--runs, --seed или --explain: --stats ничего не генерирует).
)";

struct Options {
    QStringList wordsFolders;
    int theme = 0;
    bool themeGiven = false;
    int runs = 1;
    bool cp1251 = false;
    bool explain = false;
    bool stats = false;
    std::optional<quint32> seed;
    QStringList generationOptions; // given options that only make sense when generating
};

[[noreturn]] void badArguments(const QString& why)
{
    std::fprintf(stderr, "zurevavud-cli: %s\nПодробнее: zurevavud-cli --help\n",
        why.toLocal8Bit().constData());
    std::exit(2);
}

int toNumber(const QString& option, const QString& value, int lo, int hi)
{
    bool ok = false;
    const int n = value.toInt(&ok);
    if (!ok || n < lo || n > hi)
        badArguments(QStringLiteral("%1 ждёт число от %2 до %3, а не «%4»")
                         .arg(option)
                         .arg(lo)
                         .arg(hi)
                         .arg(value));
    return n;
}

quint32 toSeed(const QString& option, const QString& value)
{
    bool ok = false;
    // Base 10 only, and no sign: "-1" must not quietly become 4294967295.
    const quint32 n = value.startsWith(u'-') || value.startsWith(u'+') ? 0 : value.toUInt(&ok, 10);
    if (!ok)
        badArguments(
            QStringLiteral("%1 ждёт целое число от 0 до 4294967295, а не «%2»").arg(option, value));
    return n;
}

Options parse(const QStringList& args)
{
    Options o;
    o.wordsFolders = Paths::wordsFolders();
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == u"--help" || a == u"-h") {
            std::fputs(Usage, stdout);
            std::exit(0);
        }
        auto value = [&]() -> QString {
            if (i + 1 >= args.size())
                badArguments(QStringLiteral("после %1 нужно значение").arg(a));
            return args.at(++i);
        };
        if (a == u"--words")
            o.wordsFolders = QStringList { value() };
        else if (a == u"--theme") {
            o.theme = toNumber(a, value(), 0, Themes::Count - 1);
            o.themeGiven = true;
        } else if (a == u"--runs") {
            o.runs = toNumber(a, value(), 0, 1000000);
            o.generationOptions << a;
        } else if (a == u"--seed") {
            o.seed = toSeed(a, value());
            o.generationOptions << a;
        } else if (a == u"--explain") {
            o.explain = true;
            o.generationOptions << a;
        } else if (a == u"--stats")
            o.stats = true;
        else if (a == u"--encoding") {
            const QString e = value().toLower();
            if (e == u"utf-8" || e == u"utf8")
                o.cp1251 = false;
            else if (e == u"cp1251" || e == u"windows-1251")
                o.cp1251 = true;
            else
                badArguments(
                    QStringLiteral("неизвестная кодировка «%1»: нужна utf-8 или cp1251").arg(e));
        } else
            badArguments(QStringLiteral("неизвестный аргумент «%1»").arg(a));
    }
    if (o.stats && !o.generationOptions.isEmpty()) {
        badArguments(QStringLiteral("--stats ничего не генерирует, %1 с ним не сочетается")
                         .arg(o.generationOptions.join(QStringLiteral(", "))));
    }
    return o;
}

// Standard output in the chosen encoding, written a press at a time, so that nothing waits
// for the whole text and memory stays small however many presses are asked for.
class StdoutOutput final : public TextOutput {
public:
    explicit StdoutOutput(bool cp1251)
        : m_cp1251(cp1251)
    {
        m_file.open(stdout, QIODevice::WriteOnly);
    }
    void append(QByteArrayView text) override
    {
        m_pending += m_cp1251 ? text.toByteArray() : CodePage::ansiToUtf8(text);
        if (m_pending.size() >= ChunkSize)
            flush();
    }
    void runEnded() override { flush(); }

    // Writes what is pending; false (with a message on standard error) once a write failed.
    bool flush()
    {
        if (!m_failed && !m_pending.isEmpty()) {
            m_failed = m_file.write(m_pending) != m_pending.size() || !m_file.flush();
            if (m_failed)
                std::fprintf(stderr, "zurevavud-cli: не удалось записать в стандартный вывод\n");
        }
        m_pending.resize(0);
        return !m_failed;
    }
    bool failed() const { return m_failed; }

private:
    static constexpr qsizetype ChunkSize = 1 << 16;

    bool m_cp1251;
    QFile m_file;
    QByteArray m_pending;
    bool m_failed = false;
};

int stats(const Options& o)
{
    StdoutOutput out(o.cp1251);
    bool broken = false;
    for (int theme = 0; theme < Themes::Count; ++theme) {
        if (o.themeGiven && theme != o.theme)
            continue;
        if (!o.themeGiven && theme > 0)
            out.append("\n");
        const ThemeStats::Report report = ThemeStats::examine(o.wordsFolders, theme);
        out.append(CodePage::encodeAnsi(report.text));
        broken = broken || report.brokenRules > 0;
    }
    if (!out.flush())
        return 1;
    return broken ? 1 : 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const Options o = parse(QCoreApplication::arguments());
    if (o.stats)
        return stats(o);
    if (o.seed)
        mdlSubs::setUniformSource(mdlSubs::seededSource(*o.seed));

    Session session(o.wordsFolders);
    StdoutOutput out(o.cp1251);
    ExplainingOutput explained(out, session);
    TextOutput& sink = o.explain ? static_cast<TextOutput&>(explained) : out;
    int status = 0;
    try {
        // A window starts on theme 00 and then switches; the switch keeps words of 00 in the
        // slots the new theme does not reach, so load both to print what the window shows.
        if (o.theme != 0) {
            try {
                session.start();
            } catch (const Failure&) {
                // The window opens without words then; choosing the theme still works.
            }
        }
        session.select(o.theme);
        for (int run = 0; run < o.runs && !out.failed(); ++run)
            session.generate(sink);
    } catch (const Failure& f) {
        out.flush();
        std::fprintf(stderr, "zurevavud-cli: %s\n", f.message().toLocal8Bit().constData());
        status = 1;
    }
    if (!out.flush())
        return 1;
    return status;
}
