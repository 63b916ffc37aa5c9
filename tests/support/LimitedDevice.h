#pragma once

#include <QByteArray>
#include <QIODevice>

// An output device with room for a given number of bytes, like a disk that fills
// up: writes beyond the room are cut short, and once full every write fails.
class LimitedDevice : public QIODevice
{
public:
    explicit LimitedDevice(qint64 room) : m_room(room) { open(QIODevice::WriteOnly); }

    const QByteArray& written() const { return m_written; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        const qint64 left = m_room - m_written.size();
        if (left <= 0)
            return -1;
        const qint64 taken = qMin(size, left);
        m_written.append(data, taken);
        return taken;
    }

private:
    qint64 m_room;
    QByteArray m_written;
};
