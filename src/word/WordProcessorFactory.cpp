#include "word/WordProcessorFactory.h"

#include "word/AutomatedWordProcessor.h"
#include "word/LibreOfficeModule.h"
#include "word/NullWordProcessor.h"
#include "word/WordAutomation.h"

#include <cstdio>

std::unique_ptr<WordProcessor> CreateWordProcessor()
{
    const LibreOfficeOptions options;
    QString reason;
    if (std::shared_ptr<WordAutomation> automation = LibreOfficeModule::Load(options, &reason))
        return std::make_unique<AutomatedWordProcessor>(std::move(automation));
    // Not installed at all: the plain advice to install it, when a phrase is shown.
    if (!LibreOfficeModule::OfficeInstalled(options))
        return std::make_unique<NullWordProcessor>();
    // Installed but unusable is a broken installation: the window says why when a phrase
    // is shown, and stderr names the files looked for at once, for whoever installed it.
    const QByteArray text = (QStringLiteral(u"parafrix: ") + reason + QChar(u'\n')).toUtf8();
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
    return std::make_unique<NullWordProcessor>(reason);
}
