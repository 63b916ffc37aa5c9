#pragma once

#include <QByteArray>
#include <QStringList>

// The command-line check: parses arguments, reads the stored settings once, loads
// the morphology library, runs the Check on two documents and prints the matches
// as text or JSON. Returns the process exit status: 0 no match, 1 at least one
// match, 2 error (a usage error, an unreadable document, or output that could not
// be written).
class CheckCli
{
public:
    static int Run(const QStringList& arguments);

    // Expands the escapes \t, \n, \r and \\; false on any other backslash sequence.
    static bool UnescapeArgument(const QString& argument, QString& value);
};
