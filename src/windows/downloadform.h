#pragma once

// The lobby-download window, shown when a solo game starts: download and
// start the lobby installer, start an installed lobby, or play on alone.
// The transfer itself is an InstallerTransfer: an aborted or failed
// download leaves no partial file behind.

#include <QImage>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;

namespace zwonky {

class InstallerTransfer;

class Tdownload : public QWidget
{
    Q_OBJECT

public:
    // Starts a program detached from the game; false when it could not be started.
    using ProcessStarter = std::function<bool(const QString &program, const QStringList &arguments)>;
    // Tells the player something; the default shows a message box that does not block.
    using Messenger = std::function<void(const QString &text)>;

    // The download state (the tag of `infolabel`).
    enum DownloadState { NotStarted = 0, Running = 1, Aborted = 2 };

    explicit Tdownload(QWidget *parent = nullptr);
    ~Tdownload() override;

    // Where the installer comes from, where an installed lobby lives, and
    // what the installer is told on its command line.
    static QUrl defaultDownloadAddress();
    static QString defaultLobbyPath();
    // Where a lobby is looked for, in order: the companion lobby beside the
    // game's own program, then the fixed path of an installed one.
    static QStringList defaultLobbyPaths(const QString &programFolder);
    static QStringList installerArguments();

    // The folder the installer is saved in: the program's folder, or the
    // per-user application-data folder when that one cannot be written.
    static QString chooseDownloadFolder(const QString &programFolder);

    // The installer's file name: the last segment of the address; empty when
    // the address does not end in a usable file name.
    static QString installerFileName(const QUrl &address);

    void setDownloadAddress(const QUrl &address);
    QUrl downloadAddress() const;
    // An empty folder means: choose it from the program's folder at download time.
    void setDownloadFolder(const QString &folder);
    QString downloadFolder() const;
    void setLobbyPath(const QString &path);
    void setLobbyPaths(const QStringList &paths);
    QStringList lobbyPaths() const;
    // The first of the lobby paths that holds a file; empty when none does.
    QString lobbyPath() const;
    void setProcessStarter(ProcessStarter starter);
    void setMessenger(Messenger messenger);

    int downloadState() const;
    bool isDownloading() const;

    // The picture over the download button, decoded from the program.
    static QImage advertPicture();
    // Where the panels get that picture when they are made (by default they
    // decode it then): a picture decoded ahead. A null one is decoded after all.
    void setAdvertSource(std::function<QImage()> source);

    // The panels and their controls are made when the window is first shown
    // (a solo game's start), or by a click handler called before that.
    void ensureBuilt();
    void setVisible(bool visible) override;

signals:
    // The game must end as File > Exit does, so that the installer or the
    // lobby can take over.
    void exitRequested();
    // A status line (`infolabel` or `infolabel3`) has been given a new text.
    void statusShown(const QString &labelName, const QString &text);

public slots:
    void getbuttonClick();
    void abortbuttonClick();
    void Button1Click();
    void Button2Click();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void HttpCli1HeaderData();
    void HttpCli1DocBegin();
    void HttpCli1DocData(qint64 received);
    void transferFinished(bool complete);
    void endDownload(bool succeeded);
    void install(const QString &path);
    void setStatus(QLabel *label, const QString &text);
    void tell(const QString &text);
    void centreOnDesktop();

    QLabel *m_infolabel = nullptr;
    QLabel *m_infolabel2 = nullptr;
    QLabel *m_infolabel3 = nullptr;
    QPushButton *m_getbutton = nullptr;
    QPushButton *m_abortbutton = nullptr;
    QPushButton *m_button1 = nullptr;
    QPushButton *m_button2 = nullptr;

    InstallerTransfer *m_httpCli1 = nullptr;
    int m_state = NotStarted;

    std::function<QImage()> m_advertSource;
    QUrl m_address;
    QString m_folder;
    QStringList m_lobbyPaths;
    ProcessStarter m_starter;
    Messenger m_messenger;
};

} // namespace zwonky
