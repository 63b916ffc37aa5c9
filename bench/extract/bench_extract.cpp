// Times CDocToText::Extract on the documents named on the command line (default: the
// ones scripts/make-bench-documents.sh writes) and prints the median of several runs
// with the throughput in text characters and file bytes per second.
#include "extract/CDocToText.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList paths = app.arguments().mid(1);
    if (paths.isEmpty()) {
        const QDir data(QStringLiteral(PARAFRIX_BENCH_DATA_DIR));
        for (const char* name : {"essay.docx", "essay.odt", "essay.doc", "essay.rtf", "essay.pdf", "essay.txt"})
            paths << data.filePath(QString::fromLatin1(name));
    }
    constexpr int kRuns = 7;
    int status = 0;
    std::printf("%-40s %10s %12s %10s %10s\n", "document", "median ms", "characters", "Mchar/s", "MB/s");
    for (const QString& path : paths) {
        if (!QFileInfo::exists(path)) {
            std::fprintf(stderr, "%s missing: run scripts/make-bench-documents.sh\n", qPrintable(path));
            status = 1;
            continue;
        }
        std::vector<double> times;
        qsizetype characters = 0;
        for (int run = 0; run < kRuns; ++run) {
            QElapsedTimer timer;
            timer.start();
            const ExtractResult result = CDocToText().Extract(path);
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
            characters = result.text.size();
        }
        std::sort(times.begin(), times.end());
        const double ms = times[kRuns / 2];
        const double bytes = double(QFileInfo(path).size());
        std::printf("%-40s %10.1f %12lld %10.2f %10.2f\n", qPrintable(QFileInfo(path).fileName()), ms,
                    static_cast<long long>(characters), double(characters) / ms / 1e3, bytes / ms / 1e3);
    }
    return status;
}
