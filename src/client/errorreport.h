#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QWidget;

namespace zwonky {

// The standard error report: a message box with the error's text, and the
// program's few notices ("Game is full", "You are not connected") in the
// same kind of box. One box at a time: whatever is reported while a box is
// open is dropped, never stacked on top. The box does not block: it opens
// and the event loop goes on; `afterwards` runs once the player closed it.
class ErrorReport : public QObject
{
    Q_OBJECT
public:
    enum class Kind { Notice, Error };
    // Shows one box and calls `dismissed` (exactly once) when it goes away.
    using BoxShower =
        std::function<void(Kind kind, const QString &text, std::function<void()> dismissed)>;

    // The boxes open over `owner` (may be null).
    explicit ErrorReport(QWidget *owner, QObject *parent = nullptr);
    ~ErrorReport() override;

    // Tests replace the message box.
    void setBoxShower(BoxShower shower);

    // Shows the text unless a box is open already. `afterwards` runs when the
    // box is dismissed, or at once when nothing was shown. Returns whether a
    // box was opened.
    bool show(Kind kind, const QString &text, std::function<void()> afterwards = {});
    bool isOpen() const { return m_open; }

signals:
    // The open box was dismissed (after its `afterwards` ran).
    void closed();

private:
    void showMessageBox(Kind kind, const QString &text, std::function<void()> dismissed);

    QPointer<QWidget> m_owner;
    BoxShower m_shower;
    bool m_open = false;
};

} // namespace zwonky
