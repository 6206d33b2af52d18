#pragma once

// Colours from hue, saturation, brightness and alpha, and the short form in
// which the settings screens write a chosen colour to the log.

#include "platform/ui/geometry.h"

#include <string>

namespace cw {

// The standard HSB to RGB conversion. Hue runs from 0 to 1 round the whole
// colour circle (1 is red again); saturation, brightness and alpha are
// fractions and are clamped to 0..1, so a saturation above 1 gives the
// fully saturated colour. A component that is not a number counts as 0.
Color color_from_hsba(double hue, double saturation, double brightness, double alpha);

// "r g b a" with each component as the C library writes "%g", e.g.
// "1 0.5 0 1".
std::string describe_color(Color);

}
