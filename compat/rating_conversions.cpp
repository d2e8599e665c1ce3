#include "compat/rating_conversions.h"

#include <cmath>
#include <cstdio>
#include <string>

double LeadingNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    double sign = 1.0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        sign = text[i] == '-' ? -1.0 : 1.0;
        ++i;
    }
    double value = 0.0;
    bool any = false;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        value = value * 10.0 + (text[i] - '0');
        any = true;
        ++i;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        double scale = 0.1;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            value += (text[i] - '0') * scale;
            scale /= 10.0;
            any = true;
            ++i;
        }
    }
    return any ? sign * value : 0.0;
}

std::string PercentFromRating(std::string_view rating)
{
    const double percent = LeadingNumber(rating) / 10.0 * 100.0;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", percent == 0.0 ? 0.0 : percent);
    return buffer;
}

std::string VerdictFromRating(std::string_view rating, const CompatibilityTable &table,
                              CompatibilityResult &result)
{
    const double nearest = std::nearbyint(LeadingNumber(rating));
    if (nearest >= 1.0 && nearest <= 10.0)
        result.CompatVerdict = table.VerdictText[static_cast<std::size_t>(nearest)];
    return result.CompatVerdict;
}
