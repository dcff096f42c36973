// Bytes of the program's own read-only data copied out by the kernel: the
// same bytes, and a clean refusal for bytes the program file does not hold.
#include "dictionary/programbytes.h"

#include <QByteArray>
#include <QTemporaryFile>
#include <QTest>

using namespace zwonky;

namespace {

// Read-only data of this program, larger than the probes at either end.
constexpr char Passage[] =
    "AARDVARK       ABACUS         ABANDON        ABASH          ABATE          "
    "ABBEY          ABBOT          ABDOMEN        ABIDE          ABILITY        "
    "ABLAZE         ABOARD         ABODE          ABOLISH        ABOUND         "
    "ABRASIVE       ABROAD         ABRUPT         ABSENCE        ABSOLUTE       "
    "ABSORB         ABSTAIN        ABSURD         ABUNDANT       ABUSE          "
    "ABYSS          ACADEMY        ACCENT         ACCEPT         ACCESS         "
    "ACCIDENT       ACCLAIM        ACCORD         ACCOUNT        ACCUSE         "
    "ACHIEVE        ACID           ACORN          ACOUSTIC       ACQUIRE        "
    "ACROBAT        ACROSS         ACTIVE         ACTOR          ACTUAL         ";

QByteArray contents(QTemporaryFile &file)
{
    file.seek(0);
    return file.readAll();
}

} // namespace

class TestProgramBytes : public QObject
{
    Q_OBJECT
private slots:
    void copiesTheProgramsOwnBytes()
    {
        QTemporaryFile out;
        QVERIFY(out.open());
        const qsizetype size = qsizetype(sizeof Passage - 1);
        QVERIFY(copyProgramBytes(Passage, size, out.handle()));
        QCOMPARE(contents(out), QByteArray(Passage, size));
        // A part of them, from inside.
        QTemporaryFile part;
        QVERIFY(part.open());
        QVERIFY(copyProgramBytes(Passage + 75, 300, part.handle()));
        QCOMPARE(contents(part), QByteArray(Passage + 75, 300));
    }

    void refusesBytesTheProgramFileDoesNotHold()
    {
        QTemporaryFile out;
        QVERIFY(out.open());
        const QByteArray onTheHeap(Passage, qsizetype(sizeof Passage - 1));
        QVERIFY(!copyProgramBytes(onTheHeap.constData(), onTheHeap.size(), out.handle()));
        char onTheStack[64] = "ABACUS";
        QVERIFY(!copyProgramBytes(onTheStack, sizeof onTheStack, out.handle()));
        QVERIFY(!copyProgramBytes(Passage, 0, out.handle()));
        QVERIFY(!copyProgramBytes(Passage, 10, -1));
        QCOMPARE(contents(out), QByteArray());
    }
};

QTEST_MAIN(TestProgramBytes)
#include "tst_programbytes.moc"
