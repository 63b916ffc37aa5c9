#include "app/CheckCli.h"

#include "app/CheckCommand.h"
#include "compare/ExplainMatch.h"
#include "extract/CDocToText.h"
#include "extract/DocumentFile.h"
#include "settings/AppSettings.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

namespace {

enum ExitStatus
{
    NoMatch = 0,
    Matches = 1,
    Error = 2,
};

void writeOut(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void writeErr(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

QString indented(QString text, const QString& indent)
{
    while (text.endsWith(QChar(u'\n')))
        text.chop(1);
    text.replace(QChar(u'\n'), QChar(u'\n') + indent);
    return indent + text;
}

// Sentences keep their own characters; a CR inside one would overwrite the line
// in a terminal, so it is shown as a visible mark in the text output only.
QString printable(QString sentence)
{
    sentence.replace(QChar(u'\r'), QStringLiteral(u"\u21B5"));
    return sentence;
}

void printText(const CheckOutcome& outcome)
{
    QString out;
    for (qsizetype i = 0; i < outcome.matches.size(); ++i) {
        const PhraseMatch& match = outcome.matches.at(i);
        out += QStringLiteral(u"Совпадение #%1\n").arg(i + 1);
        out += QStringLiteral(u"  Оригинал:  ") + printable(match.original) + QChar(u'\n');
        out += QStringLiteral(u"  Изменено:  ") + printable(match.edited) + QChar(u'\n');
        out += QStringLiteral(u"  Почему:\n");
        out += indented(ExplainMatch(match.original, match.edited, *outcome.dictionary), QStringLiteral("    "));
        out += QStringLiteral("\n\n");
    }
    if (outcome.matches.isEmpty())
        out += QStringLiteral(u"Совпадений нет: изменённая копия не совпадает с оригиналом ни в одном предложении.\n");
    else
        out += QStringLiteral(u"Найдено совпадений: %1.\n").arg(outcome.matches.size());
    writeOut(out);
}

void printJson(const CheckOutcome& outcome)
{
    writeOut(QString::fromUtf8(CheckCli::MatchesToJson(outcome)) + QChar(u'\n'));
}

bool reportUnreadable(const QString& path, const ExtractResult& result)
{
    if (!result.text.isEmpty())
        return false;
    writeErr(
        QStringLiteral(u"parafrix-check: не удалось прочитать текст документа «%1»: %2\n").arg(path, result.reason()));
    return true;
}

int printDocumentText(const QString& path, const QByteArray& nativePath)
{
    CDocToText extractor;
    const ExtractResult result = extractor.ExtractNative(nativePath);
    if (reportUnreadable(path, result))
        return Error;
    writeOut(result.text);
    return NoMatch;
}

int usageError(const QCommandLineParser& parser, const QString& message)
{
    writeErr(QStringLiteral("parafrix-check: ") + message + QStringLiteral("\n\n") + parser.helpText());
    return Error;
}

} // namespace

QByteArray CheckCli::MatchesToJson(const CheckOutcome& outcome)
{
    QJsonArray matches;
    for (const PhraseMatch& match : outcome.matches) {
        QJsonObject entry;
        entry.insert(QStringLiteral("original"), match.original);
        entry.insert(QStringLiteral("edited"), match.edited);
        entry.insert(QStringLiteral("verdict"), ExplainMatch(match.original, match.edited, *outcome.dictionary));
        matches.append(entry);
    }
    QJsonObject root;
    root.insert(QStringLiteral("matches"), matches);
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

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
    parser.addOptions({jsonOption, minWordsOption, sentenceOption, wordOption, textOption});
    parser.addPositionalArgument(QStringLiteral("ORIGINAL"), QStringLiteral(u"Оригинальный реферат."));
    parser.addPositionalArgument(QStringLiteral("EDITED"), QStringLiteral(u"Изменённая копия реферата."));

    if (!parser.parse(arguments))
        return usageError(parser, parser.errorText());
    if (parser.isSet(helpOption)) {
        writeOut(parser.helpText());
        return NoMatch;
    }
    if (parser.isSet(versionOption)) {
        writeOut(QStringLiteral("parafrix-check %1\n").arg(QStringLiteral(PARAFRIX_VERSION)));
        return NoMatch;
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

    // The stored settings apply, read only; the options override them for this run.
    AppSettings& settings = AppSettings::Instance();
    if (parser.isSet(minWordsOption)) {
        bool ok = false;
        const int minWords = parser.value(minWordsOption).toInt(&ok);
        if (!ok)
            return usageError(parser, QStringLiteral(u"--min-words ждёт целое число"));
        settings.MinWords = minWords;
    }
    if (parser.isSet(sentenceOption) && !UnescapeArgument(parser.value(sentenceOption), settings.Delimiters1))
        return usageError(parser, QStringLiteral(u"неизвестная escape-последовательность в --sentence-delimiters"));
    if (parser.isSet(wordOption) && !UnescapeArgument(parser.value(wordOption), settings.Delimiters2))
        return usageError(parser, QStringLiteral(u"неизвестная escape-последовательность в --word-delimiters"));

    const QByteArrayList nativePaths = DocumentFile::Match(paths, nativeArguments);
    const CheckOutcome outcome = CheckCommand::CheckDocuments(nativePaths.at(0), nativePaths.at(1));
    const bool originalBad = reportUnreadable(paths.at(0), outcome.original);
    const bool editedBad = reportUnreadable(paths.at(1), outcome.edited);
    if (originalBad || editedBad)
        return Error;

    if (parser.isSet(jsonOption))
        printJson(outcome);
    else
        printText(outcome);
    return outcome.matches.isEmpty() ? NoMatch : Matches;
}
