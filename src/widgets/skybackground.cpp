#include "widgets/skybackground.h"

#include <QBrush>
#include <QColor>
#include <QLinearGradient>
#include <QPalette>
#include <QWidget>

namespace zwonky {

void applySkyBackground(QWidget *window, int height)
{
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0.0, QColor(0xEA, 0xF1, 0xFF));
    sky.setColorAt(1.0, QColor(0xC9, 0xDA, 0xF8));
    QPalette pal = window->palette();
    pal.setBrush(QPalette::Window, QBrush(sky));
    window->setPalette(pal);
    window->setAutoFillBackground(true);
}

} // namespace zwonky
