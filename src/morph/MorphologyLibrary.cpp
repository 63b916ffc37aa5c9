#include "morph/MorphologyLibrary.h"

#include "install/InstallLayout.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

namespace {

// The library's output buffer and the length it is told, as its callers have always
// passed them.
constexpr int kStemBufferSize = 100;
constexpr int32_t kStemMaxLength = 99;

} // namespace

MorphologyLibrary& MorphologyLibrary::Instance()
{
    static MorphologyLibrary instance;
    return instance;
}

MorphologyLibrary::~MorphologyLibrary()
{
    Unload();
}

void MorphologyLibrary::Load()
{
    const InstallLayout layout(QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString());
    LoadFrom(layout.libraryCandidates(QStringLiteral(PARAFRIX_MHELPER_FILE)) << QStringLiteral("mhelper"),
             layout.dataCandidates(QStringLiteral("mhelper.dat")));
}

void MorphologyLibrary::LoadFrom(const QStringList& libraryCandidates, const QStringList& dataCandidates)
{
    if (m_library.isLoaded())
        return;
    QString reason;
    for (const QString& name : libraryCandidates) {
        m_library.setFileName(name);
        if (m_library.load())
            break;
        reason = m_library.errorString();
    }
    if (!m_library.isLoaded()) {
        Warn(QStringLiteral(u"библиотека морфологии mhelper не загружена (искали: %1; %2); слова сравниваются без "
                            u"приведения к основам")
                 .arg(InstallLayout::describe(libraryCandidates), reason));
        return;
    }
    m_open = reinterpret_cast<OpenFn>(m_library.resolve("OpenMorphology"));
    m_calc = reinterpret_cast<CalcFn>(m_library.resolve("CalcStem"));
    m_close = reinterpret_cast<CloseFn>(m_library.resolve("CloseMorphology"));
    if (!m_open || !m_calc || !m_close) {
        Warn(QStringLiteral(u"в библиотеке морфологии %1 нет нужных функций; слова сравниваются без "
                            u"приведения к основам")
                 .arg(m_library.fileName()));
        Unload(); // nothing was opened: this only lets go of the library
        return;
    }
    const QString existingData = InstallLayout::firstExisting(dataCandidates);
    m_dataPath = existingData.isEmpty() ? dataCandidates.value(0) : existingData;
    m_handle = m_open(QFile::encodeName(m_dataPath).constData());
    if (m_handle == 0) {
        Warn(QStringLiteral(u"библиотека морфологии %1 не открылась; слова сравниваются без приведения к основам")
                 .arg(m_library.fileName()));
        Unload(); // nothing was opened: this only lets go of the library
        return;
    }
    m_opened = true;
    // An empty word tells whether the library could use its dictionary.
    char probe[kStemBufferSize];
    int32_t size = kStemMaxLength;
    m_hasDictionary = m_calc(m_handle, "", probe, &size) == 1;
    if (!m_hasDictionary && existingData.isEmpty())
        Warn(QStringLiteral(u"словарь морфологии не найден (искали: %1); основы строятся только по правилам окончаний")
                 .arg(InstallLayout::describe(dataCandidates)));
    else if (!m_hasDictionary)
        Warn(QStringLiteral(u"словарь морфологии %1 не удалось использовать; основы строятся только по "
                            u"правилам окончаний")
                 .arg(m_dataPath));
    m_cache.clear();
}

void MorphologyLibrary::Unload()
{
    if (m_opened && m_close)
        m_close(m_handle);
    m_opened = false;
    m_handle = 0;
    m_open = nullptr;
    m_calc = nullptr;
    m_close = nullptr;
    m_hasDictionary = false;
    m_dataPath.clear();
    m_cache.clear();
    if (m_library.isLoaded())
        m_library.unload();
}

bool MorphologyLibrary::isLoaded() const
{
    return m_opened;
}

void MorphologyLibrary::SetTestStemmer(StemFunction stemmer)
{
    Instance().m_testStemmer = std::move(stemmer);
}

void MorphologyLibrary::Warn(const QString& message)
{
    if (m_warned)
        return;
    m_warned = true;
    const QByteArray text = (QStringLiteral(u"parafrix: ") + message + QChar(u'\n')).toUtf8();
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
}

QString MorphologyLibrary::CalcStem(const QString& word) const
{
    // Narrow text is the platform's local 8-bit encoding: UTF-8, or the ANSI code page
    // on Windows, where characters it lacks become its default character.
    const QByteArray narrow = word.toLocal8Bit();
    char out[kStemBufferSize];
    out[0] = '\0';
    int32_t size = kStemMaxLength;
    m_calc(m_handle, narrow.constData(), out, &size);
    out[kStemBufferSize - 1] = '\0'; // whatever the library did, the stem ends here
    return QString::fromLocal8Bit(out);
}

QString MorphologyLibrary::GetStem(const QString& word)
{
    if (m_testStemmer)
        return m_testStemmer(word);
    if (!m_opened)
        return word;
    if (auto it = m_cache.constFind(word); it != m_cache.constEnd())
        return it.value();
    const QString stem = CalcStem(word);
    if (m_cache.size() >= kCacheLimit)
        m_cache.clear();
    m_cache.insert(word, stem);
    return stem;
}
