#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// A read-only compound file (the container of Word 97-2003 documents) in memory.
// Every sector chain is checked: a chain that leaves the file, loops, or is shorter
// than the stream's declared size makes the stream unreadable instead of hanging.
class CompoundFile
{
public:
    enum class Status
    {
        Ok,
        Missing,
        Damaged,
        TooLarge,
    };

    // The bytes must outlive the object. False with a reason when the header is bad.
    bool Open(const QByteArray& bytes, QString& why);
    bool Contains(const QString& name) const;
    Status ReadStream(const QString& name, QByteArray& out) const;

private:
    struct Entry
    {
        QString name;
        int type = 0;
        quint32 start = 0;
        quint64 size = 0;
    };
    bool ReadChain(quint32 start, quint64 size, bool mini, QByteArray& out) const;
    bool LoadFat(QString& why);
    bool LoadDirectory(QString& why);
    const Entry* find(const QString& name) const;
    quint32 u32(qsizetype offset) const;

    const QByteArray* m_bytes = nullptr;
    int m_sectorShift = 9;
    qsizetype m_sectorSize = 512;
    quint32 m_sectorCount = 0;
    quint32 m_miniCutoff = 4096;
    std::vector<quint32> m_fat;
    std::vector<quint32> m_miniFat;
    std::vector<Entry> m_entries;
    QByteArray m_miniStream;
};
