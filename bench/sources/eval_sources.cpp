// How well lightly edited fragments are traced back to their own source: the written
// sources of data/ (source1.txt ...) and an essay made of the fragments of
// data/fragments.txt ("N<TAB>sentence", N the source it was edited from), checked
// at once against all sources with near matches.
//
//   eval_sources [--lower-case]
//
// A fragment counts as attributed when the best match of its sentence (exact first,
// then the most similar near match) names its source, as wrong when that match names
// another source, and as missed when nothing matches it; a fragment some match of
// another source lists as well is counted apart.

#include "check/CheckCommand.h"
#include "check/CheckOptions.h"
#include "check/SourceCheck.h"
#include "morph/MorphologyLibrary.h"
#include "morph/Thesaurus.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSet>
#include <cstdio>

namespace {

QString readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return QString::fromUtf8(file.readAll());
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QDir data(QStringLiteral(PARAFRIX_SOURCES_DATA_DIR));
    QStringList sources;
    for (const QString& name : data.entryList({QStringLiteral("source*.txt")}, QDir::Files, QDir::Name))
        sources.append(readFile(data.filePath(name)));
    struct Fragment
    {
        qint32 source = 0;
        QString text;
    };
    QList<Fragment> fragments;
    for (const QString& line : readFile(data.filePath(QStringLiteral("fragments.txt"))).split(u'\n')) {
        const qsizetype tab = line.indexOf(u'\t');
        if (tab > 0)
            fragments.append({line.first(tab).toInt() - 1, line.sliced(tab + 1)});
    }
    // The essay takes the fragments of the sources in turn.
    QList<Fragment> turns;
    for (qsizetype round = 0; turns.size() < fragments.size(); ++round) {
        for (qint32 source = 0; source < sources.size(); ++source) {
            qsizetype seen = 0;
            for (const Fragment& fragment : std::as_const(fragments)) {
                if (fragment.source == source && seen++ == round)
                    turns.append(fragment);
            }
        }
    }
    fragments = turns;
    QString essay;
    for (const Fragment& fragment : std::as_const(fragments))
        essay += fragment.text + QChar(u' ');

    LowerCaseStemmer lowerCase;
    const bool useLibrary = !app.arguments().contains(QStringLiteral("--lower-case"));
    CheckOptions options;
    options.NearMatches = true;
    if (useLibrary) {
        if (!MorphologyLibrary::Instance().Load())
            qFatal("%s", qPrintable(MorphologyLibrary::Instance().loadProblem()));
        if (InstalledThesaurus::Instance().Load())
            options.Synonyms = &InstalledThesaurus::Instance().thesaurus();
    }
    Stemmer& stemmer = useLibrary ? static_cast<Stemmer&>(MorphologyLibrary::Instance()) : lowerCase;
    const CheckOutcome outcome = SourceCheck::CheckTexts(sources, essay, options, stemmer);
    if (!outcome.ok())
        qFatal("the Check did not run");

    int attributed = 0, wrong = 0, missed = 0, alsoOther = 0;
    for (const Fragment& fragment : std::as_const(fragments)) {
        const QString sentence = fragment.text.chopped(1); // as split: without its full stop
        QSet<qint32> named;                                // every source a match of the sentence names
        qint32 best = -1;
        int bestScore = -1; // 101 for an exact match, else the near match's percent
        for (qsizetype i = 0; i < outcome.matches.size(); ++i) {
            if (outcome.matches.at(i).edited.trimmed() == sentence)
                named.insert(outcome.sources.exact.at(i));
            if (outcome.matches.at(i).edited.trimmed() == sentence && bestScore < 101) {
                best = outcome.sources.exact.at(i);
                bestScore = 101;
            }
        }
        for (qsizetype i = 0; i < outcome.near.matches.size(); ++i) {
            const NearMatch& match = outcome.near.matches.at(i);
            for (qint32 e = match.editedFirst; e < match.editedFirst + match.editedCount; ++e) {
                if (outcome.editedSentences.at(e).text.trimmed() == sentence)
                    named.insert(outcome.sources.near.at(i));
                if (outcome.editedSentences.at(e).text.trimmed() == sentence && match.percent() > bestScore) {
                    best = outcome.sources.near.at(i);
                    bestScore = match.percent();
                }
            }
        }
        const char* mark = best < 0 ? "missed" : best == fragment.source ? "ok" : "WRONG";
        attributed += best == fragment.source;
        wrong += best >= 0 && best != fragment.source;
        missed += best < 0;
        alsoOther += named.size() > 1;
        std::printf("%-6s source %d -> %d  %s\n", mark, fragment.source + 1, best + 1, qPrintable(fragment.text));
    }
    const double total = fragments.size();
    std::printf("stems: %s; %lld fragments: attributed %.0f%%, wrong %.0f%%, missed %.0f%%; "
                "matched in another source as well %.0f%%\n",
                useLibrary ? "morphology library" : "lower-cased words", qlonglong(fragments.size()),
                100 * attributed / total, 100 * wrong / total, 100 * missed / total, 100 * alsoOther / total);
    if (useLibrary)
        MorphologyLibrary::Instance().Unload();
    return 0;
}
