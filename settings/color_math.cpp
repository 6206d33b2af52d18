#include "color_math.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace cw {

static double fraction(double value)
{
    if (std::isnan(value))
        return 0;
    return std::clamp(value, 0.0, 1.0);
}

Color color_from_hsba(double hue, double saturation, double brightness, double alpha)
{
    double h = std::isfinite(hue) ? hue - std::floor(hue) : 0;
    double s = fraction(saturation);
    double v = fraction(brightness);
    double a = fraction(alpha);
    if (s == 0)
        return { v, v, v, a };

    double sector = h * 6;
    int i = static_cast<int>(std::floor(sector)) % 6;
    double f = sector - std::floor(sector);
    double p = v * (1 - s);
    double q = v * (1 - s * f);
    double t = v * (1 - s * (1 - f));
    switch (i) {
    case 0: return { v, t, p, a };
    case 1: return { q, v, p, a };
    case 2: return { p, v, t, a };
    case 3: return { p, q, v, a };
    case 4: return { t, p, v, a };
    default: return { v, p, q, a };
    }
}

std::string describe_color(Color color)
{
    char text[128];
    std::snprintf(text, sizeof text, "%g %g %g %g", color.red, color.green, color.blue, color.alpha);
    return text;
}

}
