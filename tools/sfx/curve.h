#pragma once
// A parameter that changes over time: a start value followed by segments, each sliding to a
// target over a duration. After the last segment the curve holds its final value.
#include <vector>

namespace sfx {

enum class Shape { Linear, Exponential, Hold };

struct Segment {
  double target = 0.0;
  double duration = 0.0;  // seconds; 0 jumps at once
  Shape shape = Shape::Linear;
};

class Curve {
 public:
  Curve() = default;
  explicit Curve(double start) : start_(start) {}

  void add(Segment s) { segments_.push_back(s); }
  double value(double t) const;
  // The time at which the last segment ends.
  double end() const;
  double start() const { return start_; }
  bool constant() const { return segments_.empty(); }
  // Multiplies every value (start and targets) by f.
  void scale(double f);

 private:
  double start_ = 0.0;
  std::vector<Segment> segments_;
};

}  // namespace sfx
