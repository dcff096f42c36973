#pragma once

class QWidget;

namespace zwonky {

// The soft sky behind the help and about windows: a pale blue gradient from
// the top edge down to `height`, set as the window's background brush.
void applySkyBackground(QWidget *window, int height);

} // namespace zwonky
