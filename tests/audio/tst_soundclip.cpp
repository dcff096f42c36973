// The clip table: every clip's file name, names read back without regard to
// case, and the chatter numbers a peer may send.

#include "audio/soundclip.h"

#include <QtTest>

#include <set>

using namespace zwonky;

class TestSoundClip : public QObject
{
    Q_OBJECT
private slots:
    void namesRoundTrip();
    void namesFoundWithoutRegardToCase_data();
    void namesFoundWithoutRegardToCase();
    void chatterNumbers();
};

void TestSoundClip::namesRoundTrip()
{
    std::set<QString> seen;
    for (const SoundClip clip : allSoundClips()) {
        const QString name = clipName(clip);
        QVERIFY2(!name.isEmpty() && name == name.toUpper(), qPrintable(name));
        QVERIFY2(seen.insert(name).second, qPrintable(name));
        QCOMPARE(clipNamed(name), std::optional<SoundClip>(clip));
    }
    QCOMPARE(int(seen.size()), SoundClipCount);
    QCOMPARE(clipName(SoundClip(-1)), QString());
    QCOMPARE(clipName(SoundClip(SoundClipCount)), QString());
}

void TestSoundClip::namesFoundWithoutRegardToCase_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("clip");
    QTest::newRow("upper") << "BADWORD" << "BADWORD";
    QTest::newRow("lower") << "wave13" << "WAVE13";
    QTest::newRow("mixed") << "TurnNew" << "TURNNEW";
    QTest::newRow("blanks") << " wave3 " << "WAVE3";
    QTest::newRow("unknown") << "wave15" << "";
    QTest::newRow("path-like") << "../BADWORD" << "";
    QTest::newRow("prefix") << "WAVE" << "";
    QTest::newRow("empty") << "" << "";
}

void TestSoundClip::namesFoundWithoutRegardToCase()
{
    QFETCH(QString, name);
    QFETCH(QString, clip);
    const std::optional<SoundClip> found = clipNamed(name);
    QCOMPARE(found ? clipName(*found) : QString(), clip);
}

void TestSoundClip::chatterNumbers()
{
    QCOMPARE(chatterClip(1), std::optional<SoundClip>(SoundClip::Wave1));
    QCOMPARE(chatterClip(14), std::optional<SoundClip>(SoundClip::Wave14));
    QCOMPARE(chatterClip(0), std::nullopt);
    QCOMPARE(chatterClip(15), std::nullopt);
    QCOMPARE(chatterClip(-3), std::nullopt);
    for (int k = 1; k <= ChatterClipCount; ++k)
        QCOMPARE(clipName(*chatterClip(k)), QStringLiteral("WAVE%1").arg(k));
}

QTEST_GUILESS_MAIN(TestSoundClip)
#include "tst_soundclip.moc"
