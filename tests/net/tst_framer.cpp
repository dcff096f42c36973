#include "net/framer.h"

#include <QTest>

using zwonky::Framer;

class TestFramer : public QObject
{
    Q_OBJECT
private slots:
    void twoMessagesInOneRead();
    void oneMessageOverSeveralReads();
    void doubleTerminatorYieldsEmptyEntry();
    void byteByByte();
    void pendingIsBounded();
};

void TestFramer::twoMessagesInOneRead()
{
    Framer f;
    const auto msgs = f.feed(QByteArray("CMD_turnend+\xFF" "CMD_nextplayer+2\xFF"));
    QCOMPARE(msgs.size(), 2);
    QCOMPARE(msgs[0], QByteArray("CMD_turnend+"));
    QCOMPARE(msgs[1], QByteArray("CMD_nextplayer+2"));
    QVERIFY(f.pending().isEmpty());
}

void TestFramer::oneMessageOverSeveralReads()
{
    Framer f;
    QVERIFY(f.feed("CMD_ch").isEmpty());
    QVERIFY(f.feed("at+1+hi").isEmpty());
    const auto msgs = f.feed(QByteArray("|clBlack\xFF" "CMD_x"));
    QCOMPARE(msgs, QList<QByteArray>{"CMD_chat+1+hi|clBlack"});
    QCOMPARE(f.pending(), QByteArray("CMD_x"));
}

void TestFramer::doubleTerminatorYieldsEmptyEntry()
{
    Framer f;
    const auto msgs = f.feed(QByteArray("CMD_logininfo+2+1.0.7+Ann\xFF\xFF"));
    QCOMPARE(msgs.size(), 2);
    QCOMPARE(msgs[0], QByteArray("CMD_logininfo+2+1.0.7+Ann"));
    QVERIFY(msgs[1].isEmpty());
}

void TestFramer::byteByByte()
{
    const QByteArray stream("CMD_a+1\xFF" "CMD_b+2\xFF");
    Framer f;
    QList<QByteArray> all;
    for (char c : stream)
        all += f.feed(QByteArray(1, c));
    QCOMPARE(all, (QList<QByteArray>{"CMD_a+1", "CMD_b+2"}));
}

void TestFramer::pendingIsBounded()
{
    Framer f;
    QVERIFY(f.feed(QByteArray(Framer::MaxPending, 'x')).isEmpty());
    QVERIFY(!f.overflowed());
    f.feed(QByteArray(10, 'x'));
    QVERIFY(f.overflowed());
    QVERIFY(f.pending().isEmpty());
    // Nothing more is taken from a connection that overflowed; its owner closes it.
    QVERIFY(f.feed(QByteArray("CMD_a+1\xFF")).isEmpty());
}

QTEST_GUILESS_MAIN(TestFramer)
#include "tst_framer.moc"
