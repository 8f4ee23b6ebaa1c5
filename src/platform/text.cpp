#include "platform/text.h"

namespace {
constexpr UINT kProgramCodePage = 936;
}

std::wstring Widen(const char* text)
{
    if (text == nullptr || *text == '\0')
        return {};
    int length = MultiByteToWideChar(kProgramCodePage, 0, text, -1, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(kProgramCodePage, 0, text, -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length) - 1);   // drop the terminator the call wrote
    return wide;
}

std::string Narrow(const wchar_t* text, int length)
{
    if (text == nullptr || length <= 0)
        return {};
    int bytes = WideCharToMultiByte(kProgramCodePage, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return {};
    std::string narrow(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(kProgramCodePage, 0, text, length, narrow.data(), bytes, nullptr, nullptr);
    return narrow;
}

std::string WindowText(HWND window)
{
    int length = GetWindowTextLengthW(window);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(window, wide.data(), length + 1);
    return Narrow(wide.data(), copied);
}
