#include "windows/spylistform.h"
#include "windows/controlnames.h"

#include "net/fieldcursor.h"
#include "net/zwonkyerror.h"
#include "widgets/flatbutton.h"
#include "widgets/placement.h"
#include "widgets/textcolour.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>

namespace zwonky {

Tspylist::Tspylist(QWidget *parent) : TiledBackground(parent)
{
    setObjectName(QStringLiteral("spylist"));
    setWindowTitle(QStringLiteral("Zwonky -Spys"));
    // Title and close box only: a narrow window keeps its whole caption.
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint
                   | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(178, 195);
}

void Tspylist::ensureBuilt()
{
    if (m_built)
        return;
    m_built = true;

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("listbox_spys"));
    m_list->setGeometry(5, 5, 161, 130);
    m_list->setProperty("tag", -1);
    m_list->setMouseTracking(true);
    m_list->viewport()->setMouseTracking(true);
    m_list->viewport()->installEventFilter(this);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->setStyleSheet(QStringLiteral(
        "QListWidget { background: #fdf8ec; border: 1px solid #c8b286; border-radius: 6px;"
        " padding: 2px; color: #1e1e1e; }"
        "QListWidget::item { padding: 2px 4px; }"
        "QListWidget::item:hover { background: #f3e4bd; }"));
    m_list->addItems(m_entries);

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("popup_kick"));
    m_kickAction = m_popup->addAction(QStringLiteral("Remove From Game"));
    m_kickAction->setObjectName(QStringLiteral("popup_kickhim"));
    m_kickAction->setEnabled(m_kickEnabled);
    connect(m_kickAction, &QAction::triggered, this, [this] { popup_kickhimClick(); });
    // The pointer leaves the list for the menu, which forgets the entry under
    // it; the menu keeps the entry it was opened on in its own "tag".
    m_popup->setProperty("tag", -1);
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        listbox_spysMouseMove(pos);
        m_popup->setProperty("tag", m_list->property("tag"));
        m_popup->popup(m_list->viewport()->mapToGlobal(pos));
    });

    auto *title = new QLabel(QStringLiteral("Spy List"), this);
    title->setObjectName(QStringLiteral("label_spylist"));
    QFont font = title->font();
    font.setBold(true);
    font.setPixelSize(17);
    title->setFont(font);
    setTextColour(title, Qt::white);
    title->setGeometry(8, 156, 100, 28);

    auto *ok = new FlatButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setGeometry(112, 156, 60, 28);
    connect(ok, &QPushButton::clicked, this, [this] { Button1Click(); });
    // Names for screen readers, once every control is made.
    nameControls(this);
}

void Tspylist::setVisible(bool visible)
{
    // The list is made only for a player who opens it. It is made before the
    // window becomes visible: controls made while it is already visible (in
    // its show event) would stay hidden.
    if (visible)
        ensureBuilt();
    TiledBackground::setVisible(visible);
}

void Tspylist::setKickEnabled(bool enabled)
{
    m_kickEnabled = enabled;
    if (m_built)
        m_kickAction->setEnabled(enabled);
}

void Tspylist::addEntry(const QString &entry)
{
    m_entries << entry;
    if (m_built)
        m_list->addItem(entry);
}

bool Tspylist::removeEntry(const QString &entry)
{
    const qsizetype i = m_entries.indexOf(entry);
    if (i < 0)
        return false;
    m_entries.removeAt(i);
    if (m_built) {
        delete m_list->takeItem(int(i));
        // The remembered index may now point at another spectator.
        m_list->setProperty("tag", -1);
        m_popup->setProperty("tag", -1);
    }
    return true;
}

bool Tspylist::hasEntry(const QString &entry) const { return m_entries.contains(entry); }

int Tspylist::entryCount() const { return int(m_entries.size()); }

void Tspylist::listbox_spysMouseMove(const QPoint &position)
{
    // Only a list that is shown is pointed at.
    ensureBuilt();
    QListWidgetItem *item = m_list->itemAt(position);
    m_list->setProperty("tag", item ? m_list->row(item) : -1);
}

void Tspylist::popup_kickhimClick()
{
    // The pop-up was never opened on an entry of a list never made.
    if (!m_built)
        return;
    const int index = m_popup->property("tag").toInt();
    if (index < 0 || index >= m_entries.size())
        return;
    const QString &entry = m_entries.at(index);
    const qsizetype colon = entry.indexOf(QLatin1Char(':'));
    try {
        const int seat = FieldCursor::toInt(colon < 0 ? entry : entry.left(colon));
        if (m_kicker)
            m_kicker(seat);
    } catch (const ZwonkyError &) {
        // An entry whose seat is not a number cannot be removed; nothing to say.
    }
}

void Tspylist::Button1Click() { hide(); }

bool Tspylist::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list->viewport() && event->type() == QEvent::MouseMove)
        listbox_spysMouseMove(static_cast<QMouseEvent *>(event)->position().toPoint());
    else if (watched == m_list->viewport() && event->type() == QEvent::Leave)
        m_list->setProperty("tag", -1);
    return TiledBackground::eventFilter(watched, event);
}

void Tspylist::showEvent(QShowEvent *event)
{
    if (!m_placed && m_anchor) {
        m_placed = true;
        centreWindow(this, m_anchor);
    }
    TiledBackground::showEvent(event);
}

} // namespace zwonky
