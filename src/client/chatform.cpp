#include "client/chatform.h"

#include "net/fieldcursor.h"

namespace zwonky {

// PLACEHOLDER: construction and layout are being written.
Tchat::Tchat(QWidget *parent) : QMainWindow(parent) {}
Tchat::~Tchat() = default;
void Tchat::setRandom(QRandomGenerator *generator) { m_random = generator; }
void Tchat::setSoundPlayer(SoundPlayer *player) { m_sound = player; }
void Tchat::setTally(TallyRecorder *tally) { m_tally = tally; }
void Tchat::setCompanions(const CompanionWindows &windows) { m_windows = windows; }
void Tchat::setHostStarter(std::function<void()> startListening) { m_startListening = std::move(startListening); }
void Tchat::setGamePort(const QString &port) { m_gamePort = port; }
void Tchat::setParameters(const QStringList &parameters) { m_parameters = parameters; }
void Tchat::setSettingsFolder(const QString &folder) { m_settingsFolder = folder; }
void Tchat::buildLayout() {}
void Tchat::closeEvent(QCloseEvent *event) { QMainWindow::closeEvent(event); }
void Tchat::showEvent(QShowEvent *event) { QMainWindow::showEvent(event); }
bool Tchat::eventFilter(QObject *watched, QEvent *event) { return QMainWindow::eventFilter(watched, event); }
void Tchat::moveEvent(QMoveEvent *event) { QMainWindow::moveEvent(event); }
void Tchat::resizeEvent(QResizeEvent *event) { QMainWindow::resizeEvent(event); }
void Tchat::reportError(const QString &) {}

} // namespace zwonky
