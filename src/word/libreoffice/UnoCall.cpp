#include "UnoCall.h"

#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/uno/Exception.hpp>
#include <com/sun/star/uno/RuntimeException.hpp>

#include <exception>

namespace css = com::sun::star;

namespace UnoCall {

QString ToQString(const OUString& text)
{
    return QString(reinterpret_cast<const QChar*>(text.getStr()), text.getLength());
}

OUString ToOUString(const QString& text)
{
    return OUString(reinterpret_cast<const sal_Unicode*>(text.utf16()), sal_Int32(text.size()));
}

WordStatus Run(const UnoShared& shared, int timeoutMs, std::function<WordStatus()> job)
{
    auto status = std::make_shared<WordStatus>(WordStatus::Failed(QStringLiteral(u"Текстовый процессор не ответил.")));
    const BoundedWorker::Outcome outcome = shared.worker->Call(
        [status, job = std::move(job)] {
            try {
                *status = job();
            } catch (const css::lang::DisposedException&) {
                *status = WordStatus::Failed(QStringLiteral(u"Текстовый процессор закрыт."));
            } catch (const css::uno::Exception& exception) {
                *status = WordStatus::Failed(ToQString(exception.Message));
            } catch (const std::exception& exception) {
                *status = WordStatus::Failed(QString::fromLocal8Bit(exception.what()));
            } catch (...) {
                *status = WordStatus::Failed(QStringLiteral(u"Неизвестная ошибка текстового процессора."));
            }
        },
        std::chrono::milliseconds(timeoutMs));
    switch (outcome) {
    case BoundedWorker::Outcome::Done:
        return *status;
    case BoundedWorker::Outcome::TimedOut:
        return WordStatus::Failed(
            QStringLiteral(u"Текстовый процессор не ответил за %1 с.").arg((timeoutMs + 999) / 1000));
    case BoundedWorker::Outcome::Busy:
        if (shared.quit && shared.quit->Status() == QuitStatus::Deciding)
            return WordStatus::Failed(QStringLiteral(u"Текстовый процессор ждёт ответа в своём окне."));
        return WordStatus::Failed(QStringLiteral(u"Текстовый процессор всё ещё занят предыдущей командой."));
    }
    return *status;
}

} // namespace UnoCall
