#pragma once

#include <QColor>
#include <QLabel>

namespace zwonky {

// A label that lays its text on a rounded light pill, so coloured notices
// stay readable over the cloth; nothing is drawn while it is empty.
class PillLabel : public QLabel
{
    Q_OBJECT
public:
    explicit PillLabel(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace zwonky
