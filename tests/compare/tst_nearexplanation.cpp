#include "NearTestText.h"
#include "compare/NearExplanation.h"
#include "compare/NearVerdict.h"

#include <QTest>

using FormChanges = QList<NearExplanation::FormChange>;
using Ranges = QList<NearExplanation::Range>;
Q_DECLARE_METATYPE(FormChanges)
Q_DECLARE_METATYPE(Ranges)

namespace {

NearExplanation explain(const QString& original, const QString& edited, double similarity = 0.8)
{
    NearTestText text;
    const QList<NearSentence> o = text.sentences(original);
    const QList<NearSentence> e = text.sentences(edited);
    return ExplainNear(o, e, similarity);
}

} // namespace

// What a near match kept and changed, and the verdict that tells the student.
class TestNearExplanation : public QObject
{
    Q_OBJECT

private slots:
    void words_data()
    {
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("edited");
        QTest::addColumn<QStringList>("removed");
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<FormChanges>("forms");
        QTest::addColumn<bool>("reordered");
        QTest::newRow("removed, added, forms")
            << u"Его дед был старым моряком и ходил в дальние плавания."_qs
            << u"Его дед был старый моряк и также ходил в долгие плавания."_qs << QStringList{u"дальние"_qs}
            << QStringList{u"также"_qs, u"долгие"_qs}
            << FormChanges{{u"старым"_qs, u"старый"_qs}, {u"моряком"_qs, u"моряк"_qs}} << false;
        QTest::newRow("letter case and ё are no change of form")
            << u"Ещё один Моряк пришёл."_qs << u"еще один моряк ПРИШЕЛ."_qs << QStringList{} << QStringList{}
            << FormChanges{} << false;
        QTest::newRow("a form kept somewhere is no change") << u"Моряк звал моряка."_qs << u"Моряка звал моряком."_qs
                                                            << QStringList{} << QStringList{} << FormChanges{} << false;
        QTest::newRow("order") << u"Капитан привёл корабль в гавань."_qs << u"В гавань капитан привёл корабль."_qs
                               << QStringList{} << QStringList{} << FormChanges{} << true;
        QTest::newRow("a repeated stem is listed once")
            << u"Море, море и снова море вокруг."_qs << u"Снова небо вокруг, небо."_qs
            << QStringList{u"Море"_qs, u"и"_qs} << QStringList{u"небо"_qs} << FormChanges{} << false;
        QTest::newRow("nothing in common")
            << u"Альфа бета."_qs << u"Гамма дельта."_qs << QStringList{u"Альфа"_qs, u"бета"_qs}
            << QStringList{u"Гамма"_qs, u"дельта"_qs} << FormChanges{} << false;
        QTest::newRow("empty edited") << u"Альфа бета."_qs << QString() << QStringList{u"Альфа"_qs, u"бета"_qs}
                                      << QStringList{} << FormChanges{} << false;
    }

    void words()
    {
        QFETCH(QString, original);
        QFETCH(QString, edited);
        QFETCH(QStringList, removed);
        QFETCH(QStringList, added);
        QFETCH(FormChanges, forms);
        QFETCH(bool, reordered);
        const NearExplanation explanation = explain(original, edited);
        QCOMPARE(explanation.removed, removed);
        QCOMPARE(explanation.added, added);
        QCOMPARE(explanation.changedForms, forms);
        QCOMPARE(explanation.reordered, reordered);
    }

    void sharedRanges_data()
    {
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("edited");
        QTest::addColumn<Ranges>("originalShared");
        QTest::addColumn<Ranges>("editedShared");
        QTest::addColumn<qint32>("originalCount");
        QTest::addColumn<qint32>("editedCount");
        QTest::newRow("one sentence each") << u"Моряк, старый друг"_qs << u"Старый моряк!"_qs
                                           << Ranges{{0, 0, 5}, {0, 7, 6}} << Ranges{{0, 0, 6}, {0, 7, 5}} << 1 << 1;
        QTest::newRow("split") << u"Маяк светил всю ночь"_qs << u"Маяк светил. Всю ночь."_qs
                               << Ranges{{0, 0, 4}, {0, 5, 6}, {0, 12, 3}, {0, 16, 4}}
                               << Ranges{{0, 0, 4}, {0, 5, 6}, {1, 1, 3}, {1, 5, 4}} << 1 << 2;
        QTest::newRow("joined") << u"Утром пришёл пароход. Привезли почту."_qs << u"Пароход привезли утром"_qs
                                << Ranges{{0, 0, 5}, {0, 13, 7}, {1, 1, 8}} << Ranges{{0, 0, 7}, {0, 8, 8}, {0, 17, 5}}
                                << 2 << 1;
        QTest::newRow("every occurrence")
            << u"море и море"_qs << u"море"_qs << Ranges{{0, 0, 4}, {0, 7, 4}} << Ranges{{0, 0, 4}} << 1 << 1;
    }

    void sharedRanges()
    {
        QFETCH(QString, original);
        QFETCH(QString, edited);
        QFETCH(Ranges, originalShared);
        QFETCH(Ranges, editedShared);
        QFETCH(qint32, originalCount);
        QFETCH(qint32, editedCount);
        const NearExplanation explanation = explain(original, edited, 1.0);
        QCOMPARE(explanation.originalShared, originalShared);
        QCOMPARE(explanation.editedShared, editedShared);
        QCOMPARE(explanation.originalCount, originalCount);
        QCOMPARE(explanation.editedCount, editedCount);
        QCOMPARE(explanation.similarity, 1.0);
    }

    void verdict_data()
    {
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("edited");
        QTest::addColumn<double>("similarity");
        QTest::addColumn<QString>("verdict");
        const QString advice = u" Замените больше слов или перестройте предложение."_qs;
        QTest::newRow("every part")
            << u"Мой дед был английский моряком."_qs << u"Мой дед также был моряк."_qs << 0.87
            << u"Совпадает 87% слов. Удалено: «английский». Добавлено: «также». Изменена форма: «моряком» → "
               u"«моряк»."_qs +
                   advice;
        QTest::newRow("nothing to name") << u"Мой дед был моряк."_qs << u"Мой дед был моряк!"_qs << 1.0
                                         << u"Совпадает 100% слов."_qs + advice;
        QTest::newRow("forms and order") << u"Старым моряком был дед."_qs << u"Дед был старый моряк."_qs << 0.9
                                         << u"Совпадает 90% слов. Изменены формы: «Старым» → «старый», «моряком» → "
                                            u"«моряк». Изменён порядок слов."_qs +
                                                advice;
        QTest::newRow("split") << u"Маяк светил всю ночь"_qs << u"Маяк светил. Всю ночь."_qs << 0.999
                               << u"Совпадает 99% слов. Предложение разделено на два."_qs + advice;
        QTest::newRow("joined") << u"Маяк светил. Всю ночь."_qs << u"Маяк светил всю ночь"_qs << 0.5
                                << u"Совпадает 50% слов. Два предложения объединены в одно."_qs + advice;
        QTest::newRow("long lists are cut")
            << u"а б в г д е ж з и к."_qs << u"а л м н о п р с т у ф х."_qs << 0.29
            << u"Совпадает 29% слов. Удалено: «б», «в», «г», «д», «е», «ж», «з», «и» и ещё 1. Добавлено: «л», "
               u"«м», «н», «о», «п», «р», «с», «т» и ещё 3."_qs +
                   advice;
    }

    void verdict()
    {
        QFETCH(QString, original);
        QFETCH(QString, edited);
        QFETCH(double, similarity);
        QFETCH(QString, verdict);
        QCOMPARE(NearVerdict(explain(original, edited, similarity)), verdict);
    }
};

QTEST_GUILESS_MAIN(TestNearExplanation)
#include "tst_nearexplanation.moc"
