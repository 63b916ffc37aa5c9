#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The office's single-instance channel: a Unix socket per user profile through which a
// second start hands its command line to the office already running. Talking to it
// directly tells whether an office runs for a profile, and asks it to accept our pipe,
// without any chance of starting a new office.
class OfficeIpcClient
{
public:
    enum class Answer
    {
        // No socket, or nobody listening on it: no office runs for the profile.
        NoOffice,
        Done,
        // Something listens but did not follow the protocol in time.
        Failed,
    };

    struct Reply
    {
        Answer answer = Answer::NoOffice;
        QString reason;
    };

    // Hash of a profile URL as the office names its socket: MD5 over the URL's UTF-16LE
    // code units, each byte in lower-case hex without zero padding.
    static QString ProfileHash(const QString& profileUrl);
    // Socket path for the profile, for the given user id, in directory (the office uses /tmp,
    // or /var/tmp when /tmp is not writable).
    static QString SocketPath(const QString& profileUrl, uint uid, const QString& directory);
    // SocketPath for the current user and the directory the office would choose.
    static QString SocketPath(const QString& profileUrl);
    // The message carrying a command line: arguments after "0" (no working directory),
    // comma-separated, with ',', '\\' and NUL escaped.
    static QByteArray ArgumentsMessage(const QStringList& arguments);
    // The command-line argument that makes an office accept UNO connections on pipeName.
    static QString AcceptArgument(const QString& pipeName);

    // Hands arguments to the office listening on socketPath. Every wait is bounded by timeoutMs.
    static Reply SendArguments(const QString& socketPath, const QStringList& arguments, int timeoutMs);
    // Whether an office answers on socketPath; it treats a hang-up after its greeting as a look-up.
    static Reply Probe(const QString& socketPath, int timeoutMs);
};
