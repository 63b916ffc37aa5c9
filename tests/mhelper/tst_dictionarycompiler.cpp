// The dictionary compiler on a small hand-written affix file and dictionary, read
// back through the library; and the library's answer to damaged data files.
#include "DataFormat.h"
#include "mhelper.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

const char kAffix[] = R"(SET UTF-8
TRY абвгд

# a prefix that combines with suffixes, and one that does not
PFX P Y 1
PFX P   0     пере    .

PFX N N 1
PFX N   0     не      .

SFX S Y 3
SFX S   а     ы       [^кгх]а
SFX S   а     и       [кгх]а
SFX S   а     ой      а

SFX V N 4
SFX V   ать   аю      ать
SFX V   ать   ал      ать
SFX V   ать   ают     ать
SFX V   ать   али     ать

SFX Y Y 1
SFX Y   0     ами     [^аяь]

SFX E Y 2
SFX E   ь     и       ь
SFX E   ь     ью      ь

SFX L Y 2
SFX L   ть    ли      ать
SFX L   ть    л       ать

SFX T Y 1
SFX T   ереть ри      ереть

SFX A Y 2
SFX A   ий    его     ий
SFX A   ий    ему     ий

SFX Q Y 2
SFX Q   0     ла      г
SFX Q   0     ли      г
)";

const char kDictionary[] = R"(17
рука/S
вода/SP
читать/VP
стол/Y
Ёлка/S
знать/N
сталь/E
стать/L
три
тереть/T
читающий/A
Москва/S
мочь
мог/Q
понять
пойму
пойма/S
)";

const char kIrregular[] = R"(# form lemma
люди человек
= товарищи друг
)";

} // namespace

class TestDictionaryCompiler : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        write(QStringLiteral("t.aff"), kAffix);
        write(QStringLiteral("t.dic"), kDictionary);
        write(QStringLiteral("irr.txt"), kIrregular);
        write(QStringLiteral("extra.aff"), "SET UTF-8\n");
        write(QStringLiteral("extra.dic"), "2\nтоварищи\nдруг\n");
        QCOMPARE(compile(m_data, {path(u"t.aff"), path(u"t.dic"), path(u"extra.aff"), path(u"extra.dic")},
                         {path(u"irr.txt")}),
                 0);
        m_handle = OpenMorphology(QFile::encodeName(m_data).constData());
        QVERIFY(m_handle != 0);
        QCOMPARE(stem(m_handle, ""), QByteArray());
        char out[100];
        int32_t size = 99;
        QCOMPARE(CalcStem(m_handle, "", out, &size), 1);
    }
    void cleanupTestCase() { CloseMorphology(m_handle); }

    void lookups_data()
    {
        QTest::addColumn<QByteArray>("word");
        QTest::addColumn<QByteArray>("lemma");
        QTest::newRow("entry itself") << QByteArray("рука") << QByteArray("рука");
        QTest::newRow("condition [кгх]") << QByteArray("руки") << QByteArray("рука");
        QTest::newRow("condition [^кгх]") << QByteArray("воды") << QByteArray("вода");
        QTest::newRow("condition any") << QByteArray("водой") << QByteArray("вода");
        QTest::newRow("prefix") << QByteArray("перевода") << QByteArray("вода");
        QTest::newRow("cross product") << QByteArray("переводы") << QByteArray("вода");
        QTest::newRow("prefix of a non-cross suffix class") << QByteArray("перечитать") << QByteArray("читать");
        QTest::newRow("suffix") << QByteArray("читаю") << QByteArray("читать");
        QTest::newRow("prefix without cross product") << QByteArray("незнать") << QByteArray("знать");
        QTest::newRow("zero strip") << QByteArray("столами") << QByteArray("стол");
        QTest::newRow("yo in entry") << QByteArray("елки") << QByteArray("елка");
        QTest::newRow("yo in word") << QByteArray("ёлкой") << QByteArray("елка");
        QTest::newRow("capitals") << QByteArray("ЁЛКИ") << QByteArray("елка");
        QTest::newRow("proper noun") << QByteArray("москвой") << QByteArray("москва");
        QTest::newRow("past tense goes to the verb") << QByteArray("стали") << QByteArray("стать");
        QTest::newRow("other forms keep the noun") << QByteArray("сталью") << QByteArray("сталь");
        QTest::newRow("a form that is an entry keeps it") << QByteArray("три") << QByteArray("три");
        QTest::newRow("participle joins its verb") << QByteArray("читающему") << QByteArray("читать");
        QTest::newRow("past tense entry joins its verb") << QByteArray("могли") << QByteArray("мочь");
        QTest::newRow("future tense entry joins its verb") << QByteArray("пойму") << QByteArray("понять");
        QTest::newRow("the noun beside it stays") << QByteArray("поймой") << QByteArray("пойма");
        QTest::newRow("irregular form") << QByteArray("люди") << QByteArray("человек");
        QTest::newRow("linked entry") << QByteArray("товарищи") << QByteArray("друг");
    }
    void lookups()
    {
        QFETCH(QByteArray, word);
        QFETCH(QByteArray, lemma);
        QCOMPARE(stem(m_handle, word), lemma);
    }

    void formsNoRuleMakesFallBackToSuffixRules_data()
    {
        QTest::addColumn<QByteArray>("word");
        QTest::addColumn<QByteArray>("stem");
        // No lemma's forms share these Snowball stems.
        QTest::newRow("unknown noun") << QByteArray("кошками") << QByteArray("кошк");
        QTest::newRow("unknown verb") << QByteArray("бегали") << QByteArray("бега");
        QTest::newRow("latin") << QByteArray("tables") << QByteArray("tabl");
    }
    void formsNoRuleMakesFallBackToSuffixRules()
    {
        QFETCH(QByteArray, word);
        QFETCH(QByteArray, stem);
        QCOMPARE(this->stem(m_handle, word), stem);
    }

    // Forms no rule makes whose Snowball stem is that of a lemma's forms join it.
    void unknownFormsJoinTheLemmaOfTheirStem_data()
    {
        QTest::addColumn<QByteArray>("word");
        QTest::addColumn<QByteArray>("lemma");
        QTest::newRow("condition excludes рукы") << QByteArray("рукы") << QByteArray("рука");
        QTest::newRow("condition [^аяь] excludes руками") << QByteArray("руками") << QByteArray("рука");
        QTest::newRow("non-cross prefix and suffix") << QByteArray("перечитаю") << QByteArray("читать");
        QTest::newRow("unknown participle") << QByteArray("читавшая") << QByteArray("читать");
    }
    void unknownFormsJoinTheLemmaOfTheirStem()
    {
        QFETCH(QByteArray, word);
        QFETCH(QByteArray, lemma);
        QCOMPARE(stem(m_handle, word), lemma);
    }

    void damagedFiles_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("missing") << QStringLiteral("missing");
        QTest::newRow("empty") << QStringLiteral("empty");
        QTest::newRow("header only half") << QStringLiteral("short");
        QTest::newRow("truncated") << QStringLiteral("truncated");
        QTest::newRow("one byte flipped") << QStringLiteral("flip");
        QTest::newRow("wrong version") << QStringLiteral("version");
        QTest::newRow("wrong magic") << QStringLiteral("magic");
        QTest::newRow("bucket bits out of range") << QStringLiteral("bits");
        QTest::newRow("garbage") << QStringLiteral("garbage");
        QTest::newRow("a folder") << QStringLiteral("folder");
    }
    void damagedFiles()
    {
        QFETCH(QString, damage);
        QFile good(m_data);
        QVERIFY(good.open(QIODevice::ReadOnly));
        QByteArray bytes = good.readAll();
        const QString target = m_dir.filePath(QStringLiteral("damaged-") + damage);
        if (damage == u"empty")
            bytes.clear();
        else if (damage == u"short")
            bytes.truncate(40);
        else if (damage == u"truncated")
            bytes.truncate(bytes.size() - 9);
        else if (damage == u"flip")
            bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x20);
        else if (damage == u"version")
            bytes[8] = char(bytes[8] + 1);
        else if (damage == u"magic")
            bytes[0] = 'X';
        else if (damage == u"bits")
            bytes[24] = char(60);
        else if (damage == u"garbage")
            bytes = QByteArray(4096, '\xA5');
        if (damage == u"folder") {
            QVERIFY(QDir().mkpath(target));
        } else if (damage != u"missing") {
            QFile f(target);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        const uint32_t h = OpenMorphology(QFile::encodeName(target).constData());
        QVERIFY(h != 0);
        char out[100];
        int32_t size = 99;
        QCOMPARE(CalcStem(h, "", out, &size), 0); // suffix rules alone
        QCOMPARE(stem(h, "руки"), QByteArray("рук"));
        QCOMPARE(stem(h, "столами"), QByteArray("стол"));
        QCOMPARE(CloseMorphology(h), 1);
    }

    // Files whose checksum matches but whose tables lie: lookups stay inside the map.
    void forgedTables_data()
    {
        QTest::addColumn<int>("seed");
        for (int seed = 1; seed <= 40; ++seed)
            QTest::addRow("seed %d", seed) << seed;
    }
    void forgedTables()
    {
        QFETCH(int, seed);
        QFile good(m_data);
        QVERIFY(good.open(QIODevice::ReadOnly));
        QByteArray bytes = good.readAll();
        mhelper::Header h;
        std::memcpy(&h, bytes.constData(), sizeof h);
        QRandomGenerator random{quint32(seed)};
        // Scribble over buckets, entries and pool offsets with large and small values.
        for (int i = 0; i < 64; ++i) {
            const qsizetype at = qsizetype(sizeof h) + random.bounded(int(bytes.size() - sizeof h - 4)) / 4 * 4;
            const quint32 value = random.bounded(2) ? random.generate() : quint32(random.bounded(64));
            std::memcpy(bytes.data() + at, &value, 4);
        }
        h.checksum = mhelper::Checksum(reinterpret_cast<const unsigned char*>(bytes.constData()) + sizeof h,
                                       size_t(bytes.size()) - sizeof h);
        std::memcpy(bytes.data(), &h, sizeof h);
        const QString target = m_dir.filePath(QStringLiteral("forged-%1.dat").arg(seed));
        QFile f(target);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        const uint32_t handle = OpenMorphology(QFile::encodeName(target).constData());
        QVERIFY(handle != 0);
        for (const char* word : {"руки", "воды", "читаю", "стали", "люди", "москвой", "рукы", "tables", "zzz"}) {
            const QByteArray out = stem(handle, word);
            QVERIFY(out.size() <= 99);
            QCOMPARE(QString::fromUtf8(out).toUtf8(), out);
        }
        QCOMPARE(CloseMorphology(handle), 1);
    }

    void compilerRefusesBadInput_data()
    {
        QTest::addColumn<QByteArray>("affix");
        QTest::addColumn<QByteArray>("irregular");
        QTest::newRow("long flags") << QByteArray("SET UTF-8\nFLAG long\n") << QByteArray();
        QTest::newRow("other encoding") << QByteArray("SET KOI8-R\n") << QByteArray();
        QTest::newRow("unclosed condition") << QByteArray("SET UTF-8\nSFX A Y 1\nSFX A 0 ы [аб\n") << QByteArray();
        QTest::newRow("irregular line with three words") << QByteArray("SET UTF-8\n") << QByteArray("a b c\n");
    }
    void compilerRefusesBadInput()
    {
        QFETCH(QByteArray, affix);
        QFETCH(QByteArray, irregular);
        write(QStringLiteral("bad.aff"), affix);
        write(QStringLiteral("bad.irr"), irregular);
        const QString out = path(u"bad.dat");
        QVERIFY(compile(out, {path(u"bad.aff"), path(u"t.dic")}, {path(u"bad.irr")}) != 0);
        QVERIFY(!QFile::exists(out));
    }

    void compilerReportsMissingFiles()
    {
        QVERIFY(compile(path(u"none.dat"), {path(u"absent.aff"), path(u"t.dic")}, {}) != 0);
        QVERIFY(compile(path(u"none.dat"), {path(u"t.aff")}, {}) != 0); // no dictionary
    }

private:
    QString path(const char16_t* name) const { return m_dir.filePath(QString::fromUtf16(name)); }

    void write(const QString& name, const QByteArray& text)
    {
        QFile f(m_dir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }

    int compile(const QString& output, const QStringList& inputs, const QStringList& irregular)
    {
        QStringList args{QStringLiteral("-o"), output};
        for (const QString& i : irregular)
            args << QStringLiteral("-i") << i;
        args << inputs;
        QProcess p;
        p.start(QStringLiteral(PARAFRIX_BIN_DIR "/mhelper-compile"), args);
        if (!p.waitForFinished(120000))
            return -1;
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    QByteArray stem(uint32_t handle, const QByteArray& word)
    {
        char out[100];
        int32_t size = 99;
        CalcStem(handle, word.constData(), out, &size);
        return QByteArray(out);
    }

    QTemporaryDir m_dir;
    QString m_data = m_dir.filePath(QStringLiteral("t.dat"));
    uint32_t m_handle = 0;
};

QTEST_GUILESS_MAIN(TestDictionaryCompiler)
#include "tst_dictionarycompiler.moc"
