#pragma once

#include <QByteArray>
#include <QStringList>

struct CheckOutcome;

// The command-line check: parses arguments, runs the Check on two documents and
// prints the matches as text or JSON. Returns the process exit status:
// 0 no match, 1 at least one match, 2 error.
class CheckCli
{
public:
    static int Run(const QStringList& arguments);

    // The JSON report of a successful Check: {"matches": [{"original", "edited", "verdict"}...]}.
    static QByteArray MatchesToJson(const CheckOutcome& outcome);

    // Expands the escapes \t, \n, \r and \\; false on any other backslash sequence.
    static bool UnescapeArgument(const QString& argument, QString& value);
};
