#pragma once
// The sign-in prompt is recognised by its shape alone; the click goes to a fixed point in it.
#include <cstdint>

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

struct Measurement {
    int32_t width = 0;      // right - left, formed in double, cut to the low 32 bits
    int32_t height = 0;
    float ratio = 0.0f;     // width / height in double, stored as float (may be inf or NaN)
};

constexpr double RatioLow = 0.92;
constexpr double RatioHigh = 0.94;
constexpr double RatioMargin = 1e-7;
constexpr double ClickDropFactor = 0.34;

Measurement MeasureRect(const Rect& rect);

// True when the stored ratio lies strictly inside the band, RatioMargin away from each end.
bool MatchesPromptShape(float ratio);

// On the vertical centre line, ClickDropFactor of the height below the centre.
Point SignInPoint(const Rect& rect, int32_t height);
