// Lookups against the mhelper.dat the build compiled from the installed dictionaries.
#include "mhelper.h"

#include <QFile>
#include <QTest>

class TestMhelperData : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        const QString data = QStringLiteral(PARAFRIX_BIN_DIR "/mhelper.dat");
        QVERIFY2(QFile::exists(data), "the build makes mhelper.dat beside the programs");
        m_handle = OpenMorphology(QFile::encodeName(data).constData());
        QVERIFY(m_handle != 0);
        char out[100];
        int32_t size = 99;
        QCOMPARE(CalcStem(m_handle, "", out, &size), 1);
    }
    void cleanupTestCase() { CloseMorphology(m_handle); }

    // Every word of a row must get one stem, and rows that name the same group must
    // agree while different groups must not.
    void formsOfOneWordShareAStem_data()
    {
        QTest::addColumn<QStringList>("forms");
        QTest::addColumn<QString>("lemma");
        auto row = [](const char* name, const char16_t* forms, const char16_t* lemma) {
            QTest::newRow(name) << QString::fromUtf16(forms).split(u' ') << QString::fromUtf16(lemma);
        };
        row("noun, all cases", u"книга книги книге книгу книгой книгою книг книгам книгами книгах", u"книга");
        row("noun, masculine", u"стол стола столу столом столе столы столов столам столами столах", u"стол");
        row("noun, yo", u"ёлка ёлки елки ёлкой", u"елка");
        row("noun, fleeting vowel", u"день дня дню дни дней дням днями днях", u"день");
        row("noun, fleeting vowel listed apart", u"образец образца образцы образцов образцом", u"образец");
        row("verb, tenses", u"читать читаю читаешь читает читаем читаете читают читал читала читали читай", u"читать");
        row("verb, participles and gerund", u"читающий читающего читавший читаемый читая читающие читавшими",
            u"читать");
        row("perfective, past participle", u"прочитать прочитал прочитанный прочитанная прочитан прочитав",
            u"прочитать");
        row("reflexive verb", u"учиться учусь учится учились учась учащийся", u"учиться");
        row("adjective, cases and short forms",
            u"красивый красивого красивому красивым красивом красивая красивую красивые красивых красив красива",
            u"красивый");
        row("adverb and comparative", u"красиво красивее", u"красиво");
        row("suppletive noun", u"человек человека людей люди людьми", u"человек");
        row("suppletive verb", u"идти иду идёт шёл шла шли", u"идти");
        row("suppletive comparative", u"хорошо лучше", u"хорошо");
        row("suppletive superlative", u"хороший хорошего лучший лучшего", u"хороший");
        row("past tense listed as an entry", u"мочь мог могла могли", u"мочь");
        row("past tense of a -ти verb", u"нести нес нёс несла", u"нести");
        row("future tense listed as entries", u"взять возьму возьмёт возьмут взял", u"взять");
        row("prefixed present stem", u"понять пойму поймёт поняли", u"понять");
        row("present stem of -йти", u"найти найду найдёт нашёл нашли", u"найти");
        row("pronoun", u"он его ему него нему", u"он");
        row("plural of another stem", u"друг друга друзья друзей друзьям", u"друг");
        row("plural entry beside its singular", u"весна весны весной", u"весна");
        row("gerund listed without flags", u"сидеть сидя сидел", u"сидеть");
        row("noun in -ть is no verb", u"гость гостя гости гостей", u"гость");
        row("proper noun", u"москва москвы москве москвой", u"москва");
        row("hyphen, particle", u"какой-то какого-то какими-то", u"какой-то");
        row("hyphen, compound", u"северо-западный северо-западного северо-западными", u"северо-западный");
        row("hyphen, adverb", u"по-русски", u"по-русски");
        row("english plural", u"table tables", u"table");
        row("english tenses", u"walk walks walked walking", u"walk");
        row("english irregular", u"go goes went gone", u"go");
        row("english adjective", u"happy happier happiest", u"happy");
    }
    void formsOfOneWordShareAStem()
    {
        QFETCH(QStringList, forms);
        QFETCH(QString, lemma);
        for (const QString& form : forms)
            QCOMPARE(stem(form), lemma);
    }

    void differentWordsStayApart_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        auto row = [](const char* name, const char16_t* a, const char16_t* b) {
            QTest::newRow(name) << QString::fromUtf16(a) << QString::fromUtf16(b);
        };
        row("aspect pair", u"читать", u"прочитать");
        row("adjective and adverb", u"красивый", u"красиво");
        row("reflexive", u"учить", u"учиться");
        row("noun and verb", u"сталь", u"стать");
        row("adverb near a noun", u"стол", u"столь");
        row("english", u"table", u"tablet");
    }
    void differentWordsStayApart()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QVERIFY(stem(a) != stem(b));
    }

    void unknownWordsUseSuffixRules_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        auto row = [](const char* name, const char16_t* a, const char16_t* b) {
            QTest::newRow(name) << QString::fromUtf16(a) << QString::fromUtf16(b);
        };
        row("made-up russian noun", u"гравицапами", u"гравицапы");
        row("made-up russian verb", u"выфлюмкнули", u"выфлюмкнул");
        row("made-up english", u"blorfing", u"blorfs");
    }
    void unknownWordsUseSuffixRules()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QCOMPARE(stem(a), stem(b));
        QVERIFY(stem(a).size() < a.size());
    }

    void otherScriptsComeBackLowerCased()
    {
        QCOMPARE(stem(QStringLiteral(u"東京")), QStringLiteral(u"東京"));
        QCOMPARE(stem(QStringLiteral(u"12345")), QStringLiteral(u"12345"));
    }

private:
    QString stem(const QString& word)
    {
        char out[100];
        int32_t size = 99;
        CalcStem(m_handle, word.toUtf8().constData(), out, &size);
        return QString::fromUtf8(out);
    }
    uint32_t m_handle = 0;
};

QTEST_GUILESS_MAIN(TestMhelperData)
#include "tst_mhelperdata.moc"
