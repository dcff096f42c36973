#pragma once

#include <QWidget>

namespace zwonky {

// The picture behind the tiles on `panel_board`: the word tray with its ten
// numbered positions, and the rack shelf in one or two rows.
class BoardBackdrop : public QWidget
{
    Q_OBJECT
public:
    explicit BoardBackdrop(QWidget *parent);

    void setTwoRows(bool twoRows);
    bool twoRows() const { return m_twoRows; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_twoRows = false;
};

} // namespace zwonky
