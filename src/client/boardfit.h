#pragma once

// The main window at any size: the board panel keeps its logical layout and
// grows with the window's client area by one factor (the smaller of the two
// ratios of the area to the area at the default window size, never below 1).
// It stands centred across the area and at its top; the cloth fills the rest.
// At the default size the factor is 1 and the panel is where it always was.

#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

namespace zwonky {

class BoardScale;

class BoardFit : public QObject
{
    Q_OBJECT
public:
    // `area` is the window's client area, `panel` the board panel on it at
    // `place` (logical); `defaultWindow` the window's default size.
    BoardFit(QWidget *area, QWidget *panel, const QRect &place, QSize defaultWindow);

    BoardScale &scale() { return *m_scale; }
    const BoardScale &scale() const { return *m_scale; }
    // The client area at the default window size: its width, and its height
    // less what the window's menu bar takes.
    QSize defaultArea() const;
    // Sets the factor for the area's size now and places the panel.
    void fit();

signals:
    // The panel has its new place and size.
    void fitted();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_area;
    QWidget *m_panel;
    const QRect m_place;
    const QSize m_defaultWindow;
    BoardScale *m_scale;
};

} // namespace zwonky
