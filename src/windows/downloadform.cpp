#include "windows/downloadform.h"


#include "storage/datafolder.h"
#include "widgets/placement.h"
#include "windows/aboutform.h"
#include "windows/installertransfer.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>

namespace zwonky {

namespace {

constexpr char DownloadAddress[] = "https://www.pellixgames.net/downloads/PellixLobbySetup.run";
constexpr char LobbyPath[] = "/opt/pellix/PellixLobby";

const char *const AbortedText = "Download Aborted";
const char *const StartErrorText = "An Error has Occurred.";
const char *const NoLobbyText =
    "Please close the game and open the Pellix Lobby using the icon on your desktop or using "
    "the your Window's start-up menu.";

// The type sizes are the ones the main window uses anyway (16 and 13 pixels
// bold, 13 and 11 pixels plain): every other size would be one more face to
// match, load and shape for while the solo game starts.
QString windowStyle()
{
    return QStringLiteral(
        "QWidget#Tdownload { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
        "  stop:0 #1d3f8f, stop:1 #0b1b45); }"
        "QFrame[panel=\"true\"] { background: white; border-radius: 10px; }"
        // Plain labels and buttons only inside the panels: the message
        // boxes that open over this window keep the desktop's look.
        "QFrame[panel=\"true\"] QLabel { color: #1b2a4e; }"
        "QLabel#label_isclosed { color: white; background: #c62828; border: 2px solid white;"
        "  border-radius: 6px; font-size: 16px; font-weight: bold; padding: 2px 10px; }"
        "QLabel#label_pitch { font-size: 13px; font-weight: bold; color: #1d3f8f; }"
        "QLabel#infolabel { font-weight: bold; color: #1d3f8f; }"
        "QLabel#infolabel3 { color: #7a5a1f; }"
        "QLabel#label_firewall { color: #6b6b6b; font-size: 11px; }"
        "QFrame[panel=\"true\"] QPushButton { border-radius: 6px; padding: 7px 14px;"
        "  font-weight: bold; color: white; }"
        "QPushButton#getbutton { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
        "  stop:0 #5fc25a, stop:1 #2e8b3a); border: 1px solid #1f6a29; font-size: 13px; }"
        "QPushButton#getbutton:hover { background: #6fd66a; }"
        "QPushButton#abortbutton { background: #d9534f; border: 1px solid #a33a36; }"
        "QPushButton#abortbutton:hover { background: #e8645f; }"
        "QPushButton#Button1, QPushButton#Button2 { background: qlineargradient(x1:0, y1:0,"
        "  x2:0, y2:1, stop:0 #4f86f7, stop:1 #2456c6); border: 1px solid #1b3f94; }"
        "QPushButton#Button1:hover, QPushButton#Button2:hover { background: #5d92ff; }"
        "QFrame[panel=\"true\"] QPushButton:pressed { padding-top: 8px; padding-bottom: 6px; }"
        "QPushButton#getbutton:disabled, QPushButton#abortbutton:disabled {"
        "  background: #d4d4d4; color: #f7f7f7; border: 1px solid #b8b8b8; }"
        "QLabel#label_solo, QLabel#label_others { font-size: 13px; }");
}

QFrame *whitePanel(const QString &name, QWidget *parent)
{
    auto *panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setProperty("panel", true);
    return panel;
}

QLabel *wrappedText(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

Tdownload::Tdownload(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
    , m_address(QString::fromLatin1(DownloadAddress))
    , m_lobbyPath(QString::fromLatin1(LobbyPath))
    , m_starter([](const QString &program, const QStringList &arguments) {
        return QProcess::startDetached(program, arguments);
    })
{
    setObjectName(QStringLiteral("Tdownload"));
    setWindowTitle(QStringLiteral("Download The Pellix Lobby"));
    setAttribute(Qt::WA_StyledBackground, true);
    setFixedSize(724, 500);
    setStyleSheet(windowStyle());

    // Left panel: the lobby advert and the download.
    QFrame *left = whitePanel(QStringLiteral("panel_download"), this);
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(16, 16, 16, 14);
    leftLayout->setSpacing(8);

    auto *advert = new QLabel(left);
    advert->setObjectName(QStringLiteral("image_lobby"));
    advert->setAlignment(Qt::AlignCenter);
    advert->setPixmap(QPixmap::fromImage(Tabout::picture(QStringLiteral("lobby.jpg"))));
    advert->setFixedSize(320, 200);
    auto *closedLabel = new QLabel(QStringLiteral("IS CLOSED"), advert);
    closedLabel->setObjectName(QStringLiteral("label_isclosed"));
    closedLabel->adjustSize();
    closedLabel->move((advert->width() - closedLabel->width()) / 2, 56);
    leftLayout->addWidget(advert, 0, Qt::AlignHCenter);

    leftLayout->addWidget(wrappedText(
        QStringLiteral("label_pitch"),
        QStringLiteral("Download The Pellix Lobby Now to play this  and other exciting games "
                       "online with other players!"),
        left));
    leftLayout->addStretch();

    m_getbutton = new QPushButton(QStringLiteral("Download And Install The Pellix Lobby Now"), left);
    m_getbutton->setObjectName(QStringLiteral("getbutton"));
    m_getbutton->setCursor(Qt::PointingHandCursor);
    connect(m_getbutton, &QPushButton::clicked, this, &Tdownload::getbuttonClick);
    leftLayout->addWidget(m_getbutton);

    m_infolabel = new QLabel(left);
    m_infolabel->setObjectName(QStringLiteral("infolabel"));
    m_infolabel->setAlignment(Qt::AlignCenter);
    leftLayout->addWidget(m_infolabel);
    m_infolabel3 = new QLabel(left);
    m_infolabel3->setObjectName(QStringLiteral("infolabel3"));
    m_infolabel3->setAlignment(Qt::AlignCenter);
    leftLayout->addWidget(m_infolabel3);
    m_infolabel2 = new QLabel(left);
    m_infolabel2->setObjectName(QStringLiteral("infolabel2"));
    m_infolabel2->hide();

    m_abortbutton = new QPushButton(QStringLiteral("Stop Download"), left);
    m_abortbutton->setObjectName(QStringLiteral("abortbutton"));
    m_abortbutton->setEnabled(false);
    connect(m_abortbutton, &QPushButton::clicked, this, &Tdownload::abortbuttonClick);
    leftLayout->addWidget(m_abortbutton, 0, Qt::AlignHCenter);

    // Upper right panel: play alone.
    QFrame *solo = whitePanel(QStringLiteral("panel_solo"), this);
    auto *soloLayout = new QVBoxLayout(solo);
    soloLayout->setContentsMargins(18, 18, 18, 14);
    soloLayout->setSpacing(12);
    soloLayout->addWidget(wrappedText(
        QStringLiteral("label_solo"),
        QStringLiteral("To proceed to the game without the ability to play against others "
                       "click the button below."),
        solo));
    m_button1 = new QPushButton(QStringLiteral("Play Solo Game"), solo);
    m_button1->setObjectName(QStringLiteral("Button1"));
    m_button1->setCursor(Qt::PointingHandCursor);
    m_button1->setMinimumWidth(180);
    connect(m_button1, &QPushButton::clicked, this, &Tdownload::Button1Click);
    soloLayout->addWidget(m_button1, 0, Qt::AlignHCenter);
    soloLayout->addStretch();
    soloLayout->addWidget(wrappedText(
        QStringLiteral("label_firewall"),
        QStringLiteral("Note: Even if you are playing offline, you will need to configure your "
                       "FIREWALL to allow the game to access the internet components."),
        solo));

    // Lower right panel: an installed lobby.
    QFrame *others = whitePanel(QStringLiteral("panel_others"), this);
    auto *othersLayout = new QVBoxLayout(others);
    othersLayout->setContentsMargins(18, 18, 18, 18);
    othersLayout->setSpacing(12);
    othersLayout->addWidget(wrappedText(
        QStringLiteral("label_others"),
        QStringLiteral("If you already have The Pellix Lobby and you wish to play with others "
                       "then click the button below to close this game and open The Pellix "
                       "Lobby."),
        others));
    m_button2 = new QPushButton(QStringLiteral("Play with Others"), others);
    m_button2->setObjectName(QStringLiteral("Button2"));
    m_button2->setCursor(Qt::PointingHandCursor);
    m_button2->setMinimumWidth(180);
    connect(m_button2, &QPushButton::clicked, this, &Tdownload::Button2Click);
    othersLayout->addWidget(m_button2, 0, Qt::AlignHCenter);
    othersLayout->addStretch();

    auto *right = new QVBoxLayout;
    right->setSpacing(12);
    right->addWidget(solo, 1);
    right->addWidget(others, 1);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(12);
    layout->addWidget(left, 1);
    layout->addLayout(right, 1);

    m_httpCli1 = new InstallerTransfer(this);
    connect(m_httpCli1, &InstallerTransfer::headerLine, this, &Tdownload::HttpCli1HeaderData);
    connect(m_httpCli1, &InstallerTransfer::bodyBegun, this, &Tdownload::HttpCli1DocBegin);
    connect(m_httpCli1, &InstallerTransfer::bodyReceived, this, &Tdownload::HttpCli1DocData);
    connect(m_httpCli1, &InstallerTransfer::finished, this, &Tdownload::transferFinished);
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
    m_lobbyPath = path;
}

QString Tdownload::lobbyPath() const
{
    return m_lobbyPath;
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
    if (!QFileInfo(m_lobbyPath).isFile()) {
        tell(QString::fromLatin1(NoLobbyText));
        return;
    }
    if (!m_starter || !m_starter(m_lobbyPath, {})) {
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
    auto *box = new QMessageBox(QMessageBox::Information, windowTitle(), text, QMessageBox::Ok,
                                this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
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
