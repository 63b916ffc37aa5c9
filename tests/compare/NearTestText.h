#pragma once

#include "compare/NearSentence.h"
#include "compare/NearStemTable.h"
#include "phrases/Tokenizer.h"

#include <QHash>
#include <QList>
#include <QString>

// Sentences for the near-match tests, stemmed without the dictionary: a word's stem is
// the word lower-cased with ё read as е, unless a small table of forms names another,
// so the tests know every stem.
class NearTestText
{
public:
    NearTestText() : m_table(stem) {}

    // Splits a text at ".!?" into sentences (as written, empty ones dropped) and each
    // sentence into words at spaces and the usual punctuation.
    QList<NearSentence> sentences(const QString& text)
    {
        QList<NearSentence> list;
        const DelimiterSet sentenceDelimiters(u".!?");
        Tokenizer tokens(text, sentenceDelimiters);
        QStringView sentence;
        while (tokens.Next(sentence))
            if (!sentence.trimmed().isEmpty())
                list.append(m_table.sentence(sentence.toString(), m_wordDelimiters));
        return list;
    }

    NearStemTable& table() { return m_table; }
    const DelimiterSet& wordDelimiters() const { return m_wordDelimiters; }

    static QString stem(const QString& lowerCasedWord)
    {
        static const QHash<QString, QString> forms{
            {u"моряком"_qs, u"моряк"_qs},
            {u"моряка"_qs, u"моряк"_qs},
            {u"моряки"_qs, u"моряк"_qs},
            {u"рассказал"_qs, u"рассказывать"_qs},
            {u"рассказывал"_qs, u"рассказывать"_qs},
            {u"южных"_qs, u"южный"_qs},
            {u"южные"_qs, u"южный"_qs},
            {u"морях"_qs, u"море"_qs},
            {u"моря"_qs, u"море"_qs},
            {u"островах"_qs, u"остров"_qs},
            {u"острова"_qs, u"остров"_qs},
            {u"был"_qs, u"быть"_qs},
            {u"была"_qs, u"быть"_qs},
            {u"стал"_qs, u"стать"_qs},
            {u"старого"_qs, u"старый"_qs},
            {u"старым"_qs, u"старый"_qs},
        };
        QString folded = lowerCasedWord;
        folded.replace(QChar(u'ё'), QChar(u'е'));
        return forms.value(folded, folded);
    }

private:
    NearStemTable m_table;
    DelimiterSet m_wordDelimiters{u" ,-=)(:\"'/\\&^%$#@1234567890|[]{}<>;\u00b7\u00ab\u00bb\t"};
};
