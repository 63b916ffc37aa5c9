#include "FakeStemmer.h"
#include "NestedScan.h"
#include "check/CheckOptions.h"
#include "compare/FindSimilarPhrases.h"
#include "compare/PhraseFingerprint.h"
#include "phrases/CFrazes.h"
#include "phrases/CStemDictionary.h"
#include "phrases/TextOps.h"

#include <QTest>

Q_DECLARE_METATYPE(PhraseMatchList)

// The search: which sentences match, in which order, with duplicates.
class TestFindSimilarPhrases : public QObject
{
    Q_OBJECT

    CheckOptions m_options;
    FakeStemmer m_stemmer;

    PhraseMatchList search(const QString& original, const QString& edited)
    {
        const CStemDictionary dictionary(original, m_options, m_stemmer);
        PhraseMatchList matches;
        FindSimilarPhrases(matches, dictionary, original, edited, m_options, m_stemmer);
        return matches;
    }

private slots:
    void init()
    {
        m_options = CheckOptions();
        m_stemmer.set({});
    }

    void cases_data()
    {
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("edited");
        QTest::addColumn<PhraseMatchList>("expected");
        QTest::newRow("reordered") << QStringLiteral("Мама мыла раму утром.") << QStringLiteral("Утром раму мыла мама.")
                                   << PhraseMatchList{{u"Мама мыла раму утром"_qs, u"Утром раму мыла мама"_qs}};
        QTest::newRow("repeated word still matches") << QStringLiteral("a b c d.") << QStringLiteral("a b c d d.")
                                                     << PhraseMatchList{{u"a b c d"_qs, u"a b c d d"_qs}};
        QTest::newRow("new word stops it")
            << QStringLiteral("a b c d.") << QStringLiteral("a b c d e.") << PhraseMatchList{};
        QTest::newRow("word from elsewhere changes set")
            << QStringLiteral("a b c d. e f g h.") << QStringLiteral("a b c e.") << PhraseMatchList{};
        QTest::newRow("three words never compared")
            << QStringLiteral("a b c.") << QStringLiteral("a b c.") << PhraseMatchList{};
        QTest::newRow("delimiters are not part of sentences")
            << QStringLiteral("a b c d!") << QStringLiteral("a b c d.")
            << PhraseMatchList{{u"a b c d"_qs, u"a b c d"_qs}};
        QTest::newRow("by edited then original, duplicates kept")
            << QStringLiteral("a b c d. x y z w. d c b a.") << QStringLiteral("x y z w. a b c d. a b c d.")
            << PhraseMatchList{{u" x y z w"_qs, u"x y z w"_qs},
                               {u"a b c d"_qs, u" a b c d"_qs},
                               {u" d c b a"_qs, u" a b c d"_qs},
                               {u"a b c d"_qs, u" a b c d"_qs},
                               {u" d c b a"_qs, u" a b c d"_qs}};
        QTest::newRow("crlf ends sentences") << QStringLiteral("a b c d\r\ne f g h") << QStringLiteral("e f g h\r\n")
                                             << PhraseMatchList{{u"e f g h"_qs, u"e f g h"_qs}};
        QTest::newRow("empty edited") << QStringLiteral("a b c d.") << QString() << PhraseMatchList{};
    }
    void cases()
    {
        QFETCH(QString, original);
        QFETCH(QString, edited);
        QFETCH(PhraseMatchList, expected);
        QCOMPARE(search(original, edited), expected);
    }

    void caseAndInflectionIgnored()
    {
        m_stemmer.set([](const QString& w) { return w.left(3); });
        const PhraseMatchList matches = search(QStringLiteral(u"Студенты пишут длинные рефераты."),
                                               QStringLiteral(u"СТУДЕНТ пишет длинный реферат."));
        QCOMPARE(matches.size(), 1);
    }

    void appendsAfterExistingEntries()
    {
        const QString text = QStringLiteral("a b c d.");
        const CStemDictionary dictionary(text, m_options, m_stemmer);
        PhraseMatchList matches{{u"old"_qs, u"entry"_qs}};
        FindSimilarPhrases(matches, dictionary, text, text, m_options, m_stemmer);
        QCOMPARE(matches.size(), 2);
        QCOMPARE(matches.first().original, u"old"_qs);
    }

    void identicalCopyPairsEverySentence()
    {
        const QString text =
            QStringLiteral("one two three four. five six seven eight nine. x y. ten eleven twelve thirteen.");
        const PhraseMatchList matches = search(text, text);
        QCOMPARE(matches.size(), 3);
        for (const PhraseMatch& m : matches)
            QCOMPARE(m.original, m.edited);
    }

    void sameOrderAsNestedScan()
    {
        // A generated pair with many repeated stem sets, so buckets hold several entries.
        QString original;
        QString edited;
        const QStringList words{u"a"_qs, u"b"_qs, u"c"_qs, u"d"_qs, u"e"_qs, u"f"_qs};
        for (int i = 0; i < 60; ++i) {
            QStringList s;
            for (int k = 0; k < 4 + i % 3; ++k)
                s.append(words.at((i * 7 + k * (i % 5 + 1)) % words.size()));
            original += s.join(u' ') + QStringLiteral(". ");
            std::rotate(s.begin(), s.begin() + (i % s.size()), s.end());
            edited += s.join(u' ') + (i % 4 == 0 ? QStringLiteral("! ") : QStringLiteral(". "));
        }
        const CStemDictionary dictionary(original, m_options, m_stemmer);
        PhraseMatchList fast;
        FindSimilarPhrases(fast, dictionary, original, edited, m_options, m_stemmer);
        QVERIFY(fast.size() > 60);
        QCOMPARE(fast, NestedScan(dictionary, original, edited, m_options, m_stemmer));
    }
};

QTEST_GUILESS_MAIN(TestFindSimilarPhrases)
#include "tst_findsimilarphrases.moc"
