#pragma once

#include <QString>

// Where the engine gets word stems from. Every operation that compares words takes
// one, so results depend only on what the caller passes in: the morphology library,
// the lower-casing stand-in below, or a fake in tests.
class Stemmer
{
public:
    virtual ~Stemmer() = default;

    // The stem of one lower-cased word. Never changes case itself; never empty for a
    // non-empty word.
    virtual QString GetStem(const QString& word) = 0;
};

// Words stand for their own stems: the engine then compares lower-cased word forms.
// Used when no morphology library could be loaded.
class LowerCaseStemmer final : public Stemmer
{
public:
    QString GetStem(const QString& word) override { return word; }
};
