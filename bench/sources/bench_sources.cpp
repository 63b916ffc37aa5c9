// Times the Check of one copy against many generated sources end to end: every
// document read from disk, the exact and near search, the JSON report written.
//
//   bench_sources [--library] [--write DIR] [SOURCES...]   default 10 100
//
// Each source has about 9,000 words (30 pages); the copy as many, a third taken
// word for word from the sources, a third lightly edited, a third new. With --write
// the documents of the first count are written to DIR (for timing parafrix-check)
// instead of being timed here.

#include "BenchArguments.h"
#include "CpuTime.h"
#include "SyntheticWords.h"
#include "check/CheckCommand.h"
#include "check/CheckOptions.h"
#include "check/MatchReport.h"
#include "check/SourceCheck.h"
#include "morph/MorphologyLibrary.h"
#include "phrases/TextOps.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr qsizetype kWords = 9000;

QString sentenceText(QStringList words)
{
    words[0][0] = words[0][0].toUpper();
    return words.join(u' ') + QStringLiteral(". ");
}

// count sources of kWords words and a copy: its sentences drawn from the sources in
// turn, kept, lightly edited (a word swapped for one the sources never use, two
// neighbours exchanged) or replaced.
QStringList makeDocuments(qsizetype count, quint32 seed)
{
    QRandomGenerator random(seed);
    SyntheticWords words(random);
    QList<QList<QStringList>> sources(count);
    QStringList documents;
    for (qsizetype s = 0; s < count; ++s) {
        QString text;
        for (qsizetype written = 0; written < kWords;) {
            const QStringList sentence = words.sentence(6 + random.bounded(14));
            sources[s].append(sentence);
            text += sentenceText(sentence);
            written += sentence.size();
        }
        documents.append(text);
    }
    QString copy;
    for (qsizetype written = 0; written < kWords;) {
        const QList<QStringList>& source = sources.at(random.bounded(count));
        QStringList sentence = source.at(random.bounded(source.size()));
        switch (random.bounded(3)) {
        case 0:
            break;
        case 1:
            sentence[random.bounded(sentence.size())] = words.fresh();
            sentence.swapItemsAt(0, 1);
            break;
        default:
            sentence = words.sentence(sentence.size());
            break;
        }
        copy += sentenceText(sentence);
        written += sentence.size();
    }
    documents.append(copy);
    return documents;
}

QStringList writeDocuments(const QString& dir, const QStringList& documents)
{
    QStringList paths;
    for (qsizetype i = 0; i < documents.size(); ++i) {
        const QString name = i + 1 == documents.size() ? QStringLiteral("copy.txt")
                                                       : QStringLiteral("source%1.txt").arg(i + 1, 4, 10, QChar(u'0'));
        QFile file(QDir(dir).filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(documents.at(i).toUtf8()) < 0)
            qFatal("cannot write %s", qPrintable(file.fileName()));
        paths.append(file.fileName());
    }
    return paths;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const bench::BenchArguments arguments = bench::ParseBenchArguments(app.arguments().mid(1), {10, 100});
    LowerCaseStemmer lowerCase;
    if (arguments.useLibrary && !MorphologyLibrary::Instance().Load())
        std::fprintf(stderr, "%s\n", qPrintable(MorphologyLibrary::Instance().loadProblem()));
    Stemmer& stemmer = arguments.useLibrary ? static_cast<Stemmer&>(MorphologyLibrary::Instance()) : lowerCase;
    if (!arguments.writeDir.isEmpty()) {
        QDir().mkpath(arguments.writeDir);
        writeDocuments(arguments.writeDir, makeDocuments(arguments.sizes.constFirst(), 20261210));
        return 0;
    }

    CheckOptions options;
    options.NearMatches = true;
    std::printf("stems: %s\n", arguments.useLibrary ? "morphology library" : "lower-cased words");
    std::printf("%8s %10s %10s %10s %10s %12s %10s\n", "sources", "words", "check ms", "report ms", "matches",
                "originality", "peak MB");
    for (const qsizetype count : arguments.sizes) {
        QTemporaryDir dir;
        QStringList paths = writeDocuments(dir.path(), makeDocuments(count, 20261210));
        const QString copy = paths.takeLast();
        QElapsedTimer timer;
        timer.start();
        const CheckOutcome outcome = SourceCheck::CheckDocuments(paths, copy, options, stemmer);
        const double checkMs = timer.nsecsElapsed() / 1e6;
        if (!outcome.ok())
            qFatal("the Check did not run");
        timer.restart();
        QBuffer report;
        report.open(QIODevice::WriteOnly);
        MatchReport(outcome, options, stemmer).WriteJson(report);
        const double reportMs = timer.nsecsElapsed() / 1e6;
        std::printf("%8lld %10lld %10.1f %10.1f %10lld %12.3f %10.1f\n", qlonglong(count), qlonglong(count * kWords),
                    checkMs, reportMs, qlonglong(outcome.matchCount()), outcome.originality, bench::PeakMegabytes());
    }
    std::printf("one run each; peak MB is the process's peak so far\n");
    if (arguments.useLibrary)
        MorphologyLibrary::Instance().Unload();
    return 0;
}
