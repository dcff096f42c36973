// Accessible names come from one table keyed by window class and control
// name: a control deep inside its window is named, every control of that
// name is, and a control of the same name in another window class is not.
#include "windows/controlnames.h"
#include "windows/spylistform.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace fakes {

// Stand-ins by class name: the table is keyed by the bare class name.
class Tabout : public QWidget
{
    Q_OBJECT
};

class Tnobody : public QWidget
{
    Q_OBJECT
};

} // namespace fakes

class TestControlNames : public QObject
{
    Q_OBJECT
private slots:
    void realWindowIsNamed()
    {
        zwonky::Tspylist spies;
        spies.ensureBuilt();
        auto *list = spies.findChild<QListWidget *>(QStringLiteral("listbox_spys"));
        QVERIFY(list);
        QCOMPARE(list->accessibleName(), QStringLiteral("Spies"));
        QCOMPARE(list->accessibleDescription(), QStringLiteral("The spectators watching the game"));
        auto *close = spies.findChild<QPushButton *>(QStringLiteral("Button1"));
        QVERIFY(close);
        QCOMPARE(close->accessibleDescription(), QStringLiteral("Closes the spy list"));
        // No name in the table: the button keeps its caption as its name.
        QVERIFY(close->accessibleName().isEmpty());
    }

    void nestedAndRepeatedControlsOfTheClassOnly()
    {
        fakes::Tabout about;
        auto *frame = new QWidget(&about);
        auto *inner = new QWidget(frame);
        auto *deep = new QLabel(inner);
        deep->setObjectName(QStringLiteral("Image1"));
        auto *twin = new QLabel(&about);
        twin->setObjectName(QStringLiteral("Image1"));
        auto *unnamed = new QLabel(&about);
        auto *other = new QPushButton(&about);
        other->setObjectName(QStringLiteral("listbox_spys")); // a name of another window

        fakes::Tnobody nobody;
        auto *stranger = new QLabel(&nobody);
        stranger->setObjectName(QStringLiteral("Image1"));

        zwonky::nameControls(&about);
        zwonky::nameControls(&nobody);
        zwonky::nameControls(nullptr);

        QCOMPARE(deep->accessibleName(), QStringLiteral("Zwonky"));
        QCOMPARE(deep->accessibleDescription(), QStringLiteral("The game's picture"));
        QCOMPARE(twin->accessibleName(), QStringLiteral("Zwonky"));
        QVERIFY(unnamed->accessibleName().isEmpty());
        QVERIFY(other->accessibleName().isEmpty());
        QVERIFY(other->accessibleDescription().isEmpty());
        QVERIFY(stranger->accessibleName().isEmpty());
    }
};

QTEST_MAIN(TestControlNames)
#include "tst_controlnames.moc"
