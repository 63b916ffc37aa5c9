#include "UnoOffice.h"

#include "UnoCall.h"
#include "word/libreoffice/OfficeIpcClient.h"

#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <osl/file.hxx>
#include <rtl/bootstrap.hxx>

#include <QDir>
#include <QFile>
#include <QThread>

#include <cstring>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace css = com::sun::star;
using css::uno::Reference;
using css::uno::UNO_QUERY;

namespace {

constexpr int RetryMs = 100;
// How long an office that took our accept request may take to open the pipe.
constexpr int AttachConnectMs = 5000;

OUString FileUrl(const QString& path)
{
    OUString url;
    osl::FileBase::getFileURLFromSystemPath(UnoCall::ToOUString(path), url);
    return url;
}

} // namespace

UnoOffice::UnoOffice(LibreOfficeOptions options) : m_options(std::move(options)) {}

UnoOffice::~UnoOffice()
{
    m_desktop.clear();
    // The local runtime's service manager holds itself through cycles that only disposing breaks.
    try {
        Reference<css::lang::XComponent> local(m_local, UNO_QUERY);
        if (local.is())
            local->dispose();
    } catch (const css::uno::Exception&) {
    }
    m_local.clear();
    ReapChildren();
}

WordStatus UnoOffice::EnsureLocalContext()
{
    if (m_local.is())
        return {};
    // Without the office's own fundamentalrc the runtime knows only the base types, and
    // the first office API call crashes.
    OUString existing;
    if (!rtl::Bootstrap::get(OUString("URE_BOOTSTRAP"), existing)) {
        const OUString rc = FileUrl(QDir(m_options.programDir).filePath(QStringLiteral(u"fundamentalrc")));
        rtl::Bootstrap::set(OUString("URE_BOOTSTRAP"), rtl::Bootstrap::encode(rc));
    }
    m_local = cppu::defaultBootstrap_InitialComponentContext();
    if (!m_local.is())
        return WordStatus::Failed(QStringLiteral(u"Не удалось запустить среду UNO."));
    return {};
}

QString UnoOffice::ProfileUrl()
{
    if (!m_options.profileUrl.isEmpty())
        return m_options.profileUrl;
    if (m_profileUrl.isEmpty()) {
        // The office's own expansion and encoding of its default profile location.
        rtl::Bootstrap bootstrap(FileUrl(QDir(m_options.programDir).filePath(QStringLiteral(u"bootstraprc"))));
        OUString url;
        bootstrap.getFrom(OUString("UserInstallation"), url);
        m_profileUrl = UnoCall::ToQString(url);
    }
    return m_profileUrl;
}

QStringList UnoOffice::StartArguments() const
{
    QStringList arguments;
    if (!m_options.profileUrl.isEmpty())
        arguments << QStringLiteral(u"-env:UserInstallation=") + m_options.profileUrl;
    if (m_options.headless)
        arguments << QStringLiteral(u"--headless") << QStringLiteral(u"--invisible");
    arguments << QStringLiteral(u"--nologo") << QStringLiteral(u"--nodefault");
    // A private profile is ours alone: no recovery of others' documents, no lock questions.
    if (!m_options.profileUrl.isEmpty())
        arguments << QStringLiteral(u"--norestore") << QStringLiteral(u"--nolockcheck");
    arguments << OfficeIpcClient::AcceptArgument(m_options.pipeName);
    return arguments;
}

Reference<css::frame::XDesktop2> UnoOffice::ConnectPipe()
{
    const OUString url = OUString("uno:pipe,name=") + UnoCall::ToOUString(m_options.pipeName) +
                         OUString(";urp;StarOffice.ComponentContext");
    try {
        Reference<css::bridge::XUnoUrlResolver> resolver = css::bridge::UnoUrlResolver::create(m_local);
        Reference<css::uno::XComponentContext> remote(resolver->resolve(url), UNO_QUERY);
        if (!remote.is())
            return {};
        return css::frame::Desktop::create(remote);
    } catch (const css::connection::NoConnectException&) {
        return {};
    }
}

Reference<css::frame::XDesktop2> UnoOffice::ConnectPipe(const QDeadlineTimer& deadline)
{
    for (;;) {
        Reference<css::frame::XDesktop2> desktop = ConnectPipe();
        if (desktop.is() || deadline.hasExpired())
            return desktop;
        QThread::msleep(RetryMs);
    }
}

bool UnoOffice::Alive(const Reference<css::frame::XDesktop2>& desktop)
{
    try {
        desktop->getCurrentComponent();
        return true;
    } catch (const css::uno::RuntimeException&) {
        return false;
    }
}

void UnoOffice::ReapChildren()
{
    for (qsizetype i = m_children.size() - 1; i >= 0; --i) {
        if (::waitpid(m_children.at(i), nullptr, WNOHANG) != 0)
            m_children.removeAt(i);
    }
}

WordStatus UnoOffice::FindRunning(Reference<css::frame::XDesktop2>& desktop)
{
    ReapChildren();
    if (m_desktop.is() && Alive(m_desktop)) {
        desktop = m_desktop;
        return {};
    }
    m_desktop.clear();
    const WordStatus context = EnsureLocalContext();
    if (!context.ok)
        return context;

    desktop = ConnectPipe();
    if (!desktop.is()) {
        const QString socket = OfficeIpcClient::SocketPath(ProfileUrl());
        const OfficeIpcClient::Reply reply = OfficeIpcClient::SendArguments(
            socket, {OfficeIpcClient::AcceptArgument(m_options.pipeName)}, m_options.callTimeoutMs / 3);
        if (reply.answer == OfficeIpcClient::Answer::NoOffice)
            return WordStatus::Failed(QStringLiteral(u"Текстовый процессор не запущен."));
        if (reply.answer == OfficeIpcClient::Answer::Failed)
            return WordStatus::Failed(reply.reason);
        desktop = ConnectPipe(QDeadlineTimer(AttachConnectMs));
        if (!desktop.is())
            return WordStatus::Failed(QStringLiteral(u"Текстовый процессор не принял подключение."));
    }
    m_desktop = desktop;
    return {};
}

WordStatus UnoOffice::Start(Reference<css::frame::XDesktop2>& desktop, bool& started, const QDeadlineTimer& deadline)
{
    started = false;
    ReapChildren();
    const WordStatus context = EnsureLocalContext();
    if (!context.ok)
        return context;

    const QString program = QDir(m_options.programDir).filePath(QStringLiteral(u"soffice"));
    QList<QByteArray> encoded{QFile::encodeName(program)};
    for (const QString& argument : StartArguments())
        encoded << argument.toLocal8Bit();
    std::vector<char*> argv;
    for (QByteArray& argument : encoded)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    // A session of its own: the office outlives us and our terminal, as an office the
    // user started would.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    const int error = ::posix_spawn(&pid, argv.front(), nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (error != 0)
        return WordStatus::Failed(
            QStringLiteral(u"Не удалось запустить %1: %2").arg(program, QString::fromLocal8Bit(std::strerror(error))));
    m_children << pid;

    // The launcher lives as long as the office it started; one that exits at once with
    // success has handed our request to an office that was already running.
    bool launcherExited = false;
    int launcherStatus = 0;
    for (;;) {
        if (!launcherExited && ::waitpid(pid, &launcherStatus, WNOHANG) == pid) {
            launcherExited = true;
            m_children.removeAll(pid);
            if (!WIFEXITED(launcherStatus) || WEXITSTATUS(launcherStatus) != 0)
                return WordStatus::Failed(QStringLiteral(u"Текстовый процессор завершился при запуске."));
        }
        desktop = ConnectPipe();
        if (desktop.is())
            break;
        if (deadline.hasExpired())
            return WordStatus::Failed(QStringLiteral(u"Текстовый процессор не запустился вовремя."));
        QThread::msleep(RetryMs);
    }
    if (!launcherExited && ::waitpid(pid, &launcherStatus, WNOHANG) == pid) {
        launcherExited = true;
        m_children.removeAll(pid);
    }
    started = !launcherExited;
    m_desktop = desktop;
    return {};
}
