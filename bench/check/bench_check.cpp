// Times the Check's stages (stem dictionary, similar-phrase search, all verdicts)
// on generated Russian-like document pairs, and compares the indexed search with a
// plain nested scan of every edited sentence against every original sentence.
//
//   bench_check [--library] [SIZES...]     sizes in words, default 10000 120000 200000 1000000
//
// Without --library stems are the lower-cased words, so the figures measure the
// Check itself; with it the morphology library is loaded as the programs do.

#include "NestedScan.h"
#include "SyntheticWords.h"
#include "check/CheckOptions.h"
#include "compare/ExplainMatch.h"
#include "compare/FindSimilarPhrases.h"
#include "compare/PhraseFingerprint.h"
#include "morph/MorphologyLibrary.h"
#include "phrases/CFrazes.h"
#include "phrases/CStemDictionary.h"
#include "phrases/TextOps.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <cstdio>
#include <functional>

namespace {

struct DocumentPair
{
    QString original;
    QString edited;
    qsizetype sentences = 0;
};

// A pair of N-word documents: the edited copy keeps a third of the sentences, reorders
// a third and rewords the rest with words the original never uses.
DocumentPair makePair(qsizetype size, quint32 seed)
{
    QRandomGenerator random(seed);
    SyntheticWords words(random);

    DocumentPair pair;
    qsizetype written = 0;
    while (written < size) {
        const int length = 5 + random.bounded(15);
        QStringList sentence = words.sentence(length);
        sentence[0][0] = sentence[0][0].toUpper();
        pair.original += sentence.join(u' ') + QStringLiteral(". ");
        switch (random.bounded(3)) {
        case 0:
            break;
        case 1:
            std::reverse(sentence.begin(), sentence.end());
            break;
        default:
            sentence[random.bounded(sentence.size())] = words.fresh();
            break;
        }
        pair.edited += sentence.join(u' ') + (random.bounded(2) ? QStringLiteral(".\r\n") : QStringLiteral("! "));
        written += length;
        ++pair.sentences;
    }
    return pair;
}

double bestOf(int runs, const std::function<void()>& work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const CheckOptions options;
    LowerCaseStemmer lowerCase;

    QStringList arguments = app.arguments().mid(1);
    const bool useLibrary = arguments.removeAll(QStringLiteral("--library")) > 0;
    QList<qsizetype> sizes;
    for (const QString& argument : arguments)
        sizes.append(argument.toLongLong());
    if (sizes.isEmpty())
        sizes = {10000, 120000, 200000, 1000000};
    if (useLibrary && !MorphologyLibrary::Instance().Load())
        std::fprintf(stderr, "%s\n", qPrintable(MorphologyLibrary::Instance().loadProblem()));
    Stemmer& stemmer = useLibrary ? static_cast<Stemmer&>(MorphologyLibrary::Instance()) : lowerCase;
    std::printf("stems: %s\n", useLibrary ? "morphology library" : "lower-cased words");
    std::printf("%10s %10s %12s %12s %12s %12s %10s %12s\n", "words", "sentences", "dictionary", "search",
                "dict+search", "verdicts", "matches", "nested scan");

    for (qsizetype size : sizes) {
        const DocumentPair pair = makePair(size, 20261209);
        std::unique_ptr<CStemDictionary> dictionary;
        const double dictionaryMs =
            bestOf(3, [&] { dictionary = std::make_unique<CStemDictionary>(pair.original, options, stemmer); });
        PhraseMatchList matches;
        const double searchMs = bestOf(3, [&] {
            matches.clear();
            FindSimilarPhrases(matches, *dictionary, pair.original, pair.edited, options, stemmer);
        });
        const double verdictMs = bestOf(1, [&] {
            for (const PhraseMatch& match : matches)
                ExplainMatch(match.original, match.edited, *dictionary, options, stemmer);
        });
        QString nested = QStringLiteral("-");
        if (pair.sentences <= 21000) {
            PhraseMatchList scanned;
            const double nestedMs =
                bestOf(1, [&] { scanned = NestedScan(*dictionary, pair.original, pair.edited, options, stemmer); });
            if (scanned != matches) {
                std::fprintf(stderr, "nested scan disagrees with the search\n");
                return 1;
            }
            nested = QString::number(nestedMs, 'f', 1);
        }
        std::printf("%10lld %10lld %12.1f %12.1f %12.1f %12.1f %10lld %12s\n", qlonglong(size),
                    qlonglong(pair.sentences), dictionaryMs, searchMs, dictionaryMs + searchMs, verdictMs,
                    qlonglong(matches.size()), qPrintable(nested));
    }
    std::printf("times in ms, best of 3 (verdicts and nested scan: one run)\n");
    if (useLibrary)
        MorphologyLibrary::Instance().Unload();
    return 0;
}
