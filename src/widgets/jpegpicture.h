#pragma once

#include <QByteArrayView>
#include <QImage>

namespace zwonky {

// Decodes a JPEG picture with libjpeg directly: no image plug-in is looked
// up or loaded for the game's two built-in pictures. Returns a null image
// for data libjpeg cannot decode or a picture larger than any of the game's
// (nothing is trusted: every libjpeg error ends the decoding). A picture cut
// short decodes as libjpeg completes it, grey below the cut.
QImage decodeJpeg(QByteArrayView data);

} // namespace zwonky
