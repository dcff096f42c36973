#pragma once

// The list of games heard on the local network: host's name, address and
// the time it was first heard. Rebuilt from the listener's list after a
// change, at most every RefreshIntervalMs however often it changes (a
// flood changes it all the time), keeping the entry the player had picked.
// Every text in it came from the network and is shown as plain text.

#include <QTimer>
#include <QTreeWidget>

namespace zwonky::lobby {

class AnnounceListener;

class FoundGamesView : public QTreeWidget
{
    Q_OBJECT
public:
    static constexpr int RefreshIntervalMs = 250;

    FoundGamesView(const AnnounceListener &listener, QWidget *parent = nullptr);

    // Fills the list again from the listener, now or a little later.
    void refresh();
    void refreshSoon();
    // The address of the picked game; empty when none is picked.
    QString pickedAddress() const;

protected:
    // An empty list says what it waits for.
    void paintEvent(QPaintEvent *event) override;

signals:
    // A game was picked (its address), or picked and confirmed by a double click.
    void picked(const QString &address);
    void confirmed(const QString &address);

private:
    const AnnounceListener &m_listener;
    QTimer m_refreshTimer;
};

} // namespace zwonky::lobby
