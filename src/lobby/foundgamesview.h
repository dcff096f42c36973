#pragma once

// The list of games heard on the local network: host's name, address and
// the time it was first heard. Rebuilt from the listener's list on each
// change, keeping the entry the player had picked.

#include <QTreeWidget>

namespace zwonky::lobby {

class AnnounceListener;

class FoundGamesView : public QTreeWidget
{
    Q_OBJECT
public:
    FoundGamesView(const AnnounceListener &listener, QWidget *parent = nullptr);

    // Fills the list again from the listener.
    void refresh();
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
};

} // namespace zwonky::lobby
