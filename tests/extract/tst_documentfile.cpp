#include "extract/CDocToText.h"
#include "extract/DocumentFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Writes bytes to a file named by its native bytes; false when the system refuses.
bool writeNative(const QByteArray& name, const QByteArray& bytes)
{
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, bytes.constData(), size_t(bytes.size())) == ssize_t(bytes.size());
    return ::close(fd) == 0 && ok;
}

} // namespace

// Opening document files by name: only regular files are read, every other kind of
// name gets its own reason at once, and names in any encoding open.
class TestDocumentFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    static constexpr int kDeepFolders = 20;
    inline static const QByteArray kDeepName = QByteArray(250, 'd');

    QByteArray native(const char* name) const { return QFile::encodeName(m_dir.path()) + '/' + name; }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(writeNative(native("plain.txt"), "Обычный текст."));
        QVERIFY(::mkfifo(native("pipe.txt").constData(), 0644) == 0);
        QVERIFY(::mkdir(native("folder.doc").constData(), 0755) == 0);
        QVERIFY(::symlink("loop-b", native("loop-a").constData()) == 0);
        QVERIFY(::symlink("loop-a", native("loop-b").constData()) == 0);
        QVERIFY(::symlink("nowhere.txt", native("dangling.txt").constData()) == 0);
        QVERIFY(::symlink("plain.txt", native("link.txt").constData()) == 0);
        QVERIFY(::symlink("folder.doc", native("link-to-folder.doc").constData()) == 0);
        QVERIFY(writeNative(native("empty.txt"), QByteArray()));
        // Larger than any document read, without using the disk: a sparse file.
        QVERIFY(writeNative(native("huge.txt"), "x"));
        QVERIFY(::truncate(native("huge.txt").constData(), DocumentFile::kMaxBytes + 1) == 0);
        // A file there, at a path longer than PATH_MAX: made one folder at a time.
        int folder = ::open(m_dir.path().toLocal8Bit().constData(), O_RDONLY | O_DIRECTORY);
        for (int i = 0; i < kDeepFolders; ++i) {
            QVERIFY(::mkdirat(folder, kDeepName.constData(), 0755) == 0);
            const int inner = ::openat(folder, kDeepName.constData(), O_RDONLY | O_DIRECTORY);
            ::close(folder);
            folder = inner;
            QVERIFY(folder >= 0);
        }
        const int file = ::openat(folder, "essay.txt", O_WRONLY | O_CREAT, 0644);
        QVERIFY(file >= 0 && ::write(file, "text", 4) == 4);
        ::close(file);
        ::close(folder);
    }

    void cleanupTestCase()
    {
        // QTemporaryDir cannot name the undecodable file either: remove it by its bytes.
        ::unlink(native("\xD0\xE5\xF4\xE5\xF0\xE0\xF2.txt").constData());
        // Undone from the inside out, one folder at a time, as no path can name the inside.
        for (int i = kDeepFolders; i >= 0; --i) {
            const int parent = ::open(m_dir.path().toLocal8Bit().constData(), O_RDONLY | O_DIRECTORY);
            int at = parent;
            for (int k = 0; k < i; ++k) {
                const int inner = ::openat(at, kDeepName.constData(), O_RDONLY | O_DIRECTORY);
                ::close(at);
                at = inner;
            }
            if (i == kDeepFolders)
                ::unlinkat(at, "essay.txt", 0);
            else
                ::unlinkat(at, kDeepName.constData(), AT_REMOVEDIR);
            ::close(at);
        }
    }

    void kindsOfNames_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<int>("error");
        QTest::newRow("regular file") << native("plain.txt") << int(ExtractError::None);
        QTest::newRow("link to a file") << native("link.txt") << int(ExtractError::None);
        QTest::newRow("pipe") << native("pipe.txt") << int(ExtractError::NotRegularFile);
        QTest::newRow("device") << QByteArray("/dev/null") << int(ExtractError::NotRegularFile);
        QTest::newRow("folder") << native("folder.doc") << int(ExtractError::IsFolder);
        QTest::newRow("link to a folder") << native("link-to-folder.doc") << int(ExtractError::IsFolder);
        QTest::newRow("link loop") << native("loop-a") << int(ExtractError::LinkLoop);
        QTest::newRow("dangling link") << native("dangling.txt") << int(ExtractError::FileMissing);
        QTest::newRow("missing") << native("missing.txt") << int(ExtractError::FileMissing);
        QTest::newRow("file as a folder") << native("plain.txt/x.txt") << int(ExtractError::FileMissing);
        QTest::newRow("empty name") << QByteArray() << int(ExtractError::FileMissing);
        QTest::newRow("empty file") << native("empty.txt") << int(ExtractError::NoText);
        QTest::newRow("too large") << native("huge.txt") << int(ExtractError::TooLarge);
        QTest::newRow("name longer than the system takes")
            << native(QByteArray(300, 'x').constData()) << int(ExtractError::PathTooLong);
        QByteArray deep = native("");
        for (int i = 0; i < kDeepFolders; ++i)
            deep += kDeepName + '/';
        QTest::newRow("file at a path longer than PATH_MAX") << deep + "essay.txt" << int(ExtractError::PathTooLong);
    }

    void kindsOfNames()
    {
        QFETCH(QByteArray, name);
        QFETCH(int, error);
        QByteArray bytes;
        QString detail;
        QCOMPARE(int(DocumentFile::Read(name, bytes, detail)), error);
        QCOMPARE(bytes.isEmpty(), error != int(ExtractError::None));
        // The whole road gives the same reason.
        const ExtractResult result = CDocToText().ExtractNative(name);
        QCOMPARE(int(result.error), error);
    }

    void deniedFolderAndFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("error");
        QTest::newRow("file in a closed folder")
            << QStringLiteral("closed/inside.txt") << int(ExtractError::FolderDenied);
        QTest::newRow("closed file") << QStringLiteral("closed.txt") << int(ExtractError::NoPermission);
    }

    void deniedFolderAndFile()
    {
        QFETCH(QString, path);
        QFETCH(int, error);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("closed")));
        QVERIFY(writeNative(QFile::encodeName(dir.filePath(QStringLiteral("closed/inside.txt"))), "text"));
        QVERIFY(writeNative(QFile::encodeName(dir.filePath(QStringLiteral("closed.txt"))), "text"));
        QVERIFY(::chmod(QFile::encodeName(dir.filePath(QStringLiteral("closed"))).constData(), 0) == 0);
        QVERIFY(::chmod(QFile::encodeName(dir.filePath(QStringLiteral("closed.txt"))).constData(), 0) == 0);
        const bool privileged = ::access(QFile::encodeName(dir.filePath(QStringLiteral("closed.txt"))), R_OK) == 0;
        const ExtractResult result = CDocToText().Extract(dir.filePath(path));
        ::chmod(QFile::encodeName(dir.filePath(QStringLiteral("closed"))).constData(), 0755);
        if (privileged)
            QSKIP("running with rights that ignore file permissions");
        QCOMPARE(int(result.error), error);
    }

    // A name in Windows-1251, as archives made on Windows bring them: not UTF-8, so no
    // QString can name it, but its bytes open it and show it with replacement marks.
    void nameInAnotherEncoding()
    {
        const QByteArray name = native("\xD0\xE5\xF4\xE5\xF0\xE0\xF2.txt"); // "Реферат" in 1251
        QVERIFY(writeNative(name, QStringLiteral(u"Текст реферата.").toUtf8()));
        const ExtractResult result = CDocToText().ExtractNative(name);
        QVERIFY2(result.ok(), qPrintable(result.reason()));
        QCOMPARE(result.text, QStringLiteral(u"Текст реферата."));
        const QString shown = DocumentFile::DisplayName(name);
        QVERIFY(shown.endsWith(QStringLiteral(u"/\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD.txt")));
        // Through the decoded name the file cannot be found: that is why bytes are kept.
        QCOMPARE(CDocToText().Extract(shown).error, ExtractError::FileMissing);
    }

    void matchArguments_data()
    {
        QTest::addColumn<QByteArrayList>("native");
        QTest::addColumn<QStringList>("wanted");
        QTest::addColumn<QByteArrayList>("expected");
        const QByteArray a = "\xD0\xE0\xE1\xEE\xF2\xE0.doc"; // two names that show alike
        const QByteArray b = "\xD0\xE5\xF4\xE5\xF0\xE0.doc";
        const QString shown = DocumentFile::DisplayName(a);
        QTest::newRow("plain names") << QByteArrayList{"prog", "--json", "a.doc", "b.doc"}
                                     << QStringList{QStringLiteral("a.doc"), QStringLiteral("b.doc")}
                                     << QByteArrayList{"a.doc", "b.doc"};
        QTest::newRow("undecodable names keep their order")
            << QByteArrayList{"prog", a, b} << QStringList{shown, shown} << QByteArrayList{a, b};
        QTest::newRow("options after the names")
            << QByteArrayList{"prog", a, b, "--min-words", "3"} << QStringList{shown, shown} << QByteArrayList{a, b};
        QTest::newRow("option value") << QByteArrayList{"prog", "--text", a} << QStringList{shown} << QByteArrayList{a};
        QTest::newRow("no native list") << QByteArrayList{} << QStringList{QStringLiteral(u"реферат.doc")}
                                        << QByteArrayList{QStringLiteral(u"реферат.doc").toUtf8()};
    }

    void matchArguments()
    {
        QFETCH(QByteArrayList, native);
        QFETCH(QStringList, wanted);
        QFETCH(QByteArrayList, expected);
        QCOMPARE(DocumentFile::Match(wanted, native), expected);
    }
};

QTEST_GUILESS_MAIN(TestDocumentFile)
#include "tst_documentfile.moc"
