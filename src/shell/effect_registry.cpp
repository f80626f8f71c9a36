#include "shell/effect_registry.h"

#include "effects/closing_picture.h"
#include "effects/credits_effect.h"
#include "effects/double_tunnel_effect.h"
#include "effects/first_warp.h"
#include "effects/first_zoom.h"
#include "effects/gold_scene.h"
#include "effects/metaball_scene.h"
#include "effects/opening_picture.h"
#include "effects/rippling_surface_effect.h"
#include "effects/second_warp.h"
#include "effects/second_zoom.h"
#include "effects/tunnel_effect.h"

// To add an effect: include its header and replace its missingEffect line with
// effectSlot<ItsClass>(name, syncValue).

const EffectRegistry& showEffects() {
    static const EffectRegistry slots = {
        effectSlot<FirstZoom>("First zoom", 10),
        effectSlot("Second zoom", 22, secondZoom),
        effectSlot<MetaballScene>("Metaball scene", 52),
        effectSlot<DoubleTunnelEffect>("Double tunnel", 58),
        effectSlot<GoldScene>("Gold 3D scene", 48),
        effectSlot<CreditsEffect>("Credits", 4),
        effectSlot<RipplingSurfaceEffect>("Rippling surface", 36),
        effectSlot("Tunnel", 32, tunnel),
        effectSlot<FirstWarp>("First warp", 16),
        effectSlot<SecondWarp>("Second warp", 18),
        effectSlot<OpeningPicture>("Opening picture", 2),
        effectSlot<ClosingPicture>("Closing picture", 74),
    };
    return slots;
}

const char* effectName(const EffectRegistry& registry, const Effect* effect) {
    if (!effect) return nullptr;
    for (const EffectSlot& slot : registry)
        if (slot.effect == effect) return slot.name;
    return nullptr;
}
