#include "settings/AppSettings.h"
#include "settings/QtSettingsStore.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// Records the names of the values written, in order, and reads nothing.
class RecordingStore : public SettingsStore
{
public:
    explicit RecordingStore(QStringList* written) : m_written(written) {}
    bool LoadStringSetting(const QString&, QString&, int) override { return false; }
    bool SaveStringSetting(const QString&, const QString& name) override { return record(name); }
    bool LoadMinWords(qint32&) override { return false; }
    bool SaveMinWords(qint32) override { return record(QStringLiteral("MinWords")); }
    bool LoadNumberSetting(const QString&, qint32&) override { return false; }
    bool SaveNumberSetting(qint32, const QString& name) override { return record(name); }

private:
    bool record(const QString& name)
    {
        m_written->append(name);
        return true;
    }
    QStringList* m_written;
};

// The settings record against a temporary INI file: load rules, defaults, round trips.
class TestAppSettings : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;

    QSettings raw() { return QSettings(m_path, QSettings::IniFormat); }
    AppSettings& reload()
    {
        AppSettings::Destroy();
        return AppSettings::Instance();
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("Parafrix.conf"));
        QFile::remove(m_path);
        const QString path = m_path;
        AppSettings::SetStoreFactory([path] { return std::make_unique<QtSettingsStore>(path); });
        AppSettings::Destroy();
    }

    void cleanupTestCase()
    {
        AppSettings::Destroy();
        AppSettings::SetStoreFactory({});
    }

    void defaultSets()
    {
        const QString words = AppSettings::DefaultDelimiters2();
        QCOMPARE(words.size(), 40);
        QCOMPARE(words.back(), QChar(u'\t'));
        QCOMPARE(words.count(QChar(u' ')), 2);
        QVERIFY(words.startsWith(QStringLiteral("  ,-=)(:\"'/\\&^%$#@1234567890|[]{}<>;")));
        QVERIFY(words.endsWith(QStringLiteral(u"\u00B7\u00AB\u00BB\t")));
        QCOMPARE(AppSettings::DefaultDelimiters2WithoutTab(), words.chopped(1));
        QCOMPARE(AppSettings::DefaultDelimiters1(), QStringLiteral(".!?"));
    }

    void firstRunUsesDefaultsAndSaveStoresThem()
    {
        AppSettings& settings = AppSettings::Instance();
        QCOMPARE(settings.Delimiters1, QStringLiteral(".!?"));
        QCOMPARE(settings.Delimiters2, AppSettings::DefaultDelimiters2());
        QCOMPARE(settings.MinWords, 3);
        settings.Save();
        QSettings stored = raw();
        QCOMPARE(stored.value(QStringLiteral("Delimiters1")).toString(), QStringLiteral(".!?"));
        QCOMPARE(stored.value(QStringLiteral("Delimiters2")).toString(), AppSettings::DefaultDelimiters2());
        QCOMPARE(stored.value(QStringLiteral("MinWords")).toInt(), 3);
    }

    // Values the options dialog could not have stored, and missing ones once Delimiters1
    // is there, take their defaults and are named; the mended record is what is saved.
    void mendedValues_data()
    {
        QTest::addColumn<QVariantMap>("stored");
        QTest::addColumn<QString>("delimiters2");
        QTest::addColumn<int>("minWords");
        QTest::addColumn<QStringList>("mended");
        const QString words = AppSettings::DefaultDelimiters2();
        const auto with = [](QVariantMap values) {
            values.insert(QStringLiteral("Delimiters1"), QStringLiteral(";"));
            return values;
        };
        QTest::newRow("all sound") << with({{u"Delimiters2"_qs, u"xy"_qs}, {u"MinWords"_qs, 10}}) << u"xy"_qs << 10
                                   << QStringList{};
        QTest::newRow("empty word set as stored")
            << with({{u"Delimiters2"_qs, QString()}, {u"MinWords"_qs, 3}}) << QString() << 3 << QStringList{};
        QTest::newRow("only Delimiters1") << with({}) << words << 3 << QStringList{u"Delimiters2"_qs, u"MinWords"_qs};
        QTest::newRow("largest number") << with({{u"Delimiters2"_qs, u"xy"_qs}, {u"MinWords"_qs, 2147483647}})
                                        << u"xy"_qs << 3 << QStringList{u"MinWords"_qs};
        QTest::newRow("negative") << with({{u"Delimiters2"_qs, u"xy"_qs}, {u"MinWords"_qs, -1}}) << u"xy"_qs << 3
                                  << QStringList{u"MinWords"_qs};
        QTest::newRow("two, below the dialog's range") << with({{u"Delimiters2"_qs, u"xy"_qs}, {u"MinWords"_qs, 2}})
                                                       << u"xy"_qs << 3 << QStringList{u"MinWords"_qs};
        QTest::newRow("eleven, above it") << with({{u"Delimiters2"_qs, u"xy"_qs}, {u"MinWords"_qs, 11}}) << u"xy"_qs
                                          << 3 << QStringList{u"MinWords"_qs};
        QTest::newRow("text") << with({{u"Delimiters2"_qs, u"xy"_qs}, {u"MinWords"_qs, u"пять"_qs}}) << u"xy"_qs << 3
                              << QStringList{u"MinWords"_qs};
        QTest::newRow("near values out of range")
            << with({{u"Delimiters2"_qs, u"xy"_qs},
                     {u"MinWords"_qs, 4},
                     {u"NearMatches"_qs, 2},
                     {u"NearThreshold"_qs, 0}})
            << u"xy"_qs << 4 << QStringList{u"NearMatches"_qs, u"NearThreshold"_qs};
        QTest::newRow("first run") << QVariantMap{} << words << 3 << QStringList{};
    }
    void mendedValues()
    {
        QFETCH(QVariantMap, stored);
        QFETCH(QString, delimiters2);
        QFETCH(int, minWords);
        QFETCH(QStringList, mended);
        {
            QSettings settings = raw();
            for (auto it = stored.cbegin(); it != stored.cend(); ++it)
                settings.setValue(it.key(), it.value());
        }
        AppSettings& settings = reload();
        QCOMPARE(settings.Delimiters2, delimiters2);
        QCOMPARE(settings.MinWords, minWords);
        QCOMPARE(settings.mendedValues(), mended);
        // Saved as mended, the next start has nothing to say.
        settings.Save();
        QCOMPARE(reload().mendedValues(), QStringList{});
        QCOMPARE(AppSettings::Instance().MinWords, minWords);
    }

    void missingDelimiters1IgnoresTheOthers()
    {
        {
            QSettings stored = raw();
            stored.setValue(QStringLiteral("Delimiters2"), QStringLiteral("xyz"));
            stored.setValue(QStringLiteral("MinWords"), 7);
        }
        AppSettings& settings = reload();
        QCOMPARE(settings.Delimiters2, AppSettings::DefaultDelimiters2());
        QCOMPARE(settings.MinWords, 3);
        settings.Save();
        QCOMPARE(raw().value(QStringLiteral("MinWords")).toInt(), 3);
    }

    void delimiters1Length_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("loads");
        QTest::newRow("511 fits with terminator") << 511 << true;
        QTest::newRow("512 does not") << 512 << false;
        QTest::newRow("4000") << 4000 << false;
        QTest::newRow("empty") << 0 << true;
    }
    void delimiters1Length()
    {
        QFETCH(int, length);
        QFETCH(bool, loads);
        {
            QSettings stored = raw();
            stored.setValue(QStringLiteral("Delimiters1"), QString(length, QChar(u'!')));
            stored.setValue(QStringLiteral("MinWords"), 5);
        }
        AppSettings& settings = reload();
        QCOMPARE(settings.Delimiters1, loads ? QString(length, QChar(u'!')) : AppSettings::DefaultDelimiters1());
        QCOMPARE(settings.MinWords, loads ? 5 : 3);
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("delimiters1");
        QTest::addColumn<QString>("delimiters2");
        QTest::addColumn<int>("minWords");
        QTest::newRow("defaults") << AppSettings::DefaultDelimiters1() << AppSettings::DefaultDelimiters2() << 3;
        QTest::newRow("tab quotes backslash") << QStringLiteral("\t\"'\\;") << QStringLiteral("\\\\\"\t \t") << 10;
        QTest::newRow("non-ascii") << QStringLiteral(u"…。！") << QStringLiteral(u"«»—–·\u00A0") << 4;
        QTest::newRow("leading and trailing spaces") << QStringLiteral(" . ") << QStringLiteral("  ") << 3;
        QTest::newRow("ini syntax characters") << QStringLiteral("=;#[]") << QStringLiteral(",,%") << 3;
    }
    void roundTrip()
    {
        QFETCH(QString, delimiters1);
        QFETCH(QString, delimiters2);
        QFETCH(int, minWords);
        AppSettings& settings = AppSettings::Instance();
        settings.Delimiters1 = delimiters1;
        settings.Delimiters2 = delimiters2;
        settings.MinWords = minWords;
        settings.Save();
        AppSettings& loaded = reload();
        QCOMPARE(loaded.Delimiters1, delimiters1);
        QCOMPARE(loaded.Delimiters2, delimiters2);
        QCOMPARE(loaded.MinWords, minWords);
    }

    void nearValues_data()
    {
        QTest::addColumn<QVariant>("storedNear");
        QTest::addColumn<QVariant>("storedThreshold");
        QTest::addColumn<bool>("near");
        QTest::addColumn<int>("threshold");
        // An invalid QVariant: the value is not in the store.
        QTest::newRow("both missing") << QVariant() << QVariant() << true << AppSettings::DefaultNearThreshold;
        QTest::newRow("off, 70") << QVariant(0) << QVariant(70) << false << 70;
        QTest::newRow("on, 1") << QVariant(1) << QVariant(1) << true << 1;
        // A stored threshold is the user's, even when it is an earlier default.
        QTest::newRow("on, 50") << QVariant(1) << QVariant(50) << true << 50;
        QTest::newRow("on, 100") << QVariant(1) << QVariant(100) << true << 100;
        QTest::newRow("flag out of range") << QVariant(2) << QVariant(40) << true << 40;
        QTest::newRow("flag not a number") << QVariant(u"да"_qs) << QVariant(40) << true << 40;
        QTest::newRow("threshold 0") << QVariant(0) << QVariant(0) << false << AppSettings::DefaultNearThreshold;
        QTest::newRow("threshold 101") << QVariant(0) << QVariant(101) << false << AppSettings::DefaultNearThreshold;
        QTest::newRow("threshold negative")
            << QVariant(0) << QVariant(-60) << false << AppSettings::DefaultNearThreshold;
        QTest::newRow("threshold not a number")
            << QVariant(0) << QVariant(u"много"_qs) << false << AppSettings::DefaultNearThreshold;
        QTest::newRow("threshold missing") << QVariant(0) << QVariant() << false << AppSettings::DefaultNearThreshold;
    }
    void nearValues()
    {
        QFETCH(QVariant, storedNear);
        QFETCH(QVariant, storedThreshold);
        QFETCH(bool, near);
        QFETCH(int, threshold);
        {
            QSettings stored = raw();
            if (storedNear.isValid())
                stored.setValue(QStringLiteral("NearMatches"), storedNear);
            if (storedThreshold.isValid())
                stored.setValue(QStringLiteral("NearThreshold"), storedThreshold);
        }
        AppSettings& settings = reload();
        QCOMPARE(settings.NearMatches, near);
        QCOMPARE(settings.NearThreshold, threshold);
        // The three older values keep their own rule: no Delimiters1, all default.
        QCOMPARE(settings.MinWords, 3);
        const CheckOptions options = settings.checkOptions();
        QCOMPARE(options.NearMatches, near);
        QCOMPARE(options.Near.threshold, threshold);
    }

    void nearValuesRoundTrip_data()
    {
        QTest::addColumn<bool>("near");
        QTest::addColumn<int>("threshold");
        QTest::newRow("off, 1") << false << 1;
        QTest::newRow("on, 65") << true << 65;
        QTest::newRow("off, 100") << false << 100;
    }
    void nearValuesRoundTrip()
    {
        QFETCH(bool, near);
        QFETCH(int, threshold);
        AppSettings& settings = AppSettings::Instance();
        settings.NearMatches = near;
        settings.NearThreshold = threshold;
        settings.Save();
        QCOMPARE(raw().value(QStringLiteral("NearMatches")).toInt(), near ? 1 : 0);
        QCOMPARE(raw().value(QStringLiteral("NearThreshold")).toInt(), threshold);
        AppSettings& loaded = reload();
        QCOMPARE(loaded.NearMatches, near);
        QCOMPARE(loaded.NearThreshold, threshold);
    }

    void nearValuesAreWrittenAfterTheThree()
    {
        QStringList written;
        AppSettings::SetStoreFactory([&written] { return std::make_unique<RecordingStore>(&written); });
        reload().Save();
        QCOMPARE(written,
                 (QStringList{u"Delimiters1"_qs, u"Delimiters2"_qs, u"MinWords"_qs, u"NearMatches"_qs,
                              u"NearThreshold"_qs, u"RecheckOnSave"_qs, u"EditedDocument"_qs, u"SourceCount"_qs}));
        AppSettings::Destroy();
    }

    void documentsOfTheLastSessionAreKept()
    {
        // A record written before there were several sources has none.
        QVERIFY(reload().Sources.isEmpty());
        QVERIFY(reload().EditedDocument.isEmpty());
        AppSettings& settings = reload();
        const QString tooLong = QStringLiteral("/") + QString(600, u'д');
        settings.Sources = {u"/a/один.docx"_qs, tooLong, u"/b/два.pdf"_qs};
        settings.EditedDocument = u"/c/копия.docx"_qs;
        settings.Save();
        QCOMPARE(reload().Sources, (QStringList{u"/a/один.docx"_qs, u"/b/два.pdf"_qs}));
        QCOMPARE(reload().EditedDocument, u"/c/копия.docx"_qs);
        raw().setValue(QStringLiteral("SourceCount"), 1001);
        QVERIFY(reload().Sources.isEmpty());
    }

    void recheckOnSaveDefaultsOnAndKeepsAnOff_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<bool>("expected");
        QTest::newRow("missing") << QVariant() << true;
        QTest::newRow("off") << QVariant(0) << false;
        QTest::newRow("out of range") << QVariant(7) << true;
    }
    void recheckOnSaveDefaultsOnAndKeepsAnOff()
    {
        QFETCH(QVariant, stored);
        QFETCH(bool, expected);
        if (stored.isValid())
            raw().setValue(QStringLiteral("RecheckOnSave"), stored);
        QCOMPARE(reload().RecheckOnSave, expected);
    }

    void unwritableStoreKeepsRecord()
    {
        AppSettings::SetStoreFactory(
            [] { return std::make_unique<QtSettingsStore>(QStringLiteral("/proc/parafrix-no-such/x.conf")); });
        AppSettings& settings = reload();
        settings.MinWords = 8;
        settings.Save();
        QCOMPARE(settings.MinWords, 8);
        QCOMPARE(reload().MinWords, 3);
    }

    void userStoreLivesInConfigFolder()
    {
        const QString location = QtSettingsStore().location();
        if (QSysInfo::productType() == QStringLiteral("windows")) {
            QCOMPARE(location, QStringLiteral("\\HKEY_CURRENT_USER\\Software\\Parafrix"));
            return;
        }
        // The test runner points XDG_CONFIG_HOME at a temporary folder.
        QVERIFY2(location.endsWith(QStringLiteral("Parafrix/Parafrix.conf")), qPrintable(location));
        QVERIFY2(location.startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")), qPrintable(location));
    }
};

QTEST_GUILESS_MAIN(TestAppSettings)
#include "tst_appsettings.moc"
