#include "client/boardfit.h"

#include "widgets/boardscale.h"

#include <QEvent>
#include <QWidget>

#include <algorithm>

namespace zwonky {

BoardFit::BoardFit(QWidget *area, QWidget *panel, const QRect &place, QSize defaultWindow)
    : QObject(area), m_area(area), m_panel(panel), m_place(place), m_defaultWindow(defaultWindow),
      m_scale(new BoardScale(this))
{
    m_scale->setObjectName(QStringLiteral("boardScale"));
    m_panel->setGeometry(m_place);
    area->installEventFilter(this);
}

QSize BoardFit::defaultArea() const
{
    const int chrome = std::max(0, m_area->window()->height() - m_area->height());
    return {m_defaultWindow.width(), std::max(1, m_defaultWindow.height() - chrome)};
}

void BoardFit::fit()
{
    const QSize logical = defaultArea();
    m_scale->setFactor(BoardScale::fitting(m_area->size(), logical));
    const int across = std::max(0, (m_area->width() - m_scale->length(logical.width())) / 2);
    m_panel->setGeometry(m_scale->rect(m_place).translated(across, 0));
    emit fitted();
}

bool BoardFit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_area && event->type() == QEvent::Resize)
        fit();
    return QObject::eventFilter(watched, event);
}

} // namespace zwonky
