// The gauge's three colour states, told by its BackColor (its ForeColor stays clRed in all of
// them): Ready when idle, Listing while a folder is listed, Running during a digest run.
#pragma once

#include <cstdint>

namespace gauge_state {

// The platform's 0x00BBGGRR colour values.
inline constexpr std::uint32_t clGreen = 0x008000;
inline constexpr std::uint32_t clRed = 0x0000FF;

inline constexpr std::uint32_t Ready = clGreen;
inline constexpr std::uint32_t Listing = clRed;
inline constexpr std::uint32_t Running = 0xC0C0C0;  // silver grey

}  // namespace gauge_state
