// The scene the checks run over and what the host itself knows of it: the
// items a name finds and the distance between two items, against which the
// module's values are measured.
#pragma once

#include <string>
#include <vector>

#include "simhost/scene/scene.h"

namespace sim {

// Items that move, names with blanks, an object named "none", and a camera
// that shares an object's name ("Tall Tree").
Scene checkScene();

// The first item of that name, objects before cameras, as the modifier finds
// a stored name; null when none has it.
const SceneItem* findByName(const Scene& scene, const std::string& name);

// The straight-line distance between two items at `time`.
double hostDistance(const Scene& scene, const SceneItem& a, const SceneItem& b, double time);

// Whether a value agrees with the host's own distance: the module may sum in
// its own order, but no more than a few roundings apart.
bool agrees(double value, double expected);

// A number to 17 digits, for a report.
std::string numberText(double value);

// One evaluation's result: the value set, or nothing.
struct Evaluation {
    bool set = false;
    double value = 0;
};

// The value set, or "not set", for a report.
std::string evaluationText(const Evaluation& result);

}  // namespace sim
