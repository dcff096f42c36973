#pragma once

// The player table of the main window: the six rows (name, score, turn
// result, watching and new-tiles markers), the turn marker and the host's
// pop-up on the names. It shows the session's player table as it stands
// and asks the session for the host's requests; it keeps no state of its own.

#include <QObject>

#include <array>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QPoint;
class QWidget;

namespace zwonky {

class ClientSession;

class PlayerTableView : public QObject
{
    Q_OBJECT
public:
    // Row tops of seats 1..6, top to bottom.
    static constexpr std::array<int, 7> RowTops{0, 338, 363, 387, 409, 433, 456};

    // The rows are made on `panel`; the pop-up belongs to `window`.
    PlayerTableView(ClientSession &session, QWidget *panel, QWidget *window);

    QLabel *nameLabel(int seat) const;
    QLabel *scoreLabel(int seat) const;
    QLabel *turnMarker() const { return m_turnMarker; }
    QMenu *kickPopup() const { return m_kickPopup; }
    // Shows every row as the session's table has it.
    void refresh();
    // The host's pop-up on a name; a null position only prepares it.
    void popupFor(int seat, const QPoint &globalPosition);
    // Runs before the pop-up opens (the main window updates the spy list).
    void setBeforePopup(std::function<void()> work) { m_beforePopup = std::move(work); }
    // Errors of the pop-up's requests are handed here.
    void setErrorReporter(std::function<void(const QString &)> report) { m_report = std::move(report); }

private:
    void buildRows(QWidget *panel);
    void buildPopup(QWidget *window);
    void showRow(int seat);
    void markTurn(int seat);
    void markCaughtUpTurn(int seat);
    void guarded(const std::function<void()> &work);

    ClientSession &m_session;
    std::array<QLabel *, 7> m_names{};      // [1..6] `label_playername`n
    std::array<QLabel *, 7> m_scores{};     // [1..6] `label_score`n
    std::array<QLabel *, 7> m_bonuses{};    // [1..6] `label_bonus`n
    std::array<QLabel *, 7> m_eyes{};       // [1..6] `image_eyes`n
    std::array<QLabel *, 7> m_newMarkers{}; // [1..6] `image_new`n
    QLabel *m_turnMarker = nullptr;         // `image_Turn`
    QMenu *m_kickPopup = nullptr;           // `popup_kick` (its "tag" shows m_popupSeat)
    int m_popupSeat = 0;                    // the row the pop-up was opened on
    QAction *m_removeFromGame = nullptr;    // `RemoveFromGame1`
    QAction *m_setToWatch = nullptr;        // `SettoJustWatch1`
    QAction *m_unsetWatch = nullptr;        // `UnsetJustWatch1`
    std::function<void()> m_beforePopup;
    std::function<void(const QString &)> m_report;
};

} // namespace zwonky
