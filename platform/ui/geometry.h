#pragma once

// Points, sizes, rectangles, colours and affine transforms of the toolkit
// model. A point is one CSS pixel in the browser front end.

#include <cmath>

namespace cw {

struct Point {
    double x { 0 }, y { 0 };
    bool operator==(Point const&) const = default;
};

struct Size {
    double width { 0 }, height { 0 };
    bool operator==(Size const&) const = default;
};

struct Rect {
    Point origin;
    Size size;
    bool operator==(Rect const&) const = default;
    double min_x() const { return origin.x; }
    double min_y() const { return origin.y; }
    double max_x() const { return origin.x + size.width; }
    double max_y() const { return origin.y + size.height; }
    double mid_x() const { return origin.x + size.width / 2; }
    double mid_y() const { return origin.y + size.height / 2; }
    bool contains(Point p) const { return p.x >= min_x() && p.x < max_x() && p.y >= min_y() && p.y < max_y(); }
};

struct EdgeInsets {
    double top { 0 }, left { 0 }, bottom { 0 }, right { 0 };
    bool operator==(EdgeInsets const&) const = default;
};

// Components from 0 to 1.
struct Color {
    double red { 0 }, green { 0 }, blue { 0 }, alpha { 1 };
    bool operator==(Color const&) const = default;

    static Color black() { return { 0, 0, 0, 1 }; }
    static Color white() { return { 1, 1, 1, 1 }; }
    static Color clear() { return { 0, 0, 0, 0 }; }
    static Color yellow() { return { 1, 1, 0, 1 }; }
    static Color dark_gray() { return { 1.0 / 3, 1.0 / 3, 1.0 / 3, 1 }; }
    static Color light_gray() { return { 2.0 / 3, 2.0 / 3, 2.0 / 3, 1 }; }
    static Color gray() { return { 0.5, 0.5, 0.5, 1 }; }
    static Color red_color() { return { 1, 0, 0, 1 }; }
    static Color green_color() { return { 0, 1, 0, 1 }; }
    static Color blue_color() { return { 0, 0, 1, 1 }; }
    static Color white_gray(double white, double alpha = 1) { return { white, white, white, alpha }; }
};

// The 2-D affine transform [a b 0; c d 0; tx ty 1], applied about a view's
// centre, as the toolkit does.
struct AffineTransform {
    double a { 1 }, b { 0 }, c { 0 }, d { 1 }, tx { 0 }, ty { 0 };
    bool operator==(AffineTransform const&) const = default;

    static AffineTransform identity() { return {}; }
    static AffineTransform scale(double sx, double sy) { return { sx, 0, 0, sy, 0, 0 }; }
    static AffineTransform rotation(double radians)
    {
        return { std::cos(radians), std::sin(radians), -std::sin(radians), std::cos(radians), 0, 0 };
    }
    bool is_identity() const { return *this == AffineTransform {}; }
};

}
