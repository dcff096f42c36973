#pragma once

#include <QFrame>

#include <functional>

namespace zwonky {

// The fast game's word-list panel (`panel_wordlists`). It is a child of the
// main window and floats over the board; each time it is shown it takes the
// place its owner computes then, so it follows the window's layout.
class WordListPanel : public QFrame
{
    Q_OBJECT
public:
    explicit WordListPanel(QWidget *parent);

    void setPlacement(std::function<QRect()> placement) { m_placement = std::move(placement); }
    // Runs just before the panel appears (to fit its columns to the table).
    void setBeforeShow(std::function<void()> work) { m_beforeShow = std::move(work); }

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::function<QRect()> m_placement;
    std::function<void()> m_beforeShow;
};

} // namespace zwonky
