// Times the near-match search on generated Russian-like document pairs: preparing
// both documents (sentences, words, stem numbers), the search itself, every
// explanation and verdict, and the originality figure; and the peak memory.
//
//   bench_near [--library] [SIZES...]     sizes in words a side, default 200000 1000000
//   bench_near --write DIR [SIZES...]     writes the pairs as DIR/<N>.original.txt and
//                                         DIR/<N>.edited.txt (UTF-8) for timing the
//                                         whole Check through parafrix-check
//
// Without --library stems are the lower-cased words, so the figures measure the
// search itself; with it the morphology library is loaded as the programs do. Peak
// memory is the process's high-water mark so far: run one size per call to read it
// for that size alone. Times are processor time (Linux), not wall time.

#include "BenchArguments.h"
#include "CpuTime.h"
#include "SyntheticWords.h"
#include "check/CheckOptions.h"
#include "compare/NearExplanation.h"
#include "compare/NearOriginality.h"
#include "compare/NearSearch.h"
#include "compare/NearStemTable.h"
#include "compare/NearVerdict.h"
#include "morph/MorphologyLibrary.h"
#include "phrases/TextOps.h"
#include "phrases/Tokenizer.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

struct DocumentPair
{
    QString original;
    QString edited;
};

// A pair of documents of about N words: each original sentence reaches the edited copy
// unchanged, reordered, with words deleted, added or replaced, split in two, or not at
// all (an unrelated sentence stands in its place).
DocumentPair makePair(qsizetype size, quint32 seed)
{
    QRandomGenerator random(seed);
    SyntheticWords words(random);

    DocumentPair pair;
    qsizetype written = 0;
    while (written < size) {
        const int length = 5 + random.bounded(15);
        QStringList sentence = words.sentence(length);
        pair.original += sentence.join(u' ') + QStringLiteral(". ");
        written += length;
        switch (random.bounded(7)) {
        case 0:
            break;
        case 1:
            std::reverse(sentence.begin(), sentence.end());
            break;
        case 2:
            sentence.removeAt(random.bounded(sentence.size()));
            sentence.removeAt(random.bounded(sentence.size()));
            break;
        case 3:
            sentence.insert(random.bounded(sentence.size()), words.fresh());
            sentence.append(words.fresh());
            break;
        case 4:
            sentence[random.bounded(sentence.size())] = words.fresh();
            std::swap(sentence.first(), sentence.last());
            break;
        case 5:
            sentence.insert(sentence.size() / 2, QStringLiteral("."));
            break;
        default:
            sentence = words.sentence(length);
            break;
        }
        pair.edited += sentence.join(u' ') + QStringLiteral(". ");
    }
    return pair;
}

// The sentences a sentence list keeps (default delimiters, at least three words).
QList<NearSentence> prepare(const QString& text, NearStemTable& table)
{
    const DelimiterSet sentenceDelimiters(CheckOptions::DefaultDelimiters1());
    const DelimiterSet wordDelimiters(CheckOptions::DefaultDelimiters2());
    QList<NearSentence> sentences;
    Tokenizer tokens(text, sentenceDelimiters);
    QStringView sentence;
    while (tokens.Next(sentence))
        if (sentence != u" " && CountWords(sentence, wordDelimiters) >= CheckOptions::DefaultMinWords)
            sentences.append(table.sentence(sentence.toString(), wordDelimiters));
    return sentences;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // Plain names, not a structured binding: lambdas below capture them.
    const bench::BenchArguments parsed = bench::ParseBenchArguments(app.arguments().mid(1), {200000, 1000000});
    const bool useLibrary = parsed.useLibrary;
    const QString& writeDir = parsed.writeDir;
    const QList<qsizetype>& sizes = parsed.sizes;
    if (!writeDir.isEmpty()) {
        for (qsizetype size : sizes) {
            const DocumentPair pair = makePair(size, 20261209);
            for (const auto& [suffix, text] :
                 {std::pair{"original", &pair.original}, std::pair{"edited", &pair.edited}}) {
                QFile file(QStringLiteral("%1/%2.%3.txt").arg(writeDir).arg(size).arg(QLatin1StringView(suffix)));
                if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text->toUtf8()) < 0) {
                    std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
                    return 1;
                }
            }
        }
        return 0;
    }
    NearStemTable::StemFunction stem = [](const QString& word) { return word; };
    if (useLibrary) {
        MorphologyLibrary::Instance().Load();
        stem = [](const QString& word) { return MorphologyLibrary::Instance().GetStem(word); };
    }
    std::printf("stems: %s\n", useLibrary ? "morphology library" : "lower-cased words");
    std::printf("%9s %10s %10s %9s %9s %12s %9s %11s %10s %9s\n", "words", "originals", "edited", "prepare", "search",
                "prep+search", "matches", "verdicts", "original.", "peak MB");

    for (qsizetype size : sizes) {
        const DocumentPair pair = makePair(size, 20261209);
        QList<NearSentence> original;
        QList<NearSentence> edited;
        const double prepareMs = bench::BestOf(3, [&] {
            NearStemTable table(stem);
            original = prepare(pair.original, table);
            edited = prepare(pair.edited, table);
        });
        NearMatchList found;
        // No exact matches are passed: every sentence takes part, the costliest case.
        const double searchMs = bench::BestOf(3, [&] { found = FindNearMatches(original, edited, {}, NearOptions{}); });
        const double verdictMs = bench::BestOf(1, [&] {
            for (const NearMatch& m : found.matches) {
                const NearExplanation explanation =
                    ExplainNear(std::span(original).subspan(size_t(m.originalFirst), size_t(m.originalCount)),
                                std::span(edited).subspan(size_t(m.editedFirst), size_t(m.editedCount)), m.similarity);
                NearVerdict(explanation);
            }
        });
        const double originality = CopyOriginality(WordCounts(edited), {}, found.matches);
        std::printf("%9lld %10lld %10lld %9.1f %9.1f %12.1f %9lld %11.1f %10.3f %9.0f\n", qlonglong(size),
                    qlonglong(original.size()), qlonglong(edited.size()), prepareMs, searchMs, prepareMs + searchMs,
                    qlonglong(found.matches.size()), verdictMs, originality, bench::PeakMegabytes());
    }
    std::printf("processor time in ms, best of 3 (verdicts: one run); peak MB: high-water mark of the process so "
                "far\n");
    if (useLibrary)
        MorphologyLibrary::Instance().Unload();
    return 0;
}
