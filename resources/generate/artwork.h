// The maker's artwork: bold letters of the name and a stylised speed controller.
#pragma once

#include "resources/generate/raster.h"

#include <string>

// Letters on a 150 × 180 box, y growing downwards; each letter is one or more shapes.
inline std::vector<Shape> letter(char c) {
    switch (c) {
    case 'N':
        return {{{{0, 0},
                  {40, 0},
                  {110, 118},
                  {110, 0},
                  {150, 0},
                  {150, 180},
                  {110, 180},
                  {40, 62},
                  {40, 180},
                  {0, 180}}}};
    case 'O': {
        Contour outer, inner;
        arc(outer, 75, 90, 75, 90, 0, 360);
        arc(inner, 75, 90, 36, 52, 0, 360);
        return {{outer, inner}};
    }
    case 'R': {
        Contour bowl{{20, 0}, {90, 0}};
        arc(bowl, 90, 57, 57, 57, -90, 90);
        bowl.push_back({20, 114});
        Contour hole{{40, 38}, {88, 38}};
        arc(hole, 88, 57, 20, 19, -90, 90);
        hole.push_back({40, 76});
        return {{bowl, hole},
                {rectangle(0, 0, 40, 180)},
                {{{68, 108}, {112, 108}, {155, 180}, {110, 180}}}};
    }
    case 'V':
        return {{{{0, 0}, {42, 0}, {75, 126}, {108, 0}, {150, 0}, {96, 180}, {54, 180}}}};
    case 'A':
        return {
            {{{54, 0}, {96, 0}, {150, 180}, {108, 180}, {97, 142}, {53, 142}, {42, 180}, {0, 180}},
             {{63, 106}, {87, 106}, {75, 62}}}};
    case 'X':
        return {{{{0, 0}, {46, 0}, {150, 180}, {104, 180}}},
                {{{104, 0}, {150, 0}, {46, 180}, {0, 180}}}};
    default:
        return {};
    }
}

// A lightning bolt inside a box of about 100 × 160.
inline Shape bolt() {
    return {{{60, 0}, {100, 0}, {72, 62}, {104, 62}, {30, 160}, {48, 84}, {14, 84}}};
}

constexpr Rgb kTransparentGreen{0, 255, 0};

// 1772 × 263, every pixel either pure green or a shade of red.
inline Canvas drawLogo() {
    Canvas logo(1772, 263, kTransparentGreen, 1.0);

    // The controller: a dark body with cooling fins, a bolt and three motor wires.
    const Rgb wires[3] = {{255, 70, 70}, {190, 10, 10}, {120, 0, 0}};
    for (int i = 0; i < 3; ++i)
        paint(logo, {rectangle(8, 82 + 40.0 * i, 60, 100 + 40.0 * i)}, solid(wires[i]));
    paint(logo, {roundedRectangle(40, 40, 440, 222, 28)},
          verticalGradient({170, 10, 10}, {95, 0, 0}, 40, 222));
    for (int i = 0; i < 5; ++i)
        paint(logo, {roundedRectangle(70, 66 + 28.0 * i, 410, 78 + 28.0 * i, 6)},
              solid({205, 35, 35}));
    paint(logo, transformed(bolt(), 1.0, 190, 52), solid({255, 90, 90}));

    // The maker's name in bold, slanted letters.
    const std::string name = "NORVAX";
    for (std::size_t i = 0; i < name.size(); ++i)
        for (const Shape& shape : letter(name[i]))
            paint(logo, transformed(shape, 1.0, 500 + 198.0 * i, 36, 0.2),
                  verticalGradient({240, 40, 40}, {150, 0, 0}, 36, 216));
    paint(logo, {{{540, 232}, {1748, 232}, {1740, 246}, {532, 246}}}, solid({200, 20, 20}));
    return logo;
}

// The application icon at `size` pixels: the red controller body with the letter N.
// A maskable icon (a web app's) fills its square and keeps the drawing within the middle
// circle of 80 %, which every platform's mask leaves whole.
inline Canvas drawIcon(int size, bool maskable = false) {
    Canvas icon(size, size, {0, 0, 0}, 0.0);
    const double s = size / 128.0;
    const double inset = maskable ? 0.72 : 1.0;
    const int samples = 4;
    auto scaled = [s, inset, maskable](Shape shape, double dx = 0, double dy = 0, double f = 1) {
        for (Contour& c : shape)
            for (Point& p : c)
                p = maskable ? Point{s * (64 + inset * (dx + f * p.x - 64)),
                                     s * (64 + inset * (dy + f * p.y - 64))}
                             : Point{s * (dx + f * p.x), s * (dy + f * p.y)};
        return shape;
    };
    if (maskable)
        paint(icon, {rectangle(0, 0, size, size)},
              verticalGradient({225, 30, 30}, {120, 0, 0}, 0, size), samples);
    else
        paint(icon, scaled({roundedRectangle(4, 4, 124, 124, 22)}),
              verticalGradient({225, 30, 30}, {120, 0, 0}, 4 * s, 124 * s), samples);
    if (size >= 48)
        for (int i = 0; i < 4; ++i)
            paint(icon, scaled({rectangle(16, 14 + 8.0 * i, 112, 18 + 8.0 * i)}),
                  solid({240, 90, 90}), samples);
    const double top = size >= 48 ? 50 : 26;
    const double f = (118 - top) / 180;
    for (const Shape& shape : letter('N'))
        paint(icon, scaled(shape, 64 - 75 * f, top, f), solid({255, 238, 238}), samples);
    return icon;
}
