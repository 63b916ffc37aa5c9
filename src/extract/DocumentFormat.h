#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The document formats the filters read.
enum class DocumentFormat
{
    Unknown,
    Text,
    Rtf,
    Pdf,
    Word97, // compound file
    Docx,
    Odt,
};

// Recognises a document's format by its content first and its file name second, so
// renamed files still read. Content that matches no format's signature is taken for
// text only when the name allows it (see Sniff).
class DocumentFormatSniffer
{
public:
    static DocumentFormat Sniff(const QByteArray& bytes, const QString& fileName);
    static DocumentFormat FromContent(const QByteArray& bytes);
    static DocumentFormat FromExtension(const QString& fileName);
    // File name patterns of every format the filters read ("*.doc", "*.docx", ...),
    // for file dialogs.
    static QStringList FilePatterns();
    // Plausibly text: a byte-order mark, or no NUL and few other control bytes.
    static bool LooksLikeText(const QByteArray& bytes);
    // Plausibly words rather than symbols: letters at least as many as other printable
    // bytes, and a few of them.
    static bool LooksLikeWords(const QByteArray& bytes);
};
