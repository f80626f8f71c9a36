// A stand-in soundtrack: a plain beat carrying the show's full sync schedule, so the show can
// run end to end before the real composition exists.
#pragma once

#include "forge/xm/xm_module.h"

namespace forge {

XmModule makeProvisionalModule();

} // namespace forge
