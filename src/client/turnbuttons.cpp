#include "client/turnbuttons.h"

#include "session/clientsession.h"
#include "widgets/flatbutton.h"
#include "widgets/textcolour.h"

#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QMouseEvent>

#include <functional>

namespace zwonky {

namespace {

// Takes a double click of a push button (QPushButton has no signal for it);
// from the keyboard, Space or Enter on the focused button does the same.
class DoubleClickFilter : public QObject
{
public:
    DoubleClickFilter(QObject *parent, std::function<void()> action)
        : QObject(parent), m_action(std::move(action))
    {
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonDblClick
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            m_action();
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
                m_action();
                return true;
            }
        }
        return false;
    }

private:
    std::function<void()> m_action;
};

FlatButton *makeTurnButton(QWidget *parent, const char *name, const QString &text,
                           const QColor &accent, const QRect &geometry)
{
    auto *button = new FlatButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAccent(accent);
    button->setGeometry(geometry);
    // Reached by Tab, not taken by a click: a click leaves the keyboard
    // where it was (the chat entry, or the tray while typing).
    button->setFocusPolicy(Qt::TabFocus);
    button->hide();
    return button;
}

} // namespace

TurnButtons::TurnButtons(ClientSession &session, QWidget *panel, QObject *parent)
    : QObject(parent), m_session(session)
{
    build(panel);

    connect(&session, &ClientSession::gameStarted, this, [this] {
        for (QWidget *button : std::initializer_list<QWidget *>{m_old, m_newTiles, m_done, m_clear})
            button->hide();
    });
    connect(&session, &ClientSession::turnStarted, this, [this](int seat) {
        if (seat == m_session.ownSeat())
            showOwnTurn();
        else
            hideAll();
    });
    connect(&session, &ClientSession::caughtUp, this, [this](int, const GameSettings &settings) {
        if (settings.fast && m_session.isOwnTurn())
            showOwnTurn();
    });
    connect(&session, &ClientSession::tilesBought, this, [this](int seat, bool newTiles) {
        if (newTiles && seat == m_session.ownSeat())
            m_old->show();
    });
    // The typing switch goes too: it means nothing until the next own turn.
    connect(&session, &ClientSession::turnEnded, this, &TurnButtons::hideAll);
}

void TurnButtons::build(QWidget *panel)
{
    QFont bold = panel->font();
    bold.setBold(true);
    const int top = 176;
    m_done = makeTurnButton(panel, "button_done", QStringLiteral("Done"), QColor(0x2e, 0x8b, 0x3a),
                            QRect(232, top, 74, 26));
    m_clear = makeTurnButton(panel, "button_clear", QStringLiteral("Clear"), QColor(0xd4, 0x7a, 0x16),
                             QRect(312, top, 74, 26));
    m_newTiles = makeTurnButton(panel, "button_newtiles", QStringLiteral("New Tiles"),
                                QColor(0x2f, 0x6d, 0xb5), QRect(392, top, 88, 26));
    m_newTiles->setToolTip(QStringLiteral("Double click: new letters for 300 points"));
    m_old = makeTurnButton(panel, "button_old", QStringLiteral("Old Tiles"), QColor(0x5b, 0x5f, 0xb0),
                           QRect(392, top, 88, 26));
    m_old->setToolTip(QStringLiteral("Double click: the old letters back for 300 points"));
    m_finish = makeTurnButton(panel, "button_finish", QStringLiteral("Finish"), QColor(0x9a, 0x1f, 0x1f),
                              QRect(486, top, 74, 26));
    m_finish->setToolTip(QStringLiteral("End your turn now"));

    m_typing = new QCheckBox(QStringLiteral("&Typing ON"), panel);
    m_typing->setObjectName(QStringLiteral("checkbox_typing"));
    m_typing->setGeometry(572, top + 3, 110, 20);
    m_typing->setFont(bold);
    setTextColour(m_typing, Qt::white);
    m_typing->setFocusPolicy(Qt::TabFocus);
    m_typing->hide();
    m_typing->setChecked(m_typingMode);
    connect(m_typing, &QCheckBox::toggled, this, [this](bool on) { m_typingMode = on; });

    connect(m_done, &QPushButton::clicked, this, &TurnButtons::doneClicked);
    connect(m_clear, &QPushButton::clicked, this, &TurnButtons::clearClicked);
    connect(m_finish, &QPushButton::clicked, this, &TurnButtons::finishClicked);
    m_newTiles->installEventFilter(
        new DoubleClickFilter(m_newTiles, [this] { emit newTilesDoubleClicked(); }));
    m_old->installEventFilter(new DoubleClickFilter(m_old, [this] { emit oldTilesDoubleClicked(); }));
    describe();
    addKeys(panel);
}

void TurnButtons::describe()
{
    m_done->setAccessibleName(QStringLiteral("Done"));
    m_done->setAccessibleDescription(QStringLiteral("Submit the word on the tray (Alt+D; Enter while typing)"));
    m_clear->setAccessibleName(QStringLiteral("Clear"));
    m_clear->setAccessibleDescription(QStringLiteral("Take every tile back from the tray (Alt+C; 1 while typing)"));
    m_newTiles->setAccessibleName(QStringLiteral("New Tiles"));
    m_newTiles->setAccessibleDescription(
        QStringLiteral("New letters for 300 points (double click or Alt+N; 0 while typing)"));
    m_old->setAccessibleName(QStringLiteral("Old Tiles"));
    m_old->setAccessibleDescription(QStringLiteral("The old letters back for 300 points (double click or Alt+L)"));
    m_finish->setAccessibleName(QStringLiteral("Finish"));
    m_finish->setAccessibleDescription(QStringLiteral("End your turn now (Alt+I)"));
    m_typing->setAccessibleName(QStringLiteral("Typing ON"));
    m_typing->setAccessibleDescription(
        QStringLiteral("While checked, typed letters lay tiles and Backspace takes the last one back "
                       "(Alt+T; Tab on your turn)"));
}

// The turn's keys work wherever the keyboard is in the window, while their
// button is shown; they are not letters, digits or Tab, which the tray
// reads while typing.
void TurnButtons::addKeys(QWidget *panel)
{
    struct Key
    {
        const char *name;
        QPushButton *button;
        Qt::Key key;
        void (TurnButtons::*signal)();
    };
    const Key keys[] = {
        {"key_done", m_done, Qt::Key_D, &TurnButtons::doneClicked},
        {"key_clear", m_clear, Qt::Key_C, &TurnButtons::clearClicked},
        {"key_newtiles", m_newTiles, Qt::Key_N, &TurnButtons::newTilesDoubleClicked},
        {"key_old", m_old, Qt::Key_L, &TurnButtons::oldTilesDoubleClicked},
        {"key_finish", m_finish, Qt::Key_I, &TurnButtons::finishClicked},
    };
    for (const Key &k : keys) {
        auto *action = new QAction(panel);
        action->setObjectName(QLatin1String(k.name));
        action->setShortcut(QKeySequence(Qt::ALT | k.key));
        action->setShortcutContext(Qt::WindowShortcut);
        panel->addAction(action);
        static_cast<FlatButton *>(k.button)->setKeyLetter(QChar(u'A' + (k.key - Qt::Key_A)));
        QPushButton *button = k.button;
        const auto signal = k.signal;
        connect(action, &QAction::triggered, this, [this, button, signal] {
            if (!button->isHidden())
                (this->*signal)();
        });
    }
}

void TurnButtons::toggleTyping()
{
    m_typing->setChecked(!m_typingMode);
}

void TurnButtons::showOwnTurn()
{
    for (QWidget *button : std::initializer_list<QWidget *>{m_done, m_clear, m_finish})
        button->show();
    m_old->hide();
    m_newTiles->setVisible(m_session.settings().newTiles);
    m_typing->setVisible(m_session.settings().typing);
}

void TurnButtons::hideAll()
{
    for (QWidget *control : std::initializer_list<QWidget *>{m_done, m_clear, m_newTiles, m_old,
                                                             m_typing, m_finish})
        control->hide();
}

} // namespace zwonky
