#pragma once

class QWidget;

namespace zwonky {

// Centres a window over another window while that one is shown, otherwise
// on the primary screen's work area.
void centreWindow(QWidget *window, const QWidget *over = nullptr);

} // namespace zwonky
