#pragma once

#include <QByteArray>
#include <QStringList>
#include <QStringView>

// JSON written straight into a byte buffer, exactly as QJsonDocument's compact form
// writes the same values, without building a document per report entry.
namespace JsonText {

// A string in quotes: quote, backslash and control characters escaped, the rest in
// UTF-8; a lone surrogate as \uXXXX.
void AppendString(QByteArray& out, QStringView text);
// The text in UTF-8 as QString::toUtf8 writes it (a lone surrogate as '?'), neither quoted
// nor escaped: for the plain-text report, written into the same kind of buffer.
void AppendUtf8(QByteArray& out, QStringView text);
// ["a","b"]
void AppendStrings(QByteArray& out, const QStringList& items);
// A number as the shortest text that reads back as the same double.
void AppendNumber(QByteArray& out, double value);

} // namespace JsonText
