#pragma once

// The phrase-button editor: nine fields, one per phrase button of the chat
// pane. "Done" hands the nine texts on (the main window applies them to its
// buttons and stores them); closing the window any other way drops the edits.

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <array>

class QLineEdit;
class QPushButton;

namespace zwonky {

class Tphrases : public QWidget
{
    Q_OBJECT
public:
    static constexpr int PhraseCount = 9;
    static constexpr int MaxPhraseLength = 50;

    // Only the window itself: its fields are made when it is first shown
    // (ensureBuilt); the texts wait in the window until then.
    explicit Tphrases(QWidget *parent = nullptr);

    // Makes the fields and the button if they are not made yet.
    void ensureBuilt();
    void setVisible(bool visible) override;

    // Fills `phrase1` .. `phrase9` (texts beyond 50 characters are cut).
    void setPhrases(const QStringList &phrases);
    QStringList phrases() const;

    // Shows the window centred on the main window and raises it.
    void showOver(QWidget *mainWindow);

signals:
    // "Done": the nine texts, in button order.
    void phrasesDone(const QStringList &phrases);

public slots:
    void SelButton8Click();

private:
    void centre();

    QStringList m_texts; // what setPhrases gave, for the fields still to be made
    std::array<QLineEdit *, PhraseCount> m_fields{};
    QPushButton *m_done = nullptr; // `SelButton8`
    QPointer<QWidget> m_centreOn;
    bool m_built = false;
};

} // namespace zwonky
