#pragma once

// The command line the document benchmarks share: [--library] [--write DIR] [SIZE...].

#include <QList>
#include <QString>
#include <QStringList>

namespace bench {

struct BenchArguments
{
    bool useLibrary = false; // stem with the morphology library rather than lower-casing
    QString writeDir;        // write the generated documents there instead of timing
    QList<qsizetype> sizes;  // words a side, one run each
};

inline BenchArguments ParseBenchArguments(QStringList arguments, const QList<qsizetype>& defaultSizes)
{
    BenchArguments parsed;
    parsed.useLibrary = arguments.removeAll(QStringLiteral("--library")) > 0;
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--write")); at >= 0 && at + 1 < arguments.size()) {
        parsed.writeDir = arguments.at(at + 1);
        arguments.remove(at, 2);
    }
    for (const QString& argument : std::as_const(arguments))
        parsed.sizes.append(argument.toLongLong());
    if (parsed.sizes.isEmpty())
        parsed.sizes = defaultSizes;
    return parsed;
}

} // namespace bench
