#include "extract/CDocToText.h"
#include "extract/FilterLoader.h"
#include "extract/PdfReader.h"

#include <QFile>
#include <QTest>

// A build without a PDF reader recognises PDF and refuses it with a reason.
class TestPdfUnsupported : public QObject
{
    Q_OBJECT

private slots:
    void refusedWithReason_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("real") << [] {
            QFile file(QStringLiteral(PARAFRIX_TEST_DATA_DIR "/features.pdf"));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        QTest::newRow("header only") << QByteArray("%PDF-1.7\n");
        QTest::newRow("empty") << QByteArray();
    }

    void refusedWithReason()
    {
        QFETCH(QByteArray, bytes);
        const ParsedDocument document = PdfReader::Read(bytes);
        QVERIFY(document.stories.isEmpty());
        QCOMPARE(document.error, ExtractError::UnknownFormat);
        QVERIFY(document.detail.contains(QStringLiteral(u"PDF")));
    }

    void loaderPassesReasonOn()
    {
        QFile file(QStringLiteral(PARAFRIX_TEST_DATA_DIR "/features.pdf"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        std::unique_ptr<IFilter> filter;
        const FilterLoadResult result = FilterLoader::LoadBytes(file.readAll(), QStringLiteral(u"эссе.pdf"), filter);
        QVERIFY(!filter);
        QCOMPARE(result.error, ExtractError::UnknownFormat);
        QVERIFY(result.detail.contains(QStringLiteral(u"не читается")));
    }
};

QTEST_GUILESS_MAIN(TestPdfUnsupported)
#include "tst_pdfunsupported.moc"
