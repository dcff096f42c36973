// How the lobby-download window looks: its three panels and their controls.
// What the controls do is in downloadform.cpp.
#include "windows/downloadform.h"

#include "widgets/flatbutton.h"
#include "widgets/flatpanel.h"
#include "widgets/textcolour.h"
#include "windows/aboutform.h"
#include "windows/controlnames.h"
#include "widgets/plaintext.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include <utility>

namespace zwonky {

namespace {

// The window's colours. The type sizes are the ones the main window uses
// anyway (16 and 13 pixels bold, 13 and 11 pixels plain): every other size
// would be one more font face to match and load while a solo game starts.
// Everything is drawn with palettes and painted panels, not a style sheet:
// one over this window put the style sheet engine under each of its
// controls, at the cost of most of the window's making and showing.
const QColor PanelText(0x1b, 0x2a, 0x4e);
const QColor Navy(0x1d, 0x3f, 0x8f);
const QColor Brown(0x7a, 0x5a, 0x1f);
const QColor Grey(0x6b, 0x6b, 0x6b);
const QColor Green(0x2e, 0x8b, 0x3a);
const QColor Red(0xd9, 0x53, 0x4f);
const QColor Blue(0x24, 0x56, 0xc6);

// "IS CLOSED" over the advert: white bold capitals on a red rounded badge
// with a white edge.
class ClosedBadge : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        {
            QPainter painter(this);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(QPen(Qt::white, 2.0));
            painter.setBrush(QColor(0xc6, 0x28, 0x28));
            painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 6, 6);
        }
        QLabel::paintEvent(event);
    }
};

QFont typeOf(const QWidget *widget, int pixels, bool bold)
{
    QFont font = widget->font();
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

FlatPanel *whitePanel(const QString &name, QWidget *parent)
{
    auto *panel = new FlatPanel(parent);
    panel->setObjectName(name);
    panel->setFill(Qt::white);
    panel->setBorder(QColor());
    panel->setRadius(10);
    setTextColour(panel, PanelText);
    return panel;
}

QLabel *wrappedText(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

FlatButton *panelButton(const QString &name, const QString &text, const QColor &accent,
                        QWidget *parent)
{
    auto *button = new FlatButton(text, parent);
    button->setObjectName(name);
    button->setAccent(accent);
    button->setMinimumHeight(32);
    return button;
}

// A right-hand panel: a paragraph over a centred blue button, with the
// panel's spare height under them.
struct ChoicePanel
{
    FlatPanel *panel;
    QVBoxLayout *layout;
    FlatButton *button;
};

ChoicePanel choicePanel(const QString &name, int bottomMargin, const QString &textName,
                        const QString &text, const QString &buttonName, const QString &caption,
                        QWidget *parent)
{
    FlatPanel *panel = whitePanel(name, parent);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(18, 18, 18, bottomMargin);
    layout->setSpacing(12);
    QLabel *paragraph = wrappedText(textName, text, panel);
    paragraph->setFont(typeOf(paragraph, 13, false));
    layout->addWidget(paragraph);
    FlatButton *button = panelButton(buttonName, caption, Blue, panel);
    button->setMinimumWidth(180);
    layout->addWidget(button, 0, Qt::AlignHCenter);
    layout->addStretch();
    return {panel, layout, button};
}

} // namespace

QImage Tdownload::advertPicture()
{
    return Tabout::picture(QStringLiteral("lobby.jpg"));
}

void Tdownload::setAdvertSource(std::function<QImage()> source)
{
    m_advertSource = std::move(source);
}

void Tdownload::ensureBuilt()
{
    if (m_getbutton)
        return;

    // Left panel: the lobby advert and the download.
    FlatPanel *left = whitePanel(QStringLiteral("panel_download"), this);
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(16, 16, 16, 14);
    leftLayout->setSpacing(8);

    auto *advert = new QLabel(left);
    advert->setObjectName(QStringLiteral("image_lobby"));
    advert->setAlignment(Qt::AlignCenter);
    QImage picture = m_advertSource ? std::exchange(m_advertSource, {})() : QImage();
    advert->setPixmap(QPixmap::fromImage(picture.isNull() ? advertPicture() : std::move(picture)));
    advert->setFixedSize(320, 200);
    auto *closedLabel = new ClosedBadge(QStringLiteral("IS CLOSED"), advert);
    closedLabel->setObjectName(QStringLiteral("label_isclosed"));
    closedLabel->setFont(typeOf(closedLabel, 16, true));
    setTextColour(closedLabel, Qt::white);
    closedLabel->setContentsMargins(12, 4, 12, 4);
    closedLabel->adjustSize();
    closedLabel->move((advert->width() - closedLabel->width()) / 2, 56);
    leftLayout->addWidget(advert, 0, Qt::AlignHCenter);

    QLabel *pitch = wrappedText(
        QStringLiteral("label_pitch"),
        QStringLiteral("Download The Pellix Lobby Now to play this  and other exciting games "
                       "online with other players!"),
        left);
    pitch->setFont(typeOf(pitch, 13, true));
    setTextColour(pitch, Navy);
    leftLayout->addWidget(pitch);
    leftLayout->addStretch();

    m_getbutton = panelButton(QStringLiteral("getbutton"),
                              QStringLiteral("Download And Install The Pellix Lobby Now"), Green, left);
    m_getbutton->setFont(typeOf(m_getbutton, 13, true));
    connect(m_getbutton, &QPushButton::clicked, this, &Tdownload::getbuttonClick);
    leftLayout->addWidget(m_getbutton);

    m_infolabel = new QLabel(left);
    m_infolabel->setObjectName(QStringLiteral("infolabel"));
    QFont bold = m_infolabel->font();
    bold.setBold(true);
    m_infolabel->setFont(bold);
    setTextColour(m_infolabel, Navy);
    m_infolabel->setAlignment(Qt::AlignCenter);
    leftLayout->addWidget(m_infolabel);
    m_infolabel3 = new QLabel(left);
    m_infolabel3->setObjectName(QStringLiteral("infolabel3"));
    plaintext::keep(m_infolabel3); // names the installer's file
    setTextColour(m_infolabel3, Brown);
    m_infolabel3->setAlignment(Qt::AlignCenter);
    leftLayout->addWidget(m_infolabel3);
    m_infolabel2 = new QLabel(left);
    m_infolabel2->setObjectName(QStringLiteral("infolabel2"));
    plaintext::keep(m_infolabel2);
    m_infolabel2->hide();

    m_abortbutton = panelButton(QStringLiteral("abortbutton"), QStringLiteral("Stop Download"), Red, left);
    m_abortbutton->setEnabled(false);
    connect(m_abortbutton, &QPushButton::clicked, this, &Tdownload::abortbuttonClick);
    leftLayout->addWidget(m_abortbutton, 0, Qt::AlignHCenter);

    // Upper right panel: play alone, with a note under the spare height.
    const ChoicePanel solo = choicePanel(
        QStringLiteral("panel_solo"), 14, QStringLiteral("label_solo"),
        QStringLiteral("To proceed to the game without the ability to play against others "
                       "click the button below."),
        QStringLiteral("Button1"), QStringLiteral("Play Solo Game"), this);
    m_button1 = solo.button;
    connect(m_button1, &QPushButton::clicked, this, &Tdownload::Button1Click);
    QLabel *firewall = wrappedText(
        QStringLiteral("label_firewall"),
        QStringLiteral("Note: Even if you are playing offline, you will need to configure your "
                       "FIREWALL to allow the game to access the internet components."),
        solo.panel);
    firewall->setFont(typeOf(firewall, 11, false));
    setTextColour(firewall, Grey);
    solo.layout->addWidget(firewall);

    // Lower right panel: an installed lobby.
    const ChoicePanel others = choicePanel(
        QStringLiteral("panel_others"), 18, QStringLiteral("label_others"),
        QStringLiteral("If you already have The Pellix Lobby and you wish to play with others "
                       "then click the button below to close this game and open The Pellix "
                       "Lobby."),
        QStringLiteral("Button2"), QStringLiteral("Play with Others"), this);
    m_button2 = others.button;
    connect(m_button2, &QPushButton::clicked, this, &Tdownload::Button2Click);

    auto *right = new QVBoxLayout;
    right->setSpacing(12);
    right->addWidget(solo.panel, 1);
    right->addWidget(others.panel, 1);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(12);
    layout->addWidget(left, 1);
    layout->addLayout(right, 1);

    // Names for screen readers, once every control is made.
    nameControls(this);
}

} // namespace zwonky
