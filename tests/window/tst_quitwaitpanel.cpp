#include "window/QuitWaitPanel.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;

Q_DECLARE_METATYPE(QuitStatus)

// The wait for the word processor's quit: when it ends, and what it reports.
class TestQuitWaitPanel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<QuitStatus>(); }

    void endsWithTheFirstAnswerThatIsNotDeciding_data()
    {
        QTest::addColumn<QList<QuitStatus>>("answers");
        QTest::addColumn<int>("pollsToEnd");
        QTest::addColumn<QuitStatus>("status");
        const QuitStatus deciding = QuitStatus::Deciding;
        QTest::newRow("quit at the first poll") << QList{QuitStatus::Quit} << 1 << QuitStatus::Quit;
        QTest::newRow("quit later") << QList{deciding, deciding, QuitStatus::Quit} << 3 << QuitStatus::Quit;
        QTest::newRow("refused later") << QList{deciding, QuitStatus::Refused} << 2 << QuitStatus::Refused;
        QTest::newRow("gone meanwhile") << QList{deciding, QuitStatus::NotRunning} << 2 << QuitStatus::NotRunning;
    }

    void endsWithTheFirstAnswerThatIsNotDeciding()
    {
        QFETCH(QList<QuitStatus>, answers);
        QFETCH(int, pollsToEnd);
        QFETCH(QuitStatus, status);
        QuitWaitPanel panel;
        QSignalSpy finished(&panel, &QuitWaitPanel::finished);
        int polls = 0;
        panel.Start([&] { return answers.value(polls++, QuitStatus::Deciding); });
        QVERIFY(panel.isWaiting());
        for (int i = 0; i < pollsToEnd + 2; ++i)
            panel.PollNow();
        QCOMPARE(polls, pollsToEnd);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first().at(0).value<QuitStatus>(), status);
        QCOMPARE(finished.first().at(1).toBool(), false);
        QVERIFY(!panel.isWaiting());
    }

    void stoppingReportsTheWaitGivenUp()
    {
        QuitWaitPanel panel;
        QSignalSpy finished(&panel, &QuitWaitPanel::finished);
        panel.Start([] { return QuitStatus::Deciding; });
        panel.show();
        QTest::mouseClick(panel.findChild<QPushButton*>(QStringLiteral("stopWaitingButton")), Qt::LeftButton);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first().at(0).value<QuitStatus>(), QuitStatus::Deciding);
        QCOMPARE(finished.first().at(1).toBool(), true);
        // Stopped once: nothing more is reported or asked.
        panel.StopWaiting();
        panel.PollNow();
        QCOMPARE(finished.size(), 1);
    }

    void waitIsBounded()
    {
        QuitWaitPanel panel;
        QSignalSpy finished(&panel, &QuitWaitPanel::finished);
        panel.setMaxWait(0ms);
        panel.Start([] { return QuitStatus::Deciding; });
        panel.PollNow();
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first().at(1).toBool(), true);
    }

    void pollsOnItsOwnUntilAnswered()
    {
        QuitWaitPanel panel;
        QSignalSpy finished(&panel, &QuitWaitPanel::finished);
        int polls = 0;
        panel.Start([&] { return ++polls < 3 ? QuitStatus::Deciding : QuitStatus::Quit; });
        QVERIFY(finished.wait());
        QCOMPARE(polls, 3);
    }

    void cancelEndsWithoutReport()
    {
        QuitWaitPanel panel;
        QSignalSpy finished(&panel, &QuitWaitPanel::finished);
        int polls = 0;
        panel.Start([&] {
            ++polls;
            return QuitStatus::Quit;
        });
        panel.Cancel();
        panel.PollNow();
        QTest::qWait(3 * QuitWaitPanel::PollIntervalMs);
        QCOMPARE(polls, 0);
        QCOMPARE(finished.size(), 0);
    }

    void saysWhatToDo()
    {
        QuitWaitPanel panel;
        const QString text = panel.findChild<QLabel*>(QStringLiteral("waitingLabel"))->text();
        QVERIFY(text.startsWith(QStringLiteral(u"Ждём ответа текстового процессора")));
        QCOMPARE(panel.stopButton()->text(), QStringLiteral(u"Не ждать"));
        QVERIFY(!panel.stopButton()->autoDefault());
    }
};

QTEST_MAIN(TestQuitWaitPanel)
#include "tst_quitwaitpanel.moc"
