// Times `parafrix-check --json [--near]` as a whole (process start, loading the
// morphology library and the thesaurus, reading both files, the Check and the JSON
// written to /dev/null) on generated Russian-like document pairs, and reports the
// processor time (user + system, best of N runs) and the peak resident memory.
//
//   bench_command [--runs N] [--program PATH] [--distinct] [SIZES...]
//       SIZES: words a side, default 200000 1000000. --distinct adds the pair of
//       2,000,000 distinct words in 200,000 sentences a side.
//
// The program is the parafrix-check beside this benchmark unless --program names one.

#include "ChildUsage.h"
#include "SyntheticWords.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Pair
{
    QString name;
    QString original;
    QString edited;
    qsizetype words = 0;
    qsizetype sentences = 0;
};

// The benchmarks' generated pair of about size words a side, as sentences ending in full stops.
Pair makePair(qsizetype size, quint32 seed)
{
    const SyntheticPair sentences = MakeSyntheticPair(size, seed);
    Pair pair;
    pair.name = QString::number(size);
    pair.words = sentences.words;
    pair.sentences = sentences.original.size();
    pair.original = sentences.original.join(QStringLiteral(". ")) + QChar(u'.');
    pair.edited = sentences.edited.join(QStringLiteral(". ")) + QChar(u'.');
    return pair;
}

// 2,000,000 distinct made-up words in 200,000 sentences of ten; the copy reverses one
// sentence in three and puts a new word into another.
Pair makeDistinctPair()
{
    static const QString letters = QStringLiteral(u"бвгджзклмнпрстфхцчшщаеиоуыяю");
    const auto word = [](qint64 n) {
        QString text(QChar(u'ж'));
        do {
            text += letters.at(n % letters.size());
            n /= letters.size();
        } while (n > 0);
        return text;
    };
    Pair pair;
    pair.name = QStringLiteral("2M distinct");
    pair.sentences = 200000;
    pair.words = 2000000;
    QString original;
    QString edited;
    for (qint64 s = 0; s < pair.sentences; ++s) {
        QStringList sentence;
        for (qint64 w = 0; w < 10; ++w)
            sentence.append(word(s * 10 + w));
        original += sentence.join(u' ') + QStringLiteral(". ");
        if (s % 3 == 0)
            std::reverse(sentence.begin(), sentence.end());
        else if (s % 3 == 1)
            sentence[5] = word(pair.words + s);
        edited += sentence.join(u' ') + QStringLiteral(". ");
    }
    pair.original = original;
    pair.edited = edited;
    return pair;
}

bool writeFile(const QString& path, const QString& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) >= 0;
}

struct Usage
{
    double cpuSeconds = 0;
    double peakMegabytes = 0;
    int exitCode = -1;
};

// Runs the program with its output thrown away and returns what it used.
Usage run(const QByteArray& program, const QList<QByteArray>& arguments)
{
    Usage usage;
    const pid_t child = fork();
    if (child < 0)
        return usage;
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        std::vector<char*> argv{const_cast<char*>(program.constData())};
        for (const QByteArray& argument : arguments)
            argv.push_back(const_cast<char*>(argument.constData()));
        argv.push_back(nullptr);
        execv(program.constData(), argv.data());
        _exit(127);
    }
    int status = 0;
    rusage used{};
    if (wait4(child, &status, 0, &used) != child)
        return usage;
    usage.cpuSeconds = bench::CpuSeconds(used);
    usage.peakMegabytes = bench::PeakMegabytes(used);
    usage.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return usage;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    int runs = 5;
    QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/parafrix-check");
    bool distinct = false;
    QList<qsizetype> sizes;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QStringLiteral("--runs") && i + 1 < arguments.size())
            runs = std::max(1, arguments.at(++i).toInt());
        else if (argument == QStringLiteral("--program") && i + 1 < arguments.size())
            program = arguments.at(++i);
        else if (argument == QStringLiteral("--distinct"))
            distinct = true;
        else
            sizes.append(argument.toLongLong());
    }
    if (sizes.isEmpty() && !distinct)
        sizes = {200000, 1000000};

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    // Every pair is written before the first run and dropped from memory: a child
    // reports the peak of its parent's memory at the fork as its own.
    struct Written
    {
        QString name;
        qsizetype words = 0;
        qsizetype sentences = 0;
        double megabytes = 0;
        QByteArray original;
        QByteArray edited;
    };
    QList<Written> written;
    const auto write = [&](const Pair& pair) {
        Written files{pair.name,
                      pair.words,
                      pair.sentences,
                      0,
                      QFile::encodeName(dir.filePath(QStringLiteral("%1.original.txt").arg(written.size()))),
                      QFile::encodeName(dir.filePath(QStringLiteral("%1.edited.txt").arg(written.size())))};
        if (!writeFile(QFile::decodeName(files.original), pair.original) ||
            !writeFile(QFile::decodeName(files.edited), pair.edited))
            return false;
        files.megabytes = double(QFile(QFile::decodeName(files.original)).size()) / 1e6;
        written.append(files);
        return true;
    };
    bool ok = true;
    for (qsizetype size : sizes)
        ok = ok && write(makePair(size, 20261209));
    if (distinct)
        ok = ok && write(makeDistinctPair());
    if (!ok) {
        std::fprintf(stderr, "cannot write the documents\n");
        return 1;
    }
    malloc_trim(0);

    std::printf("%-12s %10s %10s %9s %-6s %12s %10s %5s\n", "pair", "words", "sentences", "MB a side", "mode",
                "CPU s (best)", "peak MB", "exit");
    for (const Written& pair : std::as_const(written)) {
        for (const bool near : {false, true}) {
            QList<QByteArray> commandLine{QByteArrayLiteral("--json")};
            if (near)
                commandLine.append(QByteArrayLiteral("--near"));
            commandLine.append(pair.original);
            commandLine.append(pair.edited);
            Usage best;
            best.cpuSeconds = 1e300;
            for (int i = 0; i < runs; ++i) {
                const Usage usage = run(QFile::encodeName(program), commandLine);
                if (usage.exitCode != 0 && usage.exitCode != 1) {
                    std::fprintf(stderr, "%s failed (exit %d)\n", qPrintable(program), usage.exitCode);
                    return 1;
                }
                if (usage.cpuSeconds < best.cpuSeconds)
                    best = usage;
            }
            std::printf("%-12s %10lld %10lld %9.1f %-6s %12.3f %10.1f %5d\n", qPrintable(pair.name),
                        qlonglong(pair.words), qlonglong(pair.sentences), pair.megabytes, near ? "near" : "exact",
                        best.cpuSeconds, best.peakMegabytes, best.exitCode);
        }
    }
    std::printf("parafrix-check --json [--near] ORIGINAL EDITED > /dev/null; processor time user + system, best of "
                "%d runs, with the peak memory of that run\n",
                runs);
    return 0;
}
