#include "client/announcer.h"

#include "net/protocol.h"
#include "session/clientsession.h"

#include <QAccessible>
#include <QLabel>

#include <utility>

namespace zwonky {

Announcer::Announcer(ClientSession &session, QWidget *parent)
    : QObject(parent), m_session(session)
{
    // A label that a screen reader reads by its name and nobody sees: it has
    // no text, so an announcement costs no layout and no paint.
    m_label = new QLabel(parent);
    m_label->setObjectName(QStringLiteral("label_announce"));
    m_label->setGeometry(0, 0, 1, 1);
    m_label->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_label->setAccessibleName(QStringLiteral("Announcements"));
    m_label->setAccessibleDescription(QStringLiteral("The game's news as it happens"));
    wire();
}

void Announcer::say(const QString &text)
{
    if (text.isEmpty())
        return;
    m_last = text;
    m_label->setAccessibleName(text);
    QAccessibleEvent alert(m_label, QAccessible::Alert);
    if (m_sink)
        m_sink(&alert);
    else
        QAccessible::updateAccessibility(&alert);
}

void Announcer::setEventSink(std::function<void(QAccessibleEvent *)> sink)
{
    m_sink = std::move(sink);
}

QString Announcer::turnText(bool own, const QString &name)
{
    return own ? QStringLiteral("Your turn.") : name + QStringLiteral("'s turn.");
}

QString Announcer::lettersText(const QStringList &letters, bool fresh, bool old)
{
    QStringList shown;
    for (const QString &letter : letters)
        if (!letter.isEmpty())
            shown << letter;
    const QString head = fresh ? QStringLiteral("New letters: ")
        : old                  ? QStringLiteral("Old letters back: ")
                               : QStringLiteral("Letters: ");
    return head + shown.join(QStringLiteral(", ")) + QLatin1Char('.');
}

QString Announcer::acceptedText(const QString &word)
{
    return word + QStringLiteral(" accepted.");
}

QString Announcer::rejectedText(const QString &word, const QString &reason)
{
    // The host's reasons read " Rejected", " Rejected. Word Exists", ...
    QString said = word + reason;
    if (!said.endsWith(QLatin1Char('.')) && !said.endsWith(QLatin1Char('!')))
        said += QLatin1Char('.');
    return said;
}

QString Announcer::tenSecondsText() { return QStringLiteral("10 seconds left."); }

QString Announcer::winnerText(const QString &winner, bool team)
{
    return winner + (team ? QStringLiteral(" have Won the Game!") : QStringLiteral(" has Won the Game!"));
}

void Announcer::wire()
{
    ClientSession *s = &m_session;
    connect(s, &ClientSession::turnStarted, this, [this](int seat) {
        say(turnText(seat == m_session.ownSeat(), m_session.players().shownName(seat)));
    });
    connect(s, &ClientSession::lettersDealt, this, [this](int, DealKind kind) {
        const LetterTray &tray = m_session.tray();
        QStringList letters;
        for (int die = 1; die <= tray.dealtCount(); ++die)
            letters << tray.letter(die);
        say(lettersText(letters, kind == DealKind::New, kind == DealKind::Old));
        // A fresh deal starts the clock and shows its first reading: no tick.
        m_dealShowsClock = kind != DealKind::New && kind != DealKind::Old;
    });
    connect(s, &ClientSession::wordAccepted, this,
            [this](int, int, const QString &word) { say(acceptedText(word)); });
    connect(s, &ClientSession::wordRejected, this,
            [this](const QString &word, const QString &reason) { say(rejectedText(word, reason)); });
    // The clock is said once a turn: a purchase's deal does not restart it.
    connect(s, &ClientSession::clockTicked, this, [this](int secondsLeft) {
        if (std::exchange(m_dealShowsClock, false))
            return;
        if (secondsLeft == WarningSecond)
            say(tenSecondsText());
    });
    // A turn's result and a purchase, as the announcement bar words them.
    connect(s, &ClientSession::announcement, this, &Announcer::say);
    connect(s, &ClientSession::gameOver, this, [this](const QString &winner) {
        say(winnerText(winner, protocol::isTeamWinner(winner)));
    });
    connect(s, &ClientSession::chatReceived, this,
            [this](const QString &text, const QString &) { say(text); });
}

} // namespace zwonky
