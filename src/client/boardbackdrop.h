#pragma once

#include <QWidget>

namespace zwonky {

// The picture behind the tiles on `panel_board`: the word tray with its ten
// numbered positions, and the rack shelf in one or two rows.
class BoardBackdrop : public QWidget
{
    Q_OBJECT
public:
    // Its size on a board of the default size: behind 14 tile places, down
    // to below the lower row of the rack.
    static constexpr int LogicalWidth = 41 * 14 + 9 + 12;
    static constexpr int LogicalHeight = 103 + 41 + 6;

    explicit BoardBackdrop(QWidget *parent);

    void setTwoRows(bool twoRows);
    bool twoRows() const { return m_twoRows; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_twoRows = false;
};

} // namespace zwonky
