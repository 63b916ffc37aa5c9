#include "compare/FindSimilarPhrases.h"

#include "check/CheckOptions.h"
#include "compare/PhraseFingerprint.h"
#include "phrases/TextOps.h"
#include "phrases/Tokenizer.h"
#include "phrases/WordNumberCache.h"

#include <QHash>
#include <QVarLengthArray>
#include <algorithm>

namespace {

// Walks the sentences a sentence list would keep (at least MinWords words, not a lone
// space), splitting each into words once, and hands every one of them to the visitor
// with its fingerprint (empty when it has none). The walk stops when the visitor
// returns false. The text must outlive the walk.
template <typename Visitor>
void forEachSentence(QStringView text, const DelimiterSet& sentenceDelimiters, const DelimiterSet& wordDelimiters,
                     qint32 minWords, WordNumberCache& numbers, Visitor visit)
{
    Tokenizer sentences(text, sentenceDelimiters);
    QStringView sentence;
    QVarLengthArray<QStringView, 64> words;
    while (sentences.next(sentence)) {
        if (sentence == u" ")
            continue;
        words.clear();
        Tokenizer tokens(sentence, wordDelimiters);
        QStringView word;
        while (tokens.next(word))
            words.append(word);
        if (words.size() < minWords)
            continue;
        if (!visit(sentence, words.size() > minWords ? WordsFingerprint(numbers, words) : QByteArray()))
            return;
    }
}

} // namespace

bool FindSimilarPhrases(PhraseMatchList& matches, const CStemDictionary& dictionary, QString originalText,
                        QString editedText, const CheckOptions& options, Stemmer& stemmer)
{
    originalText = NormalizeLineBreaks(std::move(originalText));
    editedText = NormalizeLineBreaks(std::move(editedText));

    const DelimiterSet sentenceDelimiters(options.Delimiters1);
    const DelimiterSet wordDelimiters(options.Delimiters2);
    const qint32 minWords = options.MinWords;
    const qsizetype limit = std::max<qsizetype>(options.MaxMatches, 0);
    // Both texts live until the search ends, so their words can key the cache.
    WordNumberCache numbers(dictionary, stemmer);

    // Original sentences by fingerprint, each list in sentence order: walking a list
    // meets exactly the original entries a scan of all of them would, in its order.
    // Each sentence is made a string once; every match of it shares that string.
    QHash<QByteArray, QVarLengthArray<QString, 2>> originalByFingerprint;
    forEachSentence(originalText, sentenceDelimiters, wordDelimiters, minWords, numbers,
                    [&](QStringView sentence, const QByteArray& fingerprint) {
                        if (!fingerprint.isEmpty())
                            originalByFingerprint[fingerprint].append(sentence.toString());
                        return true;
                    });

    bool complete = true;
    forEachSentence(editedText, sentenceDelimiters, wordDelimiters, minWords, numbers,
                    [&](QStringView sentence, const QByteArray& fingerprint) {
                        if (fingerprint.isEmpty())
                            return true;
                        const auto it = originalByFingerprint.constFind(fingerprint);
                        if (it == originalByFingerprint.constEnd())
                            return true;
                        const QString edited = sentence.toString();
                        for (const QString& original : *it) {
                            if (matches.size() >= limit) {
                                complete = false;
                                return false;
                            }
                            matches.append(PhraseMatch{original, edited});
                        }
                        return true;
                    });
    return complete;
}
