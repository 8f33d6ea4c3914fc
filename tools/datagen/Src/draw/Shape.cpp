#include "draw/Shape.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Datagen {

float Shape::FromDistance(float d) {
  return std::clamp(0.5f - d, 0.0f, 1.0f);
}

float Shape::CircleDistance(float x, float y, float cx, float cy, float radius) {
  return std::hypot(x - cx, y - cy) - radius;
}

float Shape::RoundedRectDistance(float x, float y, float left, float top, float right, float bottom,
                                 float radius) {
  const float hx = (right - left) * 0.5f;
  const float hy = (bottom - top) * 0.5f;
  radius = std::min({radius, hx, hy});
  const float qx = std::fabs(x - (left + hx)) - (hx - radius);
  const float qy = std::fabs(y - (top + hy)) - (hy - radius);
  const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
  const float inside = std::min(std::max(qx, qy), 0.0f);
  return outside + inside - radius;
}

float Shape::TaperedDistance(float x, float y, Point2 a, Point2 b, float ra, float rb) {
  const float bx = b.x - a.x;
  const float by = b.y - a.y;
  const float px = x - a.x;
  const float py = y - a.y;
  const float length2 = bx * bx + by * by;
  const float t = length2 > 0.0f ? std::clamp((px * bx + py * by) / length2, 0.0f, 1.0f) : 0.0f;
  return std::hypot(px - bx * t, py - by * t) - (ra + (rb - ra) * t);
}

float Shape::PolygonDistance(float x, float y, const std::vector<Point2>& points) {
  if (points.size() < 3) return 1e9f;
  float best = 1e30f;
  bool inside = false;
  for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
    const Point2& a = points[j];
    const Point2& b = points[i];
    const float ex = b.x - a.x;
    const float ey = b.y - a.y;
    const float wx = x - a.x;
    const float wy = y - a.y;
    const float length2 = ex * ex + ey * ey;
    const float t = length2 > 0.0f ? std::clamp((wx * ex + wy * ey) / length2, 0.0f, 1.0f) : 0.0f;
    const float dx = wx - ex * t;
    const float dy = wy - ey * t;
    best = std::min(best, dx * dx + dy * dy);
    if ((a.y > y) != (b.y > y) && x < a.x + (y - a.y) * ex / ey) inside = !inside;
  }
  const float d = std::sqrt(best);
  return inside ? -d : d;
}

Shape::Coverage Shape::Circle(float cx, float cy, float radius) {
  return [=](float x, float y) { return FromDistance(CircleDistance(x, y, cx, cy, radius)); };
}

Shape::Coverage Shape::Ellipse(float cx, float cy, float rx, float ry) {
  return [=](float x, float y) {
    const float nx = (x - cx) / rx;
    const float ny = (y - cy) / ry;
    const float k = std::hypot(nx, ny);
    // Distance along the gradient of the implicit form: good near the edge.
    const float gradient = std::hypot(nx / rx, ny / ry);
    const float d = gradient > 0.0f ? (k * k - 1.0f) / (2.0f * k * gradient) : -std::min(rx, ry);
    return FromDistance(d);
  };
}

Shape::Coverage Shape::RoundedRect(float left, float top, float right, float bottom, float radius) {
  return [=](float x, float y) {
    return FromDistance(RoundedRectDistance(x, y, left, top, right, bottom, radius));
  };
}

Shape::Coverage Shape::Ring(float cx, float cy, float radius, float halfWidth) {
  return [=](float x, float y) {
    return FromDistance(std::fabs(CircleDistance(x, y, cx, cy, radius)) - halfWidth);
  };
}

Shape::Coverage Shape::Tapered(Point2 a, Point2 b, float ra, float rb) {
  return [=](float x, float y) { return FromDistance(TaperedDistance(x, y, a, b, ra, rb)); };
}

Shape::Coverage Shape::Polygon(std::vector<Point2> points) {
  return
      [points = std::move(points)](float x, float y) { return FromDistance(PolygonDistance(x, y, points)); };
}

std::vector<Point2> Shape::StarPoints(float cx, float cy, int tips, float outer, float inner) {
  std::vector<Point2> points;
  for (int i = 0; i < tips * 2; ++i) {
    const float angle = float(i) * std::numbers::pi_v<float> / float(tips) - std::numbers::pi_v<float> / 2.0f;
    const float r = (i % 2 == 0) ? outer : inner;
    points.push_back(Point2{cx + r * std::cos(angle), cy + r * std::sin(angle)});
  }
  return points;
}

}  // namespace Datagen
