// mhelper.dll on Windows: exactly the three exports, and narrow text in the
// calling thread's ANSI code page (Windows-1251 for a Russian thread locale).
#include "mhelper.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QTest>

#include <windows.h>

namespace {

QByteArray ToCodePage(const QString& text, UINT codePage)
{
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int n = WideCharToMultiByte(codePage, 0, wide, int(text.size()), nullptr, 0, nullptr, nullptr);
    QByteArray out(qMax(n, 0), '\0');
    WideCharToMultiByte(codePage, 0, wide, int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

QByteArray Stem(uint32_t handle, const QByteArray& word)
{
    char out[100] = {};
    int32_t size = 99;
    CalcStem(handle, word.constData(), out, &size);
    return QByteArray(out);
}

// The names the DLL exports, from its PE export directory.
QStringList ExportNames(HMODULE module)
{
    const auto* base = reinterpret_cast<const unsigned char*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    QStringList names;
    if (dir.VirtualAddress == 0)
        return names;
    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    const auto* nameRvas = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        names << QString::fromLatin1(reinterpret_cast<const char*>(base + nameRvas[i]));
    names.sort();
    return names;
}

} // namespace

class TestMhelperAnsi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // A Russian thread locale makes the thread's ANSI code page 1251 whatever the system's is.
        QVERIFY(SetThreadLocale(MAKELCID(MAKELANGID(LANG_RUSSIAN, SUBLANG_RUSSIAN_RUSSIA), SORT_DEFAULT)));
        const QString data = QCoreApplication::applicationDirPath() + QStringLiteral(u"/mhelper.dat");
        m_handle = OpenMorphology(QDir::toNativeSeparators(data).toLocal8Bit().constData());
        QVERIFY(m_handle != 0);
    }
    void cleanupTestCase() { CloseMorphology(m_handle); }

    void exactlyThreeExports()
    {
        HMODULE module = GetModuleHandleW(L"mhelper.dll");
        QVERIFY(module);
        QCOMPARE(ExportNames(module), QStringList({QStringLiteral("CalcStem"), QStringLiteral("CloseMorphology"),
                                                   QStringLiteral("OpenMorphology")}));
    }

    // Stems from the dictionary, as the program gets them.
    void ansiWordsAndStems_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("stem");
        QTest::newRow("plural") << QStringLiteral(u"книгами") << QStringLiteral(u"книга");
        QTest::newRow("capitals") << QStringLiteral(u"КНИГАМИ") << QStringLiteral(u"книга");
        QTest::newRow("yo") << QStringLiteral(u"ЁЛКАМИ") << QStringLiteral(u"елка");
        QTest::newRow("latin") << QStringLiteral(u"Running") << QStringLiteral(u"run");
        QTest::newRow("digits") << QStringLiteral(u"2024") << QStringLiteral(u"2024");
    }
    void ansiWordsAndStems()
    {
        QFETCH(QString, word);
        QFETCH(QString, stem);
        QCOMPARE(Stem(m_handle, ToCodePage(word, 1251)), ToCodePage(stem, 1251));
    }

    void dictionaryInUse()
    {
        char out[100];
        int32_t size = 99;
        QCOMPARE(CalcStem(m_handle, "", out, &size), 1);
    }

    // UTF-8 is not the contract here: its bytes are 1251 letters, and whatever comes
    // back is still a bounded, terminated 1251 string.
    void utf8BytesAreAnsiText()
    {
        const QByteArray utf8 = QStringLiteral(u"книгами").toUtf8();
        const QByteArray stem = Stem(m_handle, utf8);
        QVERIFY(stem.size() <= 99);
        QVERIFY(stem != QByteArray("книг"));
    }

private:
    uint32_t m_handle = 0;
};

QTEST_GUILESS_MAIN(TestMhelperAnsi)
#include "tst_mhelperansi.moc"
