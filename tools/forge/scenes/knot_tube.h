// A closed tube around a torus knot: the gold scene's object.
#pragma once

#include "forge/scene3ds/scene_3ds.h"

#include <string>

namespace forge {

struct KnotTube {
    int windings = 2; // turns about the torus axis
    int twists = 3;   // turns through the torus hole
    float majorRadius = 2.0f;
    float minorRadius = 0.9f;
    float tubeRadius = 0.42f;
    float scale = 26.0f; // file units per unit of the shape above
    int segments = 150;  // rings along the knot
    int sides = 12;      // points around each ring
};

// Points shared between neighbouring faces (the tube closes on itself, so the engine's
// averaged normals are smooth everywhere); faces wound counter-clockwise seen from outside;
// mapping coordinates along and around the tube.
SceneMesh makeKnotTube(const std::string& name, const KnotTube& shape);

} // namespace forge
