// The locator: the program's files beside it in a build tree, under lib/parafrix and
// share/parafrix in an installed tree, and the message naming what was looked for.
#include "install/InstallLayout.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The Linux installed layout, whatever this build installs to: the locator's logic is
// the same on every platform.
const InstallLayout::Folders kPrefixFolders{QStringLiteral("../lib/parafrix"), QStringLiteral("../share/parafrix")};

class TestInstallLayout : public QObject
{
    Q_OBJECT

    static void touch(const QString& path)
    {
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

private slots:
    void findsTheFileOfEachLayout_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("expected");
        // Paths are relative to a temporary prefix; the program lives in <prefix>/bin.
        QTest::newRow("data, build tree") << QStringLiteral("data") << QStringList{QStringLiteral("bin/mhelper.dat")}
                                          << QStringLiteral("bin/mhelper.dat");
        QTest::newRow("data, installed") << QStringLiteral("data")
                                         << QStringList{QStringLiteral("share/parafrix/mhelper.dat")}
                                         << QStringLiteral("share/parafrix/mhelper.dat");
        QTest::newRow("data, both: beside the program wins")
            << QStringLiteral("data")
            << QStringList{QStringLiteral("share/parafrix/mhelper.dat"), QStringLiteral("bin/mhelper.dat")}
            << QStringLiteral("bin/mhelper.dat");
        QTest::newRow("data, in the library folder does not count")
            << QStringLiteral("data") << QStringList{QStringLiteral("lib/parafrix/mhelper.dat")} << QString();
        QTest::newRow("data, none") << QStringLiteral("data") << QStringList{} << QString();
        QTest::newRow("module, build tree")
            << QStringLiteral("library") << QStringList{QStringLiteral("bin/parafrix_lo.so")}
            << QStringLiteral("bin/parafrix_lo.so");
        QTest::newRow("module, installed")
            << QStringLiteral("library") << QStringList{QStringLiteral("lib/parafrix/parafrix_lo.so")}
            << QStringLiteral("lib/parafrix/parafrix_lo.so");
        QTest::newRow("module, in the data folder does not count")
            << QStringLiteral("library") << QStringList{QStringLiteral("share/parafrix/parafrix_lo.so")} << QString();
        QTest::newRow("module, a folder of that name is no file")
            << QStringLiteral("library") << QStringList{QStringLiteral("lib/parafrix/parafrix_lo.so/x")} << QString();
    }

    void findsTheFileOfEachLayout()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, present);
        QFETCH(QString, expected);
        QTemporaryDir prefix;
        QVERIFY(prefix.isValid());
        QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("bin")));
        for (const QString& file : present)
            touch(prefix.filePath(file));

        const QString name =
            kind == QStringLiteral("data") ? QStringLiteral("mhelper.dat") : QStringLiteral("parafrix_lo.so");
        const InstallLayout layout(prefix.filePath(QStringLiteral("bin")), kPrefixFolders);
        const QStringList candidates =
            kind == QStringLiteral("data") ? layout.dataCandidates(name) : layout.libraryCandidates(name);
        QCOMPARE(candidates.size(), 2);
        const QString found = InstallLayout::firstExisting(candidates);
        QCOMPARE(found, expected.isEmpty() ? QString() : prefix.filePath(expected));

        // Whatever was found, a message names every place looked at.
        const QString message = InstallLayout::Describe(candidates);
        for (const QString& candidate : candidates)
            QVERIFY2(message.contains(QDir::toNativeSeparators(candidate)), qPrintable(message));
    }

    void candidatesAreCleanAbsolutePathsInOrder()
    {
        const InstallLayout layout(QStringLiteral("/opt/p/bin"), kPrefixFolders);
        QCOMPARE(layout.libraryCandidates(QStringLiteral("mhelper")),
                 (QStringList{QStringLiteral("/opt/p/bin/mhelper"), QStringLiteral("/opt/p/lib/parafrix/mhelper")}));
        QCOMPARE(layout.dataCandidates(QStringLiteral("mhelper.dat")),
                 (QStringList{QStringLiteral("/opt/p/bin/mhelper.dat"),
                              QStringLiteral("/opt/p/share/parafrix/mhelper.dat")}));
    }

    // Windows keeps everything beside the program: one candidate, named once.
    void flatLayoutNamesOnePlace()
    {
        const InstallLayout layout(QStringLiteral("/opt/p"), {QStringLiteral("."), QStringLiteral(".")});
        QCOMPARE(layout.libraryCandidates(QStringLiteral("mhelper")), QStringList{QStringLiteral("/opt/p/mhelper")});
        QCOMPARE(layout.dataCandidates(QStringLiteral("mhelper.dat")),
                 QStringList{QStringLiteral("/opt/p/mhelper.dat")});
    }

    void noProgramFolderGivesNoCandidates()
    {
        const InstallLayout layout{QString()};
        QVERIFY(layout.libraryCandidates(QStringLiteral("mhelper")).isEmpty());
        QVERIFY(layout.dataCandidates(QStringLiteral("mhelper.dat")).isEmpty());
        QVERIFY(InstallLayout::firstExisting({}).isEmpty());
    }

    // The real build tree: the data file the build made lies beside the programs.
    void findsTheBuiltDataFile()
    {
        const InstallLayout layout(QStringLiteral(PARAFRIX_BIN_DIR));
        QCOMPARE(InstallLayout::firstExisting(layout.dataCandidates(QStringLiteral("mhelper.dat"))),
                 QDir::cleanPath(QStringLiteral(PARAFRIX_BIN_DIR "/mhelper.dat")));
    }
};

QTEST_GUILESS_MAIN(TestInstallLayout)
#include "tst_installlayout.moc"
