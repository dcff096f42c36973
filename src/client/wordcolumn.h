#pragma once

#include "client/colortext.h"

#include <QColor>
#include <QPlainTextEdit>

namespace zwonky {

// A word column (`list_3` .. `list_10`): a read-only box of accepted words,
// one per line, tagged with its word length. It has a flat colour (its
// background), a focused colour (its background while it has the focus) and
// a font colour, which the game sets to show the column's state.
class WordColumn : public QPlainTextEdit
{
    Q_OBJECT
public:
    WordColumn(int length, QWidget *parent);

    int length() const { return m_length; }
    // Number of lines (words) in the column; 0 when empty.
    int lineCount() const;
    QStringList words() const;
    void appendWord(const QString &word);

    QColor flatColour() const { return m_flat; }
    QColor focusedColour() const { return m_focused; }
    QColor fontColour() const { return m_font; }
    void setFlatColour(const QColor &colour);
    void setFocusedColour(const QColor &colour);
    void setFontColour(const QColor &colour);

    // The height that shows `lines` lines of the font without scrolling.
    static int heightForLines(int lines, const QFont &font);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void applyColours();

    const int m_length;
    QColor m_flat = Qt::white;
    QColor m_focused = Qt::white;
    QColor m_font = QColor(0x00, 0x80, 0x00);
};

} // namespace zwonky
