#pragma once
// The program's icon: a small tunnel of rings fading from gold at the rim to blue in the middle.
// The show's window wears it, and the Windows executable carries it as its icon resource (the
// forge writes it as an .ico file for that).
#include <cstdint>
#include <vector>

// The side the icon was drawn for: the window's icon.
inline constexpr int kProgramIconSide = 32;

// side x side pixels, 0xAARRGGBB, rows top first; the same rings at every size.
std::vector<std::uint32_t> drawProgramIcon(int side);
