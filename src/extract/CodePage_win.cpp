#include "extract/CodePage.h"

#include <windows.h>

#include <limits>

bool SystemCodePage::Decode(const QByteArray& bytes, int codePage, QString& text)
{
    if (!IsValidCodePage(UINT(codePage)))
        return false;
    if (bytes.isEmpty()) {
        text.clear();
        return true;
    }
    // Documents are bounded well below this; larger runs are refused rather than cut.
    if (bytes.size() > std::numeric_limits<int>::max() / 2)
        return false;
    const int size = int(bytes.size());
    const int length = MultiByteToWideChar(UINT(codePage), 0, bytes.constData(), size, nullptr, 0);
    if (length <= 0)
        return false;
    text.resize(length);
    return MultiByteToWideChar(UINT(codePage), 0, bytes.constData(), size, reinterpret_cast<wchar_t*>(text.data()),
                               length) == length;
}
