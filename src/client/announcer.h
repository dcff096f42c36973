#pragma once

// What a player must hear as it happens, said to assistive technology: whose
// turn it is, the letters dealt, each verdict on a word, the clock at ten
// seconds left, the result of a turn and of a purchase, the winner and the
// chat lines. It listens to the session, never to a caption. Each
// announcement becomes the name of one quiet label (`label_announce`) and is
// posted as an alert on it, which screen readers speak; the label paints
// nothing, so the board looks as it did.

#include <QObject>
#include <QString>

#include <functional>

class QAccessibleEvent;
class QLabel;
class QWidget;

namespace zwonky {

class ClientSession;

class Announcer : public QObject
{
    Q_OBJECT
public:
    // The label is made on `parent`, one pixel in its corner.
    Announcer(ClientSession &session, QWidget *parent);

    QLabel *label() const { return m_label; }
    QString lastAnnouncement() const { return m_last; }
    // Says one line: the label takes it as its name and an alert follows.
    void say(const QString &text);
    // Where the alerts go: QAccessible::updateAccessibility unless replaced.
    // Qt passes events on only while an assistive technology listens, so a
    // test that wants to hear them puts itself here.
    void setEventSink(std::function<void(QAccessibleEvent *)> sink);

    // The texts, one per event.
    static QString turnText(bool own, const QString &name);
    static QString lettersText(const QStringList &letters, bool fresh, bool old);
    static QString acceptedText(const QString &word);
    static QString rejectedText(const QString &word, const QString &reason);
    static QString tenSecondsText();
    static QString winnerText(const QString &winner, bool team);

    // The clock's second that is announced.
    static constexpr int WarningSecond = 10;

private:
    void wire();

    ClientSession &m_session;
    QLabel *m_label = nullptr;
    QString m_last;
    std::function<void(QAccessibleEvent *)> m_sink;
    bool m_dealShowsClock = false;
};

} // namespace zwonky
