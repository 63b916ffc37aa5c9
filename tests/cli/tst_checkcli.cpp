#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

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

    // Runs parafrix-check; standard output goes to outputFile when one is given.
    Run run(const QStringList& arguments, const QString& outputFile = QString())
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome());
        process.setProcessEnvironment(env);
        if (!outputFile.isEmpty())
            process.setStandardOutputFile(outputFile);
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
        QCOMPARE(match.value(QStringLiteral("kinds")).toArray(), QJsonArray{QStringLiteral("identical")});
        QVERIFY(doc.object().value(QStringLiteral("truncated")).isBool());
        QVERIFY(!doc.object().value(QStringLiteral("truncated")).toBool());
    }

    // --html writes the report besides the usual output; a report that cannot be
    // written is an error, with nothing on standard output.
    void htmlReport_data()
    {
        QTest::addColumn<QString>("reportPath");
        QTest::addColumn<int>("status");
        QTest::newRow("written") << u"report.html"_qs << 1;
        QTest::newRow("missing folder") << u"missing/report.html"_qs << 2;
    }
    void htmlReport()
    {
        QFETCH(QString, reportPath);
        QFETCH(int, status);
        const QString edited = write(QStringLiteral("edited.txt"), "Кошка ловила мышь в старом амбаре.");
        const QString path = m_dir.filePath(reportPath);
        const Run r = run({QStringLiteral("--html"), path, original(), edited});
        QCOMPARE(r.status, status);
        QFile report(path);
        if (status == 2) {
            QVERIFY2(r.err.contains(QStringLiteral(u"не удалось записать отчёт «%1»").arg(path)), qPrintable(r.err));
            QVERIFY(r.out.isEmpty());
            QVERIFY(!report.exists());
            return;
        }
        QVERIFY(r.out.contains(QStringLiteral(u"Совпадение #1\n")));
        QVERIFY(report.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(report.readAll());
        QVERIFY(html.contains(QStringLiteral(u"<h3>Совпадение #1</h3>")));
        // The page names the documents as the system writes paths.
        QVERIFY(html.contains(QDir::toNativeSeparators(QFileInfo(edited).absoluteFilePath())));
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

    void nearOption_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("nearKey");
        QTest::addColumn<int>("nearCount");
        QTest::addColumn<double>("originality");
        // The copy: the dog sentence with one word added (93% similar), and a new one;
        // 8 + 6 words.
        QTest::newRow("without --near") << QStringList{} << 0 << false << 0 << 1.0;
        QTest::newRow("--near, default threshold") << QStringList{u"--near"_qs} << 1 << true << 1 << 0.4286;
        QTest::newRow("--near=70") << QStringList{u"--near=70"_qs} << 1 << true << 1 << 0.4286;
        QTest::newRow("--near=93 reaches 93%") << QStringList{u"--near=93"_qs} << 1 << true << 1 << 0.4286;
        QTest::newRow("--near=95 does not") << QStringList{u"--near=95"_qs} << 0 << true << 0 << 1.0;
    }
    void nearOption()
    {
        QFETCH(QStringList, options);
        QFETCH(int, status);
        QFETCH(bool, nearKey);
        QFETCH(int, nearCount);
        QFETCH(double, originality);
        const QString edited =
            write(QStringLiteral("edited.txt"), "Собака громко лаяла на почтальона у старой калитки. "
                                                "Совсем другое предложение про погоду сегодня.");
        const Run jsonRun = run(QStringList{u"--json"_qs} + options + QStringList{original(), edited});
        QCOMPARE(jsonRun.status, status);
        const QJsonObject report = QJsonDocument::fromJson(jsonRun.out.toUtf8()).object();
        QStringList keys{u"matches"_qs, u"originality"_qs, u"suspicious"_qs, u"truncated"_qs};
        if (nearKey)
            keys.append(u"near_matches"_qs);
        keys.sort();
        QCOMPARE(report.keys(), keys);
        QCOMPARE(report.value(u"near_matches"_qs).toArray().size(), nearCount);
        QCOMPARE(report.value(u"originality"_qs).toDouble(), originality);
        if (nearCount > 0)
            QCOMPARE(report.value(u"near_matches"_qs).toArray().at(0).toObject().value(u"similarity"_qs).toDouble(),
                     0.93);

        const Run textRun = run(options + QStringList{original(), edited});
        QCOMPARE(textRun.status, status);
        QCOMPARE(textRun.out.contains(u"Похожая фраза #1 (93%)\n"_qs), nearCount > 0);
        QVERIFY2(textRun.out.contains(QStringLiteral(u"Оригинальность копии: %1%").arg(qint32(originality * 100))),
                 qPrintable(textRun.out));
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
        if (QSysInfo::productType() == QStringLiteral("windows"))
            QSKIP("Windows keeps the settings in the registry (the Windows tests cover it)");
        QDir().mkpath(configHome() + QStringLiteral("/Parafrix"));
        const QString conf = configHome() + QStringLiteral("/Parafrix/Parafrix.conf");
        QFile file(conf);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[General]\nDelimiters1=.\nDelimiters2=\" \"\nMinWords=10\n");
        file.close();
        const QString text = write(QStringLiteral("same.txt"), "Кошка ловила мышь в старом амбаре.");
        const QString copy = write(QStringLiteral("copy.txt"), "Кошка ловила мышь в старом амбаре.");
        QCOMPARE(run({text, copy}).status, 0);
        QCOMPARE(run({QStringLiteral("--min-words"), QStringLiteral("3"), text, copy}).status, 1);
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
        QTest::newRow("two missing sources, both named")
            << QStringList{u"a"_qs, u"b"_qs, u"c"_qs} << u"«b»: файл не найден"_qs;
        QTest::newRow("one source twice") << QStringList{u"a"_qs, u"b"_qs, u"a"_qs, u"c"_qs} << u"«a» указан дважды"_qs;
        QTest::newRow("the copy among the sources")
            << QStringList{u"a"_qs, u"b"_qs, u"b"_qs} << u"копия «b» есть и среди оригиналов"_qs;
        QStringList tooMany;
        for (int i = 0; i <= 1001; ++i)
            tooMany.append(QString::number(i));
        QTest::newRow("1001 sources") << tooMany << u"не больше 1000"_qs;
        QTest::newRow("unknown option") << QStringList{u"--frobnicate"_qs, u"a"_qs, u"b"_qs} << u"frobnicate"_qs;
        QTest::newRow("bad number") << QStringList{u"--min-words"_qs, u"много"_qs, u"a"_qs, u"b"_qs}
                                    << u"--min-words"_qs;
        QTest::newRow("min words -1") << QStringList{u"--min-words"_qs, u"-1"_qs, u"a"_qs, u"b"_qs}
                                      << u"--min-words"_qs;
        QTest::newRow("min words 2, below the options' range")
            << QStringList{u"--min-words"_qs, u"2"_qs, u"a"_qs, u"b"_qs} << u"--min-words"_qs;
        QTest::newRow("min words 11, above it")
            << QStringList{u"--min-words"_qs, u"11"_qs, u"a"_qs, u"b"_qs} << u"--min-words"_qs;
        QTest::newRow("line break in a missing name stays on the line")
            << QStringList{u"нет\nфайла.txt"_qs, u"b"_qs} << u"«нет\\nфайла.txt»: файл не найден"_qs;
        QTest::newRow("near threshold 0") << QStringList{u"--near=0"_qs, u"a"_qs, u"b"_qs} << u"--near"_qs;
        QTest::newRow("near threshold 101") << QStringList{u"--near=101"_qs, u"a"_qs, u"b"_qs} << u"--near"_qs;
        QTest::newRow("near threshold not a number")
            << QStringList{u"--near=half"_qs, u"a"_qs, u"b"_qs} << u"--near"_qs;
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

    void foldersStandForTheirDocuments()
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("sources/inner"));
        QDir(m_dir.path()).mkpath(QStringLiteral("nothing"));
        write(QStringLiteral("sources/b.txt"), "Собака громко лаяла на почтальона у калитки.");
        write(QStringLiteral("sources/a.txt"), "Кошка ловила мышь в старом амбаре.");
        write(QStringLiteral("sources/c.bin"), QByteArray("\x01\x02\x00\x03", 4));
        write(QStringLiteral("sources/inner/d.txt"), "Кошка ловила мышь в старом амбаре.");
        const QString edited = write(QStringLiteral("edited.txt"),
                                     "Кошка ловила мышь в старом амбаре. Лошадь щипала траву на зелёном лугу.");
        const Run r = run({QStringLiteral("--json"), m_dir.filePath(QStringLiteral("sources")), edited});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(QStringLiteral("c.bin")), qPrintable(r.err));
        const QJsonObject json = QJsonDocument::fromJson(r.out.toUtf8()).object();
        const QJsonArray sources = json.value(QStringLiteral("sources")).toArray();
        QCOMPARE(sources.size(), 2);
        QVERIFY(sources.at(0).toObject().value(QStringLiteral("path")).toString().endsWith(u"a.txt"));
        QVERIFY(sources.at(1).toObject().value(QStringLiteral("path")).toString().endsWith(u"b.txt"));
        QCOMPARE(sources.at(0).toObject().value(QStringLiteral("matched_words")).toDouble(), 0.5);
        const QJsonArray matches = json.value(QStringLiteral("matches")).toArray();
        QCOMPARE(matches.size(), 1);
        QCOMPARE(matches.at(0).toObject().value(QStringLiteral("source")).toInt(-1), 0);

        const Run empty =
            run({m_dir.filePath(QStringLiteral("nothing")), m_dir.filePath(QStringLiteral("sources/a.txt")), edited});
        QCOMPARE(empty.status, 2);
        QVERIFY2(empty.err.contains(QStringLiteral(u"нет ни одного документа")), qPrintable(empty.err));
    }

    void oneFileTwiceIsRefused()
    {
        const QString text = write(QStringLiteral("same.txt"), "Кошка ловила мышь в старом амбаре.");
        const Run r = run({text, m_dir.path() + QStringLiteral("/./same.txt")});
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.contains(QStringLiteral(u"один и тот же файл")), qPrintable(r.err));
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

    void blankDocumentIsNoText_data()
    {
        QTest::addColumn<QByteArray>("blank");
        QTest::addColumn<bool>("asOriginal");
        const QByteArray spaces = QByteArrayLiteral("  \r\n\r\n   \n\t\r\n");
        QTest::newRow("spaces and line breaks as edited") << spaces << false;
        QTest::newRow("spaces and line breaks as original") << spaces << true;
        QTest::newRow("punctuation only") << QByteArrayLiteral("... !? - «» —\r\n") << false;
    }
    void blankDocumentIsNoText()
    {
        QFETCH(QByteArray, blank);
        QFETCH(bool, asOriginal);
        // On either side, a blank document must not pass for a thoroughly rewritten one.
        const QString path = write(QStringLiteral("blank.txt"), blank);
        const QString other = original();
        for (const bool json : {false, true}) {
            QStringList arguments = asOriginal ? QStringList{path, other} : QStringList{other, path};
            if (json)
                arguments.prepend(QStringLiteral("--json"));
            const Run r = run(arguments);
            QCOMPARE(r.status, 2);
            QVERIFY2(r.err.contains(path), qPrintable(r.err));
            QVERIFY(r.err.contains(QStringLiteral(u"в документе нет текста")));
            QVERIFY(!r.err.contains(other));
            QVERIFY(r.out.isEmpty());
        }
    }

    void unwritableOutputFails_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("matching");
        QTest::newRow("json with matches") << QStringList{u"--json"_qs} << true;
        QTest::newRow("json without matches") << QStringList{u"--json"_qs} << false;
        QTest::newRow("text with matches") << QStringList{} << true;
        QTest::newRow("text without matches") << QStringList{} << false;
        QTest::newRow("document text") << QStringList{u"--text"_qs} << true;
    }
    void unwritableOutputFails()
    {
        QFETCH(QStringList, options);
        QFETCH(bool, matching);
        if (!QFile::exists(QStringLiteral("/dev/full")))
            QSKIP("this system has no /dev/full");
        const QString edited = write(QStringLiteral("edited.txt"), matching ? "Кошка ловила мышь в старом амбаре."
                                                                            : "Совсем другое предложение про погоду.");
        const QStringList documents =
            options.contains(u"--text"_qs) ? QStringList{edited} : QStringList{original(), edited};
        // The same run with somewhere to write succeeds: only the output makes it fail.
        QCOMPARE(run(options + documents).status, options.contains(u"--text"_qs) ? 0 : int(matching));
        const Run r = run(options + documents, QStringLiteral("/dev/full"));
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.contains(QStringLiteral(u"не удалось записать результат")), qPrintable(r.err));
    }

    void savedBlankDocumentIsNoText_data()
    {
        QTest::addColumn<QString>("blank");
        QTest::addColumn<bool>("asOriginal");
        // As a word processor saves an empty document: one empty paragraph.
        const QString saved = QStringLiteral(PARAFRIX_SOURCE_DIR "/tests/check/data/blank/empty-paragraph.");
        for (const char* format : {"docx", "odt"}) {
            QTest::addRow("%s as original", format) << saved + QLatin1String(format) << true;
            QTest::addRow("%s as edited copy", format) << saved + QLatin1String(format) << false;
        }
    }

    void savedBlankDocumentIsNoText()
    {
        QFETCH(QString, blank);
        QFETCH(bool, asOriginal);
        const QString text = original();
        for (const bool json : {false, true}) {
            QStringList arguments = asOriginal ? QStringList{blank, text} : QStringList{text, blank};
            if (json)
                arguments.prepend(QStringLiteral("--json"));
            const Run r = run(arguments);
            QCOMPARE(r.status, 2);
            QVERIFY2(r.err.contains(QStringLiteral(u"в документе нет текста")), qPrintable(r.err));
            QVERIFY(r.err.contains(blank));
            QVERIFY(!r.err.contains(text));
            QVERIFY2(r.out.isEmpty(), qPrintable(r.out));
        }
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

    // Names in Windows-1251 (from archives made on Windows) are not UTF-8: the check
    // opens them by their bytes, and names them with replacement marks. No QString can
    // carry such a name, so the shell passes it.
    void namesInAnotherEncodingOpen()
    {
        if (QSysInfo::productType() == QStringLiteral("windows"))
            QSKIP("Windows names files in UTF-16: no name is in another encoding");
        const QByteArray folder = QFile::encodeName(m_dir.path());
        const QByteArray original = folder + "/\xD0\xE5\xF4\xE5\xF0\xE0\xF2.txt"; // shows as edited does
        const QByteArray edited = folder + "/\xCA\xEE\xEF\xE8\xFF\xE0\xE0.txt";
        for (const QByteArray& name : {original, edited}) {
            QFile file(QFile::decodeName(folder) + QStringLiteral("/tmp.txt"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArrayLiteral("Кошка ловила мышь в старом амбаре.\r\n"));
            file.close();
            QVERIFY(std::rename(QFile::encodeName(file.fileName()).constData(), name.constData()) == 0);
        }
        QProcess process;
        process.start(QStringLiteral("/bin/sh"),
                      {QStringLiteral("-c"), QStringLiteral("exec \"$0\" \"$(printf \"$1\")\" \"$(printf \"$2\")\""),
                       QStringLiteral(PARAFRIX_BIN_DIR "/parafrix-check"), octal(original), octal(edited)});
        QVERIFY(process.waitForFinished(120000));
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        std::remove(original.constData());
        std::remove(edited.constData());
        QCOMPARE(process.exitCode(), 1);
        QVERIFY2(out.contains(QStringLiteral(u"Совпадение #1")), qPrintable(out));

        const QByteArray missing = folder + "/\xCD\xE5\xF2.txt";
        process.start(QStringLiteral("/bin/sh"),
                      {QStringLiteral("-c"), QStringLiteral("exec \"$0\" --text \"$(printf \"$1\")\""),
                       QStringLiteral(PARAFRIX_BIN_DIR "/parafrix-check"), octal(missing)});
        QVERIFY(process.waitForFinished(120000));
        QCOMPARE(process.exitCode(), 2);
        QVERIFY(
            QString::fromUtf8(process.readAllStandardError()).contains(QStringLiteral(u"/\uFFFD\uFFFD\uFFFD.txt»")));
    }

private:
    // The bytes as printf(1) escapes, so that the shell rebuilds them exactly.
    static QString octal(const QByteArray& bytes)
    {
        QString escaped;
        for (const char c : bytes)
            escaped += QStringLiteral("\\%1").arg(uint(static_cast<unsigned char>(c)), 3, 8, QChar(u'0'));
        return escaped;
    }
};

QTEST_GUILESS_MAIN(TestCheckCli)
#include "tst_checkcli.moc"
