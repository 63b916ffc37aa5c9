#include "FakeStemmer.h"
#include "check/CheckOptions.h"
#include "compare/ExplainMatch.h"
#include "phrases/CStemDictionary.h"
#include "phrases/TextWords.h"

#include <QTest>

// Verdicts for every shape: identical, order, added, removed, nothing found.
class TestExplainMatch : public QObject
{
    Q_OBJECT

    CheckOptions m_options;
    FakeStemmer m_stemmer;

    static QString added(const QString& list) { return Verdict::addedHead() + list + Verdict::addedTail(); }
    static QString removed(const QString& list) { return Verdict::removedHead() + list + Verdict::removedTail(); }

    // The verdict as a Check's report takes it: from both sentences split once, with a
    // dictionary built on the same forms.
    QString fromWords(const QString& dictionaryText, const QString& original, const QString& edited)
    {
        auto forms = std::make_shared<WordForms>(m_stemmer);
        const CStemDictionary dictionary(TextWords(dictionaryText, m_options, *forms), forms);
        const TextWords a(original, m_options, *forms);
        const TextWords b(edited, m_options, *forms);
        return AnalyseMatch(a.forms(0), b.forms(0), original == edited, dictionary, *forms).text();
    }

private slots:
    void init()
    {
        m_options = CheckOptions();
        m_stemmer.set({});
    }

    void texts()
    {
        QVERIFY(!Verdict::identical().endsWith(u'\n'));
        QVERIFY(!Verdict::nothingFound().endsWith(u'\n'));
        QVERIFY(Verdict::order().endsWith(u'\n'));
        // The Latin c in "cуществующих" is part of the text the users know.
        const QString nothing = Verdict::nothingFound();
        const qsizetype at = nothing.indexOf(QStringLiteral(u"уществующих"));
        QVERIFY(at > 0);
        QCOMPARE(nothing.at(at - 1), QChar(u'c'));
        QVERIFY(nothing.startsWith(QStringLiteral(u"Следует удалить либо добавить")));
        QVERIFY(!nothing.contains(QChar(u'\uFFFD')));
    }

    void verdicts_data()
    {
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("edited");
        QTest::addColumn<QString>("expected");
        const QString order = Verdict::order();
        QTest::newRow("identical") << u"a b c d"_qs << u"a b c d"_qs << Verdict::identical();
        QTest::newRow("case only") << u"a b c d"_qs << u"A b C d"_qs << Verdict::nothingFound();
        QTest::newRow("delimiters only") << u"a b c d"_qs << u"a, b - c  d"_qs << Verdict::nothingFound();
        QTest::newRow("swap") << u"a b c d"_qs << u"b a c d"_qs << order;
        QTest::newRow("repeat in front") << u"a b c d"_qs << u"a a b c d"_qs << order + added(u"'a'"_qs);
        QTest::newRow("repeat at end") << u"a b c d"_qs << u"a b c d a"_qs << added(u"'a'"_qs);
        QTest::newRow("drop repeat in front") << u"a a b c d"_qs << u"a b c d"_qs << order + removed(u"'a'"_qs);
        QTest::newRow("drop repeat at end") << u"a b c d d"_qs << u"a b c d"_qs << removed(u"'d'"_qs);
        QTest::newRow("three lines") << u"a a b c d"_qs << u"b b a c d"_qs
                                     << order + added(u"'b'"_qs) + removed(u"'a'"_qs);
        QTest::newRow("two added, ordinal order") << u"a b c d"_qs << u"a b c d b a"_qs << added(u"'a','b'"_qs);
        QTest::newRow("missing word") << u"a b c d"_qs << u"a b c"_qs << removed(u"'d'"_qs);
        QTest::newRow("extra new word never listed") << u"a b c d"_qs << u"a b c d e"_qs << Verdict::nothingFound();
        QTest::newRow("replaced by unknown") << u"a b c d"_qs << u"e b c d"_qs << order + removed(u"'a'"_qs);
    }
    void verdicts()
    {
        QFETCH(QString, original);
        QFETCH(QString, edited);
        QFETCH(QString, expected);
        const CStemDictionary dictionary(QStringLiteral("a b c d."), m_options, m_stemmer);
        QCOMPARE(ExplainMatch(original, edited, dictionary, m_options, m_stemmer), expected);
        QCOMPARE(fromWords(QStringLiteral("a b c d."), original, edited), expected);
    }

    void unknownWordsLookEqual()
    {
        // Neither "a" nor "e" is in this dictionary: both look up as -1, so no order change.
        const CStemDictionary dictionary(QStringLiteral("b c d x."), m_options, m_stemmer);
        QCOMPARE(ExplainMatch(u"a b c d"_qs, u"e b c d"_qs, dictionary, m_options, m_stemmer), removed(u"'a'"_qs));
    }

    void inflectionsOnly()
    {
        m_stemmer.set([](const QString& w) { return w.left(3); });
        const CStemDictionary dictionary(QStringLiteral(u"Студенты пишут длинные рефераты."), m_options, m_stemmer);
        QCOMPARE(ExplainMatch(u"Студенты пишут длинные рефераты"_qs, u"Студент пишет длинный реферат"_qs, dictionary,
                              m_options, m_stemmer),
                 Verdict::nothingFound());
    }

    void listsStemsNotWords()
    {
        m_stemmer.set([](const QString& w) { return w.left(3); });
        const CStemDictionary dictionary(QStringLiteral(u"Студенты пишут длинные рефераты."), m_options, m_stemmer);
        QCOMPARE(ExplainMatch(u"Студенты пишут длинные рефераты"_qs, u"Студенты пишут длинные рефераты реферат"_qs,
                              dictionary, m_options, m_stemmer),
                 added(u"'реф'"_qs));
    }

    void orderScanNormalisesStoredKeys()
    {
        // The order scan stems the stored keys once more. With a stemmer that keeps
        // shortening, stems of stems are not dictionary keys: both sides look up as
        // -1 and the swap goes unnoticed, while the counts still agree.
        m_stemmer.set([](const QString& w) { return w.size() > 2 ? w.chopped(1) : w; });
        const CStemDictionary dictionary(QStringLiteral("abcd efgh ijkl mnop."), m_options, m_stemmer);
        QCOMPARE(dictionary.Lookup(u"abc"_qs), 0);
        QCOMPARE(ExplainMatch(u"abcd efgh ijkl mnop"_qs, u"efgh abcd ijkl mnop"_qs, dictionary, m_options, m_stemmer),
                 Verdict::nothingFound());
        QCOMPARE(fromWords(u"abcd efgh ijkl mnop."_qs, u"abcd efgh ijkl mnop"_qs, u"efgh abcd ijkl mnop"_qs),
                 Verdict::nothingFound());
    }
};

QTEST_GUILESS_MAIN(TestExplainMatch)
#include "tst_explainmatch.moc"
