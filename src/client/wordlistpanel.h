#pragma once

#include <QFrame>
#include <QStringList>

#include <array>
#include <functional>

class QLabel;
class QListWidget;
class QPushButton;

namespace zwonky {

// The fast game's word-list panel (`panel_wordlists`): for each playing seat
// its player's name, the count and the points of its words, and the words
// it made this turn, longest first. It is a child of the main window and
// floats over the board; each time it is shown it takes the place its owner
// computes then, so it follows the window's layout.
class WordListPanel : public QFrame
{
    Q_OBJECT
public:
    static constexpr int Seats = 6;

    // Only the card: its lists and captions are made when it is first
    // shown (ensureBuilt); what it is told before waits in the panel.
    explicit WordListPanel(QWidget *parent);

    // Makes the lists and captions if they are not made yet.
    void ensureBuilt();
    void setVisible(bool visible) override;

    void setPlacement(std::function<QRect()> placement) { m_placement = std::move(placement); }
    // Whether a seat has a player now. Only those seats, and seats with
    // logged words, take a column when the panel appears, so that long
    // words have room at a small table.
    void setSeated(std::function<bool(int seat)> seated) { m_seated = std::move(seated); }

    // Logs one word in the seat's list; seats outside 1-6 have no list.
    void addword(int seat, const QString &word);
    // Empties every list; the counts read "0 words" and the points "for +0".
    void clearthem();
    void setName(int seat, const QString &name);
    // "for +" and the seat's points of the turn.
    void setTurnPoints(int seat, qint64 points);
    // The seat's logged words in the order shown.
    QStringList words(int seat) const;
    // The "X" button: hides the panel and says so.
    void button_closeClick();
    // Takes the place its owner computes now (as it does each time it is
    // shown); the window calls it when the board changed its size.
    void takePlace();

signals:
    void closedByPlayer();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void fitColumns();
    static bool hasList(int seat) { return seat >= 1 && seat <= Seats; }

    std::function<QRect()> m_placement;
    std::function<bool(int)> m_seated;
    // What each seat's column shows, [1..6]; the captions hold the design
    // texts until the first turn clears the panel.
    std::array<QStringList, Seats + 1> m_words{};     // as shown
    std::array<QString, Seats + 1> m_nameTexts{};
    std::array<QString, Seats + 1> m_countTexts{};
    std::array<QString, Seats + 1> m_scoreTexts{};
    bool m_built = false;
    std::array<QLabel *, Seats + 1> m_names{};        // `label_name`n
    std::array<QLabel *, Seats + 1> m_counts{};       // `label_count`n
    std::array<QLabel *, Seats + 1> m_scores{};       // `label_wscore`n
    std::array<QListWidget *, Seats + 1> m_lists{};   // `listbox_words`n
    QPushButton *m_close = nullptr;                   // `button_close`
};

} // namespace zwonky
