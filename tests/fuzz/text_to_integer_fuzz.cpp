// Feeds arbitrary bytes to TextToInteger and compares the result with two independent
// answers: a plain 64-bit reading reduced modulo 2^32, and strtoll where it does not overflow.
// The double overload gets the first eight bytes as its value.
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "watcher/conversions.h"

namespace {

bool IsWhiteSpace(char c)
{
    return std::strchr(" \t\n\v\f\r", c) != nullptr && c != '\0';
}

// The value the text should give, worked out in 64 bits and only then brought into the
// signed 32-bit range.
int32_t Reference(const char* text)
{
    while (IsWhiteSpace(*text)) {
        ++text;
    }
    bool negative = false;
    if (*text == '-' || *text == '+') {
        negative = *text == '-';
        ++text;
    }
    uint64_t value = 0;     // kept below 2^32, so value * 10 + 9 always fits
    while (*text >= '0' && *text <= '9') {
        value = (value * 10 + static_cast<uint64_t>(*text - '0')) % 0x100000000u;
        ++text;
    }
    if (negative) {
        value = (0x100000000u - value) % 0x100000000u;
    }
    const int64_t wrapped = value >= 0x80000000u ? static_cast<int64_t>(value) - 0x100000000
                                                 : static_cast<int64_t>(value);
    return static_cast<int32_t>(wrapped);
}

// The C library's reading of the same grammar; saturated results are no answer.
bool LibraryAnswer(const char* text, int32_t& answer)
{
    errno = 0;
    const long long value = std::strtoll(text, nullptr, 10);
    if (errno == ERANGE) {
        return false;
    }
    const int64_t low = static_cast<int64_t>(static_cast<uint64_t>(value) % 0x100000000u);
    answer = static_cast<int32_t>(low >= 0x80000000 ? low - 0x100000000 : low);
    return true;
}

// Cut toward zero, low 32 bits; 0 outside the signed 64-bit range and for NaN.
int32_t ReferenceFromDouble(double value)
{
    if (std::isnan(value) || value < -9223372036854775808.0 || value >= 9223372036854775808.0) {
        return 0;
    }
    // fmod is exact, so the remainder of the cut value is exact too.
    double low = std::fmod(std::trunc(value), 4294967296.0);
    if (low < 0) {
        low += 4294967296.0;
    }
    const auto bits = static_cast<int64_t>(low);
    return static_cast<int32_t>(bits >= 0x80000000 ? bits - 0x100000000 : bits);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Exactly size + 1 bytes, so reading past the terminator is caught.
    const auto text = std::make_unique<char[]>(size + 1);
    if (size != 0) {
        std::memcpy(text.get(), data, size);
    }
    text[size] = '\0';

    const int32_t got = TextToInteger(text.get());
    if (got != Reference(text.get())) {
        __builtin_trap();
    }
    int32_t library = 0;
    if (LibraryAnswer(text.get(), library) && got != library) {
        __builtin_trap();
    }
    if (TextToInteger(static_cast<const char*>(nullptr)) != 0) {
        __builtin_trap();
    }

    if (size >= sizeof(double)) {
        double value;
        std::memcpy(&value, data, sizeof value);
        if (TextToInteger(value) != ReferenceFromDouble(value)) {
            __builtin_trap();
        }
    }
    return 0;
}
