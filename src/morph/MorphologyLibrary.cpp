#include "morph/MorphologyLibrary.h"

#include "install/InstallLayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstring>

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

bool MorphologyLibrary::Load()
{
    const InstallLayout layout(QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString());
    return LoadFrom(layout.libraryCandidates(QStringLiteral(PARAFRIX_MHELPER_FILE)) << QStringLiteral("mhelper"),
                    layout.dataCandidates(QStringLiteral("mhelper.dat")));
}

bool MorphologyLibrary::LoadFrom(const QStringList& libraryCandidates, const QStringList& dataCandidates)
{
    if (m_library.isLoaded())
        return m_loadProblem.isEmpty();
    m_loadProblem.clear();
    QString reason;
    for (const QString& name : libraryCandidates) {
        m_library.setFileName(name);
        if (m_library.load())
            break;
        reason = m_library.errorString();
    }
    if (!m_library.isLoaded())
        return Fail(QStringLiteral(u"библиотека морфологии mhelper не загружена (искали: %1; %2); слова сравниваются "
                                   u"без приведения к основам")
                        .arg(InstallLayout::Describe(libraryCandidates), reason));
    m_open = reinterpret_cast<OpenFn>(m_library.resolve("OpenMorphology"));
    m_calc = reinterpret_cast<CalcFn>(m_library.resolve("CalcStem"));
    m_close = reinterpret_cast<CloseFn>(m_library.resolve("CloseMorphology"));
    if (!m_open || !m_calc || !m_close) {
        const QString file = m_library.fileName();
        Unload(); // nothing was opened: this only lets go of the library
        return Fail(QStringLiteral(u"в библиотеке морфологии %1 нет нужных функций; слова сравниваются без "
                                   u"приведения к основам")
                        .arg(file));
    }
    const QString existingData = InstallLayout::firstExisting(dataCandidates);
    // A candidate that is there but is no regular file (a pipe, a device, a folder) is
    // never handed to the library: opening a pipe could wait for a writer forever.
    QString notAFile;
    for (const QString& path : dataCandidates) {
        if (QFileInfo::exists(path) && !QFileInfo(path).isFile()) {
            notAFile = path;
            break;
        }
    }
    m_dataPath = !existingData.isEmpty() ? existingData : notAFile.isEmpty() ? dataCandidates.value(0) : QString();
    m_handle = m_open(QFile::encodeName(m_dataPath).constData());
    if (m_handle == 0) {
        const QString file = m_library.fileName();
        const QString data = m_dataPath;
        Unload(); // nothing was opened: this only lets go of the library
        return Fail(QStringLiteral(u"библиотека морфологии %1 не открыла словарь %2; слова сравниваются без "
                                   u"приведения к основам")
                        .arg(file, data));
    }
    m_opened = true;
    // An empty word tells whether the library could use its dictionary.
    char probe[kStemBufferSize];
    int32_t size = kStemMaxLength;
    m_hasDictionary = m_calc(m_handle, "", probe, &size) == 1;
    if (!m_hasDictionary && existingData.isEmpty() && !notAFile.isEmpty())
        return Fail(QStringLiteral(u"словарь морфологии %1 — не обычный файл; основы строятся только по правилам "
                                   u"окончаний")
                        .arg(QDir::toNativeSeparators(notAFile)));
    if (!m_hasDictionary && existingData.isEmpty())
        return Fail(QStringLiteral(u"словарь морфологии не найден (искали: %1); основы строятся только по правилам "
                                   u"окончаний")
                        .arg(InstallLayout::Describe(dataCandidates)));
    if (!m_hasDictionary)
        return Fail(QStringLiteral(u"словарь морфологии %1 не удалось использовать; основы строятся только по "
                                   u"правилам окончаний")
                        .arg(m_dataPath));
    return true;
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
    if (m_library.isLoaded())
        m_library.unload();
}

bool MorphologyLibrary::isLoaded() const
{
    return m_opened;
}

bool MorphologyLibrary::Fail(const QString& problem)
{
    m_loadProblem = problem;
    return false;
}

namespace {

// Whether the narrow text holds the word unchanged.
bool carries(const QByteArray& narrow, const QString& word)
{
#ifdef Q_OS_WIN
    return QString::fromLocal8Bit(narrow) == word;
#else
    // Local 8-bit text is UTF-8 here, which carries every word but a broken surrogate pair.
    Q_UNUSED(narrow);
    return QStringView(word).isValidUtf16();
#endif
}

#ifndef Q_OS_WIN
// Local 8-bit text is UTF-8 here. A word of the Basic Multilingual Plane, which every
// word of a Russian or English text is, is written into the caller's buffer with its
// terminator: no byte array is made for it. Returns its length, -1 when it holds a
// surrogate (left to the general path), or more than cap when it does not fit.
qsizetype writeUtf8(QStringView word, char* out, qsizetype cap)
{
    qsizetype n = 0;
    for (const QChar ch : word) {
        const char16_t c = ch.unicode();
        if (QChar::isSurrogate(c))
            return -1;
        const qsizetype length = c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
        if (n + length > cap)
            return cap + 1;
        if (length == 1) {
            out[n] = char(c);
        } else if (length == 2) {
            out[n] = char(0xC0 | (c >> 6));
            out[n + 1] = char(0x80 | (c & 0x3F));
        } else {
            out[n] = char(0xE0 | (c >> 12));
            out[n + 1] = char(0x80 | ((c >> 6) & 0x3F));
            out[n + 2] = char(0x80 | (c & 0x3F));
        }
        n += length;
    }
    out[n] = '\0';
    return n;
}

// The stem read as QString::fromLocal8Bit reads it: by hand when it is ASCII and
// two-byte sequences (all of Cyrillic), which decode one way only.
QString readUtf8(const char* stem)
{
    const qsizetype n = qsizetype(std::strlen(stem));
    QString text(n, Qt::Uninitialized);
    QChar* out = text.data();
    qsizetype k = 0;
    for (qsizetype i = 0; i < n; ++k) {
        const auto c = uchar(stem[i]);
        if (c < 0x80) {
            out[k] = QChar(char16_t(c));
            ++i;
        } else if (c >= 0xC2 && c <= 0xDF && i + 1 < n && (uchar(stem[i + 1]) & 0xC0) == 0x80) {
            out[k] = QChar(char16_t(((c & 0x1F) << 6) | (uchar(stem[i + 1]) & 0x3F)));
            i += 2;
        } else {
            return QString::fromLocal8Bit(stem);
        }
    }
    if (k == 0)
        return QString::fromLocal8Bit(stem);
    text.truncate(k);
    return text;
}
#endif

} // namespace

QString MorphologyLibrary::CalcStem(const QString& word) const
{
#ifndef Q_OS_WIN
    char in[kStemBufferSize];
    if (const qsizetype n = writeUtf8(word, in, kStemMaxLength); n >= 0) {
        // The same limit as below: the library would cut a longer word.
        if (n > kStemMaxLength)
            return word;
        char out[kStemBufferSize];
        out[0] = '\0';
        int32_t size = kStemMaxLength;
        m_calc(m_handle, in, out, &size);
        out[kStemBufferSize - 1] = '\0';
        return readUtf8(out);
    }
#endif
    // Narrow text is the platform's local 8-bit encoding: UTF-8, or the ANSI code page
    // on Windows, where characters it lacks become its default character.
    const QByteArray narrow = word.toLocal8Bit();
    // The library would cut the word to fit its buffer, and words differing only
    // beyond the cut would share a stem. A word the encoding cannot carry (Cyrillic
    // under a Western ANSI code page) would reach it as question marks, where all such
    // words of one length share a stem: the word stands for itself instead.
    if (narrow.size() > kStemMaxLength || !carries(narrow, word))
        return word;
    char out[kStemBufferSize];
    out[0] = '\0';
    int32_t size = kStemMaxLength;
    m_calc(m_handle, narrow.constData(), out, &size);
    out[kStemBufferSize - 1] = '\0'; // whatever the library did, the stem ends here
    return QString::fromLocal8Bit(out);
}

QString MorphologyLibrary::GetStem(const QString& word)
{
    if (!m_opened)
        return word;
    return CalcStem(word);
}
