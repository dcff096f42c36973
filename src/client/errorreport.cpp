#include "client/errorreport.h"
#include "widgets/plaintext.h"

#include <QMessageBox>
#include <QWidget>

namespace zwonky {

ErrorReport::ErrorReport(QWidget *owner, QObject *parent) : QObject(parent), m_owner(owner)
{
    m_shower = [this](Kind kind, const QString &text, std::function<void()> dismissed) {
        showMessageBox(kind, text, std::move(dismissed));
    };
}

ErrorReport::~ErrorReport() = default;

void ErrorReport::setBoxShower(BoxShower shower)
{
    if (shower)
        m_shower = std::move(shower);
}

bool ErrorReport::show(Kind kind, const QString &text, std::function<void()> afterwards)
{
    if (m_open) {
        if (afterwards)
            afterwards();
        return false;
    }
    m_open = true;
    QPointer<ErrorReport> self(this);
    m_shower(kind, text, [self, afterwards = std::move(afterwards)] {
        // A box is dismissed once; a second call changes nothing.
        if (!self || !self->m_open)
            return;
        self->m_open = false;
        if (afterwards)
            afterwards();
        if (self)
            emit self->closed();
    });
    return true;
}

void ErrorReport::showMessageBox(Kind kind, const QString &text, std::function<void()> dismissed)
{
    // The text may be the host's: shown as it is.
    QMessageBox *box = plaintext::box(kind == Kind::Error ? QMessageBox::Warning : QMessageBox::Information,
                                      QStringLiteral("Zwonky"), text, QMessageBox::Ok, m_owner)
                           .release();
    box->setObjectName(QStringLiteral("errorReport"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QDialog::finished, this, [dismissed = std::move(dismissed)] { dismissed(); });
    // Window-modal, without a nested event loop: the game's timers and
    // sockets go on while the box waits for the player.
    box->open();
}

} // namespace zwonky
