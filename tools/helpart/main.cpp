// Draws the help window's three background pictures and writes them as JPEG files:
//   helpart <folder>   writes the three pictures into <folder> under the names the window reads
// The pictures are quiet on purpose: gradients with a faint street grid and a route drawn
// over them, light under the dark texts of pages 1 and 3, dark under the white text of
// page 2. Drawing is deterministic, so every build writes the same files.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "frame/help_pages.h"
#include "platform/files.h"
#include "platform/jpeg.h"

namespace {

struct Colour {
  double r, g, b;
};

Colour mix(Colour a, Colour b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

struct Point {
  double x, y;
};

// A picture in floating point, blended into as it is drawn.
class Picture {
 public:
  Picture(int width, int height)
      : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height) {}

  int width() const { return width_; }
  int height() const { return height_; }

  // A gradient from `from` in the top-left corner to `to` in the bottom-right one, leaning
  // towards the vertical by `vertical` (0 diagonal, 1 top to bottom).
  void gradient(Colour from, Colour to, double vertical) {
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) {
        const double ty = static_cast<double>(y) / (height_ - 1);
        const double tx = static_cast<double>(x) / (width_ - 1);
        at(x, y) = mix(from, to, vertical * ty + (1 - vertical) * 0.5 * (tx + ty));
      }
  }

  // A soft glow of `colour` around a centre, fading out at `radius`.
  void glow(Point centre, double radius, Colour colour, double opacity) {
    eachPixelNear(centre, centre, radius, [&](int x, int y) {
      const double d = std::hypot(x - centre.x, y - centre.y) / radius;
      if (d < 1) blend(x, y, colour, opacity * (1 - d) * (1 - d));
    });
  }

  // An anti-aliased line of the given width with round ends.
  void line(Point a, Point b, double width, Colour colour, double opacity) {
    const double half = width / 2;
    eachPixelNear(a, b, half + 1, [&](int x, int y) {
      const double coverage = std::clamp(half + 0.5 - distance({x + 0.0, y + 0.0}, a, b), 0.0, 1.0);
      if (coverage > 0) blend(x, y, colour, opacity * coverage);
    });
  }

  void polyline(const std::vector<Point>& points, double width, Colour colour, double opacity) {
    for (size_t i = 1; i < points.size(); ++i)
      line(points[i - 1], points[i], width, colour, opacity);
  }

  void disc(Point centre, double radius, Colour colour, double opacity) {
    eachPixelNear(centre, centre, radius + 1, [&](int x, int y) {
      const double d = std::hypot(x - centre.x, y - centre.y);
      const double coverage = std::clamp(radius + 0.5 - d, 0.0, 1.0);
      if (coverage > 0) blend(x, y, colour, opacity * coverage);
    });
  }

  qj::RgbImage image() const {
    qj::RgbImage out(width_, height_);
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) {
        const Colour& c = pixels_[static_cast<size_t>(y) * width_ + x];
        uint8_t* p = out.at(x, y);
        p[0] = channel(c.r);
        p[1] = channel(c.g);
        p[2] = channel(c.b);
      }
    return out;
  }

 private:
  Colour& at(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }

  void blend(int x, int y, Colour colour, double opacity) {
    at(x, y) = mix(at(x, y), colour, opacity);
  }

  static double distance(Point p, Point a, Point b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    const double t =
        length2 == 0 ? 0 : std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
  }

  template <typename Draw>
  void eachPixelNear(Point a, Point b, double reach, Draw&& draw) {
    const int x0 = std::max(0, static_cast<int>(std::floor(std::min(a.x, b.x) - reach)));
    const int x1 = std::min(width_ - 1, static_cast<int>(std::ceil(std::max(a.x, b.x) + reach)));
    const int y0 = std::max(0, static_cast<int>(std::floor(std::min(a.y, b.y) - reach)));
    const int y1 = std::min(height_ - 1, static_cast<int>(std::ceil(std::max(a.y, b.y) + reach)));
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) draw(x, y);
  }

  static uint8_t channel(double v) {
    return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 255.0)));
  }

  int width_, height_;
  std::vector<Colour> pixels_;
};

// A street grid of blocks `block` pixels wide, slightly skewed so that it reads as a map
// rather than as ruled paper, with two diagonal avenues.
void streetGrid(Picture& p, double block, Colour colour, double opacity) {
  const double skew = 0.12;
  for (double x = -p.height() * skew; x < p.width() + block; x += block)
    p.line({x, 0}, {x + p.height() * skew, p.height() + 0.0}, 1.2, colour, opacity);
  for (double y = block / 2; y < p.height(); y += block * 0.8)
    p.line({0, y}, {p.width() + 0.0, y - p.width() * 0.05}, 1.2, colour, opacity);
  p.line({0, p.height() * 0.85}, {p.width() * 0.7, 0}, 2.5, colour, opacity * 1.2);
  p.line({p.width() * 0.35, p.height() + 0.0}, {p.width() + 0.0, p.height() * 0.3}, 2.5, colour,
         opacity * 1.2);
}

// A route through target points: the line, then a ring at every point.
void route(Picture& p, const std::vector<Point>& points, Colour colour, double opacity,
           Colour ground) {
  p.polyline(points, 4, colour, opacity);
  for (const Point& pt : points) {
    p.disc(pt, 7, colour, opacity * 1.4);
    p.disc(pt, 3.5, ground, opacity * 1.4);
  }
}

// Page 1, about the system: a pale morning sky over a faint map, dark text on top.
Picture aboutSystem() {
  Picture p(835, 570);
  const Colour top{236, 243, 251}, bottom{251, 248, 240};
  p.gradient(top, bottom, 0.8);
  p.glow({700, 90}, 260, {255, 244, 214}, 0.55);
  streetGrid(p, 70, {120, 140, 170}, 0.10);
  route(p, {{90, 520}, {230, 470}, {300, 380}, {470, 350}, {560, 250}, {720, 220}, {790, 120}},
        {226, 132, 64}, 0.22, bottom);
  return p;
}

// Page 2, about the developer: deep evening blue under white text.
Picture aboutDeveloper() {
  Picture p(543, 270);
  p.gradient({14, 38, 70}, {34, 82, 124}, 0.3);
  p.glow({470, 40}, 220, {90, 140, 190}, 0.35);
  streetGrid(p, 60, {170, 200, 235}, 0.08);
  route(p, {{30, 250}, {160, 215}, {250, 150}, {390, 130}, {510, 60}}, {250, 200, 120}, 0.25,
        {24, 60, 97});
  return p;
}

// Page 3, notation and explanations: warm paper with a faint map, navy and black text.
Picture notation() {
  Picture p(842, 503);
  const Colour top{250, 248, 241}, bottom{240, 235, 222};
  p.gradient(top, bottom, 0.9);
  p.glow({120, 430}, 300, {255, 255, 250}, 0.5);
  streetGrid(p, 80, {150, 140, 110}, 0.09);
  route(p, {{40, 470}, {190, 440}, {330, 455}, {520, 400}, {650, 300}, {800, 270}}, {60, 130, 150},
        0.18, bottom);
  return p;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: helpart <folder>\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  try {
    std::filesystem::create_directories(folder);
    const std::pair<qj::HelpPage, Picture> pictures[] = {
        {qj::HelpPage::AboutSystem, aboutSystem()},
        {qj::HelpPage::AboutDeveloper, aboutDeveloper()},
        {qj::HelpPage::Notation, notation()}};
    for (const auto& [page, picture] : pictures) {
      const std::string name = qj::helpPictureName(page);
      const std::string bytes = qj::encodeJpeg(picture.image(), 88);
      if (bytes.empty()) {
        std::fprintf(stderr, "helpart: %s could not be encoded\n", name.c_str());
        return 1;
      }
      qj::writeFileAtomic(folder / name, bytes);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "helpart: %s\n", e.what());
    return 1;
  }
  return 0;
}
