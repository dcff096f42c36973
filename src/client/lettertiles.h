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
// stay crisp at any device pixel ratio and any tile size; the pictures of the
// size and ratio the tiles show now are rendered once and kept.
class LetterImages
{
public:
    static constexpr int TileSize = 41;
    static constexpr int Count = 27;
    static constexpr int MaxSide = 512;

    // The picture of index 0-26 at the given device pixel ratio, `side`
    // pixels square (index 0 and indexes out of range give the blank tile).
    QPixmap image(int index, qreal devicePixelRatio, int side = TileSize) const;

    // Draws one tile into a painter set up in logical pixels at (0, 0).
    static void paintTile(class QPainter &painter, int index);

private:
    mutable std::map<int, QPixmap> m_cache; // by index, at the size and ratio below
    mutable int m_cachedSide = 0;
    mutable int m_cachedRatio = 0;          // ratio x 100
};

} // namespace zwonky
