#include "channel/straight_line.h"

#include <cmath>

namespace kelto {

namespace {

const double kSquare = 2.0;

}  // namespace

double distanceBetween(const Position& a, const Position& b) {
    double sz = std::pow(a.z() - b.z(), kSquare);
    double sy = std::pow(a.y() - b.y(), kSquare);
    double sx = std::pow(a.x() - b.x(), kSquare);
    return std::sqrt((sz + sy) + sx);
}

}  // namespace kelto
