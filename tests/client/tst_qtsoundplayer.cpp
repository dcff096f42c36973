#include "client/qtsoundplayer.h"

#include <QFile>
#include <QSoundEffect>
#include <QtEndian>
#include <QtTest>

using zwonky::QtSoundPlayer;

class TestQtSoundPlayer : public QObject
{
    Q_OBJECT
private slots:
    void everyClipIsASmallMonoWave();
    void clipsFoundWithoutRegardToCase_data();
    void clipsFoundWithoutRegardToCase();
    void playingNeverFails();
    void clipsDecode();
};

// Qt's own loader reads every clip (loading needs no audio output).
void TestQtSoundPlayer::clipsDecode()
{
    for (const QString &name : QtSoundPlayer::clipNames()) {
        QSoundEffect effect;
        effect.setSource(QUrl(QStringLiteral("qrc") + QtSoundPlayer::clipResource(name)));
        QTRY_COMPARE(effect.status(), QSoundEffect::Ready);
    }
}

void TestQtSoundPlayer::everyClipIsASmallMonoWave()
{
    const QStringList names = QtSoundPlayer::clipNames();
    QCOMPARE(names.size(), 27);
    qint64 total = 0;
    for (const QString &name : names) {
        QFile clip(QtSoundPlayer::clipResource(name));
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

void TestQtSoundPlayer::clipsFoundWithoutRegardToCase_data()
{
    QTest::addColumn<QString>("clip");
    QTest::addColumn<QString>("resource");
    QTest::newRow("upper") << "BADWORD" << ":/sounds/BADWORD.wav";
    QTest::newRow("lower") << "wave13" << ":/sounds/WAVE13.wav";
    QTest::newRow("mixed") << "TurnNew" << ":/sounds/TURNNEW.wav";
    QTest::newRow("unknown") << "wave15" << "";
    QTest::newRow("path-like") << "../BADWORD" << "";
    QTest::newRow("empty") << "" << "";
}

void TestQtSoundPlayer::clipsFoundWithoutRegardToCase()
{
    QFETCH(QString, clip);
    QFETCH(QString, resource);
    QCOMPARE(QtSoundPlayer::clipResource(clip), resource);
}

void TestQtSoundPlayer::playingNeverFails()
{
    // With or without an audio output (test machines have none) playing
    // returns at once and a new clip replaces the one playing.
    QtSoundPlayer player;
    for (const QString &name : QtSoundPlayer::clipNames())
        player.play(name);
    QCOMPARE(player.currentClip(), QStringLiteral("WAVE14"));
    player.play(QStringLiteral("timeup"));
    player.play(QStringLiteral("showlist"));
    QCOMPARE(player.currentClip(), QStringLiteral("SHOWLIST"));
    // An unknown clip stops the one playing and plays nothing.
    player.play(QStringLiteral("nosuchclip"));
    QCOMPARE(player.currentClip(), QString());
    player.play(QStringLiteral("gameover"));
    player.stop();
    player.stop();
    QCOMPARE(player.currentClip(), QString());
}

QTEST_GUILESS_MAIN(TestQtSoundPlayer)
#include "tst_qtsoundplayer.moc"
