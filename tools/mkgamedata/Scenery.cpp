#include "tools/mkgamedata/Scenery.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/mkgamedata/EventScenes.h"
#include "tools/mkgamedata/PictureWriter.h"

namespace mkgamedata {

namespace {

constexpr int kW = 640;
constexpr int kH = 480;
constexpr double kPi = 3.14159265358979323846;

// A colour in the palette cube's terms, 0..5 a channel, before the hour's tone.
struct Rgb {
    double r, g, b;
};

// The hour's light on a colour: the evening warm, the night dark and blue, rain grey.
Rgb Toned(Rgb c, Hour h) {
    switch (h) {
        case Hour::Day:
            return c;
        case Hour::Evening:
            return {c.r * 0.9 + 0.9, c.g * 0.75, c.b * 0.5};
        case Hour::Night:
            return {c.r * 0.3, c.g * 0.35, c.b * 0.45 + 0.7};
        case Hour::Rain: {
            const double m = (c.r + c.g + c.b) / 3;
            return {c.r * 0.4 + m * 0.4, c.g * 0.4 + m * 0.4, c.b * 0.4 + m * 0.45 + 0.2};
        }
    }
    return c;
}

int Channel(double v) { return std::clamp(int(std::lround(v)), 0, 5); }

std::uint8_t Flat(Rgb c) { return Cube(Channel(c.r), Channel(c.g), Channel(c.b)); }

// Ordered (4 x 4 Bayer) dither of a colour between the cube's levels at (x, y).
std::uint8_t Dithered(Rgb c, int x, int y) {
    static constexpr int kBayer[4][4] = {
        {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    const double t = (kBayer[y & 3][x & 3] + 0.5) / 16.0;
    auto ch = [t](double v) { return std::clamp(int(std::floor(v + t)), 0, 5); };
    return Cube(ch(c.r), ch(c.g), ch(c.b));
}

Rgb Mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// The painter of one picture: shapes in colours toned by the picture's hour.
class Painter {
public:
    Painter(Picture& p, Hour h) : p_(p), h_(h) {}

    std::uint8_t C(double r, double g, double b) const { return Flat(Toned({r, g, b}, h_)); }
    Hour When() const { return h_; }
    bool Dark() const { return h_ == Hour::Night; }
    Picture& P() { return p_; }

    // A vertical blend from `top` to `bottom` over the box, dithered.
    void Gradient(int x, int y, int w, int h, Rgb top, Rgb bottom) {
        for (int j = 0; j < h; ++j) {
            const Rgb c = Toned(Mix(top, bottom, h > 1 ? double(j) / (h - 1) : 0), h_);
            for (int i = 0; i < w; ++i) p_.Set(x + i, y + j, Dithered(c, x + i, y + j));
        }
    }
    // The sky of the hour down to the horizon, with the sun, the moon or clouds.
    void Sky(int horizon) {
        switch (h_) {
            case Hour::Day:
                Raw(0, 0, kW, horizon, {1.6, 3.4, 5}, {3.6, 4.6, 5});
                Cloud(120, 70, 1.0);
                Cloud(430, 110, 0.8);
                break;
            case Hour::Evening:
                Raw(0, 0, kW, horizon, {2.2, 1.2, 3}, {5, 3.2, 1.2});
                p_.Ellipse(500, horizon - 30, 34, 34, Cube(5, 4, 2));
                break;
            case Hour::Night:
                Raw(0, 0, kW, horizon, {0, 0, 0.8}, {0.6, 0.8, 2.4});
                for (int i = 0; i < 70; ++i)
                    p_.Set((i * 173 + 37) % kW, (i * 97 + 11) % std::max(1, horizon - 20), kWhite);
                p_.Ellipse(520, 70, 26, 26, Cube(5, 5, 3));
                p_.Ellipse(510, 64, 22, 22, Cube(0, 0, 1));  // a crescent
                break;
            case Hour::Rain:
                Raw(0, 0, kW, horizon, {2, 2.2, 2.6}, {3, 3.1, 3.4});
                Cloud(100, 50, 1.4, Cube(2, 2, 2));
                Cloud(360, 40, 1.6, Cube(2, 2, 2));
                break;
        }
    }
    void Cloud(double x, double y, double s, std::uint8_t c = kWhite) {
        p_.Ellipse(x, y, 50 * s, 16 * s, c);
        p_.Ellipse(x + 30 * s, y - 10 * s, 30 * s, 16 * s, c);
        p_.Ellipse(x - 28 * s, y - 4 * s, 24 * s, 12 * s, c);
    }
    // Rain streaks over the whole picture.
    void RainOver() {
        if (h_ != Hour::Rain) return;
        for (int i = 0; i < 160; ++i) {
            const int x = (i * 97 + 13) % kW, y = (i * 53 + 7) % (kH - 20);
            p_.Line(x, y, x - 5, y + 16, Cube(4, 4, 5));
        }
    }
    // An un-toned blend (for skies whose colours are the hour's own).
    void Raw(int x, int y, int w, int h, Rgb top, Rgb bottom) {
        for (int j = 0; j < h; ++j) {
            const Rgb c = Mix(top, bottom, h > 1 ? double(j) / (h - 1) : 0);
            for (int i = 0; i < w; ++i) p_.Set(x + i, y + j, Dithered(c, x + i, y + j));
        }
    }
    // A window pane: the sky by day, warm light at night.
    std::uint8_t Pane() const {
        switch (h_) {
            case Hour::Day:
                return Cube(2, 4, 5);
            case Hour::Evening:
                return Cube(5, 3, 1);
            case Hour::Night:
                return Cube(5, 5, 2);
            case Hour::Rain:
                return Cube(2, 3, 3);
        }
        return Cube(2, 4, 5);
    }

    void Tree(double x, double base, double s, Rgb leaf = {0.6, 3, 0.8}) {
        p_.Rect(int(x - 6 * s), int(base - 60 * s), int(12 * s), int(60 * s), C(2, 1, 0));
        const std::uint8_t dark = C(leaf.r * 0.6, leaf.g * 0.6, leaf.b * 0.6);
        p_.Ellipse(x, base - 90 * s, 44 * s, 40 * s, dark);
        p_.Ellipse(x - 4 * s, base - 96 * s, 38 * s, 34 * s, C(leaf.r, leaf.g, leaf.b));
        p_.Ellipse(x - 14 * s, base - 108 * s, 14 * s, 10 * s,
                   C(leaf.r + 0.8, leaf.g + 0.8, leaf.b + 0.6));
    }
    void Pine(double x, double base, double s) {
        p_.Rect(int(x - 4 * s), int(base - 20 * s), int(8 * s), int(20 * s), C(2, 1, 0));
        for (int k = 0; k < 3; ++k)
            p_.Polygon({{x, base - (110 - 25 * k) * s},
                        {x + (26 + 8 * k) * s, base - (50 - 15 * k) * s},
                        {x - (26 + 8 * k) * s, base - (50 - 15 * k) * s}},
                       C(0.2, 2 - 0.3 * k, 1));
    }
    // A house front: wall, roof, door and two windows.
    void House(int x, int base, int w, int h, Rgb wall, Rgb roof) {
        p_.Rect(x, base - h, w, h, C(wall.r, wall.g, wall.b));
        p_.Frame(x, base - h, w, h, C(wall.r * 0.5, wall.g * 0.5, wall.b * 0.5));
        p_.Polygon({{x - 10.0, double(base - h)},
                    {x + w / 2.0, base - h - w * 0.45},
                    {x + w + 10.0, double(base - h)}},
                   C(roof.r, roof.g, roof.b));
        p_.Rect(x + w / 2 - 10, base - 40, 20, 40, C(2, 1, 0.4));
        for (int k : {0, 1}) {
            const int wx = x + (k == 0 ? w / 4 - 9 : 3 * w / 4 - 9);
            p_.Rect(wx, base - h + 18, 18, 18, Pane());
            p_.Frame(wx, base - h + 18, 18, 18, C(2, 1, 0));
        }
    }
    // A painted sign board with a name on it.
    void Sign(int x, int y, int w, const std::string& text, Rgb board = {2, 1, 0.4}) {
        p_.Rect(x, y, w, 30, C(board.r, board.g, board.b));
        p_.Frame(x, y, w, 30, C(5, 4, 1));
        p_.TextCentred(x, y, w, 30, text, 18, C(5, 5, 3.5), true);
    }
    void Ground(int horizon, Rgb near, Rgb far) {
        Gradient(0, horizon, kW, kH - horizon, far, near);
    }
    // A room: wall, floor and the line between them.
    void Room(int floorY, Rgb wall, Rgb floor) {
        Gradient(0, 0, kW, floorY, Mix(wall, {0, 0, 0}, 0.15), wall);
        Gradient(0, floorY, kW, kH - floorY, floor, Mix(floor, {0, 0, 0}, 0.3));
        p_.Line(0, floorY, kW - 1, floorY, C(1, 0.6, 0.2));
    }
    void Window(int x, int y, int w, int h) {
        p_.Rect(x, y, w, h, Pane());
        if (h_ == Hour::Night) p_.Ellipse(x + w * 0.7, y + h * 0.3, 6, 6, kWhite);
        p_.Frame(x - 2, y - 2, w + 4, h + 4, C(2, 1, 0));
        p_.Rect(x + w / 2 - 1, y, 3, h, C(2, 1, 0));
        p_.Rect(x, y + h / 2 - 1, w, 3, C(2, 1, 0));
    }
    // A shelf of bottles (or books) on the wall.
    void Shelf(int x, int y, int w, int rows, bool books) {
        for (int r = 0; r < rows; ++r) {
            const int by = y + r * 46;
            p_.Rect(x, by + 40, w, 6, C(2, 1, 0));
            for (int i = 0; x + 6 + i * 16 < x + w - 12; ++i) {
                const double hue = (i * 7 + r * 3) % 6;
                const int bx = x + 6 + i * 16;
                if (books) {
                    p_.Rect(bx, by + 8 + (i % 3) * 3, 12, 32 - (i % 3) * 3,
                            C(1 + hue * 0.7, 0.5 + (5 - hue) * 0.5, 1 + (i % 2) * 2));
                } else {
                    p_.Rect(bx + 3, by + 18, 6, 6, C(4, 4, 4.5));
                    p_.Ellipse(bx + 6, by + 32, 6, 9,
                               C(hue < 2 ? 5 : 1, hue < 4 ? 3 : 1, hue > 2 ? 5 : 1));
                }
            }
        }
    }
    void Table(int x, int y, int w) {
        p_.Rect(x, y, w, 12, C(3, 1.6, 0.6));
        p_.Rect(x + 8, y + 12, 10, 60, C(2, 1, 0));
        p_.Rect(x + w - 18, y + 12, 10, 60, C(2, 1, 0));
    }
    void Bed(int x, int y) {
        p_.Rect(x, y, 220, 70, C(3, 1.6, 0.6));
        p_.Rect(x + 6, y - 14, 208, 30, C(4.5, 4.5, 5));
        p_.Rect(x + 60, y - 10, 154, 40, C(2, 3, 4.6));
        p_.Ellipse(x + 34, y - 8, 26, 14, kWhite);
        p_.Rect(x - 8, y - 70, 12, 140, C(2, 1, 0));
    }
    void Flowers(int x, int y, int w, int seed) {
        for (int i = 0; i < w / 10; ++i) {
            const int fx = x + i * 10 + (i * seed * 7) % 6, fy = y + (i * 13 + seed) % 18;
            p_.Line(fx, fy, fx, fy + 12, C(0.5, 3, 0.5));
            const double k = (i + seed) % 4;
            p_.Ellipse(fx, fy, 4, 4,
                       C(k == 0   ? 5
                         : k == 1 ? 5
                                  : 4,
                         k == 1   ? 5
                         : k == 2 ? 2
                                  : 1,
                         k == 3 ? 5 : 1));
        }
    }
    void Cauldron(int x, int y) {
        p_.Ellipse(x, y, 60, 40, C(0.6, 0.6, 0.8));
        p_.Ellipse(x, y - 30, 60, 12, C(0.5, 4, 1.2));
        for (int k = 0; k < 3; ++k) p_.Ellipse(x - 20 + 20 * k, y - 50 - 12 * k, 5, 5, C(1, 5, 2));
        p_.Polygon({{x - 40.0, y + 30.0}, {x - 50.0, y + 60.0}, {x - 36.0, y + 60.0}},
                   C(0.5, 0.5, 0.5));
        p_.Polygon({{x + 40.0, y + 30.0}, {x + 50.0, y + 60.0}, {x + 36.0, y + 60.0}},
                   C(0.5, 0.5, 0.5));
    }
    void Mountains(int horizon, Rgb c, int seed) {
        for (int k = 0; k < 5; ++k) {
            const double x = -40 + k * 170 + (seed * 37 + k * 53) % 60,
                         h = 120 + (seed * 11 + k * 41) % 90;
            p_.Polygon({{x - 150, double(horizon)}, {x, horizon - h}, {x + 150, double(horizon)}},
                       C(c.r + (k % 2) * 0.4, c.g + (k % 2) * 0.4, c.b + (k % 2) * 0.3));
            p_.Polygon({{x - 26, horizon - h + 22}, {x, horizon - h}, {x + 26, horizon - h + 22}},
                       C(4.6, 4.6, 5));
        }
    }
    void Water(int y, int h, Rgb c) {
        Gradient(0, y, kW, h, c, {c.r * 0.6, c.g * 0.7, c.b * 0.9});
        for (int i = 0; i < 40; ++i) {
            const int x = (i * 151) % kW, wy = y + 6 + (i * 37) % std::max(1, h - 10);
            p_.Line(x, wy, x + 14, wy, C(c.r + 1, c.g + 1, c.b + 0.5));
        }
    }
    void Rocks(int x, int y, int n, int seed) {
        for (int i = 0; i < n; ++i)
            p_.Ellipse(x + i * 30 + (seed * 13 + i * 7) % 16, y + (i * 11 + seed) % 14, 20, 12,
                       C(2.4 + (i % 2) * 0.5, 2.2, 2));
    }

private:
    Picture& p_;
    Hour h_;
};

constexpr int kHorizon = 300;

// The street behind a town place: a row of houses.
void Street(Painter& s, int seed) {
    for (int i = 0; i < 6; ++i) {
        const int x = -20 + i * 116 + (seed * 17 + i * 29) % 30;
        const int h = 80 + (seed * 7 + i * 23) % 50;
        s.House(x, kHorizon, 90, h, {4.6 - (i % 3) * 0.4, 4 - (i % 2) * 0.6, 3 + (i % 3) * 0.5},
                {3.4 - (i % 2), 0.8 + (i % 3) * 0.4, 0.4});
    }
}

void Cobbles(Painter& s) {
    s.Ground(kHorizon, {3.6, 3.2, 2.6}, {3, 2.8, 2.4});
    Picture& p = s.P();
    for (int y = kHorizon + 10; y < kH; y += 14)
        for (int x = (y / 14 % 2) * 14; x < kW; x += 28) p.Frame(x, y, 24, 10, s.C(2.6, 2.3, 2));
}

void Grass(Painter& s) { s.Ground(kHorizon, {1.2, 3.6, 1}, {1.8, 4, 1.4}); }

// A shop front with its sign: the black cat's, or the smile's across the street.
void ShopFront(Painter& s, const std::string& name, Rgb wall, Rgb roof, bool cat) {
    s.Sky(kHorizon);
    Street(s, 3);
    Cobbles(s);
    Picture& p = s.P();
    p.Rect(150, 100, 340, 230, s.C(wall.r, wall.g, wall.b));
    p.Polygon({{130, 102}, {320, 20}, {510, 102}}, s.C(roof.r, roof.g, roof.b));
    p.Rect(290, 220, 60, 110, s.C(2, 1, 0.4));
    p.Ellipse(338, 276, 4, 4, s.C(5, 4, 1));
    s.Window(180, 210, 80, 70);
    s.Window(380, 210, 80, 70);
    s.Sign(220, 140, 200, name);
    if (cat) {  // the cat on the sign's end
        p.Ellipse(440, 150, 14, 12, s.C(0.2, 0.2, 0.3));
        p.Ellipse(440, 134, 9, 8, s.C(0.2, 0.2, 0.3));
        p.Polygon({{432, 130}, {434, 120}, {439, 128}}, s.C(0.2, 0.2, 0.3));
        p.Polygon({{441, 128}, {446, 120}, {448, 130}}, s.C(0.2, 0.2, 0.3));
        p.Set(437, 133, Cube(5, 5, 0));
        p.Set(443, 133, Cube(5, 5, 0));
    } else {
        p.Ellipse(450, 155, 14, 14, s.C(5, 5, 1));
        p.Line(444, 158, 450, 162, kInk);
        p.Line(450, 162, 456, 158, kInk);
    }
    for (int k = 0; k < 3; ++k) s.Flowers(160 + k * 110, 320, 40, k);
}

Picture Town(int place, Hour h, int room) {
    Picture pic(kW, kH, 0);
    Painter s(pic, h);
    Picture& p = pic;
    switch (place) {
        case 0:
        case 19:
            ShopFront(s, "黑貓魔法店", {4.4, 3.6, 2.6}, {1.2, 0.6, 2.4}, true);
            break;
        case 2:
            ShopFront(s, "微笑魔法店", {5, 4.4, 3.8}, {4, 1.2, 1}, false);
            break;
        case 1:  // 芙蘿蕾's house: a cottage with its flowerbed
            s.Sky(kHorizon);
            Grass(s);
            s.Tree(80, kHorizon + 10, 1.3);
            s.House(200, kHorizon + 20, 240, 150, {5, 4.6, 4}, {3.8, 1.6, 2.4});
            for (int r = 0; r < 3; ++r) s.Flowers(160 + r * 12, 336 + r * 22, 320, r);
            s.Tree(560, kHorizon + 10, 1.1);
            break;
        case 3: {  // the square with its fountain
            s.Sky(kHorizon - 40);
            for (int i = 0; i < 6; ++i)
                s.House(-20 + i * 116, kHorizon - 40, 96, 90 + (i * 23) % 40,
                        {4.6, 4.2 - (i % 2) * 0.6, 3.4}, {3.2, 1 + (i % 3) * 0.4, 0.4});
            s.Gradient(0, kHorizon - 40, kW, kH - kHorizon + 40, {3.4, 3.2, 2.8}, {3.8, 3.4, 2.8});
            p.Ellipse(320, 300, 200, 46, s.C(2.6, 2.6, 2.8));
            p.Ellipse(320, 296, 184, 38, s.C(1.6, 3, 4.6));
            p.Rect(306, 200, 28, 96, s.C(3.6, 3.6, 3.8));
            p.Ellipse(320, 200, 50, 14, s.C(3.6, 3.6, 3.8));
            for (int k = -3; k <= 3; ++k)
                p.Line(320, 150, 320 + k * 16, 196 + std::abs(k) * 2, s.C(3, 4.4, 5));
            p.Ellipse(320, 150, 10, 8, s.C(3, 4.4, 5));
            break;
        }
        case 4:  // the cake shop
            s.Sky(kHorizon);
            Street(s, 4);
            Cobbles(s);
            p.Rect(140, 110, 360, 220, s.C(5, 4.6, 4.2));
            for (int k = 0; k < 9; ++k)
                p.Polygon({{140.0 + k * 40, 170},
                           {180.0 + k * 40, 170},
                           {176.0 + k * 40, 200},
                           {144.0 + k * 40, 200}},
                          k % 2 ? s.C(5, 5, 5) : s.C(5, 2, 3));
            s.Sign(200, 120, 240, "特利亞儂儂", {4.4, 1.6, 2.2});
            s.Window(170, 220, 110, 70);
            p.Rect(300, 220, 50, 110, s.C(3, 1.4, 0.6));
            for (int k = 0; k < 4; ++k)
                p.Ellipse(380 + k * 28, 280, 11, 8, s.C(4.6, 3.2, 1.4));  // cakes
            p.Rect(370, 288, 120, 6, s.C(4, 4, 4));
            break;
        case 5:  // the big park
            s.Sky(kHorizon);
            Grass(s);
            for (int k = 0; k < 5; ++k)
                s.Tree(40 + k * 140, kHorizon + 20 + (k % 2) * 20, 1.1 + (k % 2) * 0.3);
            p.Polygon({{250, 480}, {390, 480}, {340, 300}, {300, 300}}, s.C(4.2, 3.8, 2.8));
            p.Rect(420, 330, 90, 8, s.C(3, 1.6, 0.6));
            p.Rect(424, 338, 6, 20, s.C(2, 1, 0));
            p.Rect(500, 338, 6, 20, s.C(2, 1, 0));
            break;
        case 6:  // the event grounds: tents and pennants
            s.Sky(kHorizon);
            Grass(s);
            for (int k = 0; k < 3; ++k) {
                const double x = 110 + k * 210;
                p.Polygon({{x - 80, 300}, {x, 190}, {x + 80, 300}},
                          k % 2 ? s.C(5, 5, 5) : s.C(5, 1.4, 1.4));
                p.Rect(int(x) - 16, 250, 32, 50, s.C(1, 0.6, 0.4));
                p.Line(int(x), 190, int(x), 170, s.C(2, 1, 0));
                p.Polygon({{x, 170}, {x + 20, 176}, {x, 182}}, s.C(5, 5, 1));
            }
            for (int k = 0; k < 32; ++k)
                p.Polygon({{k * 20.0, 90}, {k * 20.0 + 20, 90}, {k * 20.0 + 10, 106}},
                          s.C(k % 3 == 0 ? 5 : 1, k % 3 == 1 ? 4 : 1, k % 3 == 2 ? 5 : 1));
            p.Line(0, 90, kW - 1, 90, s.C(2, 1, 0));
            break;
        case 7:  // the school of magic
            s.Sky(kHorizon);
            Grass(s);
            p.Rect(120, 110, 400, 200, s.C(4.2, 4, 4.4));
            for (int k = 0; k < 6; ++k) s.Window(146 + k * 62, 150, 30, 50);
            p.Rect(280, 40, 80, 80, s.C(4.2, 4, 4.4));
            p.Polygon({{270, 42}, {320, -20}, {370, 42}}, s.C(1.2, 1, 3));
            p.Ellipse(320, 78, 22, 22, s.C(5, 5, 4.6));
            p.Line(320, 78, 320, 62, kInk);
            p.Line(320, 78, 332, 78, kInk);
            p.Rect(290, 230, 60, 80, s.C(2, 1, 0.4));
            s.Sign(230, 110 + 100, 180, "魔法學院", {1.2, 1, 3});
            break;
        case 9:  // before the castle
            s.Sky(kHorizon);
            s.Ground(kHorizon, {3.6, 3.4, 3}, {3.2, 3, 2.8});
            p.Rect(60, 80, 520, 230, s.C(3.8, 3.8, 4));
            for (int k = 0; k < 13; ++k) p.Rect(60 + k * 40, 64, 24, 18, s.C(3.8, 3.8, 4));
            for (int x : {40, 520}) {
                p.Rect(x, 30, 80, 280, s.C(3.4, 3.4, 3.8));
                p.Polygon({{x - 10.0, 32}, {x + 40.0, -40}, {x + 90.0, 32}}, s.C(1, 1.4, 3.6));
                s.Window(x + 30, 100, 20, 36);
            }
            p.Ellipse(320, 210, 70, 70, s.C(1, 0.6, 0.4));
            p.Rect(250, 210, 140, 100, s.C(1, 0.6, 0.4));
            for (int k = 0; k < 6; ++k) p.Rect(262 + k * 22, 150, 4, 160, s.C(2.4, 2.4, 2.6));
            break;
        case 10:  // the shop inside: shelves, the counter
            s.Room(330, {4.2, 3.4, 2.4}, {3, 1.8, 0.8});
            s.Shelf(30, 60, 250, 4, false);
            s.Shelf(370, 60, 240, 2, false);
            s.Window(420, 190, 120, 90);
            p.Rect(80, 300, 420, 80, s.C(2.6, 1.4, 0.6));
            p.Rect(80, 296, 420, 8, s.C(3.6, 2.2, 1));
            // 黑皮 is not drawn here: he comes on as his own figure.
            p.Rect(120, 270, 40, 26, s.C(4, 4, 4.6));  // the till and a ledger
            p.Rect(124, 262, 32, 8, s.C(3, 3, 3.6));
            p.Rect(430, 282, 50, 14, s.C(1, 2, 3.6));
            break;
        case 11:  // the mixing room: herbs drying, shelves, the cauldron on its fire
            // The cauldron stands at the right, clear of whoever stands in the middle,
            // and all of it above the message window.
            s.Room(300, {3.4, 3, 2.6}, {2.4, 2, 1.6});
            s.Shelf(20, 40, 180, 3, false);
            s.Window(250, 70, 140, 100);
            for (int k = 0; k < 9; ++k) {  // bunches of herbs hung from the beam
                const int hx = 230 + k * 20;
                p.Line(hx, 20, hx, 36 + (k % 3) * 6, s.C(2, 1, 0));
                p.Polygon({{hx - 6.0, 36.0 + (k % 3) * 6},
                           {hx + 6.0, 36.0 + (k % 3) * 6},
                           {double(hx), 58.0 + (k % 3) * 8}},
                          s.C(0.6, 2.6 + (k % 2) * 0.6, 0.6));
            }
            p.Rect(0, 14, kW, 6, s.C(2, 1, 0));
            s.Table(24, 240, 170);
            for (int k = 0; k < 4; ++k)  // flasks on the work table
                p.Ellipse(50 + k * 36, 230, 9, 11, s.C(k % 2 ? 4 : 1, 3, k % 2 ? 1 : 5));
            // The hood over the hearth, in bricks.
            p.Polygon({{470, 20}, {584, 20}, {614, 178}, {440, 178}}, s.C(2.6, 1.6, 1.2));
            for (int y = 34; y < 178; y += 14)
                p.Line(470 - (y - 20) * 30 / 158, y, 584 + (y - 20) * 30 / 158, y,
                       s.C(1.8, 1, 0.8));
            p.Rect(440, 178, 174, 10, s.C(2, 1.4, 1));
            s.Cauldron(527, 258);
            p.Ellipse(527, 320, 44, 8, s.C(5, 2.4, 0.4));  // its fire
            p.Polygon({{507, 322}, {517, 300}, {527, 322}}, s.C(5, 3.4, 0.6));
            p.Polygon({{527, 322}, {537, 296}, {547, 322}}, s.C(5, 3.4, 0.6));
            break;
        case 12:  // 芙蘿蕾's room
            s.Room(320, {5, 4.4, 4.2}, {3.6, 2.6, 1.6});
            s.Window(250, 80, 140, 110);
            s.Bed(380, 300);
            p.Rect(60, 220, 120, 100, s.C(4, 2.6, 1.4));
            s.Flowers(70, 196, 100, 3);
            break;
        case 13:  // the smile's shop inside
            s.Room(330, {4.8, 4.6, 3.6}, {3.6, 3, 2});
            s.Shelf(30, 50, 580, 3, false);
            p.Rect(120, 290, 400, 90, s.C(4.2, 2.4, 2.4));
            p.Ellipse(320, 320, 20, 20, s.C(5, 5, 1));
            break;
        case 14:  // the castle's garden
            s.Sky(kHorizon - 40);
            s.Ground(kHorizon - 40, {1.4, 3.6, 1.2}, {2, 4, 1.6});
            for (int k = 0; k < 6; ++k) p.Rect(k * 110, 220, 90, 60, s.C(0.6, 2.6, 0.8));
            for (int r = 0; r < 4; ++r) s.Flowers(20 + r * 8, 300 + r * 28, 600, r + 5);
            p.Ellipse(320, 260, 60, 16, s.C(3.6, 3.6, 3.8));
            p.Ellipse(320, 256, 50, 10, s.C(1.6, 3, 4.6));
            break;
        case 15: {  // the ballroom
            s.Room(300, {4.4, 3.4, 2.4}, {4.6, 4.2, 3.2});
            for (int k = 0; k < 6; ++k) {
                p.Rect(30 + k * 116, 40, 24, 260, s.C(4.8, 4.6, 4));
                p.Rect(24 + k * 116, 40, 36, 10, s.C(5, 4.4, 2));
            }
            for (int y = 300; y < kH; y += 30)
                for (int x = (y / 30 % 2) * 40; x < kW; x += 80)
                    p.Rect(x, y, 40, 30, s.C(2.6, 1.8, 1));
            p.Line(320, 0, 320, 50, s.C(4, 3, 1));
            p.Ellipse(320, 70, 70, 22, s.C(5, 4.6, 2));
            for (int k = -3; k <= 3; ++k) p.Ellipse(320 + k * 20, 90, 4, 6, s.C(5, 5, 4));
            break;
        }
        case 16:  // the castle's balcony over the town
            s.Sky(kHorizon + 20);
            for (int i = 0; i < 16; ++i)
                p.Rect(i * 42, 250 + (i * 7) % 30, 34, 70, s.C(2.6, 2.4, 2.8));
            p.Rect(0, 320, kW, 160, s.C(3.8, 3.8, 4));
            p.Rect(0, 300, kW, 14, s.C(4.4, 4.4, 4.6));
            for (int x = 10; x < kW; x += 30) p.Rect(x, 314, 12, 50, s.C(4.4, 4.4, 4.6));
            break;
        case 17:  // the library
            s.Room(340, {3, 2, 1.2}, {2.4, 1.4, 0.8});
            s.Shelf(20, 20, 280, 6, true);
            s.Shelf(340, 20, 280, 6, true);
            s.Table(200, 330, 240);
            p.Ellipse(300, 322, 10, 14, s.C(5, 5, 2));
            break;
        case 18: {  // the town after the quake: houses broken open, smoke, rubble
            s.Sky(kHorizon);
            s.Ground(kHorizon, {2.6, 2.2, 1.8}, {2.8, 2.4, 2});
            for (int k = 0; k < 4; ++k) {  // smoke rising behind the ruins
                for (int j = 0; j < 5; ++j)
                    p.Ellipse(110 + k * 150 + j * 8, 200 - j * 34, 22 + j * 5, 16 + j * 3,
                              s.C(1.6 + j * 0.3, 1.6 + j * 0.3, 1.6 + j * 0.3));
            }
            for (int i = 0; i < 5; ++i) {
                // A house with its roof fallen in: the gable's stump, a jagged top,
                // dark holes where the windows were, beams sticking out.
                const double x = 10 + i * 128, w = 104, h = 110 + (i * 37) % 50;
                const Rgb wall{4 - (i % 2) * 0.6, 3.4 - (i % 3) * 0.3, 2.6};
                const double top = kHorizon - h, cut = (i % 2) ? 0.35 : 0.6;
                p.Polygon({{x, double(kHorizon)},
                           {x, top},
                           {x + w * 0.25, top - 24},
                           {x + w * cut, top + 30},
                           {x + w * 0.8, top + 8},
                           {x + w, top + 44},
                           {x + w, double(kHorizon)}},
                          s.C(wall.r, wall.g, wall.b));
                p.Polygon({{x - 6, top + 2},
                           {x + w * 0.25, top - 26},
                           {x + w * 0.4, top - 8},
                           {x + 4, top + 14}},
                          s.C(3.2, 1, 0.5));  // what is left of the roof
                for (int r = 0; r < 2; ++r)
                    for (int c = 0; c < 2; ++c)
                        p.Rect(int(x + 16 + c * 50), int(top + 44 + r * 38), 22, 24,
                               s.C(0.6, 0.5, 0.5));
                p.Line(int(x + w * cut), int(top + 30), int(x + w * 0.7), kHorizon, kInk);
                p.Line(int(x + w * cut) + 1, int(top + 30), int(x + w * 0.7) + 1, kHorizon, kInk);
                for (int d = 0; d < 4; ++d)  // a broken beam
                    p.Line(int(x + w * 0.7), int(top + 20 + d), int(x + w + 20), int(top - 14 + d),
                           s.C(1.6, 0.9, 0.4));
            }
            for (int i = 0; i < 14; ++i) {  // rubble: bricks and planks in heaps
                const double rx = 20 + i * 46, ry = kHorizon + 10 + (i * 17) % 20;
                p.Polygon({{rx - 26, ry + 12}, {rx - 4, ry - 14}, {rx + 26, ry + 12}},
                          s.C(3, 2.4, 2));
                p.Rect(int(rx) - 14, int(ry) - 2, 12, 6, s.C(3.8, 1.6, 1));
                p.Rect(int(rx) + 2, int(ry) + 4, 14, 6, s.C(3.8, 1.6, 1));
                for (int d = 0; d < 3; ++d)
                    p.Line(int(rx) - 20, int(ry) + d, int(rx) + 18, int(ry) - 10 + d,
                           s.C(2.4, 1.4, 0.6));
            }
            break;
        }
        case 20:
        case 21:  // the heroine's room upstairs
            s.Room(320, {4.6, 4, 3.2}, {3, 2, 1});
            s.Window(260, 70, 130, 110);
            s.Bed(40, 300);
            s.Table(420, 260, 160);
            if (room == 1) {  // asleep with 黑皮
                p.Ellipse(110, 290, 22, 18, s.C(4.6, 3, 2));
                p.Ellipse(150, 296, 14, 11, s.C(0.2, 0.2, 0.3));
            } else if (room == 2) {  // the mother's room: a portrait, a rocking chair
                p.Rect(470, 70, 80, 100, s.C(3.6, 2.6, 1.2));
                p.Rect(478, 78, 64, 84, s.C(4, 4, 4.6));
                p.Ellipse(510, 110, 14, 16, kSkin);
            }
            break;
        default:
            s.Sky(kHorizon);
            Grass(s);
            break;
    }
    s.RainOver();
    return pic;
}

Picture Land(int place, Hour h) {
    Picture pic(kW, kH, 0);
    Painter s(pic, h);
    Picture& p = pic;
    switch (place) {
        case 33:  // in the forest: a path between the trees, all above the message window
            s.Sky(kHorizon - 60);
            s.Ground(kHorizon - 60, {1, 2.6, 0.8}, {1.4, 3, 1});
            for (int k = 0; k < 9; ++k)
                s.Pine(20 + k * 76, kHorizon - 50 + (k % 3) * 16, 1.1 + (k % 2) * 0.5);
            p.Polygon({{150, 480}, {520, 480}, {360, 240}, {300, 240}}, s.C(3.4, 2.6, 1.6));
            for (int k = 0; k < 5; ++k)
                s.Tree(k < 2 ? 40 + k * 110 : 400 + (k - 2) * 100, kHorizon + 20 + (k % 2) * 14,
                       1.1, {0.4, 2.6, 0.6});
            break;
        case 34:  // the spring in the forest: the pond lies above the message window
            s.Sky(kHorizon - 80);
            s.Ground(kHorizon - 80, {1, 2.8, 0.8}, {1.4, 3, 1});
            for (int k = 0; k < 8; ++k) s.Pine(30 + k * 86, kHorizon - 80 + (k % 2) * 16, 1.2);
            p.Ellipse(320, 282, 240, 54, s.C(2, 2, 2));
            p.Ellipse(320, 278, 226, 46, s.C(1.6, 3.8, 4.8));
            p.Ellipse(270, 266, 70, 10, s.C(3.6, 4.8, 5));
            p.Ellipse(400, 290, 40, 6, s.C(3.6, 4.8, 5));
            s.Rocks(90, 312, 4, 1), s.Rocks(460, 314, 4, 2);
            for (int k = 0; k < 3; ++k) s.Flowers(40 + k * 230, 340, 80, k);
            break;
        case 35:  // the waterfall
            s.Sky(kHorizon - 60);
            p.Rect(0, 40, 240, 440, s.C(2.6, 2.2, 1.8));
            p.Rect(400, 40, 240, 440, s.C(2.4, 2, 1.6));
            s.Gradient(240, 40, 160, 300, {4, 4.8, 5}, {2.8, 4, 5});
            for (int k = 0; k < 14; ++k)
                p.Line(246 + k * 11, 40, 246 + k * 11, 340, s.C(4.6, 5, 5));
            s.Water(340, 140, {1.6, 3.2, 4.6});
            for (int k = 0; k < 12; ++k) p.Ellipse(250 + k * 13, 344, 12, 8, s.C(4.8, 5, 5));
            s.Pine(60, 80, 1), s.Pine(580, 90, 1.1);
            break;
        case 36:  // the mouth of the cave
            s.Sky(kHorizon - 80);
            p.Rect(0, 60, kW, 420, s.C(2.4, 2.2, 2));
            p.Polygon({{0, 60}, {140, 20}, {320, 50}, {500, 10}, {640, 60}, {640, 120}, {0, 120}},
                      s.C(2.4, 2.2, 2));
            p.Ellipse(320, 300, 130, 150, s.C(0.2, 0.2, 0.3));
            p.Rect(190, 300, 260, 180, s.C(0.2, 0.2, 0.3));
            s.Ground(380, {2, 1.8, 1.4}, {2.4, 2.2, 1.8});
            s.Rocks(20, 380, 6, 2), s.Rocks(460, 380, 6, 5);
            break;
        case 37:  // the mountain path
            s.Sky(kHorizon);
            s.Mountains(kHorizon, {2.4, 2.4, 2.8}, 1);
            s.Ground(kHorizon, {2.8, 2.6, 1.6}, {2.6, 3, 1.6});
            p.Polygon({{200, 480}, {440, 480}, {350, 300}, {330, 300}}, s.C(3.8, 3.2, 2.4));
            s.Rocks(20, 360, 5, 1), s.Rocks(470, 380, 5, 3);
            break;
        case 38:  // the crater
            s.Sky(kHorizon - 40);
            p.Polygon({{-40, 480}, {120, 180}, {520, 180}, {680, 480}}, s.C(2.2, 1.6, 1.4));
            p.Ellipse(320, 190, 200, 34, s.C(1.2, 0.8, 0.8));
            p.Ellipse(320, 194, 170, 24, s.C(5, 2, 0.4));
            p.Ellipse(320, 196, 120, 14, s.C(5, 4, 1));
            for (int k = 0; k < 4; ++k) s.Cloud(200 + k * 80, 130 - k * 20, 0.6, s.C(3, 3, 3));
            s.Rocks(40, 400, 18, 7);
            break;
        case 39:  // the big tree in the open field
            s.Sky(kHorizon);
            s.Ground(kHorizon, {1.4, 3.6, 1}, {2.4, 4.2, 1.6});
            s.Tree(320, kHorizon + 40, 3.1);
            for (int k = 0; k < 3; ++k) s.Flowers(40 + k * 220, 380 + (k % 2) * 40, 120, k);
            break;
        case 40:  // the lake
            s.Sky(kHorizon - 40);
            s.Mountains(kHorizon - 40, {1.8, 2.4, 2.6}, 3);
            s.Water(kHorizon - 40, 140, {1.8, 3.4, 4.8});
            s.Ground(kHorizon + 100, {1.4, 3.4, 1}, {1.8, 3.6, 1.2});
            for (int k = 0; k < 4; ++k) s.Pine(40 + k * 180, kHorizon + 110 + (k % 2) * 30, 1);
            break;
        case 41:  // the beach
            s.Sky(220);
            s.Water(220, 110, {1.4, 3.2, 5});
            s.Gradient(0, 330, kW, 150, {5, 4.6, 3.4}, {4.6, 4, 2.8});
            for (int k = 0; k < 30; ++k)
                p.Line(k * 24, 330 + (k % 3), k * 24 + 18, 332, s.C(5, 5, 5));
            p.Ellipse(520, 400, 18, 10, s.C(5, 3, 3));
            break;
        case 42:  // the hot spring
            s.Sky(kHorizon - 40);
            s.Ground(kHorizon - 40, {2.4, 2.2, 2}, {2.6, 2.4, 2.2});
            s.Rocks(60, 270, 18, 3);
            p.Ellipse(320, 360, 240, 70, s.C(2.4, 2.2, 2));
            p.Ellipse(320, 356, 224, 60, s.C(3, 4.4, 4.6));
            for (int k = 0; k < 7; ++k)
                for (int j = 0; j < 3; ++j)
                    p.Ellipse(180 + k * 46 + j * 6, 320 - j * 24, 8, 10, s.C(4.8, 4.8, 4.8));
            s.Pine(40, 280, 1.2), s.Pine(600, 270, 1.3);
            break;
        case 43:  // the lone cottage in the forest
            s.Sky(kHorizon);
            s.Ground(kHorizon, {1, 2.6, 0.8}, {1.4, 3, 1});
            for (int k = 0; k < 4; ++k) s.Pine(20 + k * 60, kHorizon + (k % 2) * 20, 1.3);
            for (int k = 0; k < 3; ++k) s.Pine(480 + k * 60, kHorizon + (k % 2) * 20, 1.3);
            s.House(220, kHorizon + 30, 200, 140, {3.2, 2.2, 1.4}, {1, 1.8, 0.8});
            p.Rect(380, 110, 18, 40, s.C(2, 1.6, 1.4));
            s.Cloud(400, 90, 0.3, s.C(4, 4, 4));
            break;
        case 44:  // the great wizard's room
            s.Room(330, {2.6, 2, 2.8}, {2, 1.4, 1});
            s.Shelf(20, 30, 200, 5, true);
            s.Shelf(420, 30, 200, 5, true);
            s.Table(230, 300, 180);
            p.Ellipse(320, 270, 30, 30, s.C(3, 4, 5));
            p.Ellipse(312, 262, 8, 8, s.C(5, 5, 5));
            p.Rect(300, 296, 40, 6, s.C(3, 2, 1));
            break;
        default:
            s.Sky(kHorizon);
            Grass(s);
            break;
    }
    s.RainOver();
    return pic;
}

// ---- people

struct Look {
    Rgb hair, clothes, trim;
    int hairStyle;  // 0 short, 1 long, 2 twin tails, 3 bun, 4 bald with beard, 5 ponytail
    int hat;        // 0 none, 1 crown, 2 wizard's hat, 3 tiara, 4 cap
    bool dress;
};

Look LookOf(Who w) {
    switch (w) {
        case Who::Fer:
            return {{4.6, 4.2, 2.4}, {1, 2.6, 1.4}, {4, 4, 3}, 0, 0, false};
        case Who::Prince:
            return {{5, 4.4, 1.6}, {1, 1.4, 4}, {5, 4.4, 1}, 0, 3, false};
        case Who::Renet:
            return {{4.4, 1.2, 0.8}, {4.6, 2, 2.6}, {5, 5, 5}, 2, 0, true};
        case Who::RenetSwim:
            return {{4.4, 1.2, 0.8}, {1, 3.4, 4.6}, {5, 5, 5}, 2, 0, true};
        case Who::Renet2:
            return {{4.4, 1.2, 0.8}, {2.4, 1, 2.6}, {5, 5, 5}, 2, 0, true};
        case Who::Cocot:
            return {{1.4, 0.8, 0.4}, {4.4, 4, 2.6}, {3, 1.4, 0.6}, 5, 4, false};
        case Who::Cocot2:
            return {{1.4, 0.8, 0.4}, {1.4, 3, 3.4}, {5, 5, 5}, 5, 0, true};
        case Who::Mother:  // her hair as her daughter's, up in a bun; a pale robe
            return {{4.4, 2.6, 1.4}, {4.4, 4.2, 5}, {3, 2.4, 4.4}, 3, 3, true};
        case Who::FloMother:
            return {{2.6, 3.4, 1.6}, {3.6, 3, 2.2}, {5, 5, 4}, 3, 0, true};
        case Who::RenFather:
            return {{3.6, 1.4, 0.8}, {1.4, 1.4, 1.8}, {4, 4, 4}, 4, 0, false};
        case Who::King:
            return {{4.6, 4.6, 4.6}, {3.6, 0.6, 0.8}, {5, 4.4, 1}, 4, 1, false};
        case Who::Wizard:
            return {{4.8, 4.8, 4.8}, {1.6, 0.8, 2.6}, {5, 4.4, 1}, 1, 2, true};
        case Who::Boy:
            return {{2.4, 1.4, 0.6}, {3.6, 2.4, 1}, {1.4, 1.4, 3}, 0, 4, false};
        case Who::Flo:
            return {{2.4, 3.8, 1.6}, {5, 4.2, 4.4}, {4.4, 2, 2.6}, 1, 0, true};
        case Who::Flo2:
            return {{2.4, 3.8, 1.6}, {4.4, 4.8, 3.6}, {4.4, 2, 2.6}, 1, 0, true};
        case Who::Lazarus:
            return {{1.6, 1.6, 1.8}, {0.6, 0.6, 0.8}, {4, 0.6, 0.6}, 0, 0, false};
        case Who::Heroine:
            return {{4, 2, 1}, {1.4, 0.8, 2.6}, {5, 4, 1}, 1, 2, true};
        case Who::HeroineGown:
            return {{4, 2, 1}, {5, 2.6, 3.6}, {5, 5, 5}, 1, 3, true};
        case Who::HeroineBride:
            return {{4, 2, 1}, {5, 5, 5}, {4.4, 4.6, 5}, 1, 3, true};
        case Who::Cat:
            break;
    }
    return {{1, 1, 1}, {2, 2, 2}, {4, 4, 4}, 0, 0, false};
}

// Whose figure a pose is, by the catalogue's ranges.
Who WhoOfPose(int pose) {
    struct Range {
        int first;
        Who who;
    };
    static constexpr Range kRanges[] = {
        {0, Who::Cat},        {5, Who::Fer},        {8, Who::Prince},     {12, Who::Renet},
        {16, Who::RenetSwim}, {20, Who::Renet2},    {23, Who::Cocot},     {29, Who::Cocot2},
        {34, Who::Mother},    {35, Who::FloMother}, {37, Who::RenFather}, {39, Who::King},
        {40, Who::Wizard},    {41, Who::Boy},       {43, Who::Flo},       {47, Who::Flo2},
        {57, Who::Lazarus}};
    Who w = Who::Cat;
    for (const Range& r : kRanges)
        if (pose >= r.first) w = r.who;
    return w;
}

// The expression a catalogue label names: 0 plain, 1 smile, 2 angry, 3 sad, 4 surprised,
// 5 serious, 6 shy, 7 troubled, 8 in pain.
int Expression(const std::string& label) {
    struct Word {
        const char* text;
        int expression;
    };
    static const Word kWords[] = {{"笑", 1},   {"生氣", 2}, {"悲傷", 3}, {"驚", 4},   {"嚴肅", 5},
                                  {"認真", 5}, {"害羞", 6}, {"困擾", 7}, {"懊悔", 7}, {"苦痛", 8}};
    for (const Word& w : kWords)
        if (label.find(w.text) != std::string::npos) return w.expression;
    return 0;
}

void Eyes(Picture& p, double cx, double y, double gap, int e) {
    for (int side : {-1, 1}) {
        const double x = cx + side * gap;
        switch (e) {
            case 1:  // smiling arcs
                p.Line(int(x) - 6, int(y) + 2, int(x), int(y) - 3, kInk);
                p.Line(int(x), int(y) - 3, int(x) + 6, int(y) + 2, kInk);
                break;
            case 3:  // sad, looking down
            case 8:
                p.Ellipse(x, y + 3, 4, 4, kInk);
                break;
            case 4:  // wide
                p.Ellipse(x, y, 7, 9, kWhite);
                p.Ellipse(x, y, 3, 4, kInk);
                break;
            case 9:  // shut: a curved lid with its lashes
                p.Line(int(x) - 7, int(y), int(x), int(y) + 3, kInk);
                p.Line(int(x), int(y) + 3, int(x) + 7, int(y), kInk);
                p.Line(int(x) - 7, int(y) + 1, int(x), int(y) + 4, kInk);
                p.Line(int(x), int(y) + 4, int(x) + 7, int(y) + 1, kInk);
                break;
            default:
                p.Ellipse(x, y, 4, 6, kInk);
                p.Set(int(x) + 1, int(y) - 3, kWhite);
                break;
        }
        if (e == 2 || e == 5 || e == 8)  // brows
            p.Line(int(x) - 7, int(y) - 12 + (e == 2 ? side * -3 : 0), int(x) + 7,
                   int(y) - 12 + (e == 2 ? side * 3 : 0), kInk);
        if (e == 3 || e == 7)
            p.Line(int(x) - 7, int(y) - 10 - side * 3, int(x) + 7, int(y) - 10 + side * 3, kInk);
    }
}

void Mouth(Picture& p, double cx, double y, int e) {
    const std::uint8_t m = Cube(4, 1, 1);
    const int x = int(cx);
    switch (e) {
        case 1:
        case 6:
            p.Line(x - 8, int(y) - 2, x - 3, int(y) + 2, m);
            p.Line(x - 3, int(y) + 2, x + 3, int(y) + 2, m);
            p.Line(x + 3, int(y) + 2, x + 8, int(y) - 2, m);
            break;
        case 2:
        case 3:
        case 7:
        case 8:
            p.Line(x - 7, int(y) + 3, x - 2, int(y) - 1, m);
            p.Line(x - 2, int(y) - 1, x + 2, int(y) - 1, m);
            p.Line(x + 2, int(y) - 1, x + 7, int(y) + 3, m);
            break;
        case 4:
            p.Ellipse(cx, y, 4, 6, m);
            break;
        default:
            p.Line(x - 5, int(y), x + 5, int(y), m);
            break;
    }
}

// 黑皮, the black cat, sitting tall, 200 x 400, its face by expression. Black fur reads
// against a dark night through its blue-grey rim and the light on its head and chest;
// big eyes, pink ears and nose, white whiskers and the red collar with its bell.
Picture Cat(int e, std::uint8_t key) {
    Picture p(200, 400, key);
    const std::uint8_t fur = kInk, rim = Cube(1, 1, 2), sheen = Cube(1, 1, 1);
    const std::uint8_t pink = Cube(5, 3, 4);
    auto body = [&](double grow, std::uint8_t c) {
        p.Polygon({{150 + grow, 390}, {192 + grow, 300}, {184, 292}, {140, 380}}, c);  // tail
        p.Ellipse(100, 300, 70 + grow, 96 + grow, c);
        p.Ellipse(100, 160, 62 + grow, 54 + grow, c);
        p.Polygon({{44 - grow, 146}, {50 - grow, 70 - grow}, {92, 112}}, c);
        p.Polygon({{108, 112}, {150 + grow, 70 - grow}, {156 + grow, 146}}, c);
    };
    body(3, rim);
    body(0, fur);
    p.Ellipse(100, 300, 40, 70, sheen);  // the chest
    p.Ellipse(84, 132, 22, 12, sheen);   // light on the brow
    p.Ellipse(70, 386, 18, 10, rim);     // front paws
    p.Ellipse(130, 386, 18, 10, rim);
    p.Ellipse(70, 384, 16, 8, fur);
    p.Ellipse(130, 384, 16, 8, fur);
    p.Polygon({{54, 136}, {56, 84}, {86, 114}}, pink);
    p.Polygon({{114, 114}, {144, 84}, {146, 136}}, pink);
    const std::uint8_t eye = Cube(4, 5, 1);
    for (int side : {-1, 1}) {
        const double x = 100 + side * 26;
        if (e == 1) {
            for (int d = 0; d < 2; ++d) {
                p.Line(int(x) - 11, 164 + d, int(x), 154 + d, eye);
                p.Line(int(x), 154 + d, int(x) + 11, 164 + d, eye);
            }
        } else {
            const double ry = e == 4 ? 16 : 13;
            p.Ellipse(x, 160, e == 4 ? 14 : 12, ry, eye);
            p.Ellipse(x, 160, 3.5, e == 4 ? 6 : 11, fur);
            p.Ellipse(x + 4, 154, 3, 3, kWhite);
            if (e == 3) p.Ellipse(x + 6, 180, 3, 6, Cube(2, 4, 5));
            if (e == 2)
                for (int d = 0; d < 2; ++d)
                    p.Line(int(x) - 12, 140 + side * -5 + d, int(x) + 12, 140 + side * 5 + d, eye);
        }
    }
    p.Polygon({{93, 184}, {107, 184}, {100, 192}}, pink);
    p.Line(100, 192, 94, 198, Cube(3, 3, 3));
    p.Line(100, 192, 106, 198, Cube(3, 3, 3));
    for (int side : {-1, 1})
        for (int k = 0; k < 3; ++k)
            p.Line(100 + side * 18, 190 + k * 5, 100 + side * 62, 180 + k * 10, Cube(4, 4, 4));
    p.Rect(62, 208, 76, 10, Cube(5, 0, 0));  // the red collar and its bell
    p.Ellipse(100, 224, 8, 8, Cube(5, 4, 0));
    p.Rect(97, 224, 6, 2, Cube(3, 2, 0));
    return p;
}

// A person standing, 200 x 400, the feet on the bottom row; without `arms` the arms are
// left for the scene to draw where the hands are.
Picture Person(const Look& l, int e, int pose, std::uint8_t key, bool arms = true) {
    constexpr int kFw = 200, kFh = 400;
    Picture p(kFw, kFh, key);
    auto c = [](Rgb x) { return Flat(x); };
    const double cx = 100, headY = 92;
    const int lean = (pose % 3 - 1) * 4;
    // Hair behind the body first, so the clothes and arms lie over it.
    const std::uint8_t hair = c(l.hair);
    const double hx = cx + lean;
    if (l.hairStyle == 1) p.Rect(int(hx) - 44, int(headY), 88, 110, hair);
    if (l.hairStyle == 2)
        for (int side : {-1, 1}) p.Ellipse(hx + side * 52, headY + 50, 16, 54, hair);
    if (l.hairStyle == 5) p.Ellipse(hx + 40, headY + 40, 14, 50, hair);
    // Clothes: a dress flares, trousers stand on two legs.
    if (l.dress) {
        p.Polygon({{cx - 28 + lean, 150},
                   {cx + 28 + lean, 150},
                   {cx + 78, kFh - 20.0},
                   {cx - 78, kFh - 20.0}},
                  c(l.clothes));
        p.Rect(int(cx) - 60, kFh - 28, 120, 8, c(l.trim));
    } else {
        p.Polygon({{cx - 32 + lean, 150}, {cx + 32 + lean, 150}, {cx + 40, 270}, {cx - 40, 270}},
                  c(l.clothes));
        p.Rect(int(cx) - 36, 270, 32, kFh - 290,
               c({l.clothes.r * 0.5, l.clothes.g * 0.5, l.clothes.b * 0.5}));
        p.Rect(int(cx) + 4, 270, 32, kFh - 290,
               c({l.clothes.r * 0.5, l.clothes.g * 0.5, l.clothes.b * 0.5}));
        p.Rect(int(cx) - 40, 262, 80, 10, c(l.trim));
    }
    p.Rect(int(cx) - 38, kFh - 22, 30, 14, kInk);
    p.Rect(int(cx) + 8, kFh - 22, 30, 14, kInk);
    // Arms and collar.
    if (arms) {
        p.Polygon({{cx - 32 + lean, 152}, {cx - 44, 250}, {cx - 30, 252}, {cx - 18 + lean, 160}},
                  c(l.clothes));
        p.Polygon({{cx + 32 + lean, 152}, {cx + 44, 250}, {cx + 30, 252}, {cx + 18 + lean, 160}},
                  c(l.clothes));
        p.Ellipse(cx - 37, 254, 7, 7, kSkin);
        p.Ellipse(cx + 37, 254, 7, 7, kSkin);
    }
    p.Polygon({{cx - 16 + lean, 146}, {cx + 16 + lean, 146}, {cx + lean, 170}}, c(l.trim));
    // Face, hair in front.
    p.Rect(int(hx) - 9, int(headY) + 36, 18, 24, kSkin);
    p.Ellipse(hx, headY, 38, 44, kSkin);
    if (l.hairStyle == 4) {  // a beard
        p.Ellipse(hx, headY + 34, 34, 26, hair);
        p.Ellipse(hx, headY + 30, 16, 8, kSkin);
        p.Ellipse(hx, headY - 34, 36, 14, hair);
    } else {
        p.Ellipse(hx, headY - 26, 42, 24, hair);
        p.Polygon({{hx - 40, headY - 20}, {hx - 36, headY + 10}, {hx - 22, headY - 16}}, hair);
        p.Polygon({{hx + 40, headY - 20}, {hx + 36, headY + 10}, {hx + 22, headY - 16}}, hair);
        if (l.hairStyle == 3) p.Ellipse(hx, headY - 52, 18, 14, hair);
    }
    Eyes(p, hx, headY + 2, 15, e);
    Mouth(p, hx, headY + (l.hairStyle == 4 ? 30 : 24), e);
    if (e == 6) {
        p.Ellipse(hx - 24, headY + 16, 7, 4, Cube(5, 3, 3));
        p.Ellipse(hx + 24, headY + 16, 7, 4, Cube(5, 3, 3));
    }
    if (e == 8) p.Ellipse(hx + 32, headY - 16, 4, 7, Cube(2, 4, 5));
    if (e == 9) p.Ellipse(hx + 32, headY - 10, 3, 6, Cube(2, 4, 5));  // a bead of sweat
    switch (l.hat) {
        case 1:  // a crown
            p.Polygon({{hx - 26, headY - 44},
                       {hx - 26, headY - 76},
                       {hx - 13, headY - 56},
                       {hx, headY - 80},
                       {hx + 13, headY - 56},
                       {hx + 26, headY - 76},
                       {hx + 26, headY - 44}},
                      Cube(5, 4, 0));
            break;
        case 2:  // a wizard's hat
            p.Polygon({{hx - 56, headY - 36}, {hx + 10, headY - 130}, {hx + 56, headY - 36}},
                      c(l.clothes));
            p.Rect(int(hx) - 62, int(headY) - 40, 124, 8, c(l.clothes));
            break;
        case 3:  // a circlet
            p.Rect(int(hx) - 34, int(headY) - 40, 68, 6, Cube(5, 4, 0));
            p.Ellipse(hx, headY - 38, 5, 5, Cube(0, 3, 5));
            break;
        case 4:  // a cap
            p.Ellipse(hx, headY - 38, 40, 16, c(l.trim));
            p.Rect(int(hx), int(headY) - 34, 52, 6, c(l.trim));
            break;
        default:
            break;
    }
    return p;
}

// ---- event pictures

constexpr std::uint8_t kSceneKey = Cube(5, 0, 5);

// Lays the top `rows` rows of a figure drawn on the key colour onto a scene, scaled by
// `s`, the middle at x and the last row laid at `bottom`.
void LayRows(Picture& p, const Picture& f, double x, double bottom, double s, int rows) {
    rows = std::min(rows, f.Height());
    for (int j = 0; j < int(rows * s); ++j)
        for (int i = 0; i < int(f.Width() * s); ++i) {
            const std::uint8_t c = f.Get(int(i / s), int(j / s));
            if (c != kSceneKey)
                p.Set(int(x - f.Width() * s / 2) + i, int(bottom - rows * s) + j, c);
        }
}

// A whole figure with its feet at (x, base).
void Lay(Picture& p, const Picture& f, double x, double base, double s) {
    LayRows(p, f, x, base, s, f.Height());
}

// A figure lying on its side, head to the left, centred on x, its back on the ground.
void LayLying(Picture& p, const Picture& f, double x, double ground, double s) {
    const int w = int(f.Height() * s), h = int(f.Width() * s);
    const int left = int(x - w / 2.0), top = int(ground - h * 0.75);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const std::uint8_t c = f.Get(int(j / s), int(i / s));
            if (c != kSceneKey) p.Set(left + i, top + j, c);
        }
}

Look SceneLook(Who who, Pose pose) {
    Look l = LookOf(who);
    // No hat in the bath or in bed; a fall knocks it off.
    if (pose == Pose::Bathe || pose == Pose::InBed || pose == Pose::Fallen) l.hat = 0;
    return l;
}

void Hearts(Picture& p, double x, double y, int n) {
    for (int k = 0; k < n; ++k) {
        const double hx = x + k * 36 - (n - 1) * 18, hy = y - (k % 2) * 20;
        p.Ellipse(hx - 6, hy, 8, 8, Cube(5, 1, 2));
        p.Ellipse(hx + 6, hy, 8, 8, Cube(5, 1, 2));
        p.Polygon({{hx - 13, hy + 3}, {hx + 13, hy + 3}, {hx, hy + 18}}, Cube(5, 1, 2));
    }
}

void Sparkles(Picture& p, double x, double y) {
    for (int k = 0; k < 9; ++k) {
        const int sx = int(x + ((k * 47) % 120) - 60), sy = int(y + ((k * 29) % 80) - 40);
        const int r = 3 + k % 3 * 2;
        const std::uint8_t c = k % 2 ? kWhite : Cube(5, 5, 2);
        p.Line(sx - r, sy, sx + r, sy, c);
        p.Line(sx, sy - r, sx, sy + r, c);
        p.Set(sx + 1, sy + 1, c), p.Set(sx - 1, sy - 1, c);
    }
}

void Notes(Picture& p, double x, double y) {
    for (int k = 0; k < 3; ++k) {
        const int nx = int(x) + k * 34 - 34, ny = int(y) + (k % 2) * 24;
        p.Ellipse(nx, ny + 22, 7, 5, kInk);
        p.Rect(nx + 5, ny, 3, 22, kInk);
        p.Line(nx + 7, ny, nx + 15, ny + 8, kInk);
        p.Line(nx + 7, ny + 1, nx + 15, ny + 9, kInk);
    }
}

void Grave(Picture& p, double x, double base, Painter& s) {
    p.Rect(int(x) - 22, int(base) - 70, 44, 70, s.C(3.4, 3.4, 3.6));
    p.Ellipse(x, base - 70, 22, 16, s.C(3.4, 3.4, 3.6));
    p.Rect(int(x) - 2, int(base) - 76, 4, 30, s.C(2, 2, 2));
    p.Rect(int(x) - 10, int(base) - 66, 20, 4, s.C(2, 2, 2));
    s.Flowers(int(x) - 30, int(base) - 6, 60, 2);
}

void Fire(Picture& p, double x, double y) {
    p.Ellipse(x, y - 30, 76, 42, Cube(2, 1, 0));  // the glow round it
    p.Ellipse(x, y - 24, 56, 28, Cube(3, 1, 0));
    p.Rect(int(x) - 40, int(y) - 10, 80, 10, Cube(2, 1, 0));
    p.Line(int(x) - 40, int(y) - 14, int(x) + 40, int(y) - 2, Cube(1, 0, 0));
    p.Polygon(
        {{x - 30, y - 10}, {x - 10, y - 80}, {x + 4, y - 40}, {x + 16, y - 96}, {x + 30, y - 10}},
        Cube(5, 1, 0));
    p.Polygon(
        {{x - 18, y - 10}, {x - 4, y - 56}, {x + 6, y - 34}, {x + 14, y - 62}, {x + 20, y - 10}},
        Cube(5, 3, 0));
    p.Polygon({{x - 8, y - 10}, {x + 2, y - 36}, {x + 10, y - 10}}, Cube(5, 5, 2));
}

void Lyre(Picture& p, double x, double y) {
    const std::uint8_t gold = Cube(5, 4, 1);
    p.Rect(int(x) - 22, int(y) + 30, 44, 8, gold);
    for (int side : {-1, 1}) {
        p.Line(int(x) + side * 20, int(y) + 32, int(x) + side * 28, int(y) - 10, gold);
        p.Line(int(x) + side * 21, int(y) + 32, int(x) + side * 29, int(y) - 10, gold);
        p.Line(int(x) + side * 28, int(y) - 10, int(x) + side * 20, int(y) - 26, gold);
    }
    p.Rect(int(x) - 26, int(y) - 14, 52, 4, gold);
    for (int k = -2; k <= 2; ++k)
        p.Line(int(x) + k * 6, int(y) - 10, int(x) + k * 6, int(y) + 30, kWhite);
}

void Flask(Picture& p, double x, double y) {
    p.Ellipse(x, y, 14, 18, Cube(2, 4, 5));
    p.Ellipse(x - 4, y - 5, 4, 6, Cube(4, 5, 5));
    p.Rect(int(x) - 4, int(y) - 28, 8, 14, Cube(4, 4, 5));
    p.Rect(int(x) - 5, int(y) - 32, 10, 5, Cube(3, 2, 1));
}

// The figure of someone in a scene, drawn as the figures are.
Picture SceneFigurePicture(const SceneFigure& f) {
    if (f.who == Who::Cat) return Cat(f.face, kSceneKey);
    return Person(SceneLook(f.who, f.pose), f.face, 1, kSceneKey, f.reachX < 0);
}

// The height on the scene of the figure's row `row` (of its 400), by its pose.
double RowY(const SceneFigure& f, int row) {
    const double k = f.scale;
    switch (f.pose) {
        case Pose::Sit:
        case Pose::Fly:
        case Pose::Fallen:
            return f.base - 24 * k - (264 - row) * k;
        case Pose::Close:
            return f.base - (250 - row) * k;
        default:
            return f.base - (400 - row) * k;
    }
}

// A limb from a to b, `w` wide.
void Limb(Picture& p, Pt a, Pt b, double w, std::uint8_t c) {
    const double dx = b.x - a.x, dy = b.y - a.y, n = std::max(1.0, std::hypot(dx, dy));
    const double ox = -dy / n * w / 2, oy = dx / n * w / 2;
    p.Polygon(
        {{a.x + ox, a.y + oy}, {b.x + ox, b.y + oy}, {b.x - ox, b.y - oy}, {a.x - ox, a.y - oy}},
        c);
    p.Ellipse(a.x, a.y, w / 2, w / 2, c);
}

// Both sleeves of a figure whose hands are at its reach point.
void Sleeves(Picture& p, const SceneFigure& f) {
    if (f.reachX < 0) return;
    const double k = f.scale, y = RowY(f, 156);
    const std::uint8_t c = Flat(SceneLook(f.who, f.pose).clothes);
    for (int side : {-1, 1})
        Limb(p, {f.x + side * 30 * k, y}, {f.reachX + side * 8 * k, double(f.reachY)}, 16 * k, c);
}

// The hands at the reach point, drawn over what they hold.
void Hands(Picture& p, const SceneFigure& f) {
    if (f.reachX < 0) return;
    for (int side : {-1, 1})
        p.Ellipse(f.reachX + side * 8 * f.scale, f.reachY, 7 * f.scale, 6 * f.scale, kSkin);
}

void DrawFigure(Picture& p, const SceneFigure& f, Painter& s) {
    const Picture fig = SceneFigurePicture(f);
    const double k = f.scale;
    const Look l = SceneLook(f.who, f.pose);
    const std::uint8_t clothes = Flat(l.clothes);
    const bool cat = f.who == Who::Cat;
    switch (f.pose) {
        case Pose::Stand:
            Lay(p, fig, f.x, f.base, k);
            break;
        case Pose::Sit:
        case Pose::Fly:
            if (cat) {
                Lay(p, fig, f.x, f.base, k);
                break;
            }
            // The body to the waist above a lap and two shoes.
            LayRows(p, fig, f.x, f.base - 24 * k, k, 264);
            p.Ellipse(f.x, f.base - 22 * k, 70 * k, 26 * k, clothes);
            p.Ellipse(f.x - 52 * k, f.base - 6 * k, 16 * k, 7 * k, kInk);
            p.Ellipse(f.x + 52 * k, f.base - 6 * k, 16 * k, 7 * k, kInk);
            if (f.pose == Pose::Fly) {  // the broom under her, its brush behind
                const std::uint8_t wood = Cube(3, 2, 1);
                for (int d = -2; d <= 2; ++d)
                    p.Line(int(f.x - 120 * k), int(f.base - 4 * k) + d, int(f.x + 130 * k),
                           int(f.base - 30 * k) + d, wood);
                p.Polygon({{f.x - 120 * k, f.base - 14 * k},
                           {f.x - 190 * k, f.base - 30 * k},
                           {f.x - 190 * k, f.base + 24 * k},
                           {f.x - 120 * k, f.base + 6 * k}},
                          Cube(4, 3, 1));
            }
            break;
        case Pose::Fallen: {  // sitting where she fell, the right leg out before her
            LayRows(p, fig, f.x, f.base - 24 * k, k, 264);
            p.Ellipse(f.x, f.base - 22 * k, 70 * k, 26 * k, clothes);
            p.Ellipse(f.x - 52 * k, f.base - 6 * k, 16 * k, 7 * k, kInk);
            Limb(p, {f.x + 30 * k, f.base - 18 * k}, {f.x + 70 * k, f.base - 14 * k}, 24 * k,
                 clothes);
            Limb(p, {f.x + 60 * k, f.base - 14 * k}, {f.x + 118 * k, f.base - 10 * k}, 16 * k,
                 kSkin);
            p.Ellipse(f.x + 130 * k, f.base - 10 * k, 16 * k, 9 * k, kInk);
            // Her hat, knocked off, on the ground behind her.
            const std::uint8_t hat = Flat(LookOf(f.who).clothes);
            p.Polygon({{f.x - 150 * k, double(f.base)},
                       {f.x - 100 * k, f.base - 70 * k},
                       {f.x - 86 * k, f.base - 4 * k}},
                      hat);
            p.Ellipse(f.x - 120 * k, f.base, 50 * k, 9 * k, hat);
            break;
            break;
        }
        case Pose::Lie:
            LayLying(p, fig, f.x, f.base, k);
            break;
        case Pose::Bathe: {  // bare shoulders above the water
            Picture bare = fig;
            for (int y = 140; y < bare.Height(); ++y)
                for (int x = 0; x < bare.Width(); ++x)
                    if (bare.Get(x, y) == clothes || bare.Get(x, y) == Flat(l.trim))
                        bare.Set(x, y, kSkin);
            LayRows(p, bare, f.x, f.base, k, 196);
            break;
        }
        case Pose::Close: {  // row 250 (the chest) at `base`, the rest on to the bottom
            const int more = std::max(0, int((kH - f.base) / k));
            LayRows(p, fig, f.x, f.base + more * k, k, 250 + more);
            break;
        }
        case Pose::InBed: {
            // The head on a pillow, the blanket up to the chin.
            p.Ellipse(f.x, f.base - 30 * k, 78 * k, 26 * k, Cube(4, 4, 5));
            p.Ellipse(f.x, f.base - 32 * k, 74 * k, 22 * k, kWhite);
            LayRows(p, fig, f.x, f.base, k, 150);
            const int left = int(f.x - 56 * k), top = int(f.base - 16 * k);
            p.Rect(left, top, int(400 * k), int(88 * k), s.C(2, 3, 4.6));
            p.Rect(left, top, int(400 * k), int(12 * k), s.C(4.6, 4.6, 5));
            p.Line(int(f.x + 32 * k), int(f.base + 28 * k), int(f.x + 332 * k),
                   int(f.base + 40 * k), s.C(1.4, 2.2, 3.6));
            break;
        }
    }
    Sleeves(p, f);
}

// Props that stand behind the people: drawn before them.
bool Behind(Prop prop) {
    switch (prop) {
        case Prop::Tub:
        case Prop::StagePlatform:
        case Prop::Breakfast:
        case Prop::Grave:
        case Prop::FlowerPots:
        case Prop::DarkAura:
        case Prop::Bundle:
        case Prop::Flowers:
        case Prop::SpilledCan:
        case Prop::Crowd:
        case Prop::Parade:
            return true;
        default:
            return false;
    }
}

void DrawProp(Picture& p, const SceneProp& q, Painter& s, bool front) {
    const double x = q.x, y = q.y;
    switch (q.prop) {
        case Prop::Flask:
            Flask(p, x, y);
            break;
        case Prop::Tub:
            if (!front) {  // the cauldron's body and its water, behind the bathers
                p.Ellipse(x, y + 70, 280, 120, Cube(1, 1, 1));
                p.Ellipse(x, y + 60, 268, 110, Cube(0, 0, 1));
                p.Ellipse(x, y, 260, 46, Cube(2, 2, 2));
                p.Ellipse(x, y, 244, 38, Cube(2, 4, 5));
            } else {  // the water line in front of them
                p.Rect(int(x) - 240, int(y), 480, 12, Cube(2, 4, 5));
                for (int k = 0; k < 12; ++k)
                    p.Line(int(x) - 220 + k * 38, int(y) + 4, int(x) - 200 + k * 38, int(y) + 4,
                           Cube(4, 5, 5));
                p.Ellipse(x, y + 30, 262, 20, Cube(1, 1, 1));
                p.Rect(int(x) - 280, int(y) + 30, 560, 200, Cube(1, 1, 1));
            }
            break;
        case Prop::Steam:
            for (int k = 0; k < 8; ++k)
                p.Ellipse(x - 200 + k * 56, y - (k % 3) * 30, 26, 14, Cube(5, 5, 5));
            break;
        case Prop::WateringCan:
            p.Rect(int(x) - 16, int(y) - 14, 32, 26, Cube(2, 3, 4));
            p.Frame(int(x) - 10, int(y) - 26, 20, 14, Cube(2, 3, 4));
            p.Line(int(x) + 16, int(y) - 6, int(x) + 38, int(y) - 22, Cube(2, 3, 4));
            p.Line(int(x) + 16, int(y) - 5, int(x) + 38, int(y) - 21, Cube(2, 3, 4));
            p.Ellipse(x + 40, y - 23, 5, 4, Cube(2, 3, 4));
            break;
        case Prop::SpilledCan:
            p.Ellipse(x + 60, y + 4, 60, 10, Cube(2, 4, 5));
            p.Rect(int(x) - 26, int(y) - 30, 40, 30, Cube(2, 3, 4));
            p.Ellipse(x + 14, y - 15, 6, 15, Cube(1, 2, 3));
            p.Line(int(x) - 26, int(y) - 10, int(x) - 50, int(y) - 2, Cube(2, 3, 4));
            p.Line(int(x) - 26, int(y) - 9, int(x) - 50, int(y) - 1, Cube(2, 3, 4));
            break;
        case Prop::FlowerCrown:
            for (int k = 0; k < 60; ++k) {  // the green stems, then the flowers on them
                const double a = k * 2 * kPi / 60;
                p.Ellipse(x + 40 * std::cos(a), y + 15 * std::sin(a), 3, 3, Cube(1, 3, 1));
            }
            for (int k = 0; k < 14; ++k) {
                const double a = k * 2 * kPi / 14;
                p.Ellipse(x + 40 * std::cos(a), y + 15 * std::sin(a), 6, 5,
                          k % 3 == 0   ? Cube(5, 2, 3)
                          : k % 3 == 1 ? Cube(5, 5, 2)
                                       : kWhite);
            }
            break;
        case Prop::Flowers:
            for (int r = 0; r < 3; ++r) s.Flowers(int(x), int(y) + r * 22, kW, r + 3);
            break;
        case Prop::Hearts:
            Hearts(p, x, y, 3);
            break;
        case Prop::Sparkles:
            Sparkles(p, x, y);
            break;
        case Prop::Lyre:
            Lyre(p, x, y);
            break;
        case Prop::Notes:
            Notes(p, x, y);
            break;
        case Prop::Fire:
            Fire(p, x, y);
            break;
        case Prop::Grave:
            Grave(p, x, y, s);
            break;
        case Prop::Ribbon:
            p.Polygon({{x, y}, {x - 22, y - 12}, {x - 22, y + 12}}, Cube(5, 0, 1));
            p.Polygon({{x, y}, {x + 22, y - 12}, {x + 22, y + 12}}, Cube(5, 0, 1));
            p.Polygon({{x - 3, y}, {x - 12, y + 26}, {x - 4, y + 26}}, Cube(4, 0, 1));
            p.Polygon({{x + 3, y}, {x + 12, y + 26}, {x + 4, y + 26}}, Cube(4, 0, 1));
            p.Ellipse(x, y, 5, 5, Cube(4, 0, 0));
            break;
        case Prop::StagePlatform:
            p.Rect(int(x) - 230, int(y) - 8, 460, 40, s.C(3.4, 2, 1));
            p.Rect(int(x) - 230, int(y) - 12, 460, 6, s.C(4.4, 3, 1.6));
            for (int k = 0; k < 12; ++k)
                p.Polygon({{x - 230 + k * 40.0, y + 32},
                           {x - 190 + k * 40.0, y + 32},
                           {x - 210 + k * 40.0, y + 48}},
                          k % 2 ? s.C(5, 5, 5) : s.C(5, 1.4, 1.4));
            for (int k = 0; k < 7; ++k) {  // the audience's heads
                const double hx = 60 + k * 88;
                p.Ellipse(hx, 458, 28, 30, s.C(1 + k % 3, 0.8, 0.4 + k % 2));
            }
            break;
        case Prop::Tears:
            for (int side : {-1, 1}) {
                p.Ellipse(x + side * 26, y + 10, 4, 6, Cube(2, 4, 5));
                p.Ellipse(x + side * 28, y + 26, 3, 5, Cube(2, 4, 5));
            }
            break;
        case Prop::Breakfast:
            p.Rect(int(x) - 120, int(y), 240, 16, kWhite);
            p.Rect(int(x) - 120, int(y) + 16, 240, 26, Cube(5, 5, 5));
            p.Rect(int(x) - 110, int(y) + 42, 12, 50, s.C(2, 1, 0));
            p.Rect(int(x) + 98, int(y) + 42, 12, 50, s.C(2, 1, 0));
            for (int k : {-70, 10}) {
                p.Ellipse(x + k, y + 4, 30, 8, Cube(4, 4, 4));
                p.Ellipse(x + k, y + 2, 14, 5, Cube(5, 5, 1));  // an egg
                p.Ellipse(x + k + 4, y + 2, 5, 3, Cube(5, 3, 0));
            }
            p.Ellipse(x + 80, y - 4, 20, 10, Cube(4, 3, 1));          // bread
            p.Rect(int(x) + 44, int(y) - 16, 14, 18, Cube(5, 5, 5));  // a cup
            break;
        case Prop::FlowerPots:
            for (int k = 0; k < 6; ++k) {
                const int px = int(x) - 200 + k * 80;
                p.Polygon(
                    {{px - 16.0, y - 24}, {px + 16.0, y - 24}, {px + 11.0, y}, {px - 11.0, y}},
                    Cube(4, 2, 1));
                s.Flowers(px - 22, int(y) - 46, 50, k);
            }
            break;
        case Prop::DarkAura:
            for (int r = 0; r < 3; ++r)
                p.Ellipse(x, y + r * 20, 130 - r * 14, 190 - r * 20,
                          r == 0   ? Cube(1, 0, 1)
                          : r == 1 ? Cube(2, 0, 2)
                                   : Cube(1, 0, 2));
            break;
        case Prop::Bells:
            for (int side : {-1, 1}) {
                const double bx = x + side * 34;
                p.Polygon({{bx - 22, y + 34}, {bx - 14, y}, {bx + 14, y}, {bx + 22, y + 34}},
                          Cube(5, 4, 1));
                p.Ellipse(bx, y, 14, 10, Cube(5, 4, 1));
                p.Ellipse(bx, y + 38, 5, 5, Cube(4, 3, 0));
            }
            p.Polygon({{x - 20, y - 14}, {x, y - 4}, {x + 20, y - 14}, {x, y + 6}}, kWhite);
            break;
        case Prop::Rain:
            for (int i = 0; i < 200; ++i) {
                const int rx = (i * 97 + 13) % kW, ry = (i * 53 + 7) % (kH - 20);
                p.Line(rx, ry, rx - 5, ry + 16, Cube(4, 4, 5));
            }
            break;
        case Prop::HandOut:
            p.Polygon({{x + 90, y - 40}, {x + 100, y - 26}, {x + 6, y + 8}, {x, y - 6}},
                      Flat(LookOf(Who::Prince).clothes));
            p.Ellipse(x - 4, y + 2, 10, 8, kSkin);
            break;
        case Prop::Bundle:
            p.Ellipse(x, y, 26, 18, Cube(5, 4, 4));
            p.Line(int(x) - 26, int(y), int(x) + 26, int(y), Cube(4, 1, 2));
            break;
        case Prop::Root: {  // a trunk at the path's side, its root arching out across it
            const std::uint8_t bark = s.C(2.6, 1.6, 0.8), dark = s.C(1.2, 0.6, 0.2);
            p.Rect(int(x) + 116, int(y) - 300, 72, 310, dark);
            p.Rect(int(x) + 120, int(y) - 300, 64, 306, bark);
            for (int k = 0; k < 3; ++k) p.Rect(int(x) + 130 + k * 18, int(y) - 280, 3, 260, dark);
            p.Ellipse(x + 150, y - 300, 130, 70, s.C(0.4, 2, 0.5));  // its crown
            p.Ellipse(x + 140, y - 310, 110, 56, s.C(0.6, 2.6, 0.7));
            p.Polygon({{x + 90, y + 10}, {x + 118, y - 50}, {x + 186, y - 50}, {x + 220, y + 10}},
                      bark);
            const Pt arch[] = {{x + 110, y - 2}, {x + 70, y - 34}, {x + 30, y - 44},
                               {x - 10, y - 30}, {x - 36, y - 6},  {x - 50, y + 8}};
            for (std::size_t i = 0; i + 1 < std::size(arch); ++i) {
                const double w = 30 - 3 * i;
                Limb(p, {arch[i].x, arch[i].y + 3}, {arch[i + 1].x, arch[i + 1].y + 3}, w, dark);
                Limb(p, arch[i], arch[i + 1], w - 6, bark);
            }
            p.Ellipse(x - 50, y + 10, 14, 5, dark);  // where it goes under the ground
            break;
        }
        case Prop::Crowd:  // two rows of onlookers, heads and shoulders, some waving
            for (int r = 0; r < 2; ++r)
                for (int i = 0; i < 13; ++i) {
                    const double px = x - 330 + i * 54 + r * 27, py = y - 34 * (1 - r);
                    const double sc = 0.8 + 0.2 * r;
                    const int hue = (i * 5 + r * 3) % 7;
                    const std::uint8_t coat =
                        s.C(1 + hue % 4, 1 + (hue * 2) % 4, 1 + (hue * 3) % 4);
                    p.Ellipse(px, py + 28 * sc, 26 * sc, 30 * sc, coat);
                    p.Ellipse(px, py - 6 * sc, 13 * sc, 15 * sc, kSkin);
                    static constexpr Rgb kHairs[5] = {{1, 0.6, 0.2},
                                                      {3, 1.6, 0.6},
                                                      {4.4, 3.6, 1.4},
                                                      {0.6, 0.4, 0.4},
                                                      {3.6, 1.2, 0.6}};
                    const Rgb h = kHairs[(i + r * 2) % 5];
                    p.Ellipse(px, py - 15 * sc, 14 * sc, 9 * sc, s.C(h.r, h.g, h.b));
                    if ((i + r) % 4 == 1) {  // an arm raised, waving to the parade
                        Limb(p, {px + 18 * sc, py + 14 * sc}, {px + 30 * sc, py - 30 * sc}, 9 * sc,
                             coat);
                        p.Ellipse(px + 30 * sc, py - 32 * sc, 5 * sc, 5 * sc, kSkin);
                    }
                }
            break;
        case Prop::Parade: {  // guards in red with plumes and banners, bunting above
            for (int k = 0; k < 33; ++k)
                p.Polygon({{k * 20.0, 36 + std::abs(k - 16) * 1.2},
                           {k * 20.0 + 20, 36 + std::abs(k - 16) * 1.2},
                           {k * 20.0 + 10, 54 + std::abs(k - 16) * 1.2}},
                          k % 3 == 0   ? Cube(5, 1, 1)
                          : k % 3 == 1 ? Cube(5, 5, 1)
                                       : Cube(1, 2, 5));
            for (int k = 0; k < 7; ++k) {
                const double gx = x - 270 + k * 90, gy = y;
                p.Rect(int(gx) - 9, int(gy) - 44, 18, 30, Cube(4, 0, 0));  // the coat
                p.Rect(int(gx) - 8, int(gy) - 14, 7, 16, Cube(4, 4, 5));   // white trousers
                p.Rect(int(gx) + 1, int(gy) - 14, 7, 16, Cube(4, 4, 5));
                p.Ellipse(gx, gy - 52, 7, 8, kSkin);
                p.Rect(int(gx) - 7, int(gy) - 74, 14, 18, kInk);  // a tall hat, a plume
                p.Ellipse(gx + 3, gy - 80, 4, 8, kWhite);
                if (k % 2 == 0) {  // a banner on its pole
                    p.Rect(int(gx) + 12, int(gy) - 110, 3, 100, Cube(4, 4, 1));
                    p.Rect(int(gx) + 15, int(gy) - 108, 28, 36, Cube(1, 1, 4));
                    p.Ellipse(gx + 29, gy - 90, 7, 7, Cube(5, 4, 1));
                }
            }
            for (int i = 0; i < 60; ++i)  // confetti
                p.Rect((i * 131 + 17) % kW, 60 + (i * 71) % 200, 3, 3,
                       i % 3 == 0   ? Cube(5, 2, 3)
                       : i % 3 == 1 ? Cube(5, 5, 1)
                                    : Cube(2, 4, 5));
            break;
        }
        case Prop::FlowerClumps:  // tall stems and blossoms over what lies among them
            for (int i = 0; i < 18; ++i) {
                const double fx = x + i * 11 + (i * 7) % 9, fy = y + (i * 13) % 16;
                const double up = 10 + (i * 5) % 14;  // some taller than others
                const std::uint8_t leaf = s.C(0.4, 3, 0.6);
                p.Line(int(fx), int(fy), int(fx) - 3, int(fy - 20 - up), leaf);
                p.Line(int(fx) + 1, int(fy), int(fx) + 6, int(fy - 12 - up), leaf);
                p.Ellipse(fx - 6, fy - 12, 6, 3, leaf);
                p.Ellipse(fx + 5, fy - 6, 6, 3, leaf);
                const int k = i % 4;
                const std::uint8_t bloom = k == 0   ? Cube(5, 2, 3)
                                           : k == 1 ? Cube(5, 5, 1)
                                           : k == 2 ? kWhite
                                                    : Cube(4, 2, 5);
                p.Ellipse(fx - 3, fy - 22 - up, 7, 6, bloom);
                p.Ellipse(fx + 6, fy - 14 - up, 6, 5, bloom);
                p.Ellipse(fx - 3, fy - 22 - up, 2, 2, Cube(5, 4, 0));
            }
            break;
    }
}

// A map of the country (`near`: the town's surroundings), on parchment.
Picture MapPicture(bool near) {
    Picture p(kW, kH, 0);
    Painter s(p, Hour::Day);
    s.Gradient(0, 0, kW, kH, {5, 4.6, 3.6}, {4.6, 4, 3});
    p.Frame(10, 10, kW - 20, kH - 20, Cube(3, 2, 1));
    p.Frame(14, 14, kW - 28, kH - 28, Cube(3, 2, 1));
    const double k = near ? 1.6 : 1.0;
    for (int i = 0; i < 7; ++i) s.Pine(80 + i * 26 * k, 200 + (i % 2) * 18, 0.4 * k);
    for (int i = 0; i < 3; ++i)
        p.Polygon({{430.0 + i * 50 * k, 150}, {460.0 + i * 50 * k, 80}, {490.0 + i * 50 * k, 150}},
                  Cube(3, 2, 1));
    p.Ellipse(470, 330, 70 * k, 40 * k, Cube(2, 4, 5));
    p.Line(40, 420, 600, 380, Cube(2, 3, 5));
    // Roads out of the town, then the town inside its round wall.
    for (int y = 0; y < 6; ++y) p.Line(320, 256, 200 + y * 40, 140 + y * 50, Cube(4, 3, 2));
    p.Ellipse(320, 256, 48, 48, Cube(3, 2, 1));
    p.Ellipse(320, 256, 44, 44, Cube(5, 4, 3));
    for (int k = 0; k < 4; ++k) {
        const int x = 290 + (k % 2) * 34, y = 232 + (k / 2) * 28;
        p.Rect(x, y, 22, 16, Cube(4, 1, 1));
        p.Polygon({{x - 3.0, y + 1.0}, {x + 11.0, y - 9.0}, {x + 25.0, y + 1.0}}, Cube(3, 0, 0));
    }
    // A compass rose.
    p.Polygon({{560, 60}, {566, 84}, {560, 108}, {554, 84}}, Cube(3, 1, 0));
    p.Polygon({{536, 84}, {560, 78}, {584, 84}, {560, 90}}, Cube(3, 1, 0));
    return p;
}

// Greys a picture (the memories and the bad endings are drawn in grey).
void Grey(Picture& p) {
    const std::vector<RGBQUAD> pal = GeneratedPalette();
    for (std::uint8_t& c : p.Pixels()) {
        const RGBQUAD q = pal[c];
        const int v = (q.rgbRed * 3 + q.rgbGreen * 5 + q.rgbBlue * 2) / 10;
        c = static_cast<std::uint8_t>(232 + std::clamp(v * 24 / 256, 0, 23));
    }
}

Picture BackdropPicture(const EventSceneRow& row) {
    switch (row.backdrop) {
        case Backdrop::Town:
            return Town(row.place, row.hour, 0);
        case Backdrop::Land:
            return Land(row.place, row.hour);
        case Backdrop::Map:
        case Backdrop::NearMap:
            return MapPicture(row.backdrop == Backdrop::NearMap);
        default:
            break;
    }
    Picture pic(kW, kH, 0);
    Painter s(pic, Hour::Day);
    Picture& p = pic;
    switch (row.backdrop) {
        case Backdrop::Spirit: {  // a night, and a column of light where the spirit stands
            s.Raw(0, 0, kW, kH, {0, 0, 1}, {0.8, 0.4, 1.8});
            for (int i = 0; i < 90; ++i) p.Set((i * 173 + 37) % kW, (i * 97 + 11) % 300, kWhite);
            for (int dx = -110; dx <= 110; ++dx) {
                const double t = 1 - std::abs(dx) / 110.0;
                s.Raw(380 + dx, 0, 1, kH, Mix({0.2, 0.2, 1.4}, {5, 5, 3.6}, t * t),
                      Mix({0.8, 0.4, 1.8}, {5, 4.6, 3}, t * t));
            }
            p.Ellipse(380, 440, 140, 26, Cube(5, 5, 3));
            break;
        }
        case Backdrop::Cave:  // inside a cave, the rainy night at its mouth behind
            s.Raw(0, 0, kW, kH, {0.6, 0.4, 0.3}, {1.4, 0.9, 0.5});
            p.Ellipse(520, 170, 70, 90, Cube(0, 0, 1));
            for (int i = 0; i < 40; ++i) {
                const int rx = 460 + (i * 37) % 120, ry = 90 + (i * 53) % 160;
                p.Line(rx, ry, rx - 3, ry + 10, Cube(2, 2, 3));
            }
            for (int k = 0; k < 7; ++k)
                p.Ellipse(k * 100, 20 + (k % 2) * 30, 90, 60, Cube(1, 1, 0));
            s.Gradient(0, 380, kW, 100, {1.6, 1.2, 0.8}, {1.2, 0.8, 0.5});
            s.Rocks(10, 390, 4, 2), s.Rocks(520, 396, 4, 5);
            break;
        case Backdrop::FocusLines:
            s.Raw(0, 0, kW, kH, {5, 5, 5}, {4.6, 4.6, 4.8});
            for (int k = 0; k < 72; ++k) {
                const double a = k * 2 * kPi / 72;
                p.Line(int(320 + 200 * std::cos(a)), int(240 + 170 * std::sin(a)),
                       int(320 + 420 * std::cos(a)), int(240 + 380 * std::sin(a)),
                       k % 2 ? kInk : Cube(2, 2, 2));
            }
            break;
        default:
            break;
    }
    return pic;
}

// An event picture drawn from its row: the backdrop, the props behind, the people, the
// props before them.
Picture Event(const EventSceneRow& row) {
    Picture pic = BackdropPicture(row);
    Painter s(pic, row.hour);
    for (const SceneProp& q : row.props)
        if (Behind(q.prop)) DrawProp(pic, q, s, false);
    for (const SceneFigure& f : row.figures) DrawFigure(pic, f, s);
    for (const SceneProp& q : row.props)
        if (!Behind(q.prop) || q.prop == Prop::Tub) DrawProp(pic, q, s, true);
    for (const SceneFigure& f : row.figures) Hands(pic, f);
    if (row.grey) Grey(pic);
    return pic;
}

// A picture number without a row (the pack's spare members): the shop's street by day.
Picture Event(int index) {
    if (const EventSceneRow* row = FindEventSceneRow(index)) return Event(*row);
    return Town(0, Hour::Day, 0);
}

}  // namespace

Picture TownScene(int place, Hour hour, int room) { return Town(place, hour, room); }

Picture LandScene(int place, Hour hour) { return Land(place, hour); }

Picture EventScene(int index) { return Event(index); }

Picture FigureScene(int pose, const std::string& label, std::uint8_t key) {
    const int e = Expression(label);
    const Who who = WhoOfPose(pose);
    if (who == Who::Cat) return Cat(e, key);
    // The stage stands a figure on its bottom edge, where the message window rests
    // over the lower third: the person is drawn larger, from the head down, so that
    // the face and shoulders stand above the window and only the waist goes under it.
    const Picture whole = Person(LookOf(who), e, pose, key);
    constexpr double kBust = 1.3;
    Picture bust(whole.Width(), whole.Height(), key);
    const double cx = whole.Width() / 2.0;
    for (int y = 0; y < bust.Height(); ++y)
        for (int x = 0; x < bust.Width(); ++x)
            bust.Set(x, y, whole.Get(int(cx + (x - cx) / kBust), int(y / kBust)));
    return bust;
}

}  // namespace mkgamedata
