#pragma once
// Media carried in the executable as RCDATA resources: whole PNG, ICO and WAV files.
#include <cstdint>
#include <span>

// The bytes of a resource of this module; empty when there is none.
std::span<const uint8_t> ResourceBytes(const char* name);
