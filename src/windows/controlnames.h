#pragma once

// The names and descriptions a screen reader gives the controls of each
// window, in one table by window and control name. A control whose name is
// left empty is read by its own caption (a label that shows a changing text).

class QWidget;

namespace zwonky {

// Names the controls of `window` (matched by the window's class and each
// control's objectName); controls made later are named by a second call.
void nameControls(QWidget *window);
// Names only the controls under `part`, made after the rest of `window`.
void nameControls(QWidget *window, QWidget *part);

} // namespace zwonky
