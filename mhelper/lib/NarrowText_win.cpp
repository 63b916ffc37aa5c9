#include "NarrowText.h"

#include <windows.h>

namespace mhelper {

namespace {

std::string Convert(std::string_view in, UINT from, UINT to)
{
    if (in.empty())
        return {};
    const int wlen = MultiByteToWideChar(from, 0, in.data(), int(in.size()), nullptr, 0);
    if (wlen <= 0)
        return {};
    std::wstring wide(size_t(wlen), L'\0');
    MultiByteToWideChar(from, 0, in.data(), int(in.size()), wide.data(), wlen);
    const int len = WideCharToMultiByte(to, 0, wide.data(), wlen, nullptr, 0, nullptr, nullptr);
    if (len <= 0)
        return {};
    std::string out(size_t(len), '\0');
    WideCharToMultiByte(to, 0, wide.data(), wlen, out.data(), len, nullptr, nullptr);
    return out;
}

} // namespace

bool NarrowIsUtf8()
{
    return GetACP() == CP_UTF8;
}

std::string NarrowToUtf8(std::string_view narrow)
{
    return Convert(narrow, CP_THREAD_ACP, CP_UTF8);
}

std::string Utf8ToNarrow(std::string_view utf8)
{
    return Convert(utf8, CP_UTF8, CP_THREAD_ACP);
}

} // namespace mhelper
