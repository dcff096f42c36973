#include "client/phrasebuttons.h"

#include "client/chatsounds.h"
#include "widgets/scaledtext.h"
#include "widgets/plaintext.h"

#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QMenu>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace zwonky {

namespace {

constexpr int ButtonWidth = 22;
constexpr int ButtonPitch = 15;

// A phrase button draws its small caption from the bold type of the
// window's ordinary size, scaled down: its own size would be one more face
// to set up before the first paint, for a digit.
class PhraseButton : public QPushButton
{
public:
    PhraseButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        const QString caption = option.text;
        option.text.clear();
        painter.drawControl(QStyle::CE_PushButton, option);

        QFont reference = font();
        reference.setPixelSize(QFontInfo(QApplication::font()).pixelSize());
        const int wanted = font().pixelSize() > 0 ? font().pixelSize() : reference.pixelSize();
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                       QPalette::ButtonText));
        QRectF area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
        if (isDown())
            area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                           style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
        drawScaledText(painter, area, Qt::AlignCenter | Qt::TextShowMnemonic, caption, reference,
                       wanted);
    }
};

const QStringList &builtInPhrases()
{
    static const QStringList phrases{
        QStringLiteral("Way To Go!"), QStringLiteral("Good One!"),
        QStringLiteral("Nice Try!"),  QStringLiteral("Excellent!"),
        QStringLiteral("Brilliant!"), QStringLiteral("Wow, WTG!"),
        QStringLiteral("Thanks!"),    QStringLiteral("Way To Go Teamie!"),
        QStringLiteral("Good Game Everyone!"),
    };
    return phrases;
}

} // namespace

PhraseButtons::PhraseButtons(QWidget *pane) : QObject(pane), m_phrases(builtInPhrases())
{
    QFont buttonFont = pane->font();
    buttonFont.setPixelSize(9);
    buttonFont.setBold(true);
    for (int k = 1; k <= Count + 1; ++k) {
        auto *button = new PhraseButton(k <= Count ? QString::number(k) : QStringLiteral("\u266A"),
                                       pane);
        button->setObjectName(QStringLiteral("b_phrase%1").arg(k));
        button->setGeometry(0, (k - 1) * ButtonPitch, ButtonWidth, ButtonPitch - 1);
        button->setFont(buttonFont);
        button->setFocusPolicy(Qt::NoFocus);
        button->setToolTip(k <= Count ? m_phrases.at(k - 1) : QStringLiteral("See ya!"));
        if (k <= Count)
            connect(button, &QPushButton::clicked, this, [this, k] { emit phraseClicked(k); });
        else
            connect(button, &QPushButton::clicked, this, &PhraseButtons::soundsClicked);
        m_buttons[std::size_t(k)] = button;
    }

    m_soundsMenu = new QMenu(pane);
    m_soundsMenu->setObjectName(QStringLiteral("popup_sounds"));
    m_soundsMenu->setToolTipsVisible(true);
    QAction *cancel = m_soundsMenu->addAction(QStringLiteral("<Cancel>"));
    cancel->setObjectName(QStringLiteral("Cancel1"));
    cancel->setProperty("tag", 0);
    connect(cancel, &QAction::triggered, this, [this] { emit soundChosen(0); });
    const QStringList &captions = ChatSounds::chatterCaptions();
    for (int k = 1; k <= int(captions.size()); ++k) {
        QAction *entry = m_soundsMenu->addAction(captions.at(k - 1));
        entry->setObjectName(QStringLiteral("wave%1").arg(k));
        entry->setProperty("tag", k);
        entry->setToolTip(captions.at(k - 1));
        connect(entry, &QAction::triggered, this, [this, k] { emit soundChosen(k); });
    }
}

QString PhraseButtons::phrase(int button) const
{
    if (button < 1 || button > Count)
        return {};
    return m_phrases.at(button - 1);
}

QStringList PhraseButtons::phrases() const { return m_phrases; }

void PhraseButtons::setPhrase(int button, const QString &text)
{
    if (button < 1 || button > Count)
        return;
    m_phrases[button - 1] = text;
    m_buttons[std::size_t(button)]->setToolTip(plaintext::toolTip(text));
}

void PhraseButtons::tick()
{
    if (!m_ready)
        ++m_ticks;
    if (m_ticks > GateTicks) {
        m_ready = true;
        m_ticks = 0;
    }
}

void PhraseButtons::popUpSounds()
{
    QPushButton *button = m_buttons[std::size_t(Count + 1)];
    m_soundsMenu->popup(button->mapToGlobal(button->rect().bottomRight()));
}

} // namespace zwonky
