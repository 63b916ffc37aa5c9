#include "FakeStemmer.h"
#include "check/CheckOptions.h"
#include "phrases/CFrazes.h"
#include "phrases/CStemDictionary.h"
#include "phrases/TextOps.h"
#include "phrases/Tokenizer.h"

#include <QTest>

// Tokenizer, line breaks, sentence lists, lower-casing and the stem dictionary.
class TestPhrases : public QObject
{
    Q_OBJECT

    CheckOptions m_options;
    FakeStemmer m_stemmer;

    static QStringList tokens(const QString& text, const QString& delimiters)
    {
        const DelimiterSet set(delimiters);
        Tokenizer tokenizer(text, set);
        QStringList out;
        QStringView token;
        while (tokenizer.Next(token))
            out.append(token.toString());
        return out;
    }

private slots:
    void init()
    {
        m_options = CheckOptions();
        m_stemmer.set({});
    }

    void tokenize_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("delimiters");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("plain") << QStringLiteral("a b c") << QStringLiteral(" ")
                               << QStringList{u"a"_qs, u"b"_qs, u"c"_qs};
        QTest::newRow("runs and ends") << QStringLiteral("  a,, b  ") << QStringLiteral(" ,")
                                       << QStringList{u"a"_qs, u"b"_qs};
        QTest::newRow("only delimiters") << QStringLiteral(" ,, ") << QStringLiteral(" ,") << QStringList{};
        QTest::newRow("empty text") << QString() << QStringLiteral(" ") << QStringList{};
        QTest::newRow("empty set gives rest as one token")
            << QStringLiteral(" a b ") << QString() << QStringList{u" a b "_qs};
        QTest::newRow("empty set, empty text") << QString() << QString() << QStringList{};
        QTest::newRow("cyrillic delimiter")
            << QStringLiteral(u"одинждва") << QStringLiteral(u"ж") << QStringList{u"один"_qs, u"два"_qs};
        QTest::newRow("no case folding") << QStringLiteral("aXbxc") << QStringLiteral("x")
                                         << QStringList{u"aXb"_qs, u"c"_qs};
    }
    void tokenize()
    {
        QFETCH(QString, text);
        QFETCH(QString, delimiters);
        QFETCH(QStringList, expected);
        QCOMPARE(tokens(text, delimiters), expected);
    }

    void normalizeLineBreaks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("crlf") << QStringLiteral("a\r\nb") << QStringLiteral("a.b");
        QTest::newRow("lone lf joins") << QStringLiteral("a\nb") << QStringLiteral("ab");
        QTest::newRow("lone cr stays") << QStringLiteral("a\rb") << QStringLiteral("a\rb");
        QTest::newRow("cr cr lf") << QStringLiteral("a\r\r\nb") << QStringLiteral("a\r.b");
        QTest::newRow("lf cr") << QStringLiteral("a\n\rb") << QStringLiteral("a\rb");
        QTest::newRow("crlf crlf") << QStringLiteral("\r\n\r\n") << QStringLiteral("..");
    }
    void normalizeLineBreaks()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const QString original = text;
        QCOMPARE(NormalizeLineBreaks(text), expected);
        QCOMPARE(text, original);
    }

    void sentences_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("minWords");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("second keeps its space") << QStringLiteral("Один два три. Четыре пять шесть") << 3
                                                << QStringList{u"Один два три"_qs, u" Четыре пять шесть"_qs};
        QTest::newRow("delimiter runs") << QStringLiteral("a b c...?! d e f?!") << 3
                                        << QStringList{u"a b c"_qs, u" d e f"_qs};
        QTest::newRow("exactly min words kept, fewer dropped")
            << QStringLiteral("a b c. d e") << 3 << QStringList{u"a b c"_qs};
        QTest::newRow("digits are no words") << QStringLiteral("a b 12 34. a b c") << 3 << QStringList{u" a b c"_qs};
        QTest::newRow("min words zero keeps wordless but not one space")
            << QStringLiteral("a. . ,,.") << 0 << QStringList{u"a"_qs, u" ,,"_qs};
        QTest::newRow("negative min words") << QStringLiteral("-- . x") << -1 << QStringList{u"-- "_qs, u" x"_qs};
    }
    void sentences()
    {
        QFETCH(QString, text);
        QFETCH(int, minWords);
        QFETCH(QStringList, expected);
        m_options.MinWords = minWords;
        const CFrazes phrases(text, m_options);
        QCOMPARE(phrases.phrases(), expected);
        QCOMPARE(phrases.GetPhrase(0), expected.value(0));
        QCOMPARE(phrases.GetPhrase(quint32(expected.size())), QString());
        QCOMPARE(phrases.GetPhrase(0xFFFFFFFFu), QString());
    }

    void emptyDelimiterSetsEnd()
    {
        m_options.Delimiters1.clear();
        m_options.Delimiters2.clear();
        m_options.MinWords = 1;
        const CFrazes phrases(QStringLiteral("Всё одной строкой. Без разделителей"), m_options);
        QCOMPARE(phrases.size(), 1);
        QStringList words;
        SplitWords(QStringLiteral("a b"), words, m_options);
        QCOMPARE(words, QStringList{u"a b"_qs});
        const CStemDictionary dictionary(QStringLiteral("x y"), m_options, m_stemmer);
        QCOMPARE(dictionary.size(), 1);
    }

    void splitWordsAppends()
    {
        QStringList words{u"keep"_qs};
        SplitWords(QStringLiteral(u"«Да», сказал он - 2007 раз;\tвот"), words, m_options);
        QCOMPARE(words, (QStringList{u"keep"_qs, u"Да"_qs, u"сказал"_qs, u"он"_qs, u"раз"_qs, u"вот"_qs}));
    }

    void lowerCase_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("expected");
        QTest::newRow("latin") << QStringLiteral("HeLLo") << QStringLiteral("hello");
        QTest::newRow("cyrillic") << QStringLiteral(u"ПРИВЕТ Ёж") << QStringLiteral(u"привет ёж");
        QTest::newRow("ukrainian and serbian") << QStringLiteral(u"ЇЄІЂЉ") << QStringLiteral(u"їєіђљ");
        QTest::newRow("greek") << QStringLiteral(u"ΑΒΓ") << QStringLiteral(u"αβγ");
        QTest::newRow("latin-1") << QStringLiteral(u"ÀÉÖ") << QStringLiteral(u"àéö");
        QTest::newRow("surrogates untouched") << QStringLiteral(u"\U00010400A") << QStringLiteral(u"\U00010400a");
    }
    void lowerCase()
    {
        QFETCH(QString, word);
        QFETCH(QString, expected);
        const QString lowered = LowerCaseWord(word);
        QCOMPARE(lowered.size(), word.size());
        QCOMPARE(lowered, expected);
    }

    void normalizeWordLowersThenStems()
    {
        QStringList seen;
        m_stemmer.set([&seen](const QString& word) {
            seen.append(word);
            return word.left(3);
        });
        const QString word = QStringLiteral(u"ДОМАМИ");
        QCOMPARE(NormalizeWord(word, m_stemmer), QStringLiteral(u"дом"));
        QCOMPARE(word, QStringLiteral(u"ДОМАМИ"));
        QCOMPARE(seen, QStringList{u"домами"_qs});
    }

    void dictionaryNumbersFirstAppearance()
    {
        m_stemmer.set([](const QString& word) { return word.left(3); });
        const CStemDictionary dictionary(QStringLiteral(u"Дома стоят рядом.\r\nДомами стоят люди. Мы. Кот спит тут"),
                                         m_options, m_stemmer);
        QCOMPARE(dictionary.Lookup(u"дом"_qs), 0);
        QCOMPARE(dictionary.Lookup(u"сто"_qs), 1);
        QCOMPARE(dictionary.Lookup(u"ряд"_qs), 2);
        QCOMPARE(dictionary.Lookup(u"люд"_qs), 3);
        QCOMPARE(dictionary.Lookup(u"кот"_qs), 4);
        QCOMPARE(dictionary.Lookup(u"Дом"_qs), -1); // keys are case-sensitive
        QCOMPARE(dictionary.Lookup(u"мы"_qs), -1);  // only in a dropped sentence
        QCOMPARE(dictionary.size(), 7);
    }

    void emptyStemsShareOneNumber()
    {
        m_stemmer.set([](const QString& word) { return word.startsWith(u'x') ? QString() : word; });
        const CStemDictionary dictionary(QStringLiteral("xa b xc d"), m_options, m_stemmer);
        QCOMPARE(dictionary.Lookup(QString()), 0);
        QCOMPARE(dictionary.Lookup(u"b"_qs), 1);
        QCOMPARE(dictionary.Lookup(u"d"_qs), 2);
        QCOMPARE(dictionary.size(), 3);
    }

    void lineBreaksInDictionary()
    {
        // A lone LF joins two words into one; CR LF ends the sentence.
        const CStemDictionary dictionary(QStringLiteral("one two\nthree four\r\nfive six seven"), m_options, m_stemmer);
        QCOMPARE(dictionary.Lookup(u"twothree"_qs), 1);
        QCOMPARE(dictionary.Lookup(u"two"_qs), -1);
        QCOMPARE(dictionary.Lookup(u"five"_qs), 3);
    }

    void emptyTextGivesEmptyDictionary()
    {
        const CStemDictionary dictionary{QString(), m_options, m_stemmer};
        QCOMPARE(dictionary.size(), 0);
        QCOMPARE(dictionary.Lookup(QString()), -1);
    }
};

QTEST_GUILESS_MAIN(TestPhrases)
#include "tst_phrases.moc"
