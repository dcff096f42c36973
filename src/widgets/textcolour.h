#pragma once

class QColor;
class QWidget;

namespace zwonky {

// Gives the text of a widget, and of the labels and check boxes inside it,
// one colour through its palette. A style sheet that only sets a colour
// would do the same at the price of a style sheet engine for the widget and
// everything in it, parsed and matched again on every polish.
void setTextColour(QWidget *widget, const QColor &colour);

} // namespace zwonky
