#pragma once

// The about window: logo, version, the maker's web address and the rights
// notice. It is created once at start and shown without being modal.

#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;

namespace zwonky {

class Tabout : public QWidget
{
    Q_OBJECT

public:
    // Opens an address in the desktop's browser; returns false when the
    // desktop could not. Replaced by tests.
    using UrlOpener = std::function<bool(const QUrl &)>;

    // Only the window itself: its controls are made when it is first shown
    // (or by ensureBuilt).
    explicit Tabout(QWidget *parent = nullptr);

    // Makes the controls if they are not made yet.
    void ensureBuilt();
    void setVisible(bool visible) override;

    // The maker's web page, behind the link label and the main window's logo.
    static QUrl webAddress();

    // A picture compiled into the program (":/pictures/<fileName>"), decoded
    // by the image plug-in its name calls for; a null image when missing.
    static QImage picture(const QString &fileName);
    // The game logo, shared with the main window.
    static QPixmap logoPicture();

    // The version caption ("1.0.7"); the build number is shown beside it.
    QString versionText() const;

    void setUrlOpener(UrlOpener opener);
    // The tiled picture of the main window, painted behind the controls.
    void setBackgroundPicture(const QPixmap &picture);

    // Shows the window centred on `mainWindow` (or on its parent) and raises it.
    void showOver(QWidget *mainWindow = nullptr);

    // Opens the web page through the opener; what `Label7Click` does, also
    // what the main window's logo does.
    bool openWebPage() const;

public slots:
    void Image1Click();
    void Label7Click();
    void Button1Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void centre();

    QLabel *m_image1 = nullptr;
    QLabel *m_label7 = nullptr;
    QLabel *m_version = nullptr;
    QLabel *m_label9 = nullptr;
    QPushButton *m_button1 = nullptr;
    UrlOpener m_opener;
    QPointer<QWidget> m_centreOn;
    bool m_built = false;
};

} // namespace zwonky
