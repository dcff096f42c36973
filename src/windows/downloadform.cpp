#include "windows/downloadform.h"

#include "storage/datafolder.h"
#include "widgets/placement.h"
#include "windows/installertransfer.h"
#include "widgets/plaintext.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLinearGradient>
#include <QMessageBox>
#include <QPainter>
#include <QProcess>
#include <QPushButton>

namespace zwonky {

namespace {

constexpr char DownloadAddress[] = "https://www.pellixgames.net/downloads/PellixLobbySetup.run";
constexpr char LobbyPath[] = "/opt/pellix/PellixLobby";

const char *const AbortedText = "Download Aborted";
const char *const StartErrorText = "An Error has Occurred.";
const char *const NoLobbyText =
    "Please close the game and open the Pellix Lobby using the icon on your desktop or using "
    "the your Window's start-up menu.";

} // namespace

Tdownload::Tdownload(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
    , m_address(defaultDownloadAddress())
    , m_lobbyPaths(defaultLobbyPaths(QCoreApplication::applicationDirPath()))
    , m_starter([](const QString &program, const QStringList &arguments) {
        return QProcess::startDetached(program, arguments);
    })
{
    setObjectName(QStringLiteral("Tdownload"));
    setWindowTitle(QStringLiteral("Download The Pellix Lobby"));
    setFixedSize(724, 500);

    m_httpCli1 = new InstallerTransfer(this);
    connect(m_httpCli1, &InstallerTransfer::headerLine, this, &Tdownload::HttpCli1HeaderData);
    connect(m_httpCli1, &InstallerTransfer::bodyBegun, this, &Tdownload::HttpCli1DocBegin);
    connect(m_httpCli1, &InstallerTransfer::bodyReceived, this, &Tdownload::HttpCli1DocData);
    connect(m_httpCli1, &InstallerTransfer::finished, this, &Tdownload::transferFinished);
}

void Tdownload::setVisible(bool visible)
{
    // Only a solo game shows this window: a game started from the lobby or
    // joined by address never makes its panels or decodes its picture.
    if (visible)
        ensureBuilt();
    QWidget::setVisible(visible);
}

Tdownload::~Tdownload()
{
    // A download still running ends quietly with the window.
    delete m_httpCli1;
}

QUrl Tdownload::defaultDownloadAddress()
{
    return QUrl(QString::fromLatin1(DownloadAddress));
}

QString Tdownload::defaultLobbyPath()
{
    return QString::fromLatin1(LobbyPath);
}

QStringList Tdownload::defaultLobbyPaths(const QString &programFolder)
{
    return {QDir(programFolder).filePath(QStringLiteral("zwonky-lobby")), defaultLobbyPath()};
}

QStringList Tdownload::installerArguments()
{
    return {QStringLiteral("/SP-"), QStringLiteral("/silent"), QStringLiteral("/noicons")};
}

QString Tdownload::chooseDownloadFolder(const QString &programFolder)
{
    return writableDataFolder(programFolder);
}

QString Tdownload::installerFileName(const QUrl &address)
{
    const QString name = address.fileName();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")
        || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return {};
    return name;
}

void Tdownload::setDownloadAddress(const QUrl &address)
{
    m_address = address;
}

QUrl Tdownload::downloadAddress() const
{
    return m_address;
}

void Tdownload::setDownloadFolder(const QString &folder)
{
    m_folder = folder;
}

QString Tdownload::downloadFolder() const
{
    return m_folder.isEmpty() ? chooseDownloadFolder(QCoreApplication::applicationDirPath())
                              : m_folder;
}

void Tdownload::setLobbyPath(const QString &path)
{
    m_lobbyPaths = {path};
}

void Tdownload::setLobbyPaths(const QStringList &paths)
{
    m_lobbyPaths = paths;
}

QStringList Tdownload::lobbyPaths() const
{
    return m_lobbyPaths;
}

QString Tdownload::lobbyPath() const
{
    for (const QString &path : m_lobbyPaths) {
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

void Tdownload::setProcessStarter(ProcessStarter starter)
{
    m_starter = std::move(starter);
}

void Tdownload::setMessenger(Messenger messenger)
{
    m_messenger = std::move(messenger);
}

int Tdownload::downloadState() const
{
    return m_state;
}

bool Tdownload::isDownloading() const
{
    return m_httpCli1->isRunning();
}

void Tdownload::getbuttonClick()
{
    ensureBuilt();
    if (m_httpCli1->isRunning())
        return;
    m_state = Running;
    setStatus(m_infolabel3, QString());

    const QString name = installerFileName(m_address);
    m_infolabel2->setText(name);
    if (name.isEmpty()) {
        endDownload(false);
        return;
    }

    if (!m_httpCli1->open(QDir(downloadFolder()).filePath(name))) {
        endDownload(false);
        return;
    }

    m_getbutton->setEnabled(false);
    m_abortbutton->setEnabled(true);
    setStatus(m_infolabel, QStringLiteral("Loading"));

    m_httpCli1->get(m_address);
}

void Tdownload::abortbuttonClick()
{
    ensureBuilt();
    // The labels come first: the reply reports its end while abort() runs.
    setStatus(m_infolabel, QStringLiteral("Download has been aborted."));
    m_state = Aborted;
    setStatus(m_infolabel3, QString::fromLatin1(AbortedText));
    m_httpCli1->abort();
}

void Tdownload::Button1Click()
{
    close();
}

void Tdownload::Button2Click()
{
    const QString lobby = lobbyPath();
    if (lobby.isEmpty()) {
        tell(QString::fromLatin1(NoLobbyText));
        return;
    }
    if (!m_starter || !m_starter(lobby, {})) {
        tell(QString::fromLatin1(StartErrorText));
        return;
    }
    emit exitRequested();
}

void Tdownload::HttpCli1HeaderData()
{
    setStatus(m_infolabel, m_infolabel->text() + QLatin1Char('.'));
}

void Tdownload::HttpCli1DocBegin()
{
    setStatus(m_infolabel3, QStringLiteral("Downloading: ") + m_infolabel2->text());
}

void Tdownload::HttpCli1DocData(qint64 received)
{
    setStatus(m_infolabel, QStringLiteral("%1 bytes").arg(received));
}

void Tdownload::transferFinished(bool complete)
{
    endDownload(complete && m_state != Aborted);
}

void Tdownload::endDownload(bool succeeded)
{
    const QString path = m_httpCli1->fileName();
    succeeded = m_httpCli1->settle(succeeded);
    if (succeeded) {
        setStatus(m_infolabel, QStringLiteral("Received %1 bytes").arg(QFileInfo(path).size()));
    } else {
        setStatus(m_infolabel, QString::fromLatin1(AbortedText));
        m_state = Aborted;
    }
    m_getbutton->setEnabled(true);
    m_abortbutton->setEnabled(false);
    if (m_state != Aborted)
        install(path);
}

void Tdownload::install(const QString &path)
{
    setStatus(m_infolabel3, QStringLiteral("Installing"));
    // Only its owner may run the installer, and nobody else may change it
    // before it runs.
    const QFileDevice::Permissions others = QFileDevice::ExeGroup | QFileDevice::ExeOther
                                            | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    QFile::setPermissions(path, (QFile::permissions(path) & ~others) | QFileDevice::ExeOwner
                                    | QFileDevice::ExeUser);
    if (!m_starter || !m_starter(path, installerArguments())) {
        tell(QString::fromLatin1(StartErrorText));
        return;
    }
    emit exitRequested();
}

void Tdownload::setStatus(QLabel *label, const QString &text)
{
    label->setText(text);
    emit statusShown(label->objectName(), text);
}

void Tdownload::tell(const QString &text)
{
    if (m_messenger) {
        m_messenger(text);
        return;
    }
    QMessageBox *box =
        plaintext::box(QMessageBox::Information, windowTitle(), text, QMessageBox::Ok, this).release();
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void Tdownload::paintEvent(QPaintEvent *)
{
    // A deep blue sky behind the three white panels.
    QPainter painter(this);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0.0, QColor(0x1d, 0x3f, 0x8f));
    sky.setColorAt(1.0, QColor(0x0b, 0x1b, 0x45));
    painter.fillRect(rect(), sky);
}

void Tdownload::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    centreOnDesktop();
}

void Tdownload::closeEvent(QCloseEvent *event)
{
    // Playing on alone must not be ended later by an installer that a
    // forgotten download starts: closing the window stops the download.
    if (m_httpCli1->isRunning())
        abortbuttonClick();
    QWidget::closeEvent(event);
}

void Tdownload::centreOnDesktop()
{
    centreWindow(this);
}

} // namespace zwonky
