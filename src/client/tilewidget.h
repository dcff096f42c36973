#pragma once

#include <QWidget>

namespace zwonky {

class LetterImages;

// One letter die on the board (`dice_1` .. `dice_13`): a 41 x 41 picture
// (grown with the board) that reports mouse-downs. It carries the tile's own values: its die number, its
// tray position (the "tag": 0 on the rack, 1-10 on the word tray), its die
// letter and its home place on the rack.
class TileWidget : public QWidget
{
    Q_OBJECT
public:
    TileWidget(int dieNumber, const LetterImages *images, QWidget *parent);

    int dieNumber() const { return m_dieNumber; }
    int trayPosition() const { return m_trayPosition; }
    void setTrayPosition(int position);
    QString letter() const { return m_letter; }
    void setLetter(const QString &letter) { m_letter = letter; }
    int homePlace() const { return m_homePlace; }
    void setHomePlace(int left) { m_homePlace = left; }
    // The picture index shown, 0 = blank (no picture).
    int pictureIndex() const { return m_pictureIndex; }
    void setPictureIndex(int index);

    QSize sizeHint() const override;

signals:
    void mouseDown(zwonky::TileWidget *tile, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    // Space or Enter works the focused tile as a left click does, the
    // context-menu key as a right click (a shuffle).
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // The name a screen reader reads: the die and the letter it shows.
    void updateAccessibleName();

    const int m_dieNumber;
    const LetterImages *m_images;
    int m_trayPosition = 0;
    QString m_letter = QStringLiteral("*");
    int m_homePlace = 0;
    int m_pictureIndex = 0;
};

} // namespace zwonky
