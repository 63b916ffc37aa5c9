#include "word/AutomatedWordProcessor.h"
#include "word/LibreOfficeModule.h"
#include "word/NullWordProcessor.h"
#include "word/WordAutomation.h"
#include "word/WordProcessorFactory.h"

#include <QTemporaryDir>
#include <QTest>

class TestLibreOfficeModule : public QObject
{
    Q_OBJECT

private slots:
    void missingOfficeGivesNoAutomationAndAReason()
    {
        QTemporaryDir empty;
        LibreOfficeOptions options;
        options.programDir = empty.path();
        QVERIFY(!LibreOfficeModule::OfficeInstalled(options));
        QString error;
        QVERIFY(!LibreOfficeModule::Load(options, &error));
        QVERIFY(error.contains(empty.path()));
    }

    void factoryChoosesByWhatIsInstalled()
    {
        const std::unique_ptr<WordProcessor> processor = CreateWordProcessor();
        QVERIFY(processor);
        const bool officeReady = PARAFRIX_HAVE_LO_MODULE && LibreOfficeModule::OfficeInstalled(LibreOfficeOptions{});
        if (officeReady) {
            // Loading the module starts no office.
            QVERIFY(dynamic_cast<AutomatedWordProcessor*>(processor.get()));
            QVERIFY(static_cast<AutomatedWordProcessor*>(processor.get())->WordInstances().isEmpty());
        } else {
            QVERIFY(dynamic_cast<NullWordProcessor*>(processor.get()));
        }
    }

    void nullProcessorSpeaksOnlyWhenAPhraseIsShown()
    {
        NullWordProcessor processor;
        WordProcessor::Result result = processor.ShowPhraseInWord(QString(), QStringLiteral(u"/tmp/x.odt"));
        QVERIFY(result.ok);
        QVERIFY(result.message.isEmpty());
        result = processor.ShowPhraseInWord(QStringLiteral(u"Фраза"), QStringLiteral(u"/tmp/x.odt"));
        QVERIFY(!result.ok);
        QVERIFY(!result.message.isEmpty());
        QVERIFY(result.message.contains(QStringLiteral(u"LibreOffice")));
        QVERIFY(processor.UnsavedDocuments({QStringLiteral(u"/tmp/x.odt")}).isEmpty());
        QVERIFY(processor.SaveDocuments({QStringLiteral(u"/tmp/x.odt")}).ok);
        processor.QuitOwnWordInstances();

        // An office that is installed but cannot be driven: the reason, not the install advice.
        NullWordProcessor broken(QStringLiteral(u"модуль не найден"));
        result = broken.ShowPhraseInWord(QStringLiteral(u"Фраза"), QStringLiteral(u"/tmp/x.odt"));
        QVERIFY(!result.ok);
        QVERIFY(result.message.contains(QStringLiteral(u"модуль не найден")));
        QVERIFY(!result.message.contains(QStringLiteral(u"Установите")));
    }
};

QTEST_GUILESS_MAIN(TestLibreOfficeModule)
#include "tst_libreofficemodule.moc"
