#include "phrases/MorphologyLibrary.h"

MorphologyLibrary& MorphologyLibrary::Instance()
{
    static MorphologyLibrary instance;
    return instance;
}

void MorphologyLibrary::Load() {}

void MorphologyLibrary::Unload() {}

bool MorphologyLibrary::isLoaded() const
{
    return false;
}

void MorphologyLibrary::SetTestStemmer(StemFunction stemmer)
{
    Instance().m_testStemmer = std::move(stemmer);
}

QString MorphologyLibrary::GetStem(const QString& word)
{
    if (m_testStemmer)
        return m_testStemmer(word);
    return word;
}
