#pragma once

#include <cmath>

// Which advertising label starts in front, from a draw r in [0, 1):
// n = r * 6 + 1 rounded; odd n up to 5 brings the co-branding label
// forward, even n the full-branding one, and 7 leaves things as they are.
enum class FrontLabel { Cobrand, FullBrand, Unchanged };

inline FrontLabel FrontLabelFromDraw(double r)
{
    const double n = std::nearbyint(r * 6.0 + 1.0);
    if (n >= 7.0)
        return FrontLabel::Unchanged;
    return static_cast<long>(n) % 2 == 1 ? FrontLabel::Cobrand : FrontLabel::FullBrand;
}
