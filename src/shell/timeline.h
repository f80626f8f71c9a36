#pragma once
#include "music/sync_table.h"
#include "shell/effect_registry.h"

class Window;

// Applies the timeline to a newly arrived sync value: starts the effect it selects and makes it
// current, or asks the window to end the show on the end marker. Other values change nothing.
void applyTimeline(int syncValue, const EffectRegistry& registry, Window& window);
