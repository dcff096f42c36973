#pragma once

// A small helper of the chat pane's controls.

#include <QKeyEvent>
#include <QObject>
#include <QWidget>

#include <functional>

namespace zwonky {

// Routes the key presses of one widget to a handler before the widget sees them.
class KeyHook : public QObject
{
public:
    KeyHook(QWidget *widget, std::function<bool(QKeyEvent *)> handler)
        : QObject(widget), m_handler(std::move(handler))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        Q_UNUSED(watched);
        if (event->type() == QEvent::KeyPress)
            return m_handler(static_cast<QKeyEvent *>(event));
        return false;
    }

private:
    std::function<bool(QKeyEvent *)> m_handler;
};

} // namespace zwonky
