#include "word/NullWordProcessor.h"

WordProcessor::Result NullWordProcessor::ShowPhraseInWord(const QString& phrase, const QString& editedPath)
{
    Q_UNUSED(editedPath);
    if (phrase.isEmpty())
        return {};
    if (!m_reason.isEmpty())
        return {false, QStringLiteral(u"Текстовый процессор недоступен: %1").arg(m_reason)};
    return {false, QStringLiteral(u"Текстовый процессор не найден. Установите LibreOffice Writer, чтобы открывать "
                                  u"изменяемый документ из программы.")};
}
