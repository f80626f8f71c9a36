// One function per picture of the show. Each paints from fixed seeds, so every run gives the
// same picture.
#pragma once

#include "forge/pictures/canvas.h"

namespace forge {

// Full-screen stills (320x200).
Canvas makeTitlePicture();     // the opening picture: a ringed planet eclipsing its star
Canvas makeClosingPicture();   // the closing still: a galaxy rising over a planet's night side
Canvas makeMetaballBackdrop(); // behind the metaballs: a quiet galaxy field

// Additive sprites: bright shapes on black.
Canvas makeZoomGalaxy();    // 512x512
Canvas makeZoomHalo();      // 512x512, grey
Canvas makeZoomStarburst(); // 512x512
Canvas makeDeepField();     // the four space pictures of the second zoom
Canvas makeTiltedGalaxy();
Canvas makeStarCluster();
Canvas makeSpiralGalaxy();
Canvas makeFlare(); // 256x256 soft glow

// Textures (256x256, tileable).
Canvas makeNebulaTexture();     // inner tunnel, rippling surface, metaball environment
Canvas makeStarStreakTexture(); // outer tunnel, added over the inner one
Canvas makePanelTexture();      // the gold scene's tunnel: bump-lit plates
Canvas makeGoldStudio();        // gold environment map
Canvas makeCorridorTexture();   // the credits' corridor
Canvas makeTunnelTexture();     // the texture tunnel

// The two rippled pictures (640x400).
Canvas makeEmissionNebula();
Canvas makeReflectionNebula();

// Overlays on pure black.
Canvas makeFigure();     // 320x200, a chrome figure in the left 140 columns
Canvas makeMoonColumn(); // 130x200, drawn at x = 190 over the metaballs
Canvas makeSprayLayer(); // 320x200, paint over the rippling surface
Canvas makeMakerLogo();  // 90x28, "zelka"

} // namespace forge
