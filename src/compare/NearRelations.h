#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <span>
#include <vector>

class Thesaurus;

// Which stems of a near-match search are synonyms, or words of one family (город and
// городок, развивать and развиваться, женственный and женственность), so that an
// edited word may stand in for an original one. Built once per Check from the stems
// both documents numbered (NearStemTable), by stem number.
class NearRelations
{
public:
    enum class Kind : quint8
    {
        Synonym,
        Family
    };
    struct Link
    {
        qint32 stem = 0;
        Kind kind = Kind::Synonym;
    };

    NearRelations() = default;
    // stems: the stem of each number. Synonyms come from the thesaurus (none when it
    // is null or empty), families from SameFamily.
    NearRelations(const QStringList& stems, const Thesaurus* thesaurus);
    // The same on views of the stems, which need not outlive the construction.
    NearRelations(std::span<const QStringView> stems, const Thesaurus* thesaurus);

    bool isEmpty() const { return m_links.empty(); }
    // The stems related to one, each once: a synonym before a family word.
    std::span<const Link> of(qint32 stem) const
    {
        if (stem < 0 || size_t(stem) + 1 >= m_start.size())
            return {};
        return {m_links.data() + m_start[size_t(stem)], size_t(m_start[size_t(stem) + 1] - m_start[size_t(stem)])};
    }
    // The kind of relation between two stems, or false when they are unrelated.
    bool related(qint32 a, qint32 b, Kind* kind = nullptr) const;

private:
    std::vector<qint32> m_start;
    std::vector<Link> m_links;
};

// Whether two different lemmas are words of one family: they share a beginning of at
// least five letters that keeps at least four letters past a prefix (пере-, рас-,
// про- ...), and each one's rest is a short chain of derivational suffixes and an
// ending (-ость, -ени-, -ыва-, -ок, -ся ...). Past a prefix, a root of two or three
// letters is enough between forms of one verb (развить, развиваться, развитие).
bool SameFamily(QStringView a, QStringView b);
