// The soundtrack: the arrangement written out into a module, with the show's sync commands.
#pragma once

#include "forge/xm/xm_module.h"

namespace forge {

XmModule composeSoundtrack();

} // namespace forge
