#include "word/libreoffice/OfficeIpcClient.h"

#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

// A listening Unix socket standing in for the office's single-instance channel.
class FakeOfficeChannel
{
public:
    explicit FakeOfficeChannel(const QString& path)
    {
        m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray encoded = QFile::encodeName(path);
        std::memcpy(address.sun_path, encoded.constData(), size_t(encoded.size()));
        bound = ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 && ::listen(m_fd, 1) == 0;
    }
    ~FakeOfficeChannel()
    {
        Join();
        ::close(m_fd);
    }

    void Join()
    {
        if (m_server.joinable())
            m_server.join();
    }

    // Serves one client: greets (unless silent), reads one message, answers.
    void Serve(bool greet, QByteArray answer)
    {
        m_server = std::thread([this, greet, answer] {
            const int client = ::accept(m_fd, nullptr, nullptr);
            if (client < 0)
                return;
            if (greet) {
                ::write(client, "InternalIPC::SendArguments", 27);
                char byte = 1;
                while (::read(client, &byte, 1) == 1 && byte != '\0')
                    received.append(byte);
                if (!answer.isEmpty())
                    ::write(client, answer.constData(), size_t(answer.size()) + 1);
            } else {
                char byte = 0;
                while (::read(client, &byte, 1) == 1) {
                }
            }
            ::close(client);
        });
    }

    bool bound = false;
    QByteArray received;

private:
    int m_fd = -1;
    std::thread m_server;
};

QByteArray Terminated(const char* text)
{
    return QByteArray(text) + '\0';
}

} // namespace

class TestOfficeIpcClient : public QObject
{
    Q_OBJECT

private slots:
    void profileHash_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("hash");
        // One byte of the first digest is below 0x10 and is written as a single digit.
        QTest::newRow("short") << QStringLiteral(u"file:///home/test/.config/libreoffice/4")
                               << QStringLiteral(u"9c6bfe577ee6ea2c4ac1684a9b68466");
        QTest::newRow("full") << QStringLiteral(u"file:///home/user/.config/libreoffice/4")
                              << QStringLiteral(u"ebf4c14b10ff5047a7c52cb16b89cb45");
    }

    void profileHash()
    {
        QFETCH(QString, url);
        QFETCH(QString, hash);
        QCOMPARE(OfficeIpcClient::ProfileHash(url), hash);
    }

    void socketPath()
    {
        QCOMPARE(OfficeIpcClient::SocketPath(QStringLiteral(u"file:///home/user/.config/libreoffice/4"), 1000,
                                             QStringLiteral(u"/tmp")),
                 QStringLiteral(u"/tmp/OSL_PIPE_1000_SingleOfficeIPC_ebf4c14b10ff5047a7c52cb16b89cb45"));
    }

    void argumentsMessage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("none") << QStringList() << Terminated("InternalIPC::Arguments0");
        QTest::newRow("accept") << QStringList{OfficeIpcClient::AcceptArgument(QStringLiteral(u"parafrix"))}
                                << Terminated("InternalIPC::Arguments0,--accept=pipe\\,name=parafrix;urp;"
                                              "StarOffice.ComponentContext");
        QTest::newRow("escapes") << QStringList{QStringLiteral(u"a\\b"), QString(QChar(0)) + u'x'}
                                 << Terminated("InternalIPC::Arguments0,a\\\\b,\\0x");
        QTest::newRow("utf8") << QStringList{QStringLiteral(u"ё")} << Terminated("InternalIPC::Arguments0,\xD1\x91");
    }

    void argumentsMessage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, message);
        QCOMPARE(OfficeIpcClient::ArgumentsMessage(arguments), message);
    }

    void missingSocketMeansNoOffice()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral(u"absent"));
        QCOMPARE(OfficeIpcClient::Probe(path, 1000).answer, OfficeIpcClient::Answer::NoOffice);
        QCOMPARE(OfficeIpcClient::SendArguments(path, {}, 1000).answer, OfficeIpcClient::Answer::NoOffice);
    }

    void staleSocketMeansNoOffice()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral(u"stale"));
        {
            FakeOfficeChannel channel(path);
            QVERIFY(channel.bound);
        }
        QVERIFY(QFile::exists(path));
        QCOMPARE(OfficeIpcClient::Probe(path, 1000).answer, OfficeIpcClient::Answer::NoOffice);
    }

    void sendsArgumentsAndReadsDone()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral(u"office"));
        FakeOfficeChannel channel(path);
        QVERIFY(channel.bound);
        channel.Serve(true, QByteArrayLiteral("InternalIPC::ProcessingDone"));
        const QStringList arguments{OfficeIpcClient::AcceptArgument(QStringLiteral(u"p1"))};
        const OfficeIpcClient::Reply reply = OfficeIpcClient::SendArguments(path, arguments, 5000);
        QCOMPARE(reply.answer, OfficeIpcClient::Answer::Done);
        channel.Join();
        QByteArray expected = OfficeIpcClient::ArgumentsMessage(arguments);
        expected.chop(1);
        QCOMPARE(channel.received, expected);
    }

    void wrongAnswerFails()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral(u"office"));
        FakeOfficeChannel channel(path);
        QVERIFY(channel.bound);
        channel.Serve(true, QByteArrayLiteral("Something else"));
        const OfficeIpcClient::Reply reply = OfficeIpcClient::SendArguments(path, {}, 5000);
        QCOMPARE(reply.answer, OfficeIpcClient::Answer::Failed);
        QVERIFY(!reply.reason.isEmpty());
    }

    void silentListenerFailsInsteadOfHanging()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral(u"office"));
        FakeOfficeChannel channel(path);
        QVERIFY(channel.bound);
        channel.Serve(false, {});
        QCOMPARE(OfficeIpcClient::Probe(path, 200).answer, OfficeIpcClient::Answer::Failed);
    }
};

QTEST_GUILESS_MAIN(TestOfficeIpcClient)
#include "tst_officeipcclient.moc"
