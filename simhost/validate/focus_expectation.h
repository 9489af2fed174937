// What Kelto Focus must set, as the host computes it from its own scene: the
// focus point on the subject, either measure, the focus offset, the lag's
// trapezoid mean and the near limit, each as the modifier's facts state it
// (kelto_focus_facts.h), with the host's own positions and axes.
#pragma once

#include "simhost/modifiers/kelto_focus_facts.h"
#include "simhost/scene/scene.h"

namespace sim {

// The value before the lag and the near limit, v(t): the measure from the
// camera to the focus point, plus the focus offset.
double hostFocusMeasure(const Scene& scene, const SceneItem& subject, const SceneItem& camera,
                        const kelto_focus_facts::Settings& settings, double time);

// The value set at `time`: v(t), or its trapezoid mean over the lag, raised
// to the near limit.
double hostFocusValue(const Scene& scene, const SceneItem& subject, const SceneItem& camera,
                      const kelto_focus_facts::Settings& settings, double time);

}  // namespace sim
