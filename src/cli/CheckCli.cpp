#include "cli/CheckCli.h"

#include "check/CheckCommand.h"
#include "check/CheckOptions.h"
#include "check/HtmlReport.h"
#include "check/MatchReport.h"
#include "extract/CDocToText.h"
#include "extract/DocumentFile.h"
#include "morph/MorphologyLibrary.h"
#include "morph/Thesaurus.h"
#include "settings/AppSettings.h"
#include "word/SameFile.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace {

enum ExitStatus
{
    NoMatch = 0,
    Matches = 1,
    Error = 2,
};

void writeErr(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

// Standard output as a device whose failures are seen: a full disk or a closed pipe
// must not pass for a report written.
class StandardOutput
{
public:
    StandardOutput() { m_file.open(stdout, QIODevice::WriteOnly, QFileDevice::DontCloseHandle); }
    QIODevice& device() { return m_file; }
    bool write(const QString& text)
    {
        const QByteArray bytes = text.toUtf8();
        return m_file.write(bytes) == bytes.size();
    }
    // Flushes; on failure says so on stderr and gives the error status.
    int finish(bool written, int status)
    {
        if (written && m_file.flush() && std::fflush(stdout) == 0 && !std::ferror(stdout))
            return status;
        writeErr(QStringLiteral(u"parafrix-check: не удалось записать результат (%1)\n")
                     .arg(m_file.errorString().isEmpty() ? QStringLiteral(u"ошибка вывода") : m_file.errorString()));
        return Error;
    }

private:
    QFile m_file;
};

bool reportUnreadable(const QString& path, const ExtractResult& result)
{
    if (!result.text.isEmpty())
        return false;
    writeErr(QStringLiteral(u"parafrix-check: не удалось прочитать текст документа «%1»: %2\n")
                 .arg(EscapeControlCharacters(path), EscapeControlCharacters(result.reason())));
    return true;
}

int printDocumentText(const QString& path, const QByteArray& nativePath)
{
    CDocToText extractor;
    const ExtractResult result = extractor.ExtractNative(nativePath);
    if (reportUnreadable(path, result))
        return Error;
    StandardOutput out;
    return out.finish(out.write(result.text), NoMatch);
}

// Whether the two documents are one file. By the names the system uses: two names that
// show alike (undecodable bytes) may still be two files.
bool sameFile(const QStringList& paths, const QByteArrayList& native)
{
#ifdef Q_OS_WIN
    Q_UNUSED(native);
    return SameDocumentFile(paths.at(0), paths.at(1));
#else
    Q_UNUSED(paths);
    struct stat first
    {
    };
    struct stat second
    {
    };
    if (::stat(native.at(0).constData(), &first) != 0 || ::stat(native.at(1).constData(), &second) != 0)
        return native.at(0) == native.at(1);
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
#endif
}

int usageError(const QCommandLineParser& parser, const QString& message)
{
    writeErr(QStringLiteral("parafrix-check: ") + message + QStringLiteral("\n\n") + parser.helpText());
    return Error;
}

} // namespace

bool CheckCli::UnescapeArgument(const QString& argument, QString& value)
{
    value.clear();
    for (qsizetype i = 0; i < argument.size(); ++i) {
        const QChar c = argument.at(i);
        if (c != u'\\') {
            value += c;
            continue;
        }
        if (++i >= argument.size())
            return false;
        switch (argument.at(i).unicode()) {
        case u't':
            value += QChar(u'\t');
            break;
        case u'n':
            value += QChar(u'\n');
            break;
        case u'r':
            value += QChar(u'\r');
            break;
        case u'\\':
            value += QChar(u'\\');
            break;
        default:
            return false;
        }
    }
    return true;
}

QStringList CheckCli::WithNearDefault(QStringList arguments)
{
    // The first argument is the program; "--" ends the options.
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == u"--")
            break;
        if (arguments.at(i) == u"--near")
            arguments[i] = QStringLiteral("--near=%1").arg(CheckOptions::DefaultNearThreshold);
    }
    return arguments;
}

int CheckCli::Run(const QStringList& arguments, const QByteArrayList& nativeArguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral(u"Сравнивает оригинал реферата с изменённой копией и перечисляет предложения копии, которые "
                       u"всё ещё совпадают с оригиналом.\n"
                       u"Код выхода: 0 - совпадений нет, 1 - есть совпадения, 2 - ошибка."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption jsonOption(QStringLiteral("json"),
                                        QStringLiteral(u"Вывести результат одним объектом JSON (UTF-8)."));
    const QCommandLineOption minWordsOption(
        QStringLiteral("min-words"), QStringLiteral(u"Минимальное число слов в предложении."), QStringLiteral("N"));
    const QCommandLineOption sentenceOption(QStringLiteral("sentence-delimiters"),
                                            QStringLiteral(u"Разделители предложений (\\t и \\\\ допустимы)."),
                                            QStringLiteral("S"));
    const QCommandLineOption wordOption(QStringLiteral("word-delimiters"),
                                        QStringLiteral(u"Разделители слов (\\t и \\\\ допустимы)."),
                                        QStringLiteral("S"));
    const QCommandLineOption textOption(QStringLiteral("text"),
                                        QStringLiteral(u"Вывести текст одного документа, как его читает проверка."),
                                        QStringLiteral("FILE"));
    const QCommandLineOption nearOption(
        QStringLiteral("near"),
        QStringLiteral(u"Искать и похожие фразы, сходные не меньше чем на PERCENT процентов (1-100, без значения %1).")
            .arg(CheckOptions::DefaultNearThreshold),
        QStringLiteral("PERCENT"));
    const QCommandLineOption htmlOption(QStringLiteral("html"),
                                        QStringLiteral(u"Записать ещё и отчёт в HTML (один файл, UTF-8) в FILE."),
                                        QStringLiteral("FILE"));
    parser.addOptions({jsonOption, minWordsOption, sentenceOption, wordOption, textOption, nearOption, htmlOption});
    parser.addPositionalArgument(QStringLiteral("ORIGINAL"), QStringLiteral(u"Оригинальный реферат."));
    parser.addPositionalArgument(QStringLiteral("EDITED"), QStringLiteral(u"Изменённая копия реферата."));

    if (!parser.parse(WithNearDefault(arguments)))
        return usageError(parser, parser.errorText());
    if (parser.isSet(helpOption)) {
        StandardOutput out;
        return out.finish(out.write(parser.helpText()), NoMatch);
    }
    if (parser.isSet(versionOption)) {
        StandardOutput out;
        return out.finish(out.write(QStringLiteral("parafrix-check %1\n").arg(QStringLiteral(PARAFRIX_VERSION))),
                          NoMatch);
    }
    if (parser.isSet(textOption)) {
        if (!parser.positionalArguments().isEmpty())
            return usageError(parser, QStringLiteral(u"--text принимает один документ"));
        const QString path = parser.value(textOption);
        return printDocumentText(path, DocumentFile::Match({path}, nativeArguments).constFirst());
    }

    const QStringList paths = parser.positionalArguments();
    if (paths.size() != 2)
        return usageError(parser, QStringLiteral(u"нужны два документа: ORIGINAL и EDITED"));
    // A file compared with itself matches everywhere: nothing to check.
    if (sameFile(paths, DocumentFile::Match(paths, nativeArguments))) {
        writeErr(
            QStringLiteral(u"parafrix-check: ORIGINAL и EDITED — один и тот же файл; укажите изменяемую копию.\n"));
        return Error;
    }

    // The stored settings apply, read only; the options override them for this run.
    CheckOptions options = AppSettings::Instance().checkOptions();
    if (const QStringList mended = AppSettings::Instance().mendedValues(); !mended.isEmpty())
        writeErr(QStringLiteral(u"parafrix-check: в сохранённых настройках неверные значения (%1); взяты значения по "
                                u"умолчанию\n")
                     .arg(mended.join(QStringLiteral(", "))));
    if (parser.isSet(minWordsOption)) {
        bool ok = false;
        const int minWords = parser.value(minWordsOption).toInt(&ok);
        if (!ok || minWords < CheckOptions::LowestMinWords || minWords > CheckOptions::HighestMinWords)
            return usageError(parser, QStringLiteral(u"--min-words ждёт целое число от %1 до %2")
                                          .arg(CheckOptions::LowestMinWords)
                                          .arg(CheckOptions::HighestMinWords));
        options.MinWords = minWords;
    }
    if (parser.isSet(sentenceOption) && !UnescapeArgument(parser.value(sentenceOption), options.Delimiters1))
        return usageError(parser, QStringLiteral(u"неизвестная escape-последовательность в --sentence-delimiters"));
    if (parser.isSet(wordOption) && !UnescapeArgument(parser.value(wordOption), options.Delimiters2))
        return usageError(parser, QStringLiteral(u"неизвестная escape-последовательность в --word-delimiters"));

    // Near matches come only from the command line: scripts keep their output whatever
    // the window's stored choice is.
    options.NearMatches = parser.isSet(nearOption);
    if (options.NearMatches) {
        bool ok = false;
        const int threshold = parser.value(nearOption).toInt(&ok);
        if (!ok || threshold < 1 || threshold > 100)
            return usageError(parser, QStringLiteral(u"--near ждёт процент от 1 до 100"));
        options.Near.threshold = threshold;
    }

    MorphologyLibrary& morphology = MorphologyLibrary::Instance();
    if (!morphology.Load())
        writeErr(QStringLiteral("parafrix-check: ") + morphology.loadProblem() + QChar(u'\n'));
    if (options.NearMatches) {
        InstalledThesaurus& thesaurus = InstalledThesaurus::Instance();
        if (!thesaurus.Load())
            writeErr(QStringLiteral("parafrix-check: ") + thesaurus.loadProblem() + QChar(u'\n'));
        options.Synonyms = &thesaurus.thesaurus();
    }

    const QByteArrayList nativePaths = DocumentFile::Match(paths, nativeArguments);
    const CheckOutcome outcome =
        CheckCommand::CheckDocuments(nativePaths.at(0), nativePaths.at(1), options, morphology);
    const bool originalBad = reportUnreadable(paths.at(0), outcome.original);
    const bool editedBad = reportUnreadable(paths.at(1), outcome.edited);
    if (originalBad || editedBad)
        return Error;
    if (outcome.truncatedBySize)
        writeErr(QStringLiteral(u"parafrix-check: отчёт вышел бы больше %1 МБ; показаны первые %2 совпадений\n")
                     .arg(options.MaxReportBytes / (1024 * 1024))
                     .arg(outcome.matchCount()));
    else if (outcome.truncated)
        writeErr(QStringLiteral(u"parafrix-check: совпадений больше %1; показаны первые %1\n").arg(options.MaxMatches));

    if (parser.isSet(htmlOption)) {
        const QString htmlPath = parser.value(htmlOption);
        // Full paths: the page is kept and read away from the folder it was made in.
        const auto shown = [](const QString& path) {
            return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
        };
        const HtmlReport html(outcome, options, morphology,
                              {shown(paths.at(0)), shown(paths.at(1)), QDateTime::currentDateTime()});
        QString error;
        if (!html.Save(htmlPath, error)) {
            writeErr(QStringLiteral(u"parafrix-check: не удалось записать отчёт «%1»: %2\n").arg(htmlPath, error));
            return Error;
        }
    }

    StandardOutput out;
    const MatchReport report(outcome, options, morphology);
    const bool written = parser.isSet(jsonOption) ? report.WriteJson(out.device()) : report.WriteText(out.device());
    return out.finish(written, outcome.matchCount() == 0 ? NoMatch : Matches);
}
