// A screen reader can name every control of every window: each button,
// field, list, picture and text has a non-empty accessible name, read
// through Qt's accessibility interfaces, and each control that takes input
// says what it does (a description, or its tool tip).

#include "sessionrig.h"

#include "client/tilewidget.h"
#include "client/wordboard.h"
#include "client/wordlistpanel.h"
#include "tally/tallylistform.h"
#include "widgets/artlabel.h"
#include "windows/aboutform.h"
#include "windows/downloadform.h"
#include "windows/helpform.h"
#include "windows/phrasesform.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QtTest>

using namespace zwonky;
using namespace zwonky::testing;

namespace {

bool takesInput(const QWidget *w)
{
    return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QLineEdit *>(w)
        || qobject_cast<const QAbstractSpinBox *>(w) || qobject_cast<const QComboBox *>(w)
        || qobject_cast<const QAbstractItemView *>(w) || qobject_cast<const TileWidget *>(w)
        || (qobject_cast<const QTextEdit *>(w) && !static_cast<const QTextEdit *>(w)->isReadOnly())
        || (qobject_cast<const QPlainTextEdit *>(w) && !static_cast<const QPlainTextEdit *>(w)->isReadOnly());
}

bool showsText(const QWidget *w)
{
    return qobject_cast<const QLabel *>(w) || qobject_cast<const QTextEdit *>(w)
        || qobject_cast<const QPlainTextEdit *>(w) || qobject_cast<const ArtLabel *>(w);
}

// Parts of a compound control (a spin box's field, a list's viewport) are
// named by the control itself.
bool insideControl(const QWidget *w, const QWidget *window)
{
    for (const QWidget *up = w->parentWidget(); up && up != window; up = up->parentWidget())
        if (qobject_cast<const QAbstractSpinBox *>(up) || qobject_cast<const QAbstractScrollArea *>(up)
            || qobject_cast<const QComboBox *>(up))
            return true;
    return false;
}

QString describeWidget(const QWidget *w)
{
    return QStringLiteral("%1 '%2'").arg(QLatin1String(w->metaObject()->className()), w->objectName());
}

} // namespace

class TestAccessibleNames : public QObject
{
    Q_OBJECT

private:
    QStringList unnamed(QWidget *window)
    {
        QStringList missing;
        for (QWidget *w : window->findChildren<QWidget *>()) {
            // Qt's own parts (the menu bar's overflow arrow) name themselves.
            if (w->isWindow() || insideControl(w, window) || !(takesInput(w) || showsText(w))
                || w->objectName().startsWith(QLatin1String("qt_")))
                continue;
            QAccessibleInterface *face = QAccessible::queryAccessibleInterface(w);
            if (!face) {
                missing << describeWidget(w) + QStringLiteral(" has no interface");
                continue;
            }
            // A label that shows a changing text is read by that text; while
            // it shows none, its description says what it will show.
            const auto *label = qobject_cast<const QLabel *>(w);
            const bool emptyCaption = label && label->text().isEmpty() && label->pixmap().isNull()
                && !face->text(QAccessible::Description).isEmpty();
            if (face->text(QAccessible::Name).trimmed().isEmpty() && !emptyCaption)
                missing << describeWidget(w) + QStringLiteral(" has no name");
            else if (takesInput(w) && face->text(QAccessible::Description).trimmed().isEmpty()
                     && w->toolTip().isEmpty())
                missing << describeWidget(w) + QStringLiteral(" has no description");
        }
        return missing;
    }

private slots:
    void everyControlIsNamed_data();
    void everyControlIsNamed();
};

void TestAccessibleNames::everyControlIsNamed_data()
{
    QTest::addColumn<QString>("window");
    for (const char *name : {"Tchat", "Ttallylist", "Tabout", "Tdownload", "Tgamestartform", "Thelp",
                             "Tphrases", "Tspylist"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

// A window whose controls are made when it is first shown, with them made.
template<typename Window>
std::unique_ptr<QWidget> built()
{
    auto window = std::make_unique<Window>();
    window->ensureBuilt();
    return window;
}

void TestAccessibleNames::everyControlIsNamed()
{
    QFETCH(QString, window);
    std::unique_ptr<QWidget> shown;
    if (window == "Tchat") {
        auto chat = std::make_unique<Tchat>();
        chat->wordBoard().wordLists().ensureBuilt();
        shown = std::move(chat);
    } else if (window == "Ttallylist") {
        shown = built<Ttallylist>();
    } else if (window == "Tabout") {
        shown = built<Tabout>();
    } else if (window == "Tdownload") {
        shown = built<Tdownload>();
    } else if (window == "Tgamestartform") {
        shown = built<Tgamestartform>();
    } else if (window == "Thelp") {
        shown = built<Thelp>();
    } else if (window == "Tphrases") {
        shown = built<Tphrases>();
    } else {
        shown = built<Tspylist>();
    }
    const QStringList missing = unnamed(shown.get());
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral("\n"))));
}

QTEST_MAIN(TestAccessibleNames)
#include "tst_accessiblenames.moc"
