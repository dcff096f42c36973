// The host's computer players: the File menu's items and the filling of the
// table before a start.

#include "client/chatform.h"

#include "client/computerseats.h"
#include "client/mainmenus.h"
#include "session/clientsession.h"

#include <QAction>
#include <QMenu>

namespace zwonky {

namespace {

constexpr quint32 NoticeBlue = 0xFF0000;

} // namespace

void Tchat::setupComputerSeats()
{
    m_computers = new ComputerSeats(this);
    connect(m_computers, &ComputerSeats::notice, this,
            [this](const QString &text) { addlinetochat(text, NoticeBlue); });
    connect(m_menus->addComputer(), &QMenu::triggered, this, [this](QAction *item) {
        runGuarded([this, item] {
            m_computers->setPort(m_gamePort);
            m_computers->add(item->data().toInt());
        });
    });
    connect(m_menus->removeComputers(), &QAction::triggered, this,
            [this] { runGuarded([this] { m_computers->removeAll(); }); });
    connect(m_session, &ClientSession::phaseChanged, this, [this] { updateComputerItems(); });
    connect(m_session, &ClientSession::loggedIn, this, [this] { updateComputerItems(); });
    updateComputerItems();
}

// Only the host adds computer players, and only while no game runs.
void Tchat::updateComputerItems()
{
    const SessionPhase phase = m_session->phase();
    const bool between = phase == SessionPhase::NoGame || phase == SessionPhase::GameOver;
    m_menus->enableComputerItems(isHosting() && isConnected() && between);
}

void Tchat::fillComputerSeats(int count, int level)
{
    m_computers->setPort(m_gamePort);
    if (m_computers->count() > count)
        m_computers->removeAll();
    while (m_computers->count() < count)
        m_computers->add(level);
}

} // namespace zwonky
