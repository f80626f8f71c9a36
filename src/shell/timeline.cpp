#include "shell/timeline.h"

#include "effects/show_state.h"
#include "platform/window.h"

void applyTimeline(int syncValue, const EffectRegistry& registry, Window& window) {
    if (syncValue == kEndOfShowSync) {
        window.postMessage({MessageKind::Destroy, 0});
        return;
    }
    for (const EffectSlot& slot : registry) {
        if (slot.syncValue != syncValue || !slot.effect) continue;
        slot.start(*slot.effect);
        currentEffect = slot.effect;
        return;
    }
}
