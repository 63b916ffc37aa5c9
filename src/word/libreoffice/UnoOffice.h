#pragma once

#include "word/LibreOfficeOptions.h"
#include "word/WordStatus.h"

#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include <QDeadlineTimer>
#include <QList>
#include <sys/types.h>

// The connection to an office, used only on the module's worker thread: the local UNO
// runtime, finding a running office without starting one, and starting one.
class UnoOffice
{
public:
    explicit UnoOffice(LibreOfficeOptions options);
    ~UnoOffice();

    // The desktop of a running office: first one accepting on our pipe, then the office of
    // our profile, asked through its single-instance channel to accept on our pipe. Fails
    // at once when none runs; never starts an office.
    WordStatus FindRunning(com::sun::star::uno::Reference<com::sun::star::frame::XDesktop2>& desktop);
    // Starts an office accepting on our pipe and connects to it. started is false when the
    // start request was handed to an office that was already running.
    WordStatus Start(com::sun::star::uno::Reference<com::sun::star::frame::XDesktop2>& desktop, bool& started,
                     const QDeadlineTimer& deadline);

    // The profile URL whose office we look for.
    QString ProfileUrl();
    // Arguments for a new office (without the program).
    QStringList StartArguments() const;

private:
    WordStatus EnsureLocalContext();
    // One attempt to connect on our pipe; empty when nothing accepts there.
    com::sun::star::uno::Reference<com::sun::star::frame::XDesktop2> ConnectPipe();
    com::sun::star::uno::Reference<com::sun::star::frame::XDesktop2> ConnectPipe(const QDeadlineTimer& deadline);
    bool Alive(const com::sun::star::uno::Reference<com::sun::star::frame::XDesktop2>& desktop);
    void ReapChildren();

    LibreOfficeOptions m_options;
    com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext> m_local;
    // The last connection, reused while its bridge lives.
    com::sun::star::uno::Reference<com::sun::star::frame::XDesktop2> m_desktop;
    QString m_profileUrl;
    // Launchers we spawned and have not reaped yet.
    QList<pid_t> m_children;
};
