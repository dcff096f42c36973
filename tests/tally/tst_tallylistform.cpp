#include "net/zwonkyerror.h"
#include "tally/lzrw1.h"
#include "tally/pellixstrgrid.h"
#include "tally/tallylistform.h"
#include "support/fulldisk.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

using zwonky::StringGrid;
using zwonky::Ttallylist;

namespace {

// One tally window over a private folder, with the questions it asks and
// the errors it reports recorded instead of shown.
class TallyUnderTest
{
public:
    TallyUnderTest() { open(); }

    void open()
    {
        window = std::make_unique<Ttallylist>();
        window->setTallyFolder(folder());
        window->setConfirmer([this](const QString &question) {
            questions.append(question);
            return answer;
        });
        window->setErrorReporter([this](const QString &text) { errors.append(text); });
        window->loadtally();
    }
    // The end of one run and the start of the next.
    void restart()
    {
        window.reset();
        open();
    }

    QListWidget *tallied() const { return control<QListWidget>("listbox_tally"); }
    QListWidget *inGame() const { return control<QListWidget>("checklist"); }
    QString text(const char *name) const { return control<QLabel>(name)->text(); }

    template<typename Control>
    Control *control(const char *name) const
    {
        window->ensureBuilt();
        return window->findChild<Control *>(name);
    }

    QStringList names(QListWidget *list) const
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out.append(list->item(i)->text());
        return out;
    }

    // The user ticks the names in "Players In Current Game".
    void tally(const QStringList &board, const QStringList &chosen)
    {
        window->loadchecklist(board);
        for (int i = 0; i < inGame()->count(); ++i) {
            if (chosen.contains(inGame()->item(i)->text()))
                inGame()->item(i)->setCheckState(Qt::Checked);
        }
    }

    // What the record panel shows for one opponent: label_1 .. label_8.
    QStringList record(const QString &name) const
    {
        tallied()->setCurrentRow(names(tallied()).indexOf(name));
        QStringList out;
        for (int i = 1; i <= 8; ++i)
            out.append(text(qPrintable(QStringLiteral("label_%1").arg(i))));
        return out;
    }

    QStringList own() const
    {
        return {text("mylabel_1"), text("mylabel_2"), text("mylabel_3"), text("mylabel_4")};
    }

    QString folder() const { return otherFolder.isEmpty() ? dir.path() : otherFolder; }
    QString filePath() const { return QDir(folder()).filePath(Ttallylist::FileName); }

    QTemporaryDir dir;
    QString otherFolder;
    std::unique_ptr<Ttallylist> window;
    QStringList questions;
    QStringList errors;
    bool answer = true;
};

QStringList counters(std::initializer_list<int> values)
{
    QStringList out;
    for (int v : values)
        out.append(QString::number(v));
    return out;
}

QByteArray packedGrid(const StringGrid &grid)
{
    const QByteArray text = zwonky::gridToText(grid);
    zwonky::Tlzrw1 codec;
    const auto packed = codec.compressData(
        {reinterpret_cast<const std::uint8_t *>(text.constData()), static_cast<std::size_t>(text.size())});
    return QByteArray(reinterpret_cast<const char *>(packed.data()), static_cast<qsizetype>(packed.size()));
}

QByteArray unpacked(const QByteArray &container)
{
    zwonky::Tlzrw1 codec;
    const auto text = codec.decompressData(
        {reinterpret_cast<const std::uint8_t *>(container.constData()), static_cast<std::size_t>(container.size())});
    return QByteArray(reinterpret_cast<const char *>(text.data()), static_cast<qsizetype>(text.size()));
}

QByteArray readFile(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString &name, const QByteArray &data)
{
    QFile f(name);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

} // namespace

class TestTallylist : public QObject
{
    Q_OBJECT
private slots:
    void emptyTallyAtFirstStart();
    void gameResults_data();
    void gameResults();
    void teamWinChangesNothing();
    void watcherNeverChangesTally();
    void boardIsReadAtGameEnd();
    void highestScoresShown();
    void restartKeepsAllTimeAndZeroesSession();
    void deletingAnOpponent_data();
    void deletingAnOpponent();
    void deleteAnsweredNoKeepsOpponent();
    void namesMatchWithoutCase();
    void resetTally();
    void undecodableFileIsKeptAsBad();
    void savedFileIsTheCompressedGrid();
    void counterThatIsNotANumberFails();
    void neverLoadedTallyIsNotWritten();
    void savedTallyIsNotWrittenAgainAtTheEnd();
    void doneHidesTheWindow();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void controlsAreMadeWhenFirstShown();
};

void TestTallylist::emptyTallyAtFirstStart()
{
    TallyUnderTest t;
    QCOMPARE(t.window->windowTitle(), QStringLiteral("Zwonky - Tally List"));
    QCOMPARE(t.own(), counters({0, 0, 0, 0}));
    QCOMPARE(t.tallied()->count(), 0);
    QCOMPARE(t.window->grid().rowCount(), 1);
    QVERIFY(t.errors.isEmpty());
    QCOMPARE(t.control<QPushButton>("button_reset")->text(), QStringLiteral("Reset Tally"));
}

void TestTallylist::gameResults_data()
{
    QTest::addColumn<QString>("winner");
    QTest::addColumn<QStringList>("ownTotals");
    QTest::addColumn<QStringList>("ann");
    QTest::addColumn<QStringList>("bob");

    QTest::newRow("own win, two tallied opponents")
        << "addtomine" << counters({1, 1, 0, 0}) << counters({1, 0, 1, 0, 1, 0, 1, 0})
        << counters({1, 0, 1, 0, 1, 0, 1, 0});
    QTest::newRow("Ann wins, Bob present")
        << "Ann" << counters({1, 0, 0, 0}) << counters({1, 1, 0, 0, 1, 1, 0, 0})
        << counters({1, 0, 0, 1, 1, 0, 0, 1});
    QTest::newRow("untallied Cy wins") << "Cy" << counters({1, 0, 0, 0}) << counters({1, 0, 0, 1, 1, 0, 0, 1})
                                       << counters({1, 0, 0, 1, 1, 0, 0, 1});
}

void TestTallylist::gameResults()
{
    QFETCH(QString, winner);
    QFETCH(QStringList, ownTotals);
    QFETCH(QStringList, ann);
    QFETCH(QStringList, bob);

    TallyUnderTest t;
    t.tally({"Ann", "Bob", "Cy", "<Waiting>", "<Waiting>"}, {"Ann", "Bob"});
    QCOMPARE(t.names(t.inGame()), (QStringList{"Ann", "Bob", "Cy"}));
    QCOMPARE(t.names(t.tallied()), (QStringList{"Ann", "Bob"}));

    t.window->addgame(winner);
    QCOMPARE(t.own(), ownTotals);
    QCOMPARE(t.record("Ann"), ann);
    QCOMPARE(t.text("label_hisname"), QStringLiteral("Ann Wins:"));
    QCOMPARE(t.text("label_hisnametop"), QStringLiteral("Ann's Tally"));
    QCOMPARE(t.record("Bob"), bob);
}

void TestTallylist::teamWinChangesNothing()
{
    TallyUnderTest t;
    t.tally({"Ann", "Bob"}, {"Ann", "Bob"});
    const StringGrid before = t.window->grid();
    t.window->addgame("Ann and Bob");
    QCOMPARE(t.window->grid(), before);
    QCOMPARE(t.own(), counters({0, 0, 0, 0}));
}

void TestTallylist::watcherNeverChangesTally()
{
    TallyUnderTest t;
    t.tally({"Ann", "Cy"}, {"Ann", "Cy"});
    t.window->addgame("Ann");
    const StringGrid before = t.window->grid();

    // Cy only watches the next game: he is not on the board, so a game
    // played meanwhile leaves his record alone.
    t.window->loadchecklist({"Ann", "<Waiting>"});
    t.window->show();
    t.record("Cy");
    QCOMPARE(t.window->grid(), before);
    t.window->addgame("addtomine");
    QCOMPARE(t.record("Cy"), counters({1, 0, 0, 1, 1, 0, 0, 1}));
    QCOMPARE(t.record("Ann"), counters({2, 1, 1, 0, 2, 1, 1, 0}));
}

void TestTallylist::boardIsReadAtGameEnd()
{
    TallyUnderTest t;
    t.tally({"Ann", "Bob"}, {"Ann", "Bob"});
    // Bob left before the end; the window reads the board itself.
    t.window->setBoardNamesSource([] { return QStringList{"Ann", "<Waiting>"}; });
    t.window->addgame("Ann");
    QCOMPARE(t.names(t.inGame()), QStringList{"Ann"});
    QCOMPARE(t.record("Ann"), counters({1, 1, 0, 0, 1, 1, 0, 0}));
    QCOMPARE(t.record("Bob"), counters({0, 0, 0, 0, 0, 0, 0, 0}));
}

void TestTallylist::highestScoresShown()
{
    TallyUnderTest t;
    QCOMPARE(t.window->highestTurnScore(), 0);
    t.window->addscore(4, 120);
    t.window->addscore(3, 1040);
    QCOMPARE(t.text("mylabel_4"), QStringLiteral("120"));
    QCOMPARE(t.text("mylabel_3"), QStringLiteral("1040"));
    QCOMPARE(t.window->highestTurnScore(), 120);
    QCOMPARE(t.window->highestGameScore(), 1040);
    // A turn of 40 points with -500 stays below the record.
    QVERIFY(40 - 500 < t.window->highestTurnScore());
}

void TestTallylist::restartKeepsAllTimeAndZeroesSession()
{
    TallyUnderTest t;
    t.tally({"Ann", "Bob"}, {"Ann", "Bob"});
    t.window->addgame("addtomine");
    t.window->addgame("Ann");
    t.window->addscore(3, 1500);
    t.window->addscore(4, 300);
    QCOMPARE(t.record("Ann"), counters({2, 1, 1, 0, 2, 1, 1, 0}));

    t.restart();
    QVERIFY(t.errors.isEmpty());
    QCOMPARE(t.own(), counters({2, 1, 1500, 300}));
    QCOMPARE(t.names(t.tallied()), (QStringList{"Ann", "Bob"}));
    QCOMPARE(t.tallied()->item(0)->checkState(), Qt::Checked);
    QCOMPARE(t.record("Ann"), counters({2, 1, 1, 0, 0, 0, 0, 0}));
    QCOMPARE(t.record("Bob"), counters({2, 0, 1, 1, 0, 0, 0, 0}));

    t.window->loadchecklist({"Bob"});
    QCOMPARE(t.inGame()->item(0)->checkState(), Qt::Checked);
    t.window->addgame("Bob");
    QCOMPARE(t.record("Bob"), counters({3, 1, 1, 1, 1, 1, 0, 0}));
}

void TestTallylist::deletingAnOpponent_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("first of three") << 0 << QStringList{"Bob", "Cy"};
    QTest::newRow("last of three") << 2 << QStringList{"Ann", "Bob"};
}

void TestTallylist::deletingAnOpponent()
{
    QFETCH(int, index);
    QFETCH(QStringList, left);
    TallyUnderTest t;
    t.tally({"Ann", "Bob", "Cy"}, {"Ann", "Bob", "Cy"});
    t.window->addgame("Bob");
    t.window->loadchecklist({"Cy"});
    t.window->addgame("addtomine");
    const QString name = t.names(t.tallied()).at(index);

    t.tallied()->item(index)->setCheckState(Qt::Unchecked);
    QCOMPARE(t.questions, QStringList{"This will delete " + name + "'s Tally, Are you want to delete it?"});
    QCOMPARE(t.names(t.tallied()), left);
    QCOMPARE(t.window->grid().rowCount(), 3);
    for (int i = 0; i < 2; ++i)
        QCOMPARE(t.window->grid().cell(0, i + 1), left[i]);
    const QMap<QString, QStringList> records{{"Ann", counters({1, 0, 0, 1, 1, 0, 0, 1})},
                                            {"Bob", counters({1, 1, 0, 0, 1, 1, 0, 0})},
                                            {"Cy", counters({2, 0, 1, 1, 2, 0, 1, 1})}};
    for (const QString &opponent : left) {
        QCOMPARE(t.record(opponent), records[opponent]);
        QCOMPARE(t.text("label_hisnametop"), opponent + "'s Tally");
    }

    t.restart();
    QCOMPARE(t.names(t.tallied()), left);
}

void TestTallylist::deleteAnsweredNoKeepsOpponent()
{
    TallyUnderTest t;
    t.tally({"Ann", "Bob"}, {"Ann", "Bob"});
    t.answer = false;
    t.tallied()->item(0)->setCheckState(Qt::Unchecked);
    QCOMPARE(t.questions.size(), 1);
    QCOMPARE(t.tallied()->item(0)->checkState(), Qt::Checked);
    QCOMPARE(t.names(t.tallied()), (QStringList{"Ann", "Bob"}));
    QCOMPARE(t.window->grid().rowCount(), 3);
}

void TestTallylist::namesMatchWithoutCase()
{
    TallyUnderTest t;
    t.tally({"Bob"}, {"Bob"});
    t.window->loadchecklist({"bob", "Ann"});
    QCOMPARE(t.inGame()->item(0)->checkState(), Qt::Checked);
    QCOMPARE(t.inGame()->item(1)->checkState(), Qt::Unchecked);
    // Clicking an already tallied name adds nothing, even when it unticks it.
    t.inGame()->item(0)->setCheckState(Qt::Unchecked);
    QCOMPARE(t.names(t.tallied()), QStringList{"Bob"});
    t.window->addgame("bob");
    // The winner test is exact: "bob" is not the tallied "Bob".
    QCOMPARE(t.record("Bob"), counters({1, 0, 0, 1, 1, 0, 0, 1}));
}

void TestTallylist::resetTally()
{
    TallyUnderTest t;
    t.tally({"Ann"}, {"Ann"});
    t.window->addgame("Ann");
    t.window->addscore(3, 900);
    t.record("Ann");

    t.answer = false;
    t.control<QPushButton>("button_reset")->click();
    QCOMPARE(t.questions, QStringList{"Are you sure you want to reset the Tally?"});
    QCOMPARE(t.own(), counters({1, 0, 900, 0}));

    t.answer = true;
    t.window->button_resetClick();
    QCOMPARE(t.own(), counters({0, 0, 0, 0}));
    QCOMPARE(t.tallied()->count(), 0);
    QCOMPARE(t.window->grid().rowCount(), 1);
    for (int i = 1; i <= 8; ++i)
        QCOMPARE(t.text(qPrintable(QStringLiteral("label_%1").arg(i))), QStringLiteral("0"));
    QCOMPARE(t.text("label_hisnametop"), QStringLiteral("Ann's Tally"));
}

void TestTallylist::undecodableFileIsKeptAsBad()
{
    TallyUnderTest t;
    t.window.reset();
    const QByteArray garbage("not a tally at all");
    QVERIFY(writeFile(t.filePath(), garbage));

    t.open();
    QCOMPARE(t.errors, QStringList{t.filePath() + " : Lzrw1 decompression : this file has no valid header !"});
    QCOMPARE(t.own(), counters({0, 0, 0, 0}));
    QCOMPARE(readFile(t.filePath() + ".bad"), garbage);

    t.window->addscore(3, 700);
    QVERIFY(t.window->savetally());
    QCOMPARE(readFile(t.filePath() + ".bad"), garbage);
    t.restart();
    QVERIFY(t.errors.size() == 1);
    QCOMPARE(t.own(), counters({0, 0, 700, 0}));
}

void TestTallylist::savedFileIsTheCompressedGrid()
{
    TallyUnderTest t;
    t.tally({"Ann"}, {"Ann"});
    t.window->addgame("Ann");
    QVERIFY(t.window->savetally());

    // Only the tally file: no scratch file beside it or in the working folder.
    QCOMPARE(QDir(t.dir.path()).entryList(QDir::Files), QStringList{"zwonkytally.tld"});
    QVERIFY(!QFile::exists("temp.txt"));
    const QByteArray container = readFile(t.filePath());
    QVERIFY(container.startsWith("WRZL"));
    const QByteArray text = unpacked(container);
    QCOMPARE(text.count("\r\n"), 20);
    QVERIFY(text.startsWith("9\r\n2\r\n0\r\nAnn\r\n1\r\n1\r\n0\r\n1\r\n"));
}

void TestTallylist::counterThatIsNotANumberFails()
{
    TallyUnderTest t;
    t.window.reset();
    StringGrid grid(9, 2);
    for (int col = 0; col < 9; ++col) {
        grid.setCell(col, 0, "0");
        grid.setCell(col, 1, col == 0 ? "Ann" : "0");
    }
    grid.setCell(1, 1, "lots");
    QVERIFY(writeFile(t.filePath(), packedGrid(grid)));
    t.open();
    t.window->loadchecklist({"Ann"});
    try {
        t.window->addgame("Ann");
        QFAIL("a counter that is no number was incremented");
    } catch (const zwonky::ZwonkyError &e) {
        QCOMPARE(e.text(), QStringLiteral("'lots' is not a valid integer value"));
    }
}

void TestTallylist::neverLoadedTallyIsNotWritten()
{
    QTemporaryDir dir;
    {
        Ttallylist window;
        window.setTallyFolder(dir.path());
    }
    QVERIFY(!QFile::exists(dir.filePath(Ttallylist::FileName)));
}

void TestTallylist::savedTallyIsNotWrittenAgainAtTheEnd()
{
    TallyUnderTest t;
    t.tally({"Ann"}, {"Ann"});
    t.window->addgame("Ann");
    QVERIFY(t.window->savetally());
    // Stand-in contents: a second write would replace them.
    const QByteArray marker("written once");
    QVERIFY(writeFile(t.filePath(), marker));
    t.window.reset();
    QCOMPARE(readFile(t.filePath()), marker);

    // A change after the save is still written when the run ends.
    t.open();
    QVERIFY(t.window->savetally());
    t.window->addscore(3, 900);
    t.restart();
    QCOMPARE(t.own(), counters({0, 0, 900, 0}));
}

void TestTallylist::doneHidesTheWindow()
{
    TallyUnderTest t;
    t.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(t.window.get()));
    t.window->findChild<QPushButton *>("button_done")->click();
    QVERIFY(!t.window->isVisible());
}

void TestTallylist::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<bool>("onFullDisk");
    QTest::newRow("full disk") << true;
    QTest::newRow("file size limit") << false;
}

void TestTallylist::failedSaveKeepsOldFile()
{
    QFETCH(bool, onFullDisk);
    std::optional<zwonky::testkit::FullDisk> disk;
    TallyUnderTest t;
    if (onFullDisk) {
        disk.emplace();
        if (!disk->isMounted())
            QSKIP(qPrintable(disk->reason()));
        t.window.reset();
        t.otherFolder = disk->path();
        t.open();
    }
    t.tally({"Ann"}, {"Ann"});
    t.window->addgame("Ann");
    QVERIFY(t.window->savetally());
    const QByteArray old = readFile(t.filePath());
    QVERIFY(old.startsWith("WRZL"));

    // A longer tally than the one stored.
    const QStringList many = {"Bob", "Cid", "Dee", "Eve", "Fay"};
    t.tally(many, many);
    t.window->addgame("addtomine");
    const QString expected = QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(t.filePath());
    {
        std::optional<zwonky::testkit::FileSizeLimit> limit;
        if (onFullDisk)
            QVERIFY(disk->fill());
        else
            limit.emplace(rlim_t(old.size()));
        QVERIFY(!t.window->savetally());
        QCOMPARE(t.errors, QStringList{expected});
        QCOMPARE(readFile(t.filePath()), old);
        // The silent save at the end of the run fails the same way.
        t.window.reset();
        QCOMPARE(readFile(t.filePath()), old);
    }
    QCOMPARE(t.errors, QStringList{expected});
    QStringList left = QDir(t.folder()).entryList(QDir::Files);
    left.removeAll(QStringLiteral("filler"));
    QCOMPARE(left, QStringList{QString(Ttallylist::FileName)});
}

void TestTallylist::controlsAreMadeWhenFirstShown()
{
    // A player who never opens the window still has his tally loaded,
    // counted and saved.
    TallyUnderTest t;
    t.window->loadchecklist({"Ann", "Bob", "Cy"});
    t.window->checklistClickCheck(0);
    t.window->checklistClickCheck(1);
    t.window->addgame("Ann");
    t.window->addscore(3, 1500);
    QVERIFY(t.window->findChildren<QWidget *>().isEmpty());
    t.restart();
    t.window->loadchecklist({"Ann", "bob", "Cy", "<Waiting>"});
    t.window->addgame("Cy");
    t.window->addscore(4, 250);
    QVERIFY(!t.window->findChild<QListWidget *>("listbox_tally"));
    QVERIFY(t.errors.isEmpty());

    // Opened at last, it shows the tally as it is now.
    t.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(t.window.get()));
    QCOMPARE(t.own(), (QStringList{"2", "0", "1500", "250"}));
    QCOMPARE(t.names(t.tallied()), (QStringList{"Ann", "Bob"}));
    QCOMPARE(t.tallied()->accessibleName(), QStringLiteral("Tally"));
    QCOMPARE(t.names(t.inGame()), (QStringList{"Ann", "bob", "Cy"}));
    QCOMPARE(t.inGame()->item(1)->checkState(), Qt::Checked);
    QCOMPARE(t.inGame()->item(2)->checkState(), Qt::Unchecked);
    QCOMPARE(t.record("Bob"), counters({2, 0, 0, 2, 1, 0, 0, 1}));

    // From then on as always.
    t.inGame()->item(2)->setCheckState(Qt::Checked);
    t.window->addgame("addtomine");
    QCOMPARE(t.names(t.tallied()), (QStringList{"Ann", "Bob", "Cy"}));
    QCOMPARE(t.record("Cy"), counters({1, 0, 1, 0, 1, 0, 1, 0}));
    QCOMPARE(t.text("mylabel_1"), QStringLiteral("3"));
}

QTEST_MAIN(TestTallylist)
#include "tst_tallylistform.moc"
