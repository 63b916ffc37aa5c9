#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPair>
#include <QTemporaryDir>

#include <zip.h>

// Builds small zip packages for the tests: each entry a name and its bytes, deflated.
class ZipBuilder
{
public:
    ZipBuilder& add(const QString& name, const QByteArray& bytes)
    {
        m_entries.append({name, bytes});
        return *this;
    }

    QByteArray build() const
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.zip"));
        int error = 0;
        zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
        if (!archive)
            return {};
        for (const auto& entry : m_entries) {
            zip_source_t* source =
                zip_source_buffer(archive, entry.second.constData(), zip_uint64_t(entry.second.size()), 0);
            zip_file_add(archive, entry.first.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
        }
        if (zip_close(archive) != 0)
            return {};
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return file.readAll();
    }

private:
    QList<QPair<QString, QByteArray>> m_entries;
};
