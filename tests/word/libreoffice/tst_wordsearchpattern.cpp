#include "word/libreoffice/WordSearchPattern.h"

#include <QRegularExpression>
#include <QTest>

class TestWordSearchPattern : public QObject
{
    Q_OBJECT

private slots:
    void findsFilteredTextInDocument_data()
    {
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<QString>("document");
        QTest::addColumn<bool>("found");
        const QString phrase = QStringLiteral(u"Писатель обретает форму-и-цвет");
        QTest::newRow("same") << phrase << phrase << true;
        QTest::newRow("no-break space") << phrase << QStringLiteral(u"Писатель\u00A0обретает форму-и-цвет") << true;
        QTest::newRow("narrow no-break") << phrase << QStringLiteral(u"Писатель\u202Fобретает форму-и-цвет") << true;
        QTest::newRow("tab") << phrase << QStringLiteral(u"Писатель\tобретает форму-и-цвет") << true;
        QTest::newRow("line break") << phrase << QStringLiteral(u"Писатель\nобретает форму-и-цвет") << true;
        QTest::newRow("two spaces") << phrase << QStringLiteral(u"Писатель  обретает форму-и-цвет") << true;
        QTest::newRow("non-breaking hyphen")
            << phrase << QStringLiteral(u"Писатель обретает форму\u2011и-цвет") << true;
        QTest::newRow("soft hyphen in phrase")
            << QStringLiteral(u"обре\u00ADтает") << QStringLiteral(u"обретает") << true;
        QTest::newRow("other word") << phrase << QStringLiteral(u"Писатель теряет форму-и-цвет") << false;
        QTest::newRow("missing space") << phrase << QStringLiteral(u"Писательобретает форму-и-цвет") << false;
        QTest::newRow("specials literal")
            << QStringLiteral(u"a.b (c)+[d]* $e^ {f}? |g\\") << QStringLiteral(u"a.b (c)+[d]* $e^ {f}? |g\\") << true;
        QTest::newRow("dot is not any") << QStringLiteral(u"a.b") << QStringLiteral(u"axb") << false;
    }

    void findsFilteredTextInDocument()
    {
        QFETCH(QString, phrase);
        QFETCH(QString, document);
        QFETCH(bool, found);
        const QRegularExpression expression(WordSearchPattern::Tolerant(phrase));
        QVERIFY2(expression.isValid(), qPrintable(expression.errorString()));
        QCOMPARE(expression.match(document).hasMatch(), found);
    }
};

QTEST_GUILESS_MAIN(TestWordSearchPattern)
#include "tst_wordsearchpattern.moc"
