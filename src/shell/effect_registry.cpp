#include "shell/effect_registry.h"

#include "effects/closing_picture.h"
#include "effects/opening_picture.h"
#include "effects/tunnel_effect.h"

// To add an effect: include its header and replace its missingEffect line with
// effectSlot<ItsClass>(name, syncValue).

const EffectRegistry& showEffects() {
    static const EffectRegistry slots = {
        missingEffect("First zoom", 10),
        missingEffect("Second zoom", 22),
        missingEffect("Metaball scene", 52),
        missingEffect("Double tunnel", 58),
        missingEffect("Gold 3D scene", 48),
        missingEffect("Credits", 4),
        missingEffect("Rippling surface", 36),
        effectSlot("Tunnel", 32, tunnel),
        missingEffect("First warp", 16),
        missingEffect("Second warp", 18),
        effectSlot<OpeningPicture>("Opening picture", 2),
        effectSlot<ClosingPicture>("Closing picture", 74),
    };
    return slots;
}
