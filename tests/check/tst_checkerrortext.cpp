#include "check/CheckCommand.h"
#include "check/CheckErrorText.h"

#include <QDir>
#include <QTest>

namespace {

ExtractResult failed(ExtractError error, const QString& detail = {})
{
    ExtractResult result;
    result.error = error;
    result.detail = detail;
    return result;
}

ExtractResult read(const QString& text)
{
    ExtractResult result;
    result.text = text;
    return result;
}

const QString kFirst = QStringLiteral(u"Механизм извлечения текста не работает.");

} // namespace

class TestCheckErrorText : public QObject
{
    Q_OBJECT

private slots:
    void windowsTextAsItStands();
    void readerReasons_data();
    void readerReasons();
    void emptyWhenBothRead();
    void captionIsError();
};

void TestCheckErrorText::windowsTextAsItStands()
{
    CheckOutcome outcome;
    outcome.original = failed(ExtractError::FileMissing);
    outcome.edited = read(QStringLiteral("x"));
    QCOMPARE(CheckErrorText(outcome, QStringLiteral("/a.doc"), QStringLiteral("/b.doc"),
                            CheckErrorStyle::IndexingServiceHint),
             QStringLiteral(u"Механизм извлечения текста не работает. Возможно не запущена Служба индексирования "
                            u"Windows."));
}

void TestCheckErrorText::readerReasons_data()
{
    QTest::addColumn<bool>("originalRead");
    QTest::addColumn<bool>("editedRead");
    QTest::addColumn<QString>("expected");
    const QString a = QDir::toNativeSeparators(QStringLiteral("/docs/a.doc"));
    const QString b = QDir::toNativeSeparators(QStringLiteral("/docs/b.docx"));
    // The reason leads; the general sentence is left to failures without one.
    QTest::newRow("original") << false << true << QStringLiteral(u"Не удалось прочитать «%1»: файл не найден.").arg(a);
    QTest::newRow("edited") << true << false
                            << QStringLiteral(u"Не удалось прочитать «%1»: документ защищён паролем (RC4).").arg(b);
    QTest::newRow("both") << false << false
                          << QStringLiteral(u"Не удалось прочитать «%1»: файл не найден.").arg(a) +
                                 QStringLiteral(u"\nНе удалось прочитать «%1»: документ защищён паролем (RC4).").arg(b);
}

void TestCheckErrorText::readerReasons()
{
    QFETCH(bool, originalRead);
    QFETCH(bool, editedRead);
    QFETCH(QString, expected);
    CheckOutcome outcome;
    outcome.original = originalRead ? read(QStringLiteral("x")) : failed(ExtractError::FileMissing);
    outcome.edited =
        editedRead ? read(QStringLiteral("y")) : failed(ExtractError::PasswordProtected, QStringLiteral("RC4"));
    QCOMPARE(CheckErrorText(outcome, QStringLiteral("/docs/a.doc"), QStringLiteral("/docs/b.docx"),
                            CheckErrorStyle::ReaderReasons),
             expected);
}

void TestCheckErrorText::emptyWhenBothRead()
{
    CheckOutcome outcome;
    outcome.original = read(QStringLiteral("x"));
    outcome.edited = read(QStringLiteral("y"));
    QVERIFY(CheckErrorText(outcome, {}, {}, CheckErrorStyle::ReaderReasons).isEmpty());
    QVERIFY(CheckErrorText(outcome, {}, {}, CheckErrorStyle::IndexingServiceHint).isEmpty());
    // An empty text without a reason: the general sentence, and the file named.
    outcome.edited = read(QString());
    const QString text = CheckErrorText(outcome, {}, QStringLiteral("/e.txt"), CheckErrorStyle::ReaderReasons);
    QVERIFY(text.startsWith(kFirst + QChar(u'\n')));
    QVERIFY(text.endsWith(QStringLiteral(u"e.txt»: в документе нет текста.")));
}

void TestCheckErrorText::captionIsError()
{
    QCOMPARE(CheckErrorCaption(), QStringLiteral(u"Ошибка"));
}

QTEST_GUILESS_MAIN(TestCheckErrorText)
#include "tst_checkerrortext.moc"
