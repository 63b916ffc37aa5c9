#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// parafrix-check as a user runs it: output, JSON, exit codes, overrides, bad input.
class TestCheckCli : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    struct Run
    {
        int status = -1;
        QString out;
        QString err;
    };

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        file.write(bytes);
        return path;
    }

    QString configHome() const { return m_dir.filePath(QStringLiteral("config")); }

    Run run(const QStringList& arguments)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome());
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(PARAFRIX_BIN_DIR "/parafrix-check"), arguments);
        if (!process.waitForFinished(120000))
            qFatal("parafrix-check did not finish");
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
    }

    QString original()
    {
        return write(
            QStringLiteral("original.txt"),
            QByteArrayLiteral(
                "Кошка ловила мышь в старом амбаре.\r\nСобака громко лаяла на почтальона у калитки.\r\nКороче.\r\n"));
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void init() { QDir(configHome()).removeRecursively(); }

    void reportsMatchesAsText()
    {
        const QString edited =
            write(QStringLiteral("edited.txt"),
                  "Кошка ловила мышь в старом амбаре.\nНа почтальона у калитки громко лаяла собака!\n");
        const Run r = run({original(), edited});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.out.contains(QStringLiteral(u"Совпадение #1\n")), qPrintable(r.out));
        QVERIFY(r.out.contains(QStringLiteral(u"Совпадение #2\n")));
        QVERIFY(!r.out.contains(QStringLiteral(u"Совпадение #3")));
        QVERIFY(r.out.contains(QStringLiteral(u"Фразы одинаковые, следует что-нибудь поменять")));
        QVERIFY(r.out.contains(QStringLiteral(u"В предложении был изменен порядок слов.")));
        QVERIFY(r.out.contains(QStringLiteral(u"Найдено совпадений: 2.")));
        QVERIFY(r.err.isEmpty());
    }

    void reportsMatchesAsJson()
    {
        const QString edited =
            write(QStringLiteral("edited.txt"),
                  "Кошка ловила мышь в старом амбаре. Совсем другое предложение про погоду сегодня.");
        const Run r = run({QStringLiteral("--json"), original(), edited});
        QCOMPARE(r.status, 1);
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(r.out.toUtf8(), &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        const QJsonArray matches = doc.object().value(QStringLiteral("matches")).toArray();
        QCOMPARE(matches.size(), 1);
        const QJsonObject match = matches.at(0).toObject();
        QCOMPARE(match.value(QStringLiteral("original")).toString(),
                 QStringLiteral(u"Кошка ловила мышь в старом амбаре"));
        QCOMPARE(match.value(QStringLiteral("edited")).toString(),
                 QStringLiteral(u"Кошка ловила мышь в старом амбаре"));
        QCOMPARE(match.value(QStringLiteral("verdict")).toString(),
                 QStringLiteral(u"Фразы одинаковые, следует что-нибудь поменять"));
    }

    void noMatchExitsZero()
    {
        const QString edited = write(QStringLiteral("edited.txt"), "Совсем другое предложение про погоду сегодня.");
        const Run jsonRun = run({QStringLiteral("--json"), original(), edited});
        QCOMPARE(jsonRun.status, 0);
        QCOMPARE(
            QJsonDocument::fromJson(jsonRun.out.toUtf8()).object().value(QStringLiteral("matches")).toArray().size(),
            0);
        const Run textRun = run({original(), edited});
        QCOMPARE(textRun.status, 0);
        QVERIFY(textRun.out.contains(QStringLiteral(u"Совпадений нет")));
    }

    void overrides_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::newRow("min words 7 drops the six-word sentence") << QStringList{u"--min-words"_qs, u"7"_qs} << 0;
        QTest::newRow("min words 5 keeps it") << QStringList{u"--min-words"_qs, u"5"_qs} << 1;
        QTest::newRow("semicolon ends sentences only") << QStringList{u"--sentence-delimiters"_qs, u";"_qs} << 0;
        QTest::newRow("tab escape in word delimiters") << QStringList{u"--word-delimiters"_qs, u" \\t\\\\"_qs} << 1;
        QTest::newRow("without the tab the tabbed words are unknown")
            << QStringList{u"--word-delimiters"_qs, u" "_qs} << 0;
    }
    void overrides()
    {
        QFETCH(QStringList, options);
        QFETCH(int, status);
        const QString text = write(QStringLiteral("same.txt"), "Кошка ловила мышь в старом амбаре.");
        const QString edited = write(QStringLiteral("edited2.txt"), "Кошка\tловила\tмышь в старом амбаре!");
        const Run r = run(options + QStringList{text, edited});
        QCOMPARE(r.status, status);
        // Overrides are for this run only: nothing is written to the user's settings.
        QVERIFY(!QFile::exists(configHome() + QStringLiteral("/Parafrix/Parafrix.conf")));
    }

    void storedSettingsApply()
    {
        QDir().mkpath(configHome() + QStringLiteral("/Parafrix"));
        const QString conf = configHome() + QStringLiteral("/Parafrix/Parafrix.conf");
        QFile file(conf);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[General]\nDelimiters1=.\nDelimiters2=\" \"\nMinWords=10\n");
        file.close();
        const QString text = write(QStringLiteral("same.txt"), "Кошка ловила мышь в старом амбаре.");
        QCOMPARE(run({text, text}).status, 0);
        QCOMPARE(run({QStringLiteral("--min-words"), QStringLiteral("3"), text, text}).status, 1);
        QFile reread(conf);
        QVERIFY(reread.open(QIODevice::ReadOnly));
        QVERIFY(reread.readAll().contains("MinWords=10"));
    }

    void errors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("stderrContains");
        QTest::newRow("no documents") << QStringList{} << u"ORIGINAL"_qs;
        QTest::newRow("one document") << QStringList{u"a.txt"_qs} << u"ORIGINAL"_qs;
        QTest::newRow("three documents") << QStringList{u"a"_qs, u"b"_qs, u"c"_qs} << u"ORIGINAL"_qs;
        QTest::newRow("unknown option") << QStringList{u"--frobnicate"_qs, u"a"_qs, u"b"_qs} << u"frobnicate"_qs;
        QTest::newRow("bad number") << QStringList{u"--min-words"_qs, u"много"_qs, u"a"_qs, u"b"_qs}
                                    << u"--min-words"_qs;
        QTest::newRow("bad escape") << QStringList{u"--word-delimiters"_qs, u"\\q"_qs, u"a"_qs, u"b"_qs}
                                    << u"--word-delimiters"_qs;
    }
    void errors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, stderrContains);
        const Run r = run(arguments);
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.contains(stderrContains), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
    }

    void unreadableDocumentsAreNamed()
    {
        const QString empty = write(QStringLiteral("empty.txt"), "");
        const QString missing = m_dir.filePath(QStringLiteral("нет такого.doc"));
        const Run r = run({missing, empty});
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.contains(missing), qPrintable(r.err));
        QVERIFY(r.err.contains(empty));
        QVERIFY(r.err.contains(QStringLiteral(u"файл не найден")));
        QVERIFY(r.out.isEmpty());
    }

    void helpAndVersion()
    {
        const Run help = run({QStringLiteral("--help")});
        QCOMPARE(help.status, 0);
        QVERIFY(help.out.contains(QStringLiteral("--json")));
        const Run version = run({QStringLiteral("--version")});
        QCOMPARE(version.status, 0);
        QVERIFY(version.out.startsWith(QStringLiteral("parafrix-check ")));
    }

    void printsDocumentText()
    {
        const QString path = write(QStringLiteral("cp1251.txt"), QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2\nmir"));
        const Run r = run({QStringLiteral("--text"), path});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QStringLiteral(u"Привет\r\nmir"));
        QCOMPARE(run({QStringLiteral("--text"), write(QStringLiteral("e.txt"), "")}).status, 2);
    }
};

QTEST_GUILESS_MAIN(TestCheckCli)
#include "tst_checkcli.moc"
