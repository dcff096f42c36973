#pragma once

namespace zwonky {

// The points preview under a word column: what a column of `length`-letter
// words is worth by the number of words in it (1-5). Any other count, or a
// length outside 3-10, is worth 0. The ten-letter row is the client's own
// preview (5500 for four words), not the host's award.
int previewPoints(int length, int wordCount);

} // namespace zwonky
