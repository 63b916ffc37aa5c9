// Times the window as a student meets it: process start, the morphology and the
// thesaurus loaded, the window shown with both examples named, "Проверить!" pressed,
// until the matches are listed. Each run is a fresh process (forked and re-executed),
// timed from outside: wall-clock time until the child says its list is filled, and
// the child's processor time and peak memory. Runs offscreen with settings in a
// temporary folder, so the user's own settings are never read or written.
//   bench_window [--runs N]
#include "ChildUsage.h"
#include "morph/MorphologyLibrary.h"
#include "morph/Thesaurus.h"
#include "settings/AppSettings.h"
#include "settings/QtSettingsStore.h"
#include "window/CParafrixDlg.h"
#include "window/RussianInterface.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QListWidget>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace {

double now()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// One run inside the child: what the program's start does, then one Check. Writes the
// number of rows to `ready` once the list is filled; the exit code says whether it was.
int RunWindow(int argc, char* argv[], int ready)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir settingsDir;
    const QString ini = settingsDir.filePath(QStringLiteral("settings.ini"));
    AppSettings::SetStoreFactory([ini] { return std::make_unique<QtSettingsStore>(ini); });

    RussianInterface::Install();
    MorphologyLibrary::Instance().Load();
    InstalledThesaurus::Instance().Load();
    CParafrixDlg window;
    window.SetDocuments(QStringLiteral(PARAFRIX_EXAMPLES_DIR "/original.txt"),
                        QStringLiteral(PARAFRIX_EXAMPLES_DIR "/edited.txt"));
    window.show();
    auto* check = window.findChild<QAbstractButton*>(QStringLiteral("checkButton"));
    auto* list = window.findChild<QListWidget*>(QStringLiteral("matchList"));
    if (!check || !list)
        return 3;
    check->click();
    const QDeadlineTimer deadline(30000);
    while (list->count() == 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (list->count() == 0)
        return 4;
    const qint32 rows = qint32(list->count());
    if (write(ready, &rows, sizeof rows) != sizeof rows)
        return 5;
    MorphologyLibrary::Instance().Unload();
    return 0;
}

struct Usage
{
    double wallSeconds = 0;
    double cpuSeconds = 0;
    double peakMegabytes = 0;
    qint32 rows = 0;
    bool ok = false;
};

Usage RunOnce(const char* self)
{
    Usage usage;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return usage;
    const double start = now();
    const pid_t child = fork();
    if (child < 0)
        return usage;
    if (child == 0) {
        close(pipeEnds[0]);
        // Qt's notes about the offscreen platform are no figures.
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 2);
        const QByteArray fd = QByteArray::number(pipeEnds[1]);
        execl(self, self, "--child", fd.constData(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    const bool ready = read(pipeEnds[0], &usage.rows, sizeof usage.rows) == sizeof usage.rows;
    usage.wallSeconds = now() - start;
    close(pipeEnds[0]);
    int status = 0;
    rusage used{};
    if (wait4(child, &status, 0, &used) != child)
        return usage;
    usage.cpuSeconds = bench::CpuSeconds(used);
    usage.peakMegabytes = bench::PeakMegabytes(used);
    usage.ok = ready && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return usage;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 3 && std::string_view(argv[1]) == "--child")
        return RunWindow(argc, argv, std::atoi(argv[2]));
    int runs = 5;
    if (argc == 3 && std::string_view(argv[1]) == "--runs")
        runs = std::max(1, std::atoi(argv[2]));
    Usage best;
    for (int i = 0; i < runs; ++i) {
        const Usage usage = RunOnce("/proc/self/exe");
        if (!usage.ok) {
            std::fprintf(stderr, "run %d: the window did not list the examples' matches\n", i + 1);
            return 1;
        }
        if (i == 0 || usage.wallSeconds < best.wallSeconds)
            best = usage;
    }
    std::printf("window start to the examples' %d rows listed: %.3f s wall, %.3f s CPU, %.1f MB peak "
                "(best of %d runs by wall-clock time)\n",
                int(best.rows), best.wallSeconds, best.cpuSeconds, best.peakMegabytes, runs);
    return 0;
}
