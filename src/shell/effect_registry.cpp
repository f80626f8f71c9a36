#include "shell/effect_registry.h"

// To add an effect: include its header and replace its missingEffect line with
// effectSlot<ItsClass>(name, syncValue).

const EffectRegistry& showEffects() {
    static const EffectRegistry slots = {
        missingEffect("First zoom", 10),       missingEffect("Second zoom", 22),
        missingEffect("Metaball scene", 52),   missingEffect("Double tunnel", 58),
        missingEffect("Gold 3D scene", 48),    missingEffect("Credits", 4),
        missingEffect("Rippling surface", 36), missingEffect("Tunnel", 32),
        missingEffect("First warp", 16),       missingEffect("Second warp", 18),
        missingEffect("Opening picture", 2),   missingEffect("Closing picture", 74),
    };
    return slots;
}
