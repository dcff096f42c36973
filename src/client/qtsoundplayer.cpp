#include "client/qtsoundplayer.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace zwonky {

QtSoundPlayer::QtSoundPlayer(QObject *parent) : QObject(parent) {}

QtSoundPlayer::~QtSoundPlayer() = default;

QString QtSoundPlayer::clipResource(SoundClip clip)
{
    const QString name = clipName(clip);
    if (name.isEmpty())
        return {};
    const QString resource = QStringLiteral(":/sounds/%1.wav").arg(name);
    return QFile::exists(resource) ? resource : QString();
}

bool QtSoundPlayer::audioAvailable()
{
    // Asked once: a machine without an audio output plays nothing.
    if (m_audioState < 0)
        m_audioState = QMediaDevices::defaultAudioOutput().isNull() ? 0 : 1;
    return m_audioState == 1;
}

QSoundEffect *QtSoundPlayer::effectFor(const QString &resource)
{
    auto found = m_effects.constFind(resource);
    if (found != m_effects.constEnd())
        return found.value();
    auto *effect = new QSoundEffect(this);
    effect->setSource(QUrl(QStringLiteral("qrc") + resource));
    m_effects.insert(resource, effect);
    return effect;
}

void QtSoundPlayer::play(SoundClip clip)
{
    stop();
    const QString resource = clipResource(clip);
    if (resource.isEmpty())
        return;
    m_currentClip = clipName(clip);
    if (!audioAvailable())
        return;
    QSoundEffect *effect = effectFor(resource);
    m_current = effect;
    // Plays as soon as the clip is loaded; returns at once.
    effect->play();
}

void QtSoundPlayer::stop()
{
    if (m_current)
        m_current->stop();
    m_current = nullptr;
    m_currentClip.clear();
}

} // namespace zwonky
