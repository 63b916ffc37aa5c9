#include "NearTestText.h"
#include "compare/NearStemTable.h"

#include <QTest>

// Splitting sentences into words and numbering their stems across both documents.
class TestNearStemTable : public QObject
{
    Q_OBJECT

private slots:
    void words_data()
    {
        QTest::addColumn<QString>("sentence");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("plain") << u"Моряк вернулся домой"_qs << QStringList{u"Моряк"_qs, u"вернулся"_qs, u"домой"_qs};
        QTest::newRow("a dash is no word") << u"Шторм — начался"_qs << QStringList{u"Шторм"_qs, u"начался"_qs};
        QTest::newRow("symbols around a word") << u"Шторм… начался—"_qs << QStringList{u"Шторм"_qs, u"начался"_qs};
        QTest::newRow("symbols inside a word stay")
            << u"из-за «Волги»"_qs << QStringList{u"из"_qs, u"за"_qs, u"Волги"_qs};
        QTest::newRow("digits are delimiters") << u"в 1812 году"_qs << QStringList{u"в"_qs, u"году"_qs};
        QTest::newRow("nothing but symbols") << u"— … №"_qs << QStringList{};
        QTest::newRow("empty") << QString() << QStringList{};
    }

    void words()
    {
        QFETCH(QString, sentence);
        QFETCH(QStringList, words);
        NearTestText text;
        const NearSentence prepared = text.table().sentence(sentence, text.wordDelimiters());
        QCOMPARE(prepared.text, sentence);
        QStringList found;
        for (const NearSentence::Word& word : prepared.words)
            found.append(sentence.mid(word.start, word.length));
        QCOMPARE(found, words);
    }

    void stemsAreSharedAcrossSentences()
    {
        NearTestText text;
        const NearSentence a = text.table().sentence(u"Старый моряк рассказал"_qs, text.wordDelimiters());
        const NearSentence b = text.table().sentence(u"МОРЯКОМ был старым"_qs, text.wordDelimiters());
        QCOMPARE(a.words.at(0).stem, 0);
        QCOMPARE(a.words.at(1).stem, 1);
        QCOMPARE(a.words.at(2).stem, 2);
        QCOMPARE(b.words.at(0).stem, 1); // моряком -> моряк, whatever the case
        QCOMPARE(b.words.at(1).stem, 3); // был -> быть, new
        QCOMPARE(b.words.at(2).stem, 0); // старым -> старый
        QCOMPARE(text.table().size(), 4);
        QCOMPARE(text.table().NumberOf(u"быть"_qs), 3);
    }

    void eachWordIsStemmedOnce()
    {
        QStringList asked;
        NearStemTable table([&asked](const QString& word) {
            asked.append(word);
            return word;
        });
        const DelimiterSet spaces(u" ");
        table.sentence(u"Мама мыла раму мама Мама"_qs, spaces);
        table.sentence(u"раму мыла Мама"_qs, spaces);
        // Cached by the word as written: "Мама" and "мама" are two words with one stem.
        QCOMPARE(asked, (QStringList{u"мама"_qs, u"мыла"_qs, u"раму"_qs, u"мама"_qs}));
        QCOMPARE(table.size(), 3);
    }
};

QTEST_GUILESS_MAIN(TestNearStemTable)
#include "tst_nearstemtable.moc"
