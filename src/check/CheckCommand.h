#pragma once

#include "check/SourceCheck.h"
#include "check/TextReading.h"
#include "compare/MatchVerdict.h"
#include "compare/NearRelations.h"
#include "compare/NearSearch.h"
#include "compare/NearSentence.h"
#include "compare/PhraseMatch.h"
#include "extract/ExtractResult.h"
#include "phrases/CStemDictionary.h"
#include "phrases/TextWords.h"

#include <memory>

class Stemmer;
struct CheckOptions;
struct SplitOptions;

// One row of the match list as the user reads it: an exact match or a near match, by
// its index in CheckOutcome::matches or CheckOutcome::near.matches.
struct MatchRow
{
    enum class Kind : quint8
    {
        Exact,
        Near
    };
    Kind kind = Kind::Exact;
    qint32 index = 0;
};

// The outcome of one Check: what each document gave, the stem dictionary of the
// original, the ordered exact matches, the near matches (when asked for) and the
// originality of the copy.
struct CheckOutcome
{
    ExtractResult original; // text or reason, for the original document
    ExtractResult edited;   // text or reason, for the edited copy
    // Each text as it was compared, with the tricks seen through in it. The matches and
    // sentences below are read text; a reading gives each one back as written.
    TextReading originalReading;
    TextReading editedReading;
    std::unique_ptr<CStemDictionary> dictionary; // null when a text was empty
    // Both read texts split once into sentences and word forms, which every search
    // and verdict reads; the forms stem through the stemmer the Check ran with.
    std::shared_ptr<WordForms> forms;
    TextWords originalWords;
    TextWords editedWords;
    PhraseMatchList matches;
    // Near matches, most similar first; their indices refer to the two sentence lists
    // below, which are filled only when near matches were asked for. The copy's sentences
    // that exact matches list have no words there, as no near match takes them.
    NearMatchList near;
    QList<NearSentence> originalSentences;
    QList<NearSentence> editedSentences;
    // The words of each sentence of the copy (editedWords), as the originality counts them.
    std::vector<qint32> editedWordCounts;
    NearRelations relations; // synonyms and family words among both lists' stems
    // Share of the copy's words in no exact or near match, 0..1.
    double originality = 1.0;
    // Shares of the copy's words in exact matches, and in near matches only (0 when
    // near matches were not searched for): with originality they make up 1.
    double exactShare = 0.0;
    double nearShare = 0.0;
    bool truncated = false;       // the lists stopped at CheckOptions::MaxMatches or MaxReportBytes
    bool truncatedBySize = false; // they stopped at MaxReportBytes
    // With several originals: the source of each match and each source's share.
    SourceAttribution sources;

    // Every match in the order the window, the session and the reports show them:
    // exact matches, then near ones. Filled by the Check once its lists are final.
    QList<MatchRow> rows;

    // Exact and near matches together.
    qsizetype matchCount() const { return rows.size(); }
    // The match of a row, or null when the row is of the other kind (or none).
    const PhraseMatch* exactAt(qsizetype row) const
    {
        return row >= 0 && row < rows.size() && rows.at(row).kind == MatchRow::Kind::Exact
                   ? &matches.at(rows.at(row).index)
                   : nullptr;
    }
    const NearMatch* nearAt(qsizetype row) const
    {
        return row >= 0 && row < rows.size() && rows.at(row).kind == MatchRow::Kind::Near
                   ? &near.matches.at(rows.at(row).index)
                   : nullptr;
    }
    // Lists the rows from matches and near.matches.
    void ListRows();

    // True when both texts were read and the search ran.
    bool ok() const { return dictionary != nullptr; }

    // The verdict on matches[index], from the split texts when the match came from
    // them, so that no word is split or stemmed again.
    MatchVerdict Verdict(qsizetype index, const SplitOptions& options, Stemmer& stemmer) const;
};

// The Check without a window: from two documents (or their texts) to the stem
// dictionary of the original and the ordered match list. The window and the
// command-line check both run it, so they can never disagree.
class CheckCommand
{
public:
    // Reads both documents (always both, original first) and runs the search when
    // both gave text. A text without a single letter or digit counts as no text.
    static CheckOutcome CheckDocuments(const QString& originalPath, const QString& editedPath,
                                       const CheckOptions& options, Stemmer& stemmer);
    // The same for files named as the system spells them (command-line arguments).
    static CheckOutcome CheckDocuments(const QByteArray& originalNative, const QByteArray& editedNative,
                                       const CheckOptions& options, Stemmer& stemmer);
    // Runs the dictionary and the search on two texts already extracted.
    static CheckOutcome CheckTexts(const QString& originalText, const QString& editedText, const CheckOptions& options,
                                   Stemmer& stemmer);
    // Reads each text of an outcome whose texts (and hidden runs) are filled in, then
    // runs the dictionary and the search on what was read.
    static void Search(CheckOutcome& outcome, const CheckOptions& options, Stemmer& stemmer);
    // After the exact search, on the texts as read: the near matches (when options ask for them), bounded by
    // what is left of MaxMatches and of the report's bytes (reportRoom: what the exact matches leave), and
    // the originality of the copy.
    static void SearchNear(CheckOutcome& outcome, const CheckOptions& options, qsizetype reportRoom);

    // A document of blanks, line breaks or punctuation alone has nothing to compare: an
    // emptied or wrongly chosen file must not pass for a thoroughly rewritten one. Its
    // text is cleared and it counts as no text.
    static void RefuseBlank(ExtractResult& result);
    // A text given directly, as a reader would have returned it (none when empty).
    static ExtractResult FromText(const QString& text);
    // Indices of the edited sentences the exact matches list, ascending. Equal texts have
    // equal fingerprints, so every sentence with the text of a listed one is matched too.
    static QList<qint32> ExactEditedIndices(const PhraseMatchList& matches, const TextWords& edited);
};
