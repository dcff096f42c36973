#pragma once

#include "widgets/tiledbackground.h"

#include <QStringList>

#include <functional>

class QAction;
class QListWidget;
class QMenu;
class QPoint;

namespace zwonky {

// The spy list: who watches the game from a spectator seat (7-9), one entry
// "seat: name" each, in arrival order. The host may remove a spectator from
// the entry's pop-up menu. The main window adds and removes the entries.
class Tspylist : public TiledBackground
{
    Q_OBJECT
public:
    // Only the window itself: the list and its pop-up are made when it is
    // first shown (ensureBuilt); until then the entries are kept here.
    explicit Tspylist(QWidget *parent = nullptr);

    // Makes the controls, holding the entries so far, if they are not made yet.
    void ensureBuilt();
    void setVisible(bool visible) override;

    // Sends the removal request for a seat (the main window's kicking).
    void setKicker(std::function<void(int seat)> kicker) { m_kicker = std::move(kicker); }
    // The window it opens centred on, the first time it is shown.
    void setAnchor(QWidget *anchor) { m_anchor = anchor; }
    // "Remove From Game" is offered only to the host.
    void setKickEnabled(bool enabled);

    void addEntry(const QString &entry);
    // Removes the entry with exactly this text; false when there is none.
    bool removeEntry(const QString &entry);
    bool hasEntry(const QString &entry) const;
    int entryCount() const;

    // The pointer moved over the list (viewport coordinates): remembers the
    // entry under it, -1 for none, in the list box's "tag" property.
    void listbox_spysMouseMove(const QPoint &position);
    void popup_kickhimClick();
    void Button1Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QListWidget *m_list = nullptr;     // `listbox_spys`
    QMenu *m_popup = nullptr;          // `popup_kick`
    QAction *m_kickAction = nullptr;   // `popup_kickhim`
    std::function<void(int)> m_kicker;
    QWidget *m_anchor = nullptr;
    bool m_placed = false;
    bool m_built = false;
    // The entries in arrival order, as the list shows them once it is made.
    QStringList m_entries;
    bool m_kickEnabled = false;
};

} // namespace zwonky
