// Kelto Focus's work: at each evaluation the channel becomes the distance from
// the reference camera to the focus point on the reference item (the subject),
// measured as the settings say, offset, averaged over the lag and kept at the
// near limit or beyond.
//
// Positions and axes come from the host's item info at the time asked
// (kItemParamWorldPosition, and the subject's right, up and forward, which
// carry its scale). For a subject S, camera C and Subject Offset (x, y, z):
//
//   P     = position(S) + x·right(S) + y·up(S) + z·forward(S), each coordinate
//           summed in that order; with no offset, position(S) itself and no
//           axis is asked for
//   m     = straight line: distanceBetween(P, position(C)), Kelto's formula;
//                          where its sum of squares overflows, that of
//                          d / g, times g, g the largest |coordinate| of d
//           along view:    ((dx·fx + dy·fy) + dz·fz) / √((fx² + fy²) + fz²),
//                          d = P − position(C), f = forward(C); a forward of
//                          length 0 falls back to the straight line, and one
//                          whose squared length is no normal double (a camera
//                          scaled far down or up) is first divided by its
//                          largest component
//   v(t)  = m + Focus Offset
//   lag L > 0: the trapezoid mean of v over [t − L, t] on 16 steps, at the
//           times t_k = t − (16 − k)·(L/16), k = 0 … 16:
//           ((v(t_0) + v(t_16)) / 2 + v(t_1) + … + v(t_15)) / 16, summed in that
//           order; no lag: v(t)
//   value = that, or 0.001 where that is less.
//
// It depends on the time alone: no state is kept from one evaluation to the
// next, so every order of evaluation and every render node gets the same bits.
#pragma once

#include "focus/focus_instance.h"

namespace kelto {

// The closest the focus ever comes: a subject behind the camera, or an offset
// past it, focuses here.
const double kNearestFocus = 0.001;

// The lag's trapezoid steps.
const int kLagSteps = 16;

// Resolves if needed, then computes the value at `time` into `value`. False,
// with no query made, while either reference is missing; false when a query
// leaves any coordinate unwritten or the value is not finite: the channel then
// keeps its own value. A straight line with no offset and no lag costs two position
// queries, as Kelto's evaluation does.
bool evaluateFocus(FocusInstance& instance, double time, double& value);

}  // namespace kelto
