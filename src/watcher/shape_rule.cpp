#include "shape_rule.h"

#include "conversions.h"

// The band test depends on every intermediate being an exact double. x87 arithmetic keeps
// extra precision and would move the band edges, so the 32-bit build must use SSE2.
#if defined(__FLT_EVAL_METHOD__) && __FLT_EVAL_METHOD__ != 0
#error "shape_rule.cpp needs double evaluation in SSE2 registers (-msse2 -mfpmath=sse)"
#endif

namespace {

int32_t Extent(int32_t low, int32_t high)
{
    return TextToInteger(static_cast<double>(high) - static_cast<double>(low));
}

}  // namespace

Measurement MeasureRect(const Rect& rect)
{
    Measurement m;
    m.width = Extent(rect.left, rect.right);
    m.height = Extent(rect.top, rect.bottom);
    // IEEE division: a zero height gives an infinity or NaN, which the band test rejects.
    m.ratio = static_cast<float>(static_cast<double>(m.width) / static_cast<double>(m.height));
    return m;
}

bool MatchesPromptShape(float ratio)
{
    const double r = ratio;
    const double aboveLow = r - RatioLow;
    const double belowHigh = r - RatioHigh;
    return aboveLow > RatioMargin && belowHigh < -RatioMargin;
}

Point SignInPoint(const Rect& rect, int32_t height)
{
    const double halfRight = static_cast<double>(rect.right) * 0.5;
    const double halfLeft = static_cast<double>(rect.left) * 0.5;
    const double halfBottom = static_cast<double>(rect.bottom) * 0.5;
    const double halfTop = static_cast<double>(rect.top) * 0.5;
    const double drop = static_cast<double>(height) * ClickDropFactor;
    return {TextToInteger(halfRight + halfLeft), TextToInteger((halfBottom + halfTop) + drop)};
}
