#pragma once

// The help window: six fixed pages chosen by the buttons of the side panel.

#include <QPixmap>
#include <QPointer>
#include <QWidget>

class QAbstractButton;
class QButtonGroup;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTextBrowser;

namespace zwonky {

class Tabout;

class Thelp : public QWidget
{
    Q_OBJECT

public:
    static constexpr int PageCount = 6;

    // Only the window itself: its panels and pages are made when it is
    // first shown or a page is asked for (ensureBuilt).
    explicit Thelp(QWidget *parent = nullptr);

    // Makes the panels and the pages if they are not made yet.
    void ensureBuilt();
    void setVisible(bool visible) override;

    // The window that "About" shows; not owned.
    void setAboutWindow(Tabout *about);
    // The tiled picture of the main window, painted behind the side panel.
    void setBackgroundPicture(const QPixmap &picture);

    // Shows the window centred on `mainWindow` (or on its parent) and raises it.
    void showOver(QWidget *mainWindow = nullptr);

    // Brings page `tag` (1-6) to the front with the caption of its button.
    void showPage(int tag);
    // The page in front, 1-6.
    int currentPage() const;

    // The fixed HTML text of page `tag` (1-6); empty for any other number.
    static QString pageText(int tag);

public slots:
    void SelButton1Click(QAbstractButton *button);
    void button_aboutClick();
    void button_doneClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void centre();

    QWidget *m_panelSide = nullptr;
    QButtonGroup *m_pageButtons = nullptr;
    QPushButton *m_buttonAbout = nullptr;
    QPushButton *m_buttonDone = nullptr;
    QLabel *m_labelCaption = nullptr;
    QStackedWidget *m_pages = nullptr;
    QTextBrowser *m_memos[PageCount] = {};
    QPointer<Tabout> m_about;
    QPointer<QWidget> m_centreOn;
    bool m_built = false;
};

} // namespace zwonky
