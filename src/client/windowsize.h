#pragma once

// The main window's size and place at start, without a settings file and
// after "Reset Screen Location".

namespace zwonky::windowsize {

inline constexpr int ResetLeft = 3;
inline constexpr int ResetTop = 3;
inline constexpr int DefaultWidth = 795;
inline constexpr int DefaultHeight = 568;
// Everything sits on one fixed panel; the window may grow around it.
inline constexpr int MainPanelWidth = 785;
inline constexpr int MainPanelHeight = 520;
// The largest place or size a window can have (Qt's own bound on a window's
// size): a stored value beyond it is held to it, so that no edge of the
// window, the sum of a place and a size, leaves the int range.
inline constexpr int LargestCoordinate = (1 << 24) - 1;

} // namespace zwonky::windowsize
