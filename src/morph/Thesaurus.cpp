#include "morph/Thesaurus.h"

#include "install/InstallLayout.h"
#include "morph/SynonymFormat.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

constexpr qint64 kMaxFileSize = 32ll << 20;

quint32 load32(const char* p)
{
    quint32 v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | quint32(static_cast<unsigned char>(p[i]));
    return v;
}

std::vector<quint32> loadArray(const char* p, quint32 count)
{
    std::vector<quint32> values(count);
    for (quint32 i = 0; i < count; ++i)
        values[i] = load32(p + 4 * size_t(i));
    return values;
}

// Whether starts run from 0 up to end without going down.
bool ascendsTo(const std::vector<quint32>& starts, quint32 end)
{
    return starts.front() == 0 && starts.back() == end && std::is_sorted(starts.begin(), starts.end());
}

} // namespace

Thesaurus Thesaurus::FromData(const QByteArray& data, QString* problem)
{
    using namespace synonymformat;
    const auto fail = [problem](const QString& why) {
        if (problem)
            *problem = why;
        return Thesaurus();
    };
    if (data.size() < qsizetype(sizeof(Header)) || std::memcmp(data.constData(), kMagic, sizeof kMagic) != 0)
        return fail(QStringLiteral(u"это не файл синонимов"));
    const char* p = data.constData();
    const quint32 version = load32(p + 8);
    const quint32 words = load32(p + 12);
    const quint32 links = load32(p + 16);
    const quint32 pool = load32(p + 20);
    if (version != kVersion)
        return fail(QStringLiteral(u"версия файла синонимов %1 не поддерживается").arg(version));
    if (words == 0 || words > kMaxWords || links > kMaxLinks || pool > kMaxPool)
        return fail(QStringLiteral(u"файл синонимов повреждён"));
    const qint64 size = qint64(sizeof(Header)) + 8 * (qint64(words) + 1) + 4 * qint64(links) + pool;
    if (data.size() != size)
        return fail(QStringLiteral(u"файл синонимов обрезан или повреждён"));
    const auto* body = reinterpret_cast<const unsigned char*>(p + sizeof(Header));
    if (Checksum(body, quint64(size) - sizeof(Header)) != load32(p + 24))
        return fail(QStringLiteral(u"файл синонимов повреждён (контрольная сумма)"));

    Thesaurus t;
    const char* at = p + sizeof(Header);
    t.m_wordStart = loadArray(at, words + 1);
    at += 4 * (size_t(words) + 1);
    t.m_linkStart = loadArray(at, words + 1);
    at += 4 * (size_t(words) + 1);
    t.m_links = loadArray(at, links);
    at += 4 * size_t(links);
    t.m_pool = QByteArray(at, pool);
    if (!ascendsTo(t.m_wordStart, pool) || !ascendsTo(t.m_linkStart, links) ||
        std::any_of(t.m_links.begin(), t.m_links.end(), [words](quint32 w) { return w >= words; }))
        return fail(QStringLiteral(u"файл синонимов повреждён"));
    return t;
}

Thesaurus Thesaurus::FromFile(const QString& path, QString* problem)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (problem)
            *problem = QStringLiteral(u"не удалось открыть %1").arg(path);
        return {};
    }
    if (file.size() > kMaxFileSize) {
        if (problem)
            *problem = QStringLiteral(u"файл синонимов %1 слишком велик").arg(path);
        return {};
    }
    return FromData(file.readAll(), problem);
}

qint32 Thesaurus::find(const QString& lemma) const
{
    if (isEmpty())
        return -1;
    const QByteArray key = lemma.toUtf8();
    const std::string_view wanted(key.constData(), size_t(key.size()));
    qint32 low = 0;
    qint32 high = wordCount();
    while (low < high) {
        const qint32 mid = low + (high - low) / 2;
        const std::string_view w(m_pool.constData() + m_wordStart[size_t(mid)],
                                 m_wordStart[size_t(mid) + 1] - m_wordStart[size_t(mid)]);
        const int order = w.compare(wanted);
        if (order == 0)
            return mid;
        if (order < 0)
            low = mid + 1;
        else
            high = mid;
    }
    return -1;
}

QString Thesaurus::word(qint32 index) const
{
    if (index < 0 || index >= wordCount())
        return {};
    return QString::fromUtf8(m_pool.constData() + m_wordStart[size_t(index)],
                             qsizetype(m_wordStart[size_t(index) + 1] - m_wordStart[size_t(index)]));
}

std::span<const quint32> Thesaurus::synonyms(qint32 index) const
{
    if (index < 0 || index >= wordCount())
        return {};
    const quint32 begin = m_linkStart[size_t(index)];
    return {m_links.data() + begin, m_linkStart[size_t(index) + 1] - begin};
}

InstalledThesaurus& InstalledThesaurus::Instance()
{
    static InstalledThesaurus instance;
    return instance;
}

bool InstalledThesaurus::Load()
{
    const InstallLayout layout(QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString());
    return LoadFrom(layout.dataCandidates(QStringLiteral("synonyms.dat")));
}

bool InstalledThesaurus::LoadFrom(const QStringList& candidates)
{
    if (m_tried)
        return m_loadProblem.isEmpty();
    m_tried = true;
    const QString path = InstallLayout::firstExisting(candidates);
    if (path.isEmpty()) {
        m_loadProblem = QStringLiteral(u"файл синонимов synonyms.dat не найден (искали: %1); замена синонимов не "
                                       u"распознаётся")
                            .arg(InstallLayout::Describe(candidates));
        return false;
    }
    QString why;
    m_thesaurus = Thesaurus::FromFile(path, &why);
    if (m_thesaurus.isEmpty()) {
        m_loadProblem =
            QStringLiteral(u"файл синонимов %1 не прочитан: %2; замена синонимов не распознаётся").arg(path, why);
        return false;
    }
    return true;
}
