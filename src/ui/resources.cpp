#include "ui/resources.h"

#include <windows.h>

#include "platform/text.h"

std::span<const uint8_t> ResourceBytes(const char* name)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, Widen(name).c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (found == nullptr)
        return {};
    HGLOBAL loaded = LoadResource(module, found);   // resources live as long as the module
    if (loaded == nullptr)
        return {};
    auto* bytes = static_cast<const uint8_t*>(LockResource(loaded));
    return {bytes, bytes ? static_cast<size_t>(SizeofResource(module, found)) : 0};
}
