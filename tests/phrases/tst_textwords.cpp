#include "FakeStemmer.h"
#include "phrases/CFrazes.h"
#include "phrases/SplitOptions.h"
#include "phrases/StringPool.h"
#include "phrases/TextOps.h"
#include "phrases/TextWords.h"

#include <QTest>

// The one split every search reads: the same sentences and words as the named
// operations, each distinct form stemmed once, strings numbered once.
class TestTextWords : public QObject
{
    Q_OBJECT

private slots:
    void poolNumbersFirstAppearances()
    {
        StringPool pool;
        QCOMPARE(pool.intern(u"кот"), 0);
        QCOMPARE(pool.intern(u"дом"), 1);
        QCOMPARE(pool.intern(u"кот"), 0);
        QCOMPARE(pool.intern(u""), 2);
        QCOMPARE(pool.find(u"дом"), 1);
        QCOMPARE(pool.find(u"до"), -1);
        // Through many regrowths every string keeps its number and its text.
        for (int i = 0; i < 5000; ++i)
            QCOMPARE(pool.intern(QString::number(i)), 3 + i);
        QCOMPARE(pool.find(u"4999"), 5002);
        QCOMPARE(pool.at(1), u"дом");
        QCOMPARE(pool.size(), 5003);
        // Parts of strings the pool holds, interned while its buffer grows.
        for (int i = 0; i < 5000; ++i) {
            const QString expected = QString::number(i).mid(1);
            const qint32 part = pool.intern(pool.at(3 + i).sliced(1));
            QCOMPARE(pool.at(part), expected);
        }
    }

    void splitsAsTheSentenceList_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("minWords");
        QTest::addColumn<QString>("sentenceDelimiters"); // null: the default sets
        QTest::addColumn<QString>("wordDelimiters");
        QTest::newRow("two sentences") << QStringLiteral("Мама мыла раму. Папа читал книгу вслух!") << 3 << QString()
                                       << QString();
        QTest::newRow("short dropped") << QStringLiteral("Один два. Три четыре пять.") << 3 << QString() << QString();
        QTest::newRow("line breaks") << QStringLiteral("раз два\r\nтри четыре пять\nшесть. семь") << 2 << QString()
                                     << QString();
        QTest::newRow("lone space and delimiters only") << QStringLiteral(" .!?... ,,") << 0 << QString() << QString();
        QTest::newRow("digits are no words")
            << QStringLiteral("в 1990 году было 3 кота. a b c") << 3 << QString() << QString();
        QTest::newRow("in both sets ends the sentence")
            << QStringLiteral(",a b;c d,e;f g h") << 0 << QStringLiteral(";") << QStringLiteral(" ;");
        QTest::newRow("no delimiters: one sentence, one word")
            << QStringLiteral(" Всё. одним куском ") << 0 << QStringLiteral("") << QStringLiteral("");
        QTest::newRow("no sentence delimiters") << QStringLiteral(" a b. c ") << 1 << QStringLiteral("") << QString();
        QTest::newRow("no word delimiters") << QStringLiteral("..ab c.d e..") << 1 << QString() << QStringLiteral("");
    }
    void splitsAsTheSentenceList()
    {
        QFETCH(QString, text);
        QFETCH(int, minWords);
        QFETCH(QString, sentenceDelimiters);
        QFETCH(QString, wordDelimiters);
        SplitOptions options;
        options.MinWords = minWords;
        if (!sentenceDelimiters.isNull())
            options.Delimiters1 = sentenceDelimiters;
        if (!wordDelimiters.isNull())
            options.Delimiters2 = wordDelimiters;
        FakeStemmer stemmer;
        WordForms forms(stemmer);
        const TextWords words(text, options, forms);
        const CFrazes phrases(NormalizeLineBreaks(text), options);
        QCOMPARE(words.size(), phrases.size());
        for (qsizetype i = 0; i < words.size(); ++i) {
            QCOMPARE(words.sentenceText(i), phrases.GetPhrase(quint32(i)));
            QStringList expected;
            SplitWords(phrases.GetPhrase(quint32(i)), expected, options);
            QStringList split;
            for (size_t k = 0; k < words.forms(i).size(); ++k) {
                const QStringView form = forms.form(words.forms(i)[k]);
                QCOMPARE(words.sentenceText(i).sliced(words.starts(i)[k], form.size()), form);
                split.append(form.toString());
            }
            QCOMPARE(split, expected);
        }
    }

    void stemsEachFormOnce()
    {
        QStringList asked;
        FakeStemmer stemmer([&asked](const QString& word) {
            asked.append(word);
            return word.left(3);
        });
        WordForms forms(stemmer);
        const TextWords original(QStringLiteral("Кошка кошки кошку кошка."), SplitOptions(), forms);
        const TextWords edited(QStringLiteral("кошки Кошка собака собака."), SplitOptions(), forms);
        for (const TextWords* text : {&original, &edited})
            for (const qint32 form : text->forms(0))
                forms.stemOf(form);
        // Кошка and кошка are two forms that lower-case alike: both are asked, each once.
        QCOMPARE(asked, (QStringList{u"кошка"_qs, u"кошки"_qs, u"кошку"_qs, u"кошка"_qs, u"собака"_qs}));
        QCOMPARE(forms.stemOf(edited.forms(0)[0]), forms.stemOf(original.forms(0)[2]));
        QCOMPARE(forms.stems().at(forms.stemOf(edited.forms(0)[2])), u"соб");
    }

    void trimsSymbolsAroundWords_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("trimmed");
        QTest::addColumn<int>("offset");
        QTest::newRow("plain") << QStringLiteral("слово") << QStringLiteral("слово") << 0;
        QTest::newRow("ellipsis") << QStringLiteral("начался…") << QStringLiteral("начался") << 0;
        QTest::newRow("quotes") << QStringLiteral("«Сверкатор»") << QStringLiteral("Сверкатор") << 1;
        QTest::newRow("dash alone") << QStringLiteral("—") << QString() << 0;
    }
    void trimsSymbolsAroundWords()
    {
        QFETCH(QString, word);
        QFETCH(QString, trimmed);
        QFETCH(int, offset);
        FakeStemmer stemmer;
        WordForms forms(stemmer);
        qint32 at = -1;
        const qint32 form = forms.trimmedOf(forms.add(word), at);
        if (trimmed.isEmpty()) {
            QCOMPARE(form, -1);
            return;
        }
        QCOMPARE(forms.form(form), trimmed);
        QCOMPARE(at, offset);
    }
};

QTEST_GUILESS_MAIN(TestTextWords)
#include "tst_textwords.moc"
