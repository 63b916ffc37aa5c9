#include "window/QuitWaitPanel.h"

#include "dialogs/DialogButtons.h"
#include "dialogs/DialogUnits.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

QuitWaitPanel::QuitWaitPanel(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("waitingPanel"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    const DialogUnits du(*this);
    m_label = new QLabel(QStringLiteral(u"Ждём ответа текстового процессора: сохраните или закройте документ в его "
                                        u"окне… Проверка начнётся, как только он закроется."),
                         this);
    m_label->setObjectName(QStringLiteral("waitingLabel"));
    m_label->setTextFormat(Qt::PlainText);
    m_label->setWordWrap(true);
    m_stopButton =
        MakeDialogButton(this, QStringLiteral(u"Не ждать"), QStringLiteral("stopWaitingButton"), du.size(50, 14));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(du.x(4), du.y(2), du.x(4), du.y(2));
    layout->addWidget(m_label, 1);
    layout->addWidget(m_stopButton, 0, Qt::AlignVCenter);

    m_timer.setInterval(PollIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &QuitWaitPanel::PollNow);
    connect(m_stopButton, &QPushButton::clicked, this, &QuitWaitPanel::StopWaiting);
}

void QuitWaitPanel::Start(Poll poll)
{
    m_poll = std::move(poll);
    m_deadline = QDeadlineTimer(m_maxWait);
    m_timer.start();
}

void QuitWaitPanel::Cancel()
{
    m_timer.stop();
    m_poll = nullptr;
}

void QuitWaitPanel::PollNow()
{
    if (!isWaiting())
        return;
    const QuitStatus status = m_poll();
    if (status != QuitStatus::Deciding)
        Finish(status, false);
    else if (m_deadline.hasExpired())
        Finish(status, true);
}

void QuitWaitPanel::StopWaiting()
{
    if (isWaiting())
        Finish(QuitStatus::Deciding, true);
}

void QuitWaitPanel::Finish(QuitStatus status, bool stopped)
{
    Cancel();
    emit finished(status, stopped);
}
