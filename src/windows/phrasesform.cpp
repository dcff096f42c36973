#include "windows/phrasesform.h"
#include "windows/controlnames.h"

#include "widgets/flatbutton.h"
#include "widgets/flatpanel.h"
#include "widgets/placement.h"
#include "widgets/tiledbackground.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace zwonky {

Tphrases::Tphrases(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("phrases"));
    setWindowTitle(QStringLiteral("Zwonky - Phrase Buttons"));
    resize(360, 330);
    m_texts.resize(PhraseCount);
}

void Tphrases::ensureBuilt()
{
    if (m_built)
        return;
    m_built = true;

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *background = new TiledBackground(this);
    outer->addWidget(background);

    auto *backgroundLayout = new QVBoxLayout(background);
    backgroundLayout->setContentsMargins(10, 10, 10, 10);
    auto *panel = new FlatPanel(background);
    backgroundLayout->addWidget(panel);

    auto *form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    for (int k = 1; k <= PhraseCount; ++k) {
        auto *field = new QLineEdit(panel);
        field->setObjectName(QStringLiteral("phrase%1").arg(k));
        field->setMaxLength(MaxPhraseLength);
        field->setText(m_texts.at(k - 1));
        auto *label = new QLabel(QStringLiteral("Phrase Button %1:").arg(k), panel);
        label->setBuddy(field);
        form->addRow(label, field);
        m_fields[k - 1] = field;
    }

    m_done = new FlatButton(QStringLiteral("Done"), panel);
    m_done->setObjectName(QStringLiteral("SelButton8"));
    connect(m_done, &QPushButton::clicked, this, &Tphrases::SelButton8Click);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_done);

    auto *panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(12, 12, 12, 12);
    panelLayout->addLayout(form);
    panelLayout->addLayout(buttons);

    // Names for screen readers, once every control is made.
    nameControls(this);
}

void Tphrases::setVisible(bool visible)
{
    // The fields are laid out only for a player who opens the editor.
    if (visible)
        ensureBuilt();
    QWidget::setVisible(visible);
}

void Tphrases::setPhrases(const QStringList &phrases)
{
    for (int k = 0; k < PhraseCount; ++k) {
        m_texts[k] = k < phrases.size() ? phrases.at(k).left(MaxPhraseLength) : QString();
        if (m_built)
            m_fields[k]->setText(m_texts.at(k));
    }
}

QStringList Tphrases::phrases() const
{
    // Once made, the fields hold the player's edits.
    if (!m_built)
        return m_texts;
    QStringList texts;
    for (const QLineEdit *field : m_fields)
        texts.append(field->text());
    return texts;
}

void Tphrases::showOver(QWidget *mainWindow)
{
    m_centreOn = mainWindow;
    show();
    centre();
    raise();
    activateWindow();
}

void Tphrases::SelButton8Click()
{
    emit phrasesDone(phrases());
    close();
}

void Tphrases::centre()
{
    centreWindow(this, m_centreOn);
}

} // namespace zwonky
