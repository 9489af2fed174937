// Kelto's distance, which Kelto Focus's straight-line measure is too: the
// formula and its order of operations, on which the bits of both depend.
#pragma once

#include <cmath>

namespace kelto {

// A world position as the host writes it: x, y, z in one array, so that the
// host's query fills it in place.
struct Position {
    double xyz[3];
    double x() const { return xyz[0]; }
    double y() const { return xyz[1]; }
    double z() const { return xyz[2]; }
};

// Straight-line distance, each square a pow(d, 2.0), summed as
// (dz² + dy²) + dx². Rounding depends on that order, so it is kept; every
// build computes the same bits because each does its doubles in SSE2
// registers, rounding after every operation, with no fused multiply-add.
// Inline, so that each evaluation's compiler sees it whole and lays the
// evaluation out as one piece.
inline double distanceBetween(const Position& a, const Position& b) {
    const double kSquare = 2.0;
    double sz = std::pow(a.z() - b.z(), kSquare);
    double sy = std::pow(a.y() - b.y(), kSquare);
    double sx = std::pow(a.x() - b.x(), kSquare);
    return std::sqrt((sz + sy) + sx);
}

}  // namespace kelto
