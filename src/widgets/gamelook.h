#pragma once

namespace zwonky {

// The look every window of the game is drawn with, set on the application
// once it exists and before any window is made: the platform's style with
// the game's two changes (standard icons read when first drawn, tall scroll
// bars painted without worker threads) and an application font that spares
// Latin text the shaping engine.
void applyGameLook();

} // namespace zwonky
