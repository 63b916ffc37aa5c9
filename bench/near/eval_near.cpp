// Measures the near-match rule on the written pairs of data/ (see NearDataSet.h):
// recall per kind of light edit, the false-match share of each negative class, and how
// both move with the threshold.
//
//   eval_near [--data FOLDER] [--threshold PERCENT] [--related-weight W] [--plain] [--verbose] [--rows]
//   eval_near --family-sample WORDLIST [N]
//
// The second form prints how many pairs the family rule finds among the words of a
// list (one a line, anything after "/" dropped, as in a spelling dictionary) and N
// of them at random (default 80, fixed seed), to be judged by hand.
//
// --rows prints every row with the similarity it was caught at (0 when not at all).
//
// Synonyms come from synonyms.dat beside the program; --plain leaves synonyms and
// family words out, as the search was before it knew them.
//
// All originals form one original document, so stem weights are those of a real
// essay and every edited sentence competes with every original. Rows editing the same
// original go to different edited copies (the first edit of each original to copy 1,
// the second to copy 2 ...), each checked against the whole original document, as a
// student's copy holds one version of each sentence. Exact matches (equal stem sets,
// more than three words) count as caught, as the Check lists them.

#include "NearDataSet.h"
#include "check/CheckOptions.h"
#include "compare/NearIndex.h"
#include "compare/NearOptions.h"
#include "compare/NearRelations.h"
#include "compare/NearSearch.h"
#include "compare/NearStemTable.h"
#include "morph/MorphologyLibrary.h"
#include "morph/Thesaurus.h"
#include "phrases/TextOps.h"
#include "phrases/Tokenizer.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QRandomGenerator>
#include <QSet>
#include <algorithm>
#include <cstdio>

namespace {

constexpr qint32 kMinWords = CheckOptions::DefaultMinWords;

// The one place the evaluation reaches the morphology library.
NearStemTable::StemFunction libraryStemmer()
{
    MorphologyLibrary::Instance().Load();
    return [](const QString& word) { return MorphologyLibrary::Instance().GetStem(word); };
}

struct Splitter
{
    DelimiterSet sentenceDelimiters{CheckOptions::DefaultDelimiters1()};
    DelimiterSet wordDelimiters{CheckOptions::DefaultDelimiters2()};

    // The sentences a sentence list keeps: at least kMinWords words, not a lone space.
    QStringList sentences(const QString& text) const
    {
        QStringList kept;
        Tokenizer tokens(text, sentenceDelimiters);
        QStringView sentence;
        while (tokens.Next(sentence))
            if (sentence != u" " && CountWords(sentence, wordDelimiters) >= kMinWords)
                kept.append(sentence.toString());
        return kept;
    }

    // What the exact rule compares: the set of stems of all words, empty when the
    // sentence has too few words to be compared.
    QString exactKey(const QString& sentence, const NearStemTable::StemFunction& stem) const
    {
        QStringList stems;
        Tokenizer tokens(sentence, wordDelimiters);
        QStringView word;
        while (tokens.Next(word))
            stems.append(stem(LowerCaseWord(word.toString())));
        if (stems.size() <= kMinWords)
            return {};
        stems.sort();
        stems.removeDuplicates();
        return stems.join(QChar(u'\n'));
    }
};

struct Range
{
    qint32 first = 0;
    qint32 count = 0;
    bool overlaps(qint32 f, qint32 c) const { return f < first + count && first < f + c; }
    bool covers(qint32 f, qint32 c) const { return f <= first && first + count <= f + c; }
};

struct Outcome
{
    bool caught = false;    // flagged (light rows: against their own original)
    bool exact = false;     // by an exact match
    bool structure = false; // a split or join caught as one match of the whole
    bool elsewhere = false; // a light row matched with another original only
    double similarity = 0;  // of the match that caught it (1 for exact)
    NearMatch match;        // that match, when near
    qint32 copy = -1;       // the edited copy the row is in
};

struct Copy
{
    QList<NearSentence> edited;
    QList<qint32> rows;            // data rows in this copy
    QHash<qint32, Range> rowRange; // row -> its edited sentences
    QList<qint32> exactEdited;
    QHash<qint32, QSet<qint32>> exactOriginals; // edited sentence -> original sentences with its stem set
};

struct Evaluation
{
    const NearDataSet& data;
    QList<NearSentence> original;
    QList<Range> unitRange;
    QList<Copy> copies;
    NearRelations relations;
    bool plain = false;
    double relatedWeight = NearOptions::kDefaultRelatedWeight;
    QStringList stemNames;

    // Why a near match was found: the stems both units hold, those of one side only,
    // each with its weight, and the related pairs.
    QString describe(const Outcome& outcome) const
    {
        if (!outcome.caught || outcome.exact || outcome.copy < 0)
            return {};
        const NearIndex index(original);
        const NearMatch& m = outcome.match;
        QSet<qint32> a;
        QSet<qint32> b;
        for (qint32 i = m.originalFirst; i < m.originalFirst + m.originalCount; ++i)
            for (const NearSentence::Word& w : original.at(i).words)
                a.insert(w.stem);
        for (qint32 i = m.editedFirst; i < m.editedFirst + m.editedCount; ++i)
            for (const NearSentence::Word& w : copies.at(outcome.copy).edited.at(i).words)
                b.insert(w.stem);
        const auto list = [&](const QSet<qint32>& set) {
            QList<qint32> sorted(set.begin(), set.end());
            std::sort(sorted.begin(), sorted.end(),
                      [&](qint32 x, qint32 y) { return index.weight(x) > index.weight(y); });
            QStringList out;
            for (qint32 stem : sorted)
                out << QStringLiteral("%1 %2").arg(stemNames.value(stem)).arg(index.weight(stem), 0, 'f', 1);
            return out.join(QStringLiteral(", "));
        };
        QStringList related;
        if (!plain)
            for (qint32 x : a - b)
                for (qint32 y : b - a)
                    if (relations.related(x, y))
                        related << stemNames.value(x) + QStringLiteral("~") + stemNames.value(y);
        return QStringLiteral("      shared: %1\n      original only: %2\n      edited only: %3\n      related: %4\n")
            .arg(list(a & b), list(a - b), list(b - a), related.join(QStringLiteral(", ")));
    }

    QList<Outcome> run(qint32 threshold) const
    {
        QList<Outcome> outcomes(data.rows.size());
        NearOptions options;
        options.threshold = threshold;
        options.relations = plain ? nullptr : &relations;
        options.relatedWeight = relatedWeight;
        options.minWords = kMinWords;
        for (const Copy& copy : copies) {
            const NearMatchList found = FindNearMatches(original, copy.edited, copy.exactEdited, options);
            for (qint32 row : copy.rows) {
                outcomes[row] = judge(row, copy, found);
                outcomes[row].copy = qint32(&copy - copies.data());
            }
        }
        return outcomes;
    }

    Outcome judge(qint32 row, const Copy& copy, const NearMatchList& found) const
    {
        const NearDataRow& r = data.rows.at(row);
        const Range edited = copy.rowRange.value(row);
        const Range unit = unitRange.at(r.unit);
        const bool negative = NearDataSet::isNegative(r.kind);
        Outcome outcome;
        for (qint32 e = edited.first; e < edited.first + edited.count; ++e)
            for (qint32 o : copy.exactOriginals.value(e)) {
                if (negative || unit.overlaps(o, 1)) {
                    outcome.caught = outcome.exact = true;
                    outcome.similarity = 1;
                } else {
                    outcome.elsewhere = true;
                }
            }
        for (const NearMatch& m : found.matches) {
            if (!edited.overlaps(m.editedFirst, m.editedCount))
                continue;
            if (!negative && !unit.overlaps(m.originalFirst, m.originalCount)) {
                outcome.elsewhere = true;
                continue;
            }
            if (!outcome.caught || m.similarity > outcome.similarity) {
                outcome.similarity = m.similarity;
                outcome.match = m;
            }
            outcome.caught = true;
            if (edited.covers(m.editedFirst, m.editedCount) && unit.covers(m.originalFirst, m.originalCount))
                outcome.structure = true;
        }
        if (outcome.caught)
            outcome.elsewhere = false;
        return outcome;
    }
};

// The rows of one reporting class.
bool inClass(const QString& kind, const QString& cls)
{
    if (cls == QStringLiteral("two together"))
        return kind.contains(QChar(u'+'));
    if (cls == QStringLiteral("all light"))
        return !NearDataSet::isNegative(kind);
    if (cls == QStringLiteral("light, no syn"))
        return !NearDataSet::isNegative(kind) && !kind.contains(QStringLiteral("synonyms")) &&
               !kind.contains(QStringLiteral("family"));
    if (cls == QStringLiteral("syn/fam+other"))
        return kind.contains(QChar(u'+')) &&
               (kind.contains(QStringLiteral("synonyms")) || kind.contains(QStringLiteral("family")));
    return kind == cls;
}

QStringList classes()
{
    QStringList list = NearDataSet::lightKinds();
    list << QStringLiteral("two together") << QStringLiteral("syn/fam+other") << QStringLiteral("light, no syn")
         << QStringLiteral("all light") << QStringLiteral("unrelated") << QStringLiteral("rewrite");
    return list;
}

double share(const NearDataSet& data, const QList<Outcome>& outcomes, const QString& cls, qint32* flagged = nullptr,
             qint32* total = nullptr)
{
    qint32 n = 0;
    qint32 hit = 0;
    for (qsizetype i = 0; i < data.rows.size(); ++i)
        if (inClass(data.rows.at(i).kind, cls)) {
            ++n;
            hit += outcomes.at(i).caught ? 1 : 0;
        }
    if (flagged)
        *flagged = hit;
    if (total)
        *total = n;
    return n ? 100.0 * hit / n : 0;
}

void print(const QString& text)
{
    std::fputs(text.toUtf8().constData(), stdout);
}

bool buildEvaluation(Evaluation& evaluation, const Splitter& splitter, NearStemTable& table,
                     const NearStemTable::StemFunction& stem, QString& error)
{
    const NearDataSet& data = evaluation.data;
    QHash<QString, QList<qint32>> originalByKey;
    for (const QString& unit : data.units) {
        const QStringList sentences = splitter.sentences(unit);
        evaluation.unitRange.append({qint32(evaluation.original.size()), qint32(sentences.size())});
        for (const QString& s : sentences) {
            originalByKey[splitter.exactKey(s, stem)].append(qint32(evaluation.original.size()));
            evaluation.original.append(table.sentence(s, splitter.wordDelimiters));
        }
    }
    originalByKey.remove(QString());

    QList<qint32> edits(data.units.size(), 0);
    for (qint32 row = 0; row < data.rows.size(); ++row) {
        const NearDataRow& r = data.rows.at(row);
        const QStringList sentences = splitter.sentences(r.edited);
        const qint32 originalCount = evaluation.unitRange.at(r.unit).count;
        const bool joined = r.kind.contains(QStringLiteral("joined"));
        const bool split = r.kind.contains(QStringLiteral("split"));
        const bool negative = NearDataSet::isNegative(r.kind);
        if (sentences.size() != (split ? 2 : 1) || (!negative && originalCount != (joined ? 2 : 1))) {
            error = r.where + QStringLiteral(": %1 original and %2 edited sentences do not fit the kind %3")
                                  .arg(originalCount)
                                  .arg(sentences.size())
                                  .arg(r.kind);
            return false;
        }
        const qint32 copyIndex = edits[r.unit]++;
        if (copyIndex >= evaluation.copies.size())
            evaluation.copies.resize(copyIndex + 1);
        Copy& copy = evaluation.copies[copyIndex];
        copy.rows.append(row);
        copy.rowRange.insert(row, {qint32(copy.edited.size()), qint32(sentences.size())});
        for (const QString& s : sentences) {
            const qint32 index = qint32(copy.edited.size());
            const auto it = originalByKey.constFind(splitter.exactKey(s, stem));
            if (it != originalByKey.constEnd()) {
                copy.exactEdited.append(index);
                copy.exactOriginals.insert(index, QSet<qint32>(it->begin(), it->end()));
            }
            copy.edited.append(table.sentence(s, splitter.wordDelimiters));
        }
    }
    return true;
}

void printDefault(const Evaluation& evaluation, qint32 threshold, bool verbose)
{
    const NearDataSet& data = evaluation.data;
    const QList<Outcome> outcomes = evaluation.run(threshold);
    print(QStringLiteral("At the threshold of %1%:\n").arg(threshold));
    print(QStringLiteral("%1 %2 %3 %4 %5 %6\n")
              .arg(QStringLiteral("class"), -16)
              .arg(QStringLiteral("rows"), 5)
              .arg(QStringLiteral("flagged"), 8)
              .arg(QStringLiteral("share"), 7)
              .arg(QStringLiteral("exact"), 6)
              .arg(QStringLiteral("lowest caught"), 14));
    for (const QString& cls : classes()) {
        qint32 flagged = 0;
        qint32 total = 0;
        const double percent = share(data, outcomes, cls, &flagged, &total);
        qint32 exact = 0;
        double lowest = 2;
        for (qsizetype i = 0; i < data.rows.size(); ++i)
            if (inClass(data.rows.at(i).kind, cls) && outcomes.at(i).caught) {
                exact += outcomes.at(i).exact ? 1 : 0;
                lowest = std::min(lowest, outcomes.at(i).similarity);
            }
        print(QStringLiteral("%1 %2 %3 %4% %5 %6\n")
                  .arg(cls, -16)
                  .arg(total, 5)
                  .arg(flagged, 8)
                  .arg(percent, 6, 'f', 1)
                  .arg(exact, 6)
                  .arg(flagged ? QString::number(lowest, 'f', 3) : QStringLiteral("-"), 14));
    }
    for (const QString& kind : {QStringLiteral("split"), QStringLiteral("joined")}) {
        qint32 whole = 0;
        qint32 total = 0;
        for (qsizetype i = 0; i < data.rows.size(); ++i)
            if (data.rows.at(i).kind.contains(kind)) {
                ++total;
                whole += outcomes.at(i).structure ? 1 : 0;
            }
        print(QStringLiteral("%1 rows (alone or with another edit) caught as one match of both sentences: %2 of %3\n")
                  .arg(kind)
                  .arg(whole)
                  .arg(total));
    }
    qint32 elsewhere = 0;
    for (const Outcome& outcome : outcomes)
        elsewhere += outcome.elsewhere ? 1 : 0;
    print(QStringLiteral("light rows matched with a wrong original only: %1\n").arg(elsewhere));
    if (!verbose)
        return;
    print(QStringLiteral("\nMissed light edits and flagged negatives:\n"));
    for (qsizetype i = 0; i < data.rows.size(); ++i) {
        const NearDataRow& r = data.rows.at(i);
        if (NearDataSet::isNegative(r.kind) == outcomes.at(i).caught)
            print(QStringLiteral("  %1 %2 %3: %4\n")
                      .arg(r.where, r.kind)
                      .arg(outcomes.at(i).similarity, 0, 'f', 3)
                      .arg(r.edited) +
                  evaluation.describe(outcomes.at(i)));
    }
}

// Every row with the similarity of the match that caught it, at a threshold low enough
// to catch nearly all, so that the margins show.
void printRows(const Evaluation& evaluation)
{
    const QList<Outcome> outcomes = evaluation.run(1);
    for (qsizetype i = 0; i < evaluation.data.rows.size(); ++i) {
        const NearDataRow& r = evaluation.data.rows.at(i);
        print(QStringLiteral("%1 %2 %3 %4\n")
                  .arg(r.where, r.kind)
                  .arg(outcomes.at(i).similarity, 0, 'f', 3)
                  .arg(r.edited));
    }
}

void printTable(const Evaluation& evaluation)
{
    print(QStringLiteral("\nShare flagged (%) by threshold:\n  thr"));
    const QStringList names = classes();
    for (const QString& cls : names)
        print(QStringLiteral(" %1").arg(cls.left(7), 7));
    print(QStringLiteral("\n"));
    // Finer around the default, where the choice is made.
    for (qint32 threshold = 30; threshold <= 95; threshold += (threshold >= 40 && threshold < 60) ? 2 : 5) {
        const QList<Outcome> outcomes = evaluation.run(threshold);
        print(QStringLiteral("  %1").arg(threshold, 3));
        for (const QString& cls : names)
            print(QStringLiteral(" %1").arg(share(evaluation.data, outcomes, cls), 7, 'f', 1));
        print(QStringLiteral("\n"));
    }
}

int familySample(const QString& path, qsizetype count)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 1;
    }
    QSet<QString> seen;
    QStringList words;
    while (!file.atEnd()) {
        QString word = QString::fromUtf8(file.readLine()).trimmed().section(QChar(u'/'), 0, 0).toLower();
        word.replace(QChar(u'ё'), QChar(u'е'));
        if (!word.isEmpty() && !seen.contains(word)) {
            seen.insert(word);
            words.append(word);
        }
    }
    const NearRelations relations(words, nullptr);
    QList<std::pair<qint32, qint32>> pairs;
    for (qint32 i = 0; i < words.size(); ++i)
        for (const NearRelations::Link& link : relations.of(i))
            if (link.stem > i)
                pairs.append({i, link.stem});
    print(QStringLiteral("%1 words, %2 family pairs\n").arg(words.size()).arg(pairs.size()));
    QRandomGenerator random(7);
    for (qsizetype n = 0; n < count && !pairs.isEmpty(); ++n) {
        const auto [a, b] = pairs.takeAt(random.bounded(qint32(pairs.size())));
        print(words.at(a) + QChar(u' ') + words.at(b) + QChar(u'\n'));
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc >= 3 && app.arguments().at(1) == QStringLiteral("--family-sample"))
        return familySample(app.arguments().at(2), argc >= 4 ? app.arguments().at(3).toInt() : 80);
    QString folder = QStringLiteral(PARAFRIX_NEAR_DATA_DIR);
    qint32 threshold = NearOptions::kDefaultThreshold;
    bool verbose = false;
    bool rows = false;
    bool plain = false;
    double relatedWeight = NearOptions::kDefaultRelatedWeight;
    const QStringList arguments = app.arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == QStringLiteral("--data") && i + 1 < arguments.size())
            folder = arguments.at(++i);
        else if (arguments.at(i) == QStringLiteral("--threshold") && i + 1 < arguments.size())
            threshold = arguments.at(++i).toInt();
        else if (arguments.at(i) == QStringLiteral("--related-weight") && i + 1 < arguments.size())
            relatedWeight = arguments.at(++i).toDouble();
        else if (arguments.at(i) == QStringLiteral("--plain"))
            plain = true;
        else if (arguments.at(i) == QStringLiteral("--verbose"))
            verbose = true;
        else if (arguments.at(i) == QStringLiteral("--rows"))
            rows = true;
        else {
            std::fprintf(stderr, "usage: eval_near [--data FOLDER] [--threshold PERCENT] [--related-weight W] "
                                 "[--plain] [--verbose] [--rows]\n");
            return 2;
        }
    }

    NearDataSet data;
    QString error;
    if (!data.load(folder, error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const NearStemTable::StemFunction stem = libraryStemmer();
    if (!MorphologyLibrary::Instance().hasDictionary())
        std::fprintf(stderr, "warning: the morphology library runs without its dictionary\n");
    NearStemTable table(stem);
    Splitter splitter;
    Evaluation evaluation{data, {}, {}, {}, {}, plain, relatedWeight, {}};
    if (!buildEvaluation(evaluation, splitter, table, stem, error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    InstalledThesaurus& thesaurus = InstalledThesaurus::Instance();
    if (!plain && !thesaurus.Load())
        std::fprintf(stderr, "warning: %s\n", qPrintable(thesaurus.loadProblem()));
    evaluation.relations = NearRelations(table.stems(), &thesaurus.thesaurus());
    evaluation.stemNames = table.stems();
    print(QStringLiteral("%1 original units (%2 sentences), %3 rows in %4 edited copies\n\n")
              .arg(data.units.size())
              .arg(evaluation.original.size())
              .arg(data.rows.size())
              .arg(evaluation.copies.size()));
    if (rows) {
        printRows(evaluation);
        MorphologyLibrary::Instance().Unload();
        return 0;
    }
    printDefault(evaluation, threshold, verbose);
    printTable(evaluation);
    MorphologyLibrary::Instance().Unload();
    return 0;
}
