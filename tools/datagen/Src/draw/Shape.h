#pragma once
// Anti-aliased shapes as signed distances (negative inside, in pixels) and
// as coverage functions for Raster::Paint and Mask::Add: a pixel whose
// centre lies on the edge is half covered.
#include <functional>
#include <vector>

namespace Datagen {

struct Point2 {
  float x = 0.0f;
  float y = 0.0f;
};

class Shape {
 public:
  using Coverage = std::function<float(float, float)>;

  // Coverage of a pixel whose centre is at signed distance d from an edge.
  static float FromDistance(float d);

  static float CircleDistance(float x, float y, float cx, float cy, float radius);
  // An axis-aligned rectangle (left, top, right, bottom) with round corners.
  static float RoundedRectDistance(float x, float y, float left, float top, float right, float bottom,
                                   float radius);
  // A stroke from a to b whose half-width goes from ra at a to rb at b.
  static float TaperedDistance(float x, float y, Point2 a, Point2 b, float ra, float rb);
  // A closed polygon (even-odd inside test).
  static float PolygonDistance(float x, float y, const std::vector<Point2>& points);

  static Coverage Circle(float cx, float cy, float radius);
  // Axis radii rx, ry; approximate distance, exact on the axes.
  static Coverage Ellipse(float cx, float cy, float rx, float ry);
  static Coverage RoundedRect(float left, float top, float right, float bottom, float radius);
  static Coverage Ring(float cx, float cy, float radius, float halfWidth);
  static Coverage Tapered(Point2 a, Point2 b, float ra, float rb);
  static Coverage Polygon(std::vector<Point2> points);
  // Points of a star with the given tips, outer and inner radius, the first
  // tip straight up.
  static std::vector<Point2> StarPoints(float cx, float cy, int tips, float outer, float inner);
};

}  // namespace Datagen
