#include "FakeStemmer.h"
#include "check/CheckOptions.h"
#include "compare/PhraseFingerprint.h"
#include "phrases/CStemDictionary.h"

#include <QCryptographicHash>
#include <QTest>

// Fingerprints: the text hashed, the MD5 form, and when a sentence has none.
class TestFingerprint : public QObject
{
    Q_OBJECT

    CheckOptions m_options;
    FakeStemmer m_stemmer;

private slots:
    void init()
    {
        m_options = CheckOptions();
        m_stemmer.set({});
    }

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
        const CStemDictionary dictionary(original, m_options, m_stemmer);
        QCOMPARE(dictionary.Lookup(u"x"_qs), 23);
        m_options.MinWords = 1;
        const QByteArray first = PhraseFingerprint(dictionary, QStringLiteral("b c d"), m_options, m_stemmer);
        const QByteArray second = PhraseFingerprint(dictionary, QStringLiteral("b x"), m_options, m_stemmer);
        QVERIFY(!first.isEmpty());
        QVERIFY(!second.isEmpty());
        QVERIFY(first != second);
    }

    void md5OfText()
    {
        const CStemDictionary dictionary(QStringLiteral("a b c d e"), m_options, m_stemmer);
        const QByteArray fingerprint = PhraseFingerprint(dictionary, QStringLiteral("E D b A"), m_options, m_stemmer);
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
        const CStemDictionary dictionary(QStringLiteral("a b c d e"), m_options, m_stemmer);
        m_options.MinWords = minWords;
        QVERIFY(PhraseFingerprint(dictionary, sentence, m_options, m_stemmer).isEmpty());
    }

    void stopsAtFirstUnknownStem()
    {
        const CStemDictionary dictionary(QStringLiteral("a b c d e"), m_options, m_stemmer);
        int calls = 0;
        m_stemmer.set([&calls](const QString& w) {
            ++calls;
            return w;
        });
        QVERIFY(PhraseFingerprint(dictionary, QStringLiteral("a zzz b c d"), m_options, m_stemmer).isEmpty());
        QCOMPARE(calls, 2);
    }
};

QTEST_GUILESS_MAIN(TestFingerprint)
#include "tst_fingerprint.moc"
