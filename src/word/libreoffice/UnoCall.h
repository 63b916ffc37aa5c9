#pragma once

#include "word/libreoffice/BoundedWorker.h"
#include "word/LibreOfficeOptions.h"
#include "word/WordStatus.h"

#include <rtl/ustring.hxx>

using rtl::OUString;

#include <QString>
#include <functional>
#include <memory>

class UnoOffice;

// What every object of the module shares: the one thread that makes all UNO calls,
// the options, and the connection state that lives on that thread.
struct UnoShared
{
    std::shared_ptr<BoundedWorker> worker;
    LibreOfficeOptions options;
    // Touched only on the worker thread.
    std::shared_ptr<UnoOffice> office;
};

namespace UnoCall {

QString ToQString(const OUString& text);
OUString ToOUString(const QString& text);

// Runs job on the worker and waits at most timeoutMs. UNO exceptions become failures;
// a dropped bridge says that the office has closed. Outputs are written by the job
// into what it captures.
WordStatus Run(const UnoShared& shared, int timeoutMs, std::function<WordStatus()> job);

// An object holding UNO references, deleted on the worker thread so that releasing the
// references is a UNO call like any other.
template <typename T> std::shared_ptr<T> WorkerOwned(const std::shared_ptr<BoundedWorker>& worker, T* object)
{
    return std::shared_ptr<T>(object, [worker](T* held) {
        if (worker->IsWorkerThread())
            delete held;
        else
            worker->Post([held] { delete held; });
    });
}

} // namespace UnoCall
