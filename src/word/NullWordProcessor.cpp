#include "word/NullWordProcessor.h"

WordProcessor::Result NullWordProcessor::ShowPhraseInWord(const QString& phrase, const QString& editedPath)
{
    Q_UNUSED(editedPath);
    if (phrase.isEmpty())
        return {};
    return {false, QStringLiteral(u"Текстовый процессор не найден. Установите LibreOffice Writer, чтобы открывать "
                                  u"изменяемый документ из программы.")};
}
