#include "cli/CheckCli.h"

#include "check/CheckCommand.h"
#include "check/CheckOptions.h"
#include "check/HtmlReport.h"
#include "check/MatchReport.h"
#include "check/SourceCheck.h"
#include "extract/CDocToText.h"
#include "extract/DocumentFile.h"
#include "morph/MorphologyLibrary.h"
#include "morph/Thesaurus.h"
#include "settings/AppSettings.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <cstdio>
#include <memory>
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

// What tells one file from another: device and file number where the system has them
// (two names of one file read alike), else the full path. By the names the system
// uses: two names that show alike (undecodable bytes) may still be two files.
QByteArray FileIdentity(const QString& path, const QByteArray& native)
{
#ifdef Q_OS_WIN
    Q_UNUSED(native);
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return (canonical.isEmpty() ? info.absoluteFilePath() : canonical).toCaseFolded().toUtf8();
#else
    Q_UNUSED(path);
    struct stat status
    {
    };
    if (::stat(native.constData(), &status) != 0)
        return QByteArrayLiteral("name:") + native;
    return QByteArrayLiteral("file:") + QByteArray::number(quint64(status.st_dev)) + ':' +
           QByteArray::number(quint64(status.st_ino));
#endif
}

// A document to check against, as named on the command line or found in a folder.
struct SourceFile
{
    QString path;
    QByteArray native;
    qsizetype folder = -1; // the index of the folder it was found in, else -1
};

// The originals with each folder replaced by the files in it (not its subfolders nor
// hidden files, such as an office's lock files), sorted by name. False, with the
// reason, for a folder that cannot be listed.
bool ExpandFolders(const QStringList& paths, const QByteArrayList& natives, QList<SourceFile>& sources,
                   QStringList& folders, QString& error)
{
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QFileInfo info(paths.at(i));
        if (!info.isDir()) {
            sources.append({paths.at(i), natives.at(i), -1});
            continue;
        }
        QDir folder(paths.at(i));
        if (!folder.isReadable()) {
            error = QStringLiteral(u"не удалось открыть папку «%1»").arg(EscapeControlCharacters(paths.at(i)));
            return false;
        }
        folders.append(paths.at(i));
        const QStringList names = folder.entryList(QDir::Files, QDir::Name);
        for (const QString& name : names) {
            // As the system writes paths: they are shown on stderr and in the report.
            const QString path = QDir::toNativeSeparators(folder.filePath(name));
            sources.append({path, DocumentFile::NativeName(path), folders.size() - 1});
            // More than the bound already: stop listing a huge folder.
            if (sources.size() > SourceCheck::MaxSources)
                return true;
        }
    }
    return true;
}

// Why the sources and the copy cannot be checked together: the copy among the sources,
// or a source given twice (one source would count twice). Empty when they can.
QString DocumentsProblem(const QList<SourceFile>& sources, const QString& editedPath, const QByteArray& editedNative)
{
    const QByteArray editedIdentity = FileIdentity(editedPath, editedNative);
    QHash<QByteArray, qsizetype> seen;
    for (qsizetype i = 0; i < sources.size(); ++i) {
        const QByteArray identity = FileIdentity(sources.at(i).path, sources.at(i).native);
        if (identity == editedIdentity) {
            if (sources.size() == 1 && sources.at(i).folder < 0)
                return QStringLiteral(u"ORIGINAL и EDITED — один и тот же файл; укажите изменяемую копию.");
            return QStringLiteral(u"изменяемая копия «%1» есть и среди оригиналов; проверка не выполнена.")
                .arg(EscapeControlCharacters(editedPath));
        }
        const auto it = seen.constFind(identity);
        if (it != seen.constEnd())
            return QStringLiteral(u"оригинал «%1» указан дважды (и как «%2»); проверка не выполнена.")
                .arg(EscapeControlCharacters(sources.at(i).path), EscapeControlCharacters(sources.at(*it).path));
        seen.insert(identity, i);
    }
    return {};
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
    QStringList paths; // ORIGINAL... and EDITED
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
        QStringLiteral(u"Сравнивает оригинал реферата (или несколько источников) с изменённой копией и перечисляет "
                       u"предложения копии, которые всё ещё совпадают с оригиналом.\n"
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
    parser.addPositionalArgument(QStringLiteral("ORIGINAL"),
                                 QStringLiteral(u"Оригинал (один или несколько; папка - все документы в ней)."),
                                 QStringLiteral("ORIGINAL..."));
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
    if (request.paths.size() < 2) {
        error = QStringLiteral(u"нужны хотя бы два документа: ORIGINAL... и EDITED");
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

// The documents of one Check: the originals, folders expanded, and the copy.
struct CheckFiles
{
    QList<SourceFile> sources;
    QStringList folders;
    QString editedPath;
    QByteArray editedNative;
    QStringList sourcePaths; // the originals that were read, in order
};

// Finds the documents the request names. False, with the reason on stderr, when a
// folder cannot be listed, there are too many originals, or one file is given twice.
bool FindDocuments(const CliRequest& request, const QByteArrayList& nativeArguments, CheckFiles& documents)
{
    const QByteArrayList natives = DocumentFile::Match(request.paths, nativeArguments);
    documents.editedPath = request.paths.last();
    documents.editedNative = natives.last();
    QString error;
    if (!ExpandFolders(request.paths.first(request.paths.size() - 1), natives.first(natives.size() - 1),
                       documents.sources, documents.folders, error)) {
        WriteError(QStringLiteral("parafrix-check: ") + error + QChar(u'\n'));
        return false;
    }
    if (documents.sources.size() > SourceCheck::MaxSources) {
        WriteError(QStringLiteral(u"parafrix-check: слишком много оригиналов: не больше %1 за одну проверку\n")
                       .arg(SourceCheck::MaxSources));
        return false;
    }
    if (const QString problem = DocumentsProblem(documents.sources, documents.editedPath, documents.editedNative);
        !problem.isEmpty()) {
        WriteError(QStringLiteral("parafrix-check: ") + problem + QChar(u'\n'));
        return false;
    }
    return true;
}

// Loads the morphology (and the thesaurus for near matches), reads every document and
// runs the Check. Without them the Check still runs, on the words as written; the
// reason is on stderr. A file of a folder that gives no text is named and skipped; a
// folder without a document stops the Check (false).
bool RunCheck(CheckFiles& documents, CheckOptions& options, MorphologyLibrary& morphology, CheckOutcome& outcome)
{
    if (!morphology.Load())
        WriteError(QStringLiteral("parafrix-check: ") + morphology.loadProblem() + QChar(u'\n'));
    if (options.NearMatches) {
        InstalledThesaurus& thesaurus = InstalledThesaurus::Instance();
        if (!thesaurus.Load())
            WriteError(QStringLiteral("parafrix-check: ") + thesaurus.loadProblem() + QChar(u'\n'));
        options.Synonyms = &thesaurus.thesaurus();
    }
    QList<ExtractResult> originals;
    ExtractResult edited;
    QList<qsizetype> documentsInFolder(documents.folders.size(), 0);
    {
        auto extractor = std::make_shared<CDocToText>();
        for (const SourceFile& file : std::as_const(documents.sources)) {
            ExtractResult result = extractor->ExtractNative(file.native);
            if (file.folder >= 0) {
                if (!result.ok() || result.text.isEmpty()) {
                    WriteError(QStringLiteral(u"parafrix-check: пропущен «%1»: %2\n")
                                   .arg(EscapeControlCharacters(file.path), EscapeControlCharacters(result.reason())));
                    continue;
                }
                ++documentsInFolder[file.folder];
            }
            originals.append(std::move(result));
            documents.sourcePaths.append(file.path);
        }
        edited = extractor->ExtractNative(documents.editedNative);
    }
    bool found = true;
    for (qsizetype i = 0; i < documents.folders.size(); ++i) {
        if (documentsInFolder.at(i) == 0) {
            WriteError(QStringLiteral(u"parafrix-check: в папке «%1» нет ни одного документа\n")
                           .arg(EscapeControlCharacters(documents.folders.at(i))));
            found = false;
        }
    }
    if (!found)
        return false;
    outcome = SourceCheck::CheckResults(std::move(originals), std::move(edited), options, morphology);
    outcome.sources.paths = documents.sourcePaths;
    return true;
}

// Names each unreadable document, and says when the list was cut short. False when a
// document could not be read.
bool ReportReading(const CheckFiles& documents, const CheckOutcome& outcome, const CheckOptions& options)
{
    bool originalBad = false;
    if (documents.sourcePaths.size() == 1)
        originalBad = ReportUnreadable(documents.sourcePaths.constFirst(), outcome.original);
    for (const SourceAttribution::Unread& unread : outcome.sources.unread)
        originalBad = ReportUnreadable(documents.sourcePaths.at(unread.source), unread.result) || originalBad;
    if (documents.sourcePaths.size() > 1 && outcome.sources.unread.isEmpty() && outcome.original.text.isEmpty()) {
        WriteError(QStringLiteral(u"parafrix-check: оригиналы вместе слишком велики: больше %1 млн знаков\n")
                       .arg(SourceCheck::MaxJoinedUnits / (1024 * 1024)));
        originalBad = true;
    }
    const bool editedBad = ReportUnreadable(documents.editedPath, outcome.edited);
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
int WriteReports(const CliRequest& request, const CheckFiles& documents, const CheckOutcome& outcome,
                 const CheckOptions& options, Stemmer& stemmer)
{
    if (request.htmlPath) {
        // Full paths: the page is kept and read away from the folder it was made in.
        const auto shown = [](const QString& path) {
            return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
        };
        QStringList sources;
        for (const QString& path : documents.sourcePaths)
            sources.append(shown(path));
        const HtmlReport html(
            outcome, options, stemmer,
            {sources.join(QStringLiteral(", ")), shown(documents.editedPath), QDateTime::currentDateTime()});
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

int CheckCli::Run(const QStringList& arguments, const QByteArrayList& nativeArguments, bool processEnds)
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
    // A file compared with itself matches everywhere, and one given twice counts twice:
    // nothing to check.
    CheckFiles documents;
    if (!FindDocuments(request, nativeArguments, documents))
        return Error;
    CheckOptions options = ReadOptions(request);
    MorphologyLibrary& morphology = MorphologyLibrary::Instance();
    auto outcome = std::make_unique<CheckOutcome>();
    int status = Error;
    if (RunCheck(documents, options, morphology, *outcome) && ReportReading(documents, *outcome, options))
        status = WriteReports(request, documents, *outcome, options, morphology);
    if (processEnds)
        (void)outcome.release(); // reclaimed with the process, not freed list by list
    return status;
}
