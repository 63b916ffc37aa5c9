#pragma once

#include "word/QuitStatus.h"

#include <QDeadlineTimer>
#include <QFrame>
#include <QTimer>
#include <chrono>
#include <functional>

class QLabel;
class QPushButton;

// Stands in the verdict area while a Check waits for the word processor to quit: tells
// the user that its own question (save the document?) waits for an answer in its window,
// and offers to stop waiting. Polls without blocking the window, and gives up by itself
// after maxWait, so that no wait lasts for ever.
class QuitWaitPanel : public QFrame
{
    Q_OBJECT
public:
    using Poll = std::function<QuitStatus()>;

    explicit QuitWaitPanel(QWidget* parent = nullptr);

    // Polls until poll answers something other than Deciding. Showing and hiding the
    // panel is the window's.
    void Start(Poll poll);
    // Stops polling without a finished signal (the window closes).
    void Cancel();
    bool isWaiting() const { return m_timer.isActive(); }
    // Asks poll once now, as the timer does.
    void PollNow();
    // Gives up waiting, as the button does.
    void StopWaiting();

    void setMaxWait(std::chrono::milliseconds wait) { m_maxWait = wait; }
    QPushButton* stopButton() const { return m_stopButton; }

    static constexpr int PollIntervalMs = 200;
    static constexpr std::chrono::milliseconds DefaultMaxWait{10 * 60 * 1000};

signals:
    // The wait is over: status is how the quit ended, or Deciding with stopped set when
    // the wait was given up while the word processor was still asking.
    void finished(QuitStatus status, bool stopped);

private:
    void Finish(QuitStatus status, bool stopped);

    QLabel* m_label = nullptr;
    QPushButton* m_stopButton = nullptr;
    QTimer m_timer;
    QDeadlineTimer m_deadline;
    std::chrono::milliseconds m_maxWait = DefaultMaxWait;
    Poll m_poll;
};
