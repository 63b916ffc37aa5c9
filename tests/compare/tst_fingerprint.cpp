#include "TestSettings.h"
#include "compare/PhraseFingerprint.h"
#include "phrases/CStemDictionary.h"

#include <QCryptographicHash>
#include <QTest>

// Fingerprints: the text hashed, the MD5 form, and when a sentence has none.
class TestFingerprint : public QObject
{
    Q_OBJECT

    TestSettings m_settings;

private slots:
    void init() { TestSettings::reset(); }

    void fingerprintText_data()
    {
        QTest::addColumn<QList<qint32>>("numbers");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("sorted, deduplicated") << QList<qint32>{10, 0, 2, 10} << QByteArray("0,2,10");
        QTest::newRow("single zero") << QList<qint32>{0} << QByteArray("0");
        QTest::newRow("empty") << QList<qint32>{} << QByteArray();
    }
    void fingerprintText()
    {
        QFETCH(QList<qint32>, numbers);
        QFETCH(QByteArray, expected);
        QCOMPARE(FingerprintText(numbers), expected);
    }

    void separatorKeepsSetsApart()
    {
        // Joined without a separator both sets would read "123".
        QVERIFY(FingerprintText({1, 2, 3}) != FingerprintText({1, 23}));
        QVERIFY(FingerprintText({1, 23}) != FingerprintText({12, 3}));
    }

    void collidingSetsDoNotMatch()
    {
        // Stems a..w get numbers 0..22 in order; then x=23. Words numbered 1,2,3 vs 1,23.
        QString original;
        for (char16_t c = u'a'; c <= u'x'; ++c)
            original += QString(QChar(c)) + QChar(u' ');
        const CStemDictionary dictionary(original);
        QCOMPARE(dictionary.Lookup(u"x"_qs), 23);
        AppSettings::Instance().MinWords = 1;
        const QByteArray first = PhraseFingerprint(dictionary, QStringLiteral("b c d"));
        const QByteArray second = PhraseFingerprint(dictionary, QStringLiteral("b x"));
        QVERIFY(!first.isEmpty());
        QVERIFY(!second.isEmpty());
        QVERIFY(first != second);
    }

    void md5OfText()
    {
        const CStemDictionary dictionary(QStringLiteral("a b c d e"));
        const QByteArray fingerprint = PhraseFingerprint(dictionary, QStringLiteral("E D b A"));
        QCOMPARE(fingerprint.size(), 32);
        QCOMPARE(fingerprint, QCryptographicHash::hash("0,1,3,4", QCryptographicHash::Md5).toHex());
        QCOMPARE(fingerprint, fingerprint.toLower());
    }

    void noFingerprint_data()
    {
        QTest::addColumn<QString>("sentence");
        QTest::addColumn<int>("minWords");
        QTest::newRow("exactly min words") << QStringLiteral("a b c") << 3;
        QTest::newRow("unknown stem") << QStringLiteral("a b c zzz") << 3;
        QTest::newRow("unknown stem first") << QStringLiteral("zzz a b c") << 3;
        QTest::newRow("empty") << QString() << 0;
    }
    void noFingerprint()
    {
        QFETCH(QString, sentence);
        QFETCH(int, minWords);
        const CStemDictionary dictionary(QStringLiteral("a b c d e"));
        AppSettings::Instance().MinWords = minWords;
        QVERIFY(PhraseFingerprint(dictionary, sentence).isEmpty());
    }

    void stopsAtFirstUnknownStem()
    {
        const CStemDictionary dictionary(QStringLiteral("a b c d e"));
        int calls = 0;
        MorphologyLibrary::SetTestStemmer([&calls](const QString& w) {
            ++calls;
            return w;
        });
        QVERIFY(PhraseFingerprint(dictionary, QStringLiteral("a zzz b c d")).isEmpty());
        QCOMPARE(calls, 2);
    }
};

QTEST_GUILESS_MAIN(TestFingerprint)
#include "tst_fingerprint.moc"
