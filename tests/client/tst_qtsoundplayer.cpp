#include "client/qtsoundplayer.h"

#include <QFile>
#include <QSoundEffect>
#include <QtEndian>
#include <QtTest>

using zwonky::QtSoundPlayer;
using zwonky::SoundClip;

class TestQtSoundPlayer : public QObject
{
    Q_OBJECT
private slots:
    void everyClipIsASmallMonoWave();
    void everyClipHasItsResource();
    void playingNeverFails();
    void clipsDecode();
};

// Qt's own loader reads every clip (loading needs no audio output).
void TestQtSoundPlayer::clipsDecode()
{
    for (const SoundClip clip : zwonky::allSoundClips()) {
        QSoundEffect effect;
        effect.setSource(QUrl(QStringLiteral("qrc") + QtSoundPlayer::clipResource(clip)));
        QTRY_COMPARE(effect.status(), QSoundEffect::Ready);
    }
}

void TestQtSoundPlayer::everyClipIsASmallMonoWave()
{
    QCOMPARE(zwonky::allSoundClips().size(), std::size_t(27));
    qint64 total = 0;
    for (const SoundClip each : zwonky::allSoundClips()) {
        const QString name = zwonky::clipName(each);
        QFile clip(QtSoundPlayer::clipResource(each));
        QVERIFY2(clip.open(QIODevice::ReadOnly), qPrintable(name));
        const QByteArray data = clip.readAll();
        total += data.size();
        QVERIFY2(data.size() > 44, qPrintable(name));
        QCOMPARE(data.left(4), QByteArray("RIFF"));
        QCOMPARE(data.mid(8, 8), QByteArray("WAVEfmt "));
        QCOMPARE(qFromLittleEndian<quint32>(data.constData() + 4), quint32(data.size() - 8));
        QCOMPARE(qFromLittleEndian<quint16>(data.constData() + 20), quint16(1)); // PCM
        QCOMPARE(qFromLittleEndian<quint16>(data.constData() + 22), quint16(1)); // mono
        QCOMPARE(qFromLittleEndian<quint16>(data.constData() + 34), quint16(16));
    }
    QVERIFY2(total < 1024 * 1024, "the clips should stay small");
}

void TestQtSoundPlayer::everyClipHasItsResource()
{
    QCOMPARE(QtSoundPlayer::clipResource(SoundClip::BadWord), QStringLiteral(":/sounds/BADWORD.wav"));
    QCOMPARE(QtSoundPlayer::clipResource(SoundClip::Wave13), QStringLiteral(":/sounds/WAVE13.wav"));
    QCOMPARE(QtSoundPlayer::clipResource(SoundClip::TurnNew), QStringLiteral(":/sounds/TURNNEW.wav"));
    QCOMPARE(QtSoundPlayer::clipResource(SoundClip(99)), QString());
}

void TestQtSoundPlayer::playingNeverFails()
{
    // With or without an audio output (test machines have none) playing
    // returns at once and a new clip replaces the one playing.
    QtSoundPlayer player;
    for (const SoundClip clip : zwonky::allSoundClips())
        player.play(clip);
    QCOMPARE(player.currentClip(), QStringLiteral("WAVE14"));
    player.play(SoundClip::TimeUp);
    player.play(SoundClip::ShowList);
    QCOMPARE(player.currentClip(), QStringLiteral("SHOWLIST"));
    // A value outside the table stops the one playing and plays nothing.
    player.play(SoundClip(99));
    QCOMPARE(player.currentClip(), QString());
    player.play(SoundClip::GameOver);
    player.stop();
    player.stop();
    QCOMPARE(player.currentClip(), QString());
}

QTEST_GUILESS_MAIN(TestQtSoundPlayer)
#include "tst_qtsoundplayer.moc"
