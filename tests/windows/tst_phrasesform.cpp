#include "windows/phrasesform.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using zwonky::Tphrases;

class TestPhrasesForm : public QObject
{
    Q_OBJECT
private slots:
    void fieldsAndLabels();
    void doneHandsOnTheTexts();
    void closingDiscards();
    void fieldsAreMadeWhenFirstShown();
};

namespace {

QLineEdit *field(Tphrases &form, int k)
{
    return form.findChild<QLineEdit *>(QStringLiteral("phrase%1").arg(k));
}

QStringList nine(const QString &stem)
{
    QStringList texts;
    for (int k = 1; k <= 9; ++k)
        texts << stem + QString::number(k);
    return texts;
}

} // namespace

void TestPhrasesForm::fieldsAndLabels()
{
    Tphrases form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Zwonky - Phrase Buttons"));
    form.ensureBuilt();
    for (int k = 1; k <= 9; ++k) {
        QLineEdit *edit = field(form, k);
        QVERIFY(edit);
        QCOMPARE(edit->maxLength(), 50);
        bool labelled = false;
        for (const QLabel *label : form.findChildren<QLabel *>())
            labelled = labelled || (label->buddy() == edit
                                    && label->text() == QStringLiteral("Phrase Button %1:").arg(k));
        QVERIFY(labelled);
    }
    QCOMPARE(form.findChild<QPushButton *>(QStringLiteral("SelButton8"))->text(),
             QStringLiteral("Done"));

    // Typing stops at 50 characters; a longer stored text is cut to fit.
    QTest::keyClicks(field(form, 1), QString(60, QLatin1Char('a')));
    QCOMPARE(field(form, 1)->text().size(), 50);
    form.setPhrases({QString(70, QLatin1Char('b'))});
    QCOMPARE(field(form, 1)->text(), QString(50, QLatin1Char('b')));
    QCOMPARE(field(form, 2)->text(), QString());
}

void TestPhrasesForm::doneHandsOnTheTexts()
{
    Tphrases form;
    QSignalSpy done(&form, &Tphrases::phrasesDone);
    form.setPhrases(nine(QStringLiteral("p")));
    form.showOver(nullptr);
    QVERIFY(form.isVisible());
    field(form, 3)->setText(QStringLiteral("/me cheers"));
    field(form, 9)->clear();
    form.findChild<QPushButton *>(QStringLiteral("SelButton8"))->click();
    QCOMPARE(done.size(), 1);
    QStringList expected = nine(QStringLiteral("p"));
    expected[2] = QStringLiteral("/me cheers");
    expected[8] = QString();
    QCOMPARE(done.at(0).at(0).toStringList(), expected);
    QVERIFY(!form.isVisible());
}

void TestPhrasesForm::closingDiscards()
{
    Tphrases form;
    QSignalSpy done(&form, &Tphrases::phrasesDone);
    form.setPhrases(nine(QStringLiteral("p")));
    form.showOver(nullptr);
    field(form, 1)->setText(QStringLiteral("edited"));
    form.close();
    QCOMPARE(done.size(), 0);
    // Opening again shows the buttons' phrases, not the dropped edit.
    form.setPhrases(nine(QStringLiteral("p")));
    form.showOver(nullptr);
    QCOMPARE(field(form, 1)->text(), QStringLiteral("p1"));
}

void TestPhrasesForm::fieldsAreMadeWhenFirstShown()
{
    // Made at start, the editor holds the texts it is given without fields;
    // a player who opens it sees them, named for a screen reader.
    Tphrases form;
    QVERIFY(!field(form, 1));
    QVERIFY(!form.findChild<QPushButton *>(QStringLiteral("SelButton8")));
    QCOMPARE(form.phrases(), QStringList(9, QString()));
    QStringList given = nine(QStringLiteral("p"));
    given[0] = QString(70, QLatin1Char('b'));
    form.setPhrases(given);
    given[0].truncate(50);
    QCOMPARE(form.phrases(), given);
    QVERIFY(!field(form, 1));

    QSignalSpy done(&form, &Tphrases::phrasesDone);
    form.showOver(nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    for (int k = 1; k <= 9; ++k)
        QCOMPARE(field(form, k)->text(), given.at(k - 1));
    QCOMPARE(field(form, 2)->accessibleName(), QStringLiteral("Phrase 2"));
    QVERIFY(field(form, 9)->isVisible());
    QCOMPARE(form.size(), QSize(360, 330));
    field(form, 2)->setText(QStringLiteral("edited"));
    given[1] = QStringLiteral("edited");
    QCOMPARE(form.phrases(), given);
    form.findChild<QPushButton *>(QStringLiteral("SelButton8"))->click();
    QCOMPARE(done.size(), 1);
    QCOMPARE(done.at(0).at(0).toStringList(), given);
}

QTEST_MAIN(TestPhrasesForm)
#include "tst_phrasesform.moc"
