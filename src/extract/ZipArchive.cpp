#include "extract/ZipArchive.h"

#include <zip.h>

ZipArchive::~ZipArchive()
{
    if (m_zip)
        zip_discard(m_zip);
}

bool ZipArchive::Open(const QByteArray& bytes)
{
    if (m_zip || bytes.size() < 22)
        return false;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &error);
    if (!source) {
        zip_error_fini(&error);
        return false;
    }
    m_zip = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (!m_zip)
        zip_source_free(source);
    zip_error_fini(&error);
    return m_zip != nullptr;
}

bool ZipArchive::Contains(const QString& name) const
{
    return m_zip && zip_name_locate(m_zip, name.toUtf8().constData(), 0) >= 0;
}

ZipArchive::Status ZipArchive::Read(const QString& name, QByteArray& out) const
{
    out.clear();
    if (!m_zip)
        return Status::Damaged;
    const zip_int64_t index = zip_name_locate(m_zip, name.toUtf8().constData(), 0);
    if (index < 0)
        return Status::Missing;
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(m_zip, zip_uint64_t(index), 0, &stat) != 0)
        return Status::Damaged;
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
        return Status::Encrypted;
    if (!(stat.valid & ZIP_STAT_SIZE) || !(stat.valid & ZIP_STAT_COMP_SIZE))
        return Status::Damaged;
    if (stat.size > zip_uint64_t(kMaxPartBytes) || stat.size > zip_uint64_t(m_budget))
        return Status::TooLarge;
    // Charged before inflating: a part that turns out damaged still used the work.
    m_budget -= qint64(stat.size);

    zip_file_t* file = zip_fopen_index(m_zip, zip_uint64_t(index), 0);
    if (!file)
        return Status::Damaged;
    // The declared size is not trusted: never read past it, nor past the cap.
    out.resize(qsizetype(stat.size));
    zip_int64_t total = 0;
    Status status = Status::Ok;
    while (total < zip_int64_t(stat.size)) {
        const zip_int64_t n = zip_fread(file, out.data() + total, stat.size - zip_uint64_t(total));
        if (n < 0) {
            status = Status::Damaged;
            break;
        }
        if (n == 0)
            break;
        total += n;
    }
    char extra = 0;
    if (status == Status::Ok && (total != zip_int64_t(stat.size) || zip_fread(file, &extra, 1) != 0))
        status = Status::Damaged;
    zip_fclose(file);
    if (status != Status::Ok)
        out.clear();
    return status;
}
