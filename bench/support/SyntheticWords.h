#pragma once

#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>

// Made-up Russian-looking words for the generated documents of the benchmarks: a
// vocabulary drawn from with Zipf-like frequencies, and words it never holds. Every
// draw comes from the caller's generator, so a seed gives the same documents.
class SyntheticWords
{
public:
    explicit SyntheticWords(QRandomGenerator& random) : m_random(random)
    {
        for (int i = 0; i < 20000; ++i)
            m_vocabulary.append(makeWord());
        for (int i = 0; i < 2000; ++i)
            m_fresh.append(makeWord() + QChar(u'щ'));
    }

    // A sentence of length words; frequent words are much more common.
    QStringList sentence(int length)
    {
        QStringList words;
        for (int i = 0; i < length; ++i) {
            const double r = m_random.generateDouble();
            words.append(m_vocabulary.at(qsizetype(r * r * r * m_vocabulary.size())));
        }
        return words;
    }

    // A word no sentence of the vocabulary contains.
    QString fresh() { return m_fresh.at(m_random.bounded(m_fresh.size())); }

private:
    QString makeWord()
    {
        static const QString consonants = QStringLiteral(u"бвгджзклмнпрстфхцчшщ");
        static const QString vowels = QStringLiteral(u"аеиоуыяю");
        static const QStringList endings{
            QStringLiteral(u"ый"), QStringLiteral(u"ая"), QStringLiteral(u"ое"),  QStringLiteral(u"ами"),
            QStringLiteral(u"ов"), QStringLiteral(u"ет"), QStringLiteral(u"ить"), QString()};
        QString word;
        const int syllables = 1 + m_random.bounded(3);
        for (int i = 0; i < syllables; ++i) {
            word += consonants.at(m_random.bounded(consonants.size()));
            word += vowels.at(m_random.bounded(vowels.size()));
        }
        return word + endings.at(m_random.bounded(endings.size()));
    }

    QRandomGenerator& m_random;
    QStringList m_vocabulary;
    QStringList m_fresh;
};

// The sentences of a generated pair: an original of about size words; the copy keeps
// two sentences in three, word order reversed in half of those, and has one unrelated
// sentence in three.
struct SyntheticPair
{
    QStringList original;
    QStringList edited;
    qsizetype words = 0;
};

inline SyntheticPair MakeSyntheticPair(qsizetype size, quint32 seed)
{
    QRandomGenerator random(seed);
    SyntheticWords words(random);
    SyntheticPair pair;
    while (pair.words < size) {
        const int length = 5 + random.bounded(15);
        QStringList sentence = words.sentence(length);
        pair.original.append(sentence.join(u' '));
        pair.words += length;
        switch (random.bounded(3)) {
        case 0:
            std::reverse(sentence.begin(), sentence.end());
            break;
        case 1:
            sentence = words.sentence(length);
            break;
        default:
            break;
        }
        pair.edited.append(sentence.join(u' '));
    }
    return pair;
}
