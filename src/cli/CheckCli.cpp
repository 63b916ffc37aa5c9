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

// What tells one file from another: device and file number where the system has them
// (two names of one file read alike), else the full path. By the names the system
// uses: two names that show alike (undecodable bytes) may still be two files.
QByteArray fileIdentity(const QString& path, const QByteArray& native)
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
// hidden files, such as an office's lock files), sorted by name. False, with the reason, for a folder that cannot be
// listed.
bool expandFolders(const QStringList& paths, const QByteArrayList& natives, QList<SourceFile>& sources,
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

    const QStringList documents = parser.positionalArguments();
    if (documents.size() < 2)
        return usageError(parser, QStringLiteral(u"нужны хотя бы два документа: ORIGINAL... и EDITED"));
    const QByteArrayList nativeArgs = DocumentFile::Match(documents, nativeArguments);
    const QString editedPath = documents.last();
    const QByteArray editedNative = nativeArgs.last();
    QList<SourceFile> sourceFiles;
    QStringList folders;
    QString folderError;
    if (!expandFolders(documents.first(documents.size() - 1), nativeArgs.first(nativeArgs.size() - 1), sourceFiles,
                       folders, folderError)) {
        writeErr(QStringLiteral("parafrix-check: ") + folderError + QChar(u'\n'));
        return Error;
    }
    if (sourceFiles.size() > SourceCheck::MaxSources) {
        writeErr(QStringLiteral(u"parafrix-check: слишком много оригиналов: не больше %1 за одну проверку\n")
                     .arg(SourceCheck::MaxSources));
        return Error;
    }
    // A file compared with itself matches everywhere, and one source given twice counts
    // twice: nothing to check.
    {
        const QByteArray editedIdentity = fileIdentity(editedPath, editedNative);
        QHash<QByteArray, qsizetype> seen;
        for (qsizetype i = 0; i < sourceFiles.size(); ++i) {
            const QByteArray identity = fileIdentity(sourceFiles.at(i).path, sourceFiles.at(i).native);
            if (identity == editedIdentity) {
                writeErr(sourceFiles.size() == 1 && sourceFiles.at(i).folder < 0
                             ? QStringLiteral(u"parafrix-check: ORIGINAL и EDITED — один и тот же файл; укажите "
                                              u"изменяемую копию.\n")
                             : QStringLiteral(u"parafrix-check: изменяемая копия «%1» есть и среди оригиналов; "
                                              u"проверка не выполнена.\n")
                                   .arg(EscapeControlCharacters(editedPath)));
                return Error;
            }
            const auto it = seen.constFind(identity);
            if (it != seen.constEnd()) {
                writeErr(QStringLiteral(u"parafrix-check: оригинал «%1» указан дважды (и как «%2»); проверка не "
                                        u"выполнена.\n")
                             .arg(EscapeControlCharacters(sourceFiles.at(i).path),
                                  EscapeControlCharacters(sourceFiles.at(*it).path)));
                return Error;
            }
            seen.insert(identity, i);
        }
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
        options.NearThreshold = threshold;
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

    // Every document is read, so that each unreadable one is named; a file of a folder
    // that gives no text is skipped, a folder without a document is an error.
    QList<ExtractResult> originals;
    QStringList sourcePaths;
    ExtractResult editedResult;
    bool unreadable = false;
    {
        auto extractor = std::make_shared<CDocToText>();
        QList<qsizetype> documentsInFolder(folders.size(), 0);
        for (const SourceFile& file : std::as_const(sourceFiles)) {
            ExtractResult result = extractor->ExtractNative(file.native);
            if (file.folder >= 0) {
                if (!result.ok() || result.text.isEmpty()) {
                    writeErr(QStringLiteral(u"parafrix-check: пропущен «%1»: %2\n")
                                 .arg(EscapeControlCharacters(file.path), EscapeControlCharacters(result.reason())));
                    continue;
                }
                ++documentsInFolder[file.folder];
            }
            originals.append(std::move(result));
            sourcePaths.append(file.path);
        }
        editedResult = extractor->ExtractNative(editedNative);
        for (qsizetype i = 0; i < folders.size(); ++i) {
            if (documentsInFolder.at(i) == 0) {
                writeErr(QStringLiteral(u"parafrix-check: в папке «%1» нет ни одного документа\n")
                             .arg(EscapeControlCharacters(folders.at(i))));
                unreadable = true;
            }
        }
    }
    if (unreadable)
        return Error;
    CheckOutcome outcome = SourceCheck::CheckResults(originals, editedResult, options, morphology);
    originals.clear();
    bool originalBad = false;
    if (sourcePaths.size() == 1)
        originalBad = reportUnreadable(sourcePaths.constFirst(), outcome.original);
    for (const SourceAttribution::Unread& unread : std::as_const(outcome.sources.unread))
        originalBad = reportUnreadable(sourcePaths.at(unread.source), unread.result) || originalBad;
    if (sourcePaths.size() > 1 && outcome.sources.unread.isEmpty() && outcome.original.text.isEmpty()) {
        writeErr(QStringLiteral(u"parafrix-check: оригиналы вместе слишком велики: больше %1 млн знаков\n")
                     .arg(SourceCheck::MaxJoinedUnits / (1024 * 1024)));
        originalBad = true;
    }
    const bool editedBad = reportUnreadable(editedPath, outcome.edited);
    if (originalBad || editedBad)
        return Error;
    outcome.sources.paths = sourcePaths;
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
        QStringList shownSources;
        for (const QString& path : std::as_const(sourcePaths))
            shownSources.append(shown(path));
        const HtmlReport html(
            outcome, options, morphology,
            {shownSources.join(QStringLiteral(", ")), shown(editedPath), QDateTime::currentDateTime()});
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
