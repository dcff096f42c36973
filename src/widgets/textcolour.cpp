#include "widgets/textcolour.h"

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace zwonky {

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    // Every colour group: the text keeps its colour in an inactive window.
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

} // namespace zwonky
