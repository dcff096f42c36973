#pragma once

#include "audio/soundplayer.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

class QSoundEffect;

namespace zwonky {

// Plays the built-in WAVE clips (resources ":/sounds/<NAME>.wav") with
// QSoundEffect. One clip at a time: starting a clip stops the one playing.
// Playback is asynchronous; without an audio output nothing is played and
// nothing fails.
class QtSoundPlayer : public QObject, public SoundPlayer
{
    Q_OBJECT
public:
    explicit QtSoundPlayer(QObject *parent = nullptr);
    ~QtSoundPlayer() override;

    void play(SoundClip clip) override;
    void stop() override;

    // The file name of the clip asked for last and not stopped since ("" when
    // none), whether or not the machine can be heard.
    QString currentClip() const { return m_currentClip; }

    // The resource path of a clip, or empty when the program lacks it.
    static QString clipResource(SoundClip clip);

private:
    bool audioAvailable();
    QSoundEffect *effectFor(const QString &resource);

    QHash<QString, QSoundEffect *> m_effects;
    QPointer<QSoundEffect> m_current;
    QString m_currentClip;
    int m_audioState = -1; // -1 not yet asked, 0 no output, 1 output present
};

} // namespace zwonky
