#include "check/CheckOptions.h"
#include "check/TextReading.h"
#include "morph/Stemmer.h"
#include "phrases/TextWords.h"

#include <QTest>

// The reading of a document before the Check: honest texts stay as they are and carry
// no warning; each disguise is seen through and counted, and read sentences map back
// to the text as written.
class TestTextReading : public QObject
{
    Q_OBJECT

    // "kind:count" per finding, in order.
    static QString summary(const TextReading& reading)
    {
        QStringList parts;
        for (const TrickFinding& finding : reading.findings())
            parts << TrickKindName(finding.kind) + QChar(u':') + QString::number(finding.count);
        return parts.join(QChar(u' '));
    }

private slots:
    void reading_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<qsizetype>("hiddenStart"); // -1: no hidden run
        QTest::addColumn<qsizetype>("hiddenLength");
        QTest::addColumn<QString>("extraWordDelimiters");
        QTest::addColumn<QString>("read"); // empty: untouched
        QTest::addColumn<QString>("findings");

        // Honest texts: nothing changes, nothing is flagged.
        QTest::newRow("latin terms") << u"Запрос SQL к Wi-Fi с iPhone, e-mail, XIX век, H2O и https://site.ru/a?b=1."_qs
                                     << qsizetype(-1) << qsizetype(0) << QString() << QString() << QString();
        QTest::newRow("greek in formulas") << u"α-частица летит, а число π равно трём."_qs << qsizetype(-1)
                                           << qsizetype(0) << QString() << QString() << QString();
        QTest::newRow("latin variables") << u"где x и y — координаты, витамин C и D"_qs << qsizetype(-1) << qsizetype(0)
                                         << QString() << QString() << QString();
        QTest::newRow("brand really mixed")
            << u"Сервис Яndex растёт."_qs << qsizetype(-1) << qsizetype(0) << QString() << QString() << QString();
        QTest::newRow("ukrainian, belarusian, kazakh")
            << u"Київ, ґанок, їжак, ўсё, Қазақстан әлемі, Ёлка"_qs << qsizetype(-1) << qsizetype(0) << QString()
            << QString() << QString();
        QTest::newRow("typographic no-break spaces")
            << u"Весом 5\u00A0кг за 10\u202F000 рублей в\u00A0доме Пушкина\u00A0А. С. — поэт\u2009— да"_qs
            << qsizetype(-1) << qsizetype(0) << QString()
            << u"Весом 5 кг за 10 000 рублей в доме Пушкина А. С. — поэт — да"_qs << QString();
        QTest::newRow("hyphenation") << u"Чте\u00ADние кни\u00ADги ин\u00ADфор\u00ADма\u00ADция"_qs << qsizetype(-1)
                                     << qsizetype(0) << QString() << u"Чтение книги информация"_qs << QString();
        QTest::newRow("stress marks") << u"За\u0301мок и замо\u0300к, и\u0306од и е\u0308ж"_qs << qsizetype(-1)
                                      << qsizetype(0) << QString() << u"Замок и замок, йод и ёж"_qs << QString();
        QTest::newRow("break chance in an address")
            << u"См. https://site.ru/\u200Bpage и далее"_qs << qsizetype(-1) << qsizetype(0) << QString()
            << u"См. https://site.ru/page и далее"_qs << QString();
        QTest::newRow("byte order mark") << u"\uFEFFТекст"_qs << qsizetype(-1) << qsizetype(0) << QString()
                                         << u"Текст"_qs << QString();

        // Disguises: seen through and counted.
        QTest::newRow("latin look-alikes") << u"Этo пpимер тekстa. Ещё"_qs << qsizetype(-1) << qsizetype(0) << QString()
                                           << u"Это пример текста. Ещё"_qs << u"mixed_letters:3"_qs;
        QTest::newRow("look-alike words between cyrillic")
            << u"Oн пришёл c другом, a B доме cyxo"_qs << qsizetype(-1) << qsizetype(0) << QString()
            << u"Он пришёл с другом, а В доме сухо"_qs << u"mixed_letters:5"_qs;
        QTest::newRow("greek look-alikes") << u"Κнига ο жизни, ρассказ"_qs << qsizetype(-1) << qsizetype(0) << QString()
                                           << u"Книга о жизни, рассказ"_qs << u"mixed_letters:3"_qs;
        QTest::newRow("invisible characters")
            << u"Сло\u200Bво и кни\u200Dга\u2060 тут"_qs << qsizetype(-1) << qsizetype(0) << QString()
            << u"Слово и книга тут"_qs << u"invisible:2"_qs;
        QTest::newRow("planted soft hyphens") << u"Ро\u00ADль чте\u00ADние"_qs << qsizetype(-1) << qsizetype(0)
                                              << QString() << u"Роль чтение"_qs << u"invisible:2"_qs;
        QTest::newRow("braille blanks") << u"Роль\u2800чтения\u2800в\u2800жизни"_qs << qsizetype(-1) << qsizetype(0)
                                        << QString() << u"Роль чтения в жизни"_qs << u"odd_spaces:3"_qs;
        QTest::newRow("no-break spaces everywhere")
            << u"Роль\u00A0чтения\u00A0в\u00A0жизни\u00A0человека"_qs << qsizetype(-1) << qsizetype(0) << QString()
            << u"Роль чтения в жизни человека"_qs << u"odd_spaces:2"_qs;
        QTest::newRow("hidden run") << u"Первое скрытое слово второе"_qs << qsizetype(7) << qsizetype(14) << QString()
                                    << u"Первое второе"_qs << u"hidden_text:2"_qs;
        QTest::newRow("line breaks read as the search reads them")
            << u"Этo\r\nпример\nтекст"_qs << qsizetype(-1) << qsizetype(0) << QString() << u"Это.примертекст"_qs
            << u"mixed_letters:1"_qs;
        QTest::newRow("all together") << u"Пpимер\u2800сло\u200Bва скрыт"_qs << qsizetype(13) << qsizetype(6)
                                      << QString() << u"Пример слова"_qs
                                      << u"mixed_letters:1 invisible:1 odd_spaces:1 hidden_text:1"_qs;

        // A blank the settings make a word delimiter stays one.
        QTest::newRow("delimiter kept") << u"Роль\u2800чтения"_qs << qsizetype(-1) << qsizetype(0) << u"\u2800"_qs
                                        << QString() << QString();
    }
    void reading()
    {
        QFETCH(QString, written);
        QFETCH(qsizetype, hiddenStart);
        QFETCH(qsizetype, hiddenLength);
        QFETCH(QString, extraWordDelimiters);
        QFETCH(QString, read);
        QFETCH(QString, findings);
        CheckOptions options;
        options.Delimiters2 += extraWordDelimiters;
        QList<HiddenSpan> hidden;
        if (hiddenStart >= 0)
            hidden.append({hiddenStart, hiddenLength});
        const TextReading reading(written, hidden, options);
        QCOMPARE(reading.untouched(), read.isEmpty());
        QCOMPARE(reading.text(), read.isEmpty() ? written : read);
        if (read.isEmpty())
            QVERIFY(reading.text().constData() == written.constData()); // not even copied
        QCOMPARE(summary(reading), findings);
    }

    // Texts long enough to be scanned a block at a time: one odd character anywhere,
    // at a block's edge or in the short tail, is still seen.
    void oddCharacterAnywhere_data()
    {
        QTest::addColumn<qsizetype>("at");
        QTest::addColumn<QChar>("odd");
        QTest::addColumn<QString>("findings");
        for (const qsizetype at : {0, 31, 32, 63, 64, 150, 199})
            QTest::addRow("latin o at %d", int(at)) << at << QChar(u'o') << u"mixed_letters:1"_qs;
        QTest::newRow("cyrillic past U+04FF") << qsizetype(40) << QChar(0x0501) << QString();
        QTest::newRow("invisible in the tail") << qsizetype(197) << QChar(0x200B) << u"invisible:1"_qs;
    }

    void oddCharacterAnywhere()
    {
        QFETCH(qsizetype, at);
        QFETCH(QChar, odd);
        QFETCH(QString, findings);
        QString written;
        for (qsizetype i = 0; i < 200; ++i)
            written += i % 6 == 5 ? QChar(u' ') : QChar(u'о');
        written[at] = odd;
        const TextReading reading(written, {}, CheckOptions());
        QCOMPARE(summary(reading), findings);
        QCOMPARE(reading.untouched(), findings.isEmpty());
    }

    void samplesAreWordsAsWritten()
    {
        const QString written = u"Этo oчень и oчень пpимер. Ещё тут"_qs;
        const TextReading reading(written, {}, CheckOptions());
        QCOMPARE(reading.findings().size(), 1);
        QCOMPARE(reading.findings().at(0).samples, (QStringList{u"Этo"_qs, u"oчень"_qs, u"пpимер"_qs}));
        QCOMPARE(reading.findings().at(0).count, 4);
    }

    void sentencesMapBackToTheText()
    {
        CheckOptions options;
        const QString written = u"Первое предложение тут.\r\nВтopoe\u200B пред\u2800ложение\nздесь скрыто есть."_qs;
        const qsizetype hiddenAt = written.indexOf(u"скрыто"_qs);
        TextReading reading(written, {{hiddenAt, 7}}, options);
        QCOMPARE(reading.text(), u"Первое предложение тут..Второе пред ложениездесь есть."_qs);
        LowerCaseStemmer stemmer;
        WordForms forms(stemmer);
        reading.IndexSentences(TextWords(reading.text(), options, forms));
        const WrittenSentence sentence = reading.Written(u"Второе пред ложениездесь есть"_qs);
        QCOMPARE(sentence.text, u"Втopoe\u200B пред\u2800ложениездесь скрыто есть"_qs);
        QStringList marked;
        for (const TrickMark& mark : sentence.marks)
            marked << TrickKindName(mark.kind) + QChar(u'=') + sentence.text.mid(mark.start, mark.length);
        QCOMPARE(marked, (QStringList{u"mixed_letters=opoe"_qs, u"invisible=\u200B"_qs, u"odd_spaces=\u2800"_qs,
                                      u"hidden_text=скрыто "_qs}));
        // "ложениездесь" in the read sentence is the word after the braille blank.
        const qsizetype word = u"Второе пред "_qs.size();
        QCOMPARE(sentence.text.mid(sentence.WrittenOffset(word), 12), u"ложениездесь"_qs);
        // A sentence the text does not hold comes back as it is.
        QCOMPARE(reading.Written(u"Нет такого"_qs).text, u"Нет такого"_qs);
    }
};

QTEST_APPLESS_MAIN(TestTextReading)
#include "tst_textreading.moc"
