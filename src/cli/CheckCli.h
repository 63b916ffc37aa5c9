#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QStringList>

// The command-line check: parses arguments, reads the stored settings once, loads
// the morphology library, runs the Check of the last document against the others (or
// the documents in the folders named) and prints the matches as text or JSON.
// Returns the process exit status: 0 no match, 1 at least one match, 2 error (a usage
// error, an unreadable document, or output that could not be written).
class CheckCli
{
public:
    // nativeArguments: the same arguments as the system gave them, so that document
    // names in any encoding open; without them the decoded names are used.
    // processEnds: the caller ends the process right after, without freeing the heap;
    // the Check's data is then left to the system instead of freed list by list.
    static int Run(const QStringList& arguments, const QByteArrayList& nativeArguments = {}, bool processEnds = false);

    // The arguments with a bare "--near" given the default threshold ("--near=50"), as
    // the parser takes no option whose value may be left out.
    static QStringList WithNearDefault(QStringList arguments);

    // Expands the escapes \t, \n, \r and \\; false on any other backslash sequence.
    static bool UnescapeArgument(const QString& argument, QString& value);
};
