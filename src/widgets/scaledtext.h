#pragma once

#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

namespace zwonky {

// Draws text at pixelSize with a font the program already uses at another
// size: the painter scales the font's glyphs instead of loading the face
// again at a size of its own. Each face and size costs a font set-up of
// its own, so a picture's lettering or a faint mark that only needs to look
// right borrows the type of the text around it.
void drawScaledText(QPainter &painter, const QRectF &rect, int flags, const QString &text,
                    const QFont &font, qreal pixelSize);

} // namespace zwonky
