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

QTEST_MAIN(TestPhrasesForm)
#include "tst_phrasesform.moc"
