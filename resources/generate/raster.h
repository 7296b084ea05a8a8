// A small polygon rasteriser: even-odd filling of outlines, with optional supersampling
// for the coverage that an alpha channel can carry.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

struct Point {
    double x, y;
};
using Contour = std::vector<Point>;
// One filled shape; contours inside it cut holes (even-odd rule).
using Shape = std::vector<Contour>;

struct Rgb {
    std::uint8_t r, g, b;
};

struct Canvas {
    int width, height;
    std::vector<Rgb> pixels;
    std::vector<double> alpha; // 1 = opaque
    Canvas(int w, int h, Rgb background, double opacity)
        : width(w), height(h), pixels(w * h, background), alpha(w * h, opacity) {}
};

// Fraction of each pixel covered by the shape, sampled `samples` × `samples` times.
inline std::vector<double> coverage(const Shape& shape, int width, int height, int samples) {
    std::vector<double> cover(width * height, 0.0);
    const double weight = 1.0 / (samples * samples);
    std::vector<double> crossings;
    for (int row = 0; row < height * samples; ++row) {
        const double y = (row + 0.5) / samples;
        crossings.clear();
        for (const Contour& contour : shape) {
            for (std::size_t i = 0; i < contour.size(); ++i) {
                const Point& a = contour[i];
                const Point& b = contour[(i + 1) % contour.size()];
                if ((a.y <= y) == (b.y <= y))
                    continue;
                crossings.push_back(a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y));
            }
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const int first =
                std::max(0, static_cast<int>(std::ceil(crossings[i] * samples - 0.5)));
            const int last =
                std::min(width * samples - 1,
                         static_cast<int>(std::floor(crossings[i + 1] * samples - 0.5)));
            for (int column = first; column <= last; ++column)
                cover[(row / samples) * width + column / samples] += weight;
        }
    }
    return cover;
}

using Shader = std::function<Rgb(int x, int y)>;

// Paints the shape over the canvas. With one sample per pixel edges stay hard, so no
// pixel mixes the artwork with the background.
inline void paint(Canvas& canvas, const Shape& shape, const Shader& shader, int samples = 1) {
    std::vector<double> cover = coverage(shape, canvas.width, canvas.height, samples);
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            const double c = cover[y * canvas.width + x];
            if (c <= 0.0)
                continue;
            Rgb& p = canvas.pixels[y * canvas.width + x];
            double& a = canvas.alpha[y * canvas.width + x];
            const Rgb s = shader(x, y);
            const double out = c + a * (1 - c);
            auto mix = [&](std::uint8_t src, std::uint8_t dst) {
                return static_cast<std::uint8_t>(std::lround((src * c + dst * a * (1 - c)) / out));
            };
            p = {mix(s.r, p.r), mix(s.g, p.g), mix(s.b, p.b)};
            a = out;
        }
    }
}

inline Shader solid(Rgb colour) {
    return [colour](int, int) { return colour; };
}

// Top-to-bottom blend between two colours over rows top..bottom.
inline Shader verticalGradient(Rgb top, Rgb bottom, double from, double to) {
    return [=](int, int y) {
        const double t = std::clamp((y - from) / (to - from), 0.0, 1.0);
        auto lerp = [t](std::uint8_t a, std::uint8_t b) {
            return static_cast<std::uint8_t>(std::lround(a + (b - a) * t));
        };
        return Rgb{lerp(top.r, bottom.r), lerp(top.g, bottom.g), lerp(top.b, bottom.b)};
    };
}

inline Contour rectangle(double x0, double y0, double x1, double y1) {
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

inline Contour roundedRectangle(double x0, double y0, double x1, double y1, double r) {
    Contour c;
    const double cx[4] = {x1 - r, x1 - r, x0 + r, x0 + r};
    const double cy[4] = {y0 + r, y1 - r, y1 - r, y0 + r};
    for (int corner = 0; corner < 4; ++corner)
        for (int step = 0; step <= 8; ++step) {
            const double angle = (-90.0 + 90.0 * corner + 90.0 * step / 8) * M_PI / 180;
            c.push_back({cx[corner] + r * std::cos(angle), cy[corner] + r * std::sin(angle)});
        }
    return c;
}

// Points on an elliptic arc, angles in degrees, y growing downwards.
inline void arc(Contour& c, double cx, double cy, double rx, double ry, double from, double to) {
    const int steps = 24;
    for (int i = 0; i <= steps; ++i) {
        const double angle = (from + (to - from) * i / steps) * M_PI / 180;
        c.push_back({cx + rx * std::cos(angle), cy + ry * std::sin(angle)});
    }
}

inline Shape transformed(Shape shape, double scale, double dx, double dy, double shear = 0) {
    for (Contour& contour : shape)
        for (Point& p : contour)
            p = {dx + scale * (p.x + shear * (180 - p.y)), dy + scale * p.y};
    return shape;
}
