#pragma once

#include <array>

// The sizes the program icon is pre-rendered at where no SVG renderer is built in,
// and that the Windows icon file holds.
namespace Artwork {

inline constexpr std::array<int, 7> kPrerenderedIconSizes{16, 24, 32, 48, 64, 128, 256};

} // namespace Artwork
