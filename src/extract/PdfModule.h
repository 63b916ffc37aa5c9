#pragma once

#include "extract/ParsedDocument.h"

#include <QByteArray>

// The PDF reader as the program reaches it. Where the reader is built (with poppler),
// it lives in a module loaded on the first PDF, so that poppler's many libraries cost
// nothing to a run that reads no PDF. The module is looked for beside the program and
// in its private library folder (InstallLayout); when it is missing or does not fit, a
// PDF is refused as an unknown format with a reason naming where it was looked for.
// Builds without the reader call PdfReader directly.
class PdfModule
{
public:
    // Checked by the module's entry: the layout of what crosses it.
    static constexpr int InterfaceVersion = 1;

    static ParsedDocument Read(const QByteArray& bytes);
};
