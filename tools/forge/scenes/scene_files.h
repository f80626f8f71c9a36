// The show's two 3D scenes: the gold knot that turns in front of the tunnel, and the stage of
// the metaball surface (its carrier object, camera and lights).
#pragma once

#include "forge/scene3ds/scene_3ds.h"

#include <string>

namespace forge {

inline constexpr char kGoldSceneFile[] = "zelka2.3ds";
inline constexpr char kMetaballSceneFile[] = "metaxp4.3ds";

// Key frames the gold knot turns through (the effect plays about 33 a second).
constexpr uint32_t kGoldSceneLastFrame = 1800;
// The metaball stage's segment, and the last frame its rotation track covers: after it the
// effect's own extra rotation builds up.
constexpr uint32_t kMetaballSceneLastFrame = 2000;
constexpr uint32_t kMetaballRotationLastFrame = 300;

Scene3ds makeGoldScene();
Scene3ds makeMetaballScene();

// Writes both scenes into outDir; an empty string on success, else the reason.
std::string writeScenes(const std::string& outDir);

} // namespace forge
