#pragma once

#include <QPixmap>
#include <QString>

#include <map>

namespace zwonky {

// Image index of a die letter: "A" is 1 ... "Z" is 26; anything else shows
// the "A" picture (1). Index 0 is the blank tile and is never drawn for a letter.
int letterIndex(const QString &letter);

// The letter pictures of the tiles (`imagelist_letters`): 27 images of 41 x 41
// logical pixels, index 1-26 showing A-Z. They are drawn, not loaded, so they
// stay crisp at any device pixel ratio; each ratio is rendered once and kept.
class LetterImages
{
public:
    static constexpr int TileSize = 41;
    static constexpr int Count = 27;

    // The picture of index 0-26 at the given device pixel ratio (index 0 and
    // indexes out of range give the blank tile).
    QPixmap image(int index, qreal devicePixelRatio) const;

    // Draws one tile into a painter set up in logical pixels at (0, 0).
    static void paintTile(class QPainter &painter, int index);

private:
    mutable std::map<std::pair<int, int>, QPixmap> m_cache; // (ratio x 100, index)
};

} // namespace zwonky
