#pragma once

// A line of grey text in the middle of an empty list, saying what will show
// up there, so an empty list reads as waiting rather than broken.

#include <QListWidget>
#include <QString>

class QAbstractItemView;

namespace zwonky::lobby {

// Paints the hint over the view's viewport; call at the end of its paintEvent.
void paintEmptyHint(QAbstractItemView &view, const QString &hint);

// A plain list with a hint while it has no rows.
class HintedList : public QListWidget
{
    Q_OBJECT
public:
    explicit HintedList(QString hint, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_hint;
};

} // namespace zwonky::lobby
