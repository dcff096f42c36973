#include "widgets/placement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace zwonky {

void centreWindow(QWidget *window, const QWidget *over)
{
    QRect area;
    if (over && over->isVisible())
        area = over->frameGeometry();
    else if (const QScreen *screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (!area.isValid())
        return;
    QRect box = window->frameGeometry();
    box.moveCenter(area.center());
    window->move(box.topLeft());
}

} // namespace zwonky
