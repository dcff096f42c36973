#include "widgets/gamelook.h"

#include "widgets/bandedscrollbarstyle.h"
#include "widgets/deferrediconstyle.h"

#include <QApplication>
#include <QFont>

namespace zwonky {

void applyGameLook()
{
    QApplication::setStyle(new BandedScrollBarStyle(new DeferredIconStyle));
    // Every text of the game is in a Latin script, where the shaping engine
    // only adds kerning and ligatures at the price of a shaping set-up for every face and
    // size the windows use; scripts that need shaping still get it. Fonts
    // made later inherit this from the application's font.
    // The windows' named faces ("MS Sans Serif", "Arial") ask for a sans
    // serif too: where they are missing and fall back to the same face as
    // the windows' own type, a size both use is then set up and drawn once.
    QFont plainText = QApplication::font();
    plainText.setStyleHint(QFont::SansSerif, QFont::PreferNoShaping);
    QApplication::setFont(plainText);
}

} // namespace zwonky
