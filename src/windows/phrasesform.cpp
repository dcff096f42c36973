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

    resize(360, 330);
    // Names for screen readers, once every control is made.
    nameControls(this);
}

void Tphrases::setPhrases(const QStringList &phrases)
{
    for (int k = 0; k < PhraseCount; ++k)
        m_fields[k]->setText(k < phrases.size() ? phrases.at(k).left(MaxPhraseLength) : QString());
}

QStringList Tphrases::phrases() const
{
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
