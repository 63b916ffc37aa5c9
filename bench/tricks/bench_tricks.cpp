// What seeing through disguises costs: the reading of both documents against the whole
// Check (exact and near matches) on generated Russian-like document pairs, once honest
// (the reading finds nothing and copies nothing) and once with every Cyrillic look-alike
// of the copy written in Latin letters and a zero-width space in every longer word.
//
//   bench_tricks [--library] [SIZES...]    sizes in words a side, default 200000
//   bench_tricks --write DIR [SIZES...]    writes DIR/<N>.original.txt, <N>.edited.txt and
//                                          <N>.disguised.txt (UTF-8) for timing the whole
//                                          Check through parafrix-check
//
// Without --library stems are the lower-cased words; with it the morphology library is
// loaded as the programs do, which makes the Check (and so the share) what users see.
// Times are processor time (Linux), best of 3.

#include "BenchArguments.h"
#include "CpuTime.h"
#include "SyntheticWords.h"
#include "check/CheckCommand.h"
#include "check/CheckOptions.h"
#include "check/TextReading.h"
#include "morph/MorphologyLibrary.h"
#include "morph/Stemmer.h"

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

// The benchmarks' generated pair of about size words a side, each sentence followed by a full stop and a space.
DocumentPair makePair(qsizetype size, quint32 seed)
{
    const SyntheticPair sentences = MakeSyntheticPair(size, seed);
    const QString end = QStringLiteral(". ");
    return {sentences.original.join(end) + end, sentences.edited.join(end) + end};
}

QString disguise(const QString& text)
{
    static const QString cyrillic = QStringLiteral(u"аеорсху");
    static const QString latin = QStringLiteral("aeopcxy");
    QString out;
    out.reserve(text.size() * 11 / 10);
    qsizetype wordLength = 0;
    for (QChar c : text) {
        const qsizetype at = cyrillic.indexOf(c);
        wordLength = c.isLetter() ? wordLength + 1 : 0;
        if (wordLength == 4)
            out += QChar(u'\u200B');
        out += at >= 0 ? latin.at(at) : c;
    }
    return out;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // Plain names, not a structured binding: lambdas below capture them.
    const bench::BenchArguments parsed = bench::ParseBenchArguments(app.arguments().mid(1), {200000});
    const bool useLibrary = parsed.useLibrary;
    const QString& writeDir = parsed.writeDir;
    const QList<qsizetype>& sizes = parsed.sizes;
    if (!writeDir.isEmpty()) {
        for (qsizetype size : sizes) {
            const DocumentPair pair = makePair(size, 20261209);
            for (const auto& [suffix, text] : {std::pair{"original", pair.original}, std::pair{"edited", pair.edited},
                                               std::pair{"disguised", disguise(pair.edited)}}) {
                QFile file(QStringLiteral("%1/%2.%3.txt").arg(writeDir).arg(size).arg(QLatin1StringView(suffix)));
                if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0) {
                    std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
                    return 1;
                }
            }
        }
        return 0;
    }
    LowerCaseStemmer lowerCase;
    if (useLibrary && !MorphologyLibrary::Instance().Load()) {
        std::fprintf(stderr, "the morphology library could not be loaded\n");
        return 1;
    }
    Stemmer& stemmer = useLibrary ? static_cast<Stemmer&>(MorphologyLibrary::Instance()) : lowerCase;
    CheckOptions options;
    options.NearMatches = true;

    std::printf("stems: %s\n", useLibrary ? "morphology library" : "lower-cased words");
    std::printf("%9s %-9s %10s %10s %7s %9s %8s\n", "words", "copy", "reading", "check", "share", "matches", "found");
    for (qsizetype size : sizes) {
        const DocumentPair honest = makePair(size, 20261209);
        const DocumentPair tricked{honest.original, disguise(honest.edited)};
        for (const auto& entry : {std::pair{"honest", &honest}, std::pair{"disguised", &tricked}}) {
            // Plain names, not a structured binding: clang before 16 cannot capture one in a lambda.
            const char* name = entry.first;
            const DocumentPair* pair = entry.second;
            qsizetype found = 0;
            const double readingMs = bench::BestOf(3, [&] {
                const TextReading original(pair->original, {}, options);
                const TextReading edited(pair->edited, {}, options);
                found = edited.findings().size();
            });
            qsizetype matches = 0;
            const double checkMs = bench::BestOf(3, [&] {
                matches = CheckCommand::CheckTexts(pair->original, pair->edited, options, stemmer).matchCount();
            });
            std::printf("%9lld %-9s %10.1f %10.1f %6.1f%% %9lld %8lld\n", qlonglong(size), name, readingMs, checkMs,
                        100 * readingMs / checkMs, qlonglong(matches), qlonglong(found));
        }
    }
    std::printf("reading: both documents; check: the whole Check on texts, reading included; ms of processor "
                "time, best of 3; found: kinds of trick found in the copy\n");
    if (useLibrary)
        MorphologyLibrary::Instance().Unload();
    return 0;
}
