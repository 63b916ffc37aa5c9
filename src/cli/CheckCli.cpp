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
#include <optional>

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

void WriteError(const QString& text)
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
    bool Write(const QString& text)
    {
        const QByteArray bytes = text.toUtf8();
        return m_file.write(bytes) == bytes.size();
    }
    // Flushes; on failure says so on stderr and gives the error status.
    int Finish(bool written, int status)
    {
        if (written && m_file.flush() && std::fflush(stdout) == 0 && !std::ferror(stdout))
            return status;
        WriteError(QStringLiteral(u"parafrix-check: не удалось записать результат (%1)\n")
                       .arg(m_file.errorString().isEmpty() ? QStringLiteral(u"ошибка вывода") : m_file.errorString()));
        return Error;
    }

private:
    QFile m_file;
};

bool ReportUnreadable(const QString& path, const ExtractResult& result)
{
    if (!result.text.isEmpty())
        return false;
    WriteError(QStringLiteral(u"parafrix-check: не удалось прочитать текст документа «%1»: %2\n")
                   .arg(EscapeControlCharacters(path), EscapeControlCharacters(result.reason())));
    return true;
}

int PrintDocumentText(const QString& path, const QByteArray& nativePath)
{
    CDocToText extractor;
    const ExtractResult result = extractor.ExtractNative(nativePath);
    if (ReportUnreadable(path, result))
        return Error;
    StandardOutput out;
    return out.Finish(out.Write(result.text), NoMatch);
}

// Whether the two documents are one file. By the names the system uses: two names that
// show alike (undecodable bytes) may still be two files.
bool IsSameFile(const QStringList& paths, const QByteArrayList& native)
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

int UsageError(const QString& helpText, const QString& message)
{
    WriteError(QStringLiteral("parafrix-check: ") + message + QStringLiteral("\n\n") + helpText);
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

namespace {

// What one run of the command line asks for, its values checked.
struct CliRequest
{
    enum class Action
    {
        Check,
        Help,
        Version,
        PrintText,
    };
    Action action = Action::Check;
    QString helpText;
    QString textPath;  // --text
    QStringList paths; // ORIGINAL and EDITED
    bool json = false;
    std::optional<QString> htmlPath; // --html
    std::optional<qint32> minWords;
    std::optional<QString> sentenceDelimiters;
    std::optional<QString> wordDelimiters;
    qint32 nearThreshold = 0; // 0: no near matches
};

// Reads the arguments into a request. On a usage error gives false, with the
// message in error and the help text in request.helpText.
bool ParseArguments(const QStringList& arguments, CliRequest& request, QString& error)
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
    request.helpText = parser.helpText();

    if (!parser.parse(CheckCli::WithNearDefault(arguments))) {
        error = parser.errorText();
        return false;
    }
    if (parser.isSet(helpOption)) {
        request.action = CliRequest::Action::Help;
        return true;
    }
    if (parser.isSet(versionOption)) {
        request.action = CliRequest::Action::Version;
        return true;
    }
    request.paths = parser.positionalArguments();
    if (parser.isSet(textOption)) {
        request.action = CliRequest::Action::PrintText;
        request.textPath = parser.value(textOption);
        if (!request.paths.isEmpty()) {
            error = QStringLiteral(u"--text принимает один документ");
            return false;
        }
        return true;
    }
    if (request.paths.size() != 2) {
        error = QStringLiteral(u"нужны два документа: ORIGINAL и EDITED");
        return false;
    }
    request.json = parser.isSet(jsonOption);
    if (parser.isSet(htmlOption))
        request.htmlPath = parser.value(htmlOption);
    if (parser.isSet(minWordsOption)) {
        bool ok = false;
        const int minWords = parser.value(minWordsOption).toInt(&ok);
        if (!ok || minWords < CheckOptions::LowestMinWords || minWords > CheckOptions::HighestMinWords) {
            error = QStringLiteral(u"--min-words ждёт целое число от %1 до %2")
                        .arg(CheckOptions::LowestMinWords)
                        .arg(CheckOptions::HighestMinWords);
            return false;
        }
        request.minWords = minWords;
    }
    const auto unescaped = [&](const QCommandLineOption& option, std::optional<QString>& value) {
        if (!parser.isSet(option))
            return true;
        QString text;
        if (!CheckCli::UnescapeArgument(parser.value(option), text)) {
            error = QStringLiteral(u"неизвестная escape-последовательность в --%1").arg(option.names().constFirst());
            return false;
        }
        value = text;
        return true;
    };
    if (!unescaped(sentenceOption, request.sentenceDelimiters) || !unescaped(wordOption, request.wordDelimiters))
        return false;
    if (parser.isSet(nearOption)) {
        bool ok = false;
        request.nearThreshold = parser.value(nearOption).toInt(&ok);
        if (!ok || request.nearThreshold < 1 || request.nearThreshold > 100) {
            error = QStringLiteral(u"--near ждёт процент от 1 до 100");
            return false;
        }
    }
    return true;
}

// The stored settings, read only, with the request's values over them.
CheckOptions ReadOptions(const CliRequest& request)
{
    CheckOptions options = AppSettings::Instance().checkOptions();
    if (const QStringList mended = AppSettings::Instance().mendedValues(); !mended.isEmpty())
        WriteError(QStringLiteral(u"parafrix-check: в сохранённых настройках неверные значения (%1); взяты значения по "
                                  u"умолчанию\n")
                       .arg(mended.join(QStringLiteral(", "))));
    options.MinWords = request.minWords.value_or(options.MinWords);
    options.Delimiters1 = request.sentenceDelimiters.value_or(options.Delimiters1);
    options.Delimiters2 = request.wordDelimiters.value_or(options.Delimiters2);
    // Near matches come only from the command line: scripts keep their output whatever
    // the window's stored choice is.
    options.NearMatches = request.nearThreshold > 0;
    if (options.NearMatches)
        options.Near.threshold = request.nearThreshold;
    return options;
}

// Loads the morphology (and the thesaurus for near matches) and runs the Check.
// Without them the Check still runs, on the words as written; the reason is on stderr.
CheckOutcome RunCheck(const CliRequest& request, const QByteArrayList& nativeArguments, CheckOptions& options,
                      MorphologyLibrary& morphology)
{
    if (!morphology.Load())
        WriteError(QStringLiteral("parafrix-check: ") + morphology.loadProblem() + QChar(u'\n'));
    if (options.NearMatches) {
        InstalledThesaurus& thesaurus = InstalledThesaurus::Instance();
        if (!thesaurus.Load())
            WriteError(QStringLiteral("parafrix-check: ") + thesaurus.loadProblem() + QChar(u'\n'));
        options.Synonyms = &thesaurus.thesaurus();
    }
    const QByteArrayList nativePaths = DocumentFile::Match(request.paths, nativeArguments);
    return CheckCommand::CheckDocuments(nativePaths.at(0), nativePaths.at(1), options, morphology);
}

// Names each unreadable document, and says when the list was cut short. False when a
// document could not be read.
bool ReportReading(const CliRequest& request, const CheckOutcome& outcome, const CheckOptions& options)
{
    const bool originalBad = ReportUnreadable(request.paths.at(0), outcome.original);
    const bool editedBad = ReportUnreadable(request.paths.at(1), outcome.edited);
    if (originalBad || editedBad)
        return false;
    if (outcome.truncatedBySize)
        WriteError(QStringLiteral(u"parafrix-check: отчёт вышел бы больше %1 МБ; показаны первые %2 совпадений\n")
                       .arg(options.MaxReportBytes / (1024 * 1024))
                       .arg(outcome.matchCount()));
    else if (outcome.truncated)
        WriteError(
            QStringLiteral(u"parafrix-check: совпадений больше %1; показаны первые %1\n").arg(options.MaxMatches));
    return true;
}

// Writes the HTML report when asked for, then the text or JSON one to standard output.
int WriteReports(const CliRequest& request, const CheckOutcome& outcome, const CheckOptions& options, Stemmer& stemmer)
{
    if (request.htmlPath) {
        // Full paths: the page is kept and read away from the folder it was made in.
        const auto shown = [](const QString& path) {
            return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
        };
        const HtmlReport html(outcome, options, stemmer,
                              {shown(request.paths.at(0)), shown(request.paths.at(1)), QDateTime::currentDateTime()});
        QString error;
        if (!html.Save(*request.htmlPath, error)) {
            WriteError(
                QStringLiteral(u"parafrix-check: не удалось записать отчёт «%1»: %2\n").arg(*request.htmlPath, error));
            return Error;
        }
    }
    StandardOutput out;
    const MatchReport report(outcome, options, stemmer);
    const bool written = request.json ? report.WriteJson(out.device()) : report.WriteText(out.device());
    return out.Finish(written, outcome.matchCount() == 0 ? NoMatch : Matches);
}

} // namespace

int CheckCli::Run(const QStringList& arguments, const QByteArrayList& nativeArguments)
{
    CliRequest request;
    QString error;
    if (!ParseArguments(arguments, request, error))
        return UsageError(request.helpText, error);
    switch (request.action) {
    case CliRequest::Action::Help: {
        StandardOutput out;
        return out.Finish(out.Write(request.helpText), NoMatch);
    }
    case CliRequest::Action::Version: {
        StandardOutput out;
        return out.Finish(out.Write(QStringLiteral("parafrix-check %1\n").arg(QStringLiteral(PARAFRIX_VERSION))),
                          NoMatch);
    }
    case CliRequest::Action::PrintText:
        return PrintDocumentText(request.textPath,
                                 DocumentFile::Match({request.textPath}, nativeArguments).constFirst());
    case CliRequest::Action::Check:
        break;
    }
    // A file compared with itself matches everywhere: nothing to check.
    if (IsSameFile(request.paths, DocumentFile::Match(request.paths, nativeArguments))) {
        WriteError(
            QStringLiteral(u"parafrix-check: ORIGINAL и EDITED — один и тот же файл; укажите изменяемую копию.\n"));
        return Error;
    }
    CheckOptions options = ReadOptions(request);
    MorphologyLibrary& morphology = MorphologyLibrary::Instance();
    const CheckOutcome outcome = RunCheck(request, nativeArguments, options, morphology);
    if (!ReportReading(request, outcome, options))
        return Error;
    return WriteReports(request, outcome, options, morphology);
}
