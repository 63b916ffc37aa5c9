#include "word/libreoffice/OfficeIpcClient.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QByteArray Greeting = QByteArrayLiteral("InternalIPC::SendArguments");
const QByteArray ArgumentsHeader = QByteArrayLiteral("InternalIPC::Arguments");
const QByteArray ProcessingDone = QByteArrayLiteral("InternalIPC::ProcessingDone");
// Longest message the office sends; anything longer is not the office.
constexpr qsizetype MaxAnswer = 256;

// A connected socket that closes itself.
class Socket
{
public:
    ~Socket()
    {
        if (fd >= 0)
            ::close(fd);
    }
    int fd = -1;
};

OfficeIpcClient::Reply Fail(const QString& reason)
{
    return {OfficeIpcClient::Answer::Failed, reason};
}

OfficeIpcClient::Reply Connect(Socket& socket, const QString& path)
{
    const QByteArray encoded = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (encoded.size() >= qsizetype(sizeof(address.sun_path)))
        return {OfficeIpcClient::Answer::NoOffice, QStringLiteral(u"socket path too long")};
    std::memcpy(address.sun_path, encoded.constData(), size_t(encoded.size()));
    socket.fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket.fd < 0)
        return Fail(QString::fromLocal8Bit(std::strerror(errno)));
    if (::connect(socket.fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        const int error = errno;
        if (error == ENOENT || error == ECONNREFUSED || error == ENOTDIR)
            return {OfficeIpcClient::Answer::NoOffice, {}};
        return Fail(QString::fromLocal8Bit(std::strerror(error)));
    }
    return {OfficeIpcClient::Answer::Done, {}};
}

bool Wait(int fd, short events, const QDeadlineTimer& deadline)
{
    pollfd entry{fd, events, 0};
    for (;;) {
        const int result = ::poll(&entry, 1, int(qMax<qint64>(0, deadline.remainingTime())));
        if (result > 0)
            return true;
        if (result == 0 || errno != EINTR)
            return false;
    }
}

// Reads one NUL-terminated message.
bool ReadMessage(int fd, QByteArray& message, const QDeadlineTimer& deadline)
{
    message.clear();
    for (;;) {
        if (!Wait(fd, POLLIN, deadline))
            return false;
        char byte = 0;
        const ssize_t count = ::read(fd, &byte, 1);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        if (byte == '\0')
            return true;
        if (message.size() >= MaxAnswer)
            return false;
        message.append(byte);
    }
}

bool WriteAll(int fd, const QByteArray& data, const QDeadlineTimer& deadline)
{
    qsizetype written = 0;
    while (written < data.size()) {
        if (!Wait(fd, POLLOUT, deadline))
            return false;
        const ssize_t count = ::send(fd, data.constData() + written, size_t(data.size() - written), MSG_NOSIGNAL);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        written += count;
    }
    return true;
}

OfficeIpcClient::Reply Greet(Socket& socket, const QString& path, const QDeadlineTimer& deadline)
{
    const OfficeIpcClient::Reply connected = Connect(socket, path);
    if (connected.answer != OfficeIpcClient::Answer::Done)
        return connected;
    QByteArray message;
    if (!ReadMessage(socket.fd, message, deadline))
        return Fail(QStringLiteral(u"Текстовый процессор не отвечает."));
    if (message != Greeting)
        return Fail(QStringLiteral(u"Неожиданный ответ текстового процессора."));
    return connected;
}

} // namespace

QString OfficeIpcClient::ProfileHash(const QString& profileUrl)
{
    QByteArray units;
    units.reserve(profileUrl.size() * 2);
    for (const QChar unit : profileUrl) {
        units.append(char(unit.unicode() & 0xFF));
        units.append(char(unit.unicode() >> 8));
    }
    const QByteArray digest = QCryptographicHash::hash(units, QCryptographicHash::Md5);
    QString hash;
    for (const char byte : digest)
        hash += QString::number(uchar(byte), 16);
    return hash;
}

QString OfficeIpcClient::SocketPath(const QString& profileUrl, uint uid, const QString& directory)
{
    return directory + QStringLiteral(u"/OSL_PIPE_%1_SingleOfficeIPC_%2").arg(uid).arg(ProfileHash(profileUrl));
}

QString OfficeIpcClient::SocketPath(const QString& profileUrl)
{
    const QFileInfo tmp(QStringLiteral(u"/tmp"));
    const QString directory = tmp.isDir() && tmp.isWritable() ? QStringLiteral(u"/tmp") : QStringLiteral(u"/var/tmp");
    return SocketPath(profileUrl, uint(::getuid()), directory);
}

QByteArray OfficeIpcClient::ArgumentsMessage(const QStringList& arguments)
{
    QByteArray message = ArgumentsHeader + '0';
    for (const QString& argument : arguments) {
        message += ',';
        for (const char byte : argument.toUtf8()) {
            if (byte == ',' || byte == '\\')
                message += '\\';
            if (byte == '\0')
                message += "\\0";
            else
                message += byte;
        }
    }
    message += '\0';
    return message;
}

QString OfficeIpcClient::AcceptArgument(const QString& pipeName)
{
    return QStringLiteral(u"--accept=pipe,name=%1;urp;StarOffice.ComponentContext").arg(pipeName);
}

OfficeIpcClient::Reply OfficeIpcClient::SendArguments(const QString& socketPath, const QStringList& arguments,
                                                      int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    Socket socket;
    const Reply greeted = Greet(socket, socketPath, deadline);
    if (greeted.answer != Answer::Done)
        return greeted;
    if (!WriteAll(socket.fd, ArgumentsMessage(arguments), deadline))
        return Fail(QStringLiteral(u"Текстовый процессор не принимает команды."));
    QByteArray answer;
    if (!ReadMessage(socket.fd, answer, deadline))
        return Fail(QStringLiteral(u"Текстовый процессор не отвечает."));
    if (answer != ProcessingDone)
        return Fail(QStringLiteral(u"Неожиданный ответ текстового процессора."));
    return {Answer::Done, {}};
}

OfficeIpcClient::Reply OfficeIpcClient::Probe(const QString& socketPath, int timeoutMs)
{
    Socket socket;
    return Greet(socket, socketPath, QDeadlineTimer(timeoutMs));
}
