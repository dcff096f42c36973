#include "windows/aboutform.h"
#include "windows/controlnames.h"

#include "net/protocol.h"
#include "widgets/jpegpicture.h"
#include "widgets/placement.h"
#include "widgets/skybackground.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QResource>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

// The pictures live in a static library; registering them by name pulls the
// resource object into the program and makes them readable before first use.
static void registerPictureResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(zwonky);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace zwonky {

namespace {

constexpr char WebAddress[] = "https://www.pellixgames.net/";

QString aboutStyle()
{
    return QStringLiteral(
        "QLabel { color: #1b2a4e; }"
        "QLabel#Label7 { color: #1d4fd8; }"
        "QLabel#Label7:hover { color: #e0531f; }"
        "QPushButton#Button1 { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
        "  stop:0 #4f86f7, stop:1 #2456c6); color: white; font-weight: bold;"
        "  border: 1px solid #1b3f94; border-radius: 5px; padding: 4px 18px; }"
        "QPushButton#Button1:hover { background: #5d92ff; }"
        "QPushButton#Button1:pressed { background: #1b3f94; }");
}

} // namespace

Tabout::Tabout(QWidget *parent)
    : QWidget(parent, Qt::Tool)
    , m_opener([](const QUrl &url) { return QDesktopServices::openUrl(url); })
{
    setObjectName(QStringLiteral("Tabout"));
    setWindowTitle(QStringLiteral("Zwonky - About"));
    setFixedSize(304, 174);
}

void Tabout::ensureBuilt()
{
    if (m_built)
        return;
    m_built = true;
    setStyleSheet(aboutStyle());

    // A soft sky until the main window hands over its own background.
    applySkyBackground(this, 174);

    m_image1 = new QLabel(this);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setAlignment(Qt::AlignCenter);
    const QPixmap logo = logoPicture();
    m_image1->setPixmap(logo.isNull() ? logo : logo.scaled(240, 76, Qt::KeepAspectRatio,
                                                             Qt::SmoothTransformation));
    m_image1->setToolTip(tr("Click to close"));
    m_image1->installEventFilter(this);

    auto *versionWord = new QLabel(QStringLiteral("Version"), this);
    versionWord->setObjectName(QStringLiteral("label_versionword"));
    m_version = new QLabel(QString::fromLatin1(protocol::GameVersion), this);
    m_version->setObjectName(QStringLiteral("version"));
    m_label9 = new QLabel(QLatin1Char('.') + QString::fromLatin1(protocol::GameBuild), this);
    m_label9->setObjectName(QStringLiteral("Label9"));
    QFont bold = font();
    bold.setBold(true);
    for (QLabel *label : {versionWord, m_version, m_label9})
        label->setFont(bold);

    m_label7 = new QLabel(this);
    m_label7->setObjectName(QStringLiteral("Label7"));
    m_label7->setText(QStringLiteral("<u>%1</u>").arg(webAddress().host()));
    m_label7->setCursor(Qt::PointingHandCursor);
    m_label7->setToolTip(webAddress().toString());
    m_label7->installEventFilter(this);

    auto *rights = new QLabel(this);
    rights->setObjectName(QStringLiteral("label_rights"));
    rights->setText(QStringLiteral("\u00A9 2026 The Zwonky developers.\nAll rights reserved."));
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    rights->setFont(small);

    m_button1 = new QPushButton(QStringLiteral("OK"), this);
    m_button1->setObjectName(QStringLiteral("Button1"));
    m_button1->setDefault(true);
    m_button1->setCursor(Qt::PointingHandCursor);
    connect(m_button1, &QPushButton::clicked, this, &Tabout::Button1Click);

    auto *versionRow = new QHBoxLayout;
    versionRow->setSpacing(0);
    versionRow->addWidget(versionWord);
    versionRow->addSpacing(4);
    versionRow->addWidget(m_version);
    versionRow->addWidget(m_label9);
    versionRow->addStretch();

    auto *lower = new QGridLayout;
    lower->setContentsMargins(6, 0, 0, 0);
    lower->setVerticalSpacing(1);
    lower->addLayout(versionRow, 0, 0);
    lower->addWidget(m_label7, 1, 0);
    lower->addWidget(rights, 2, 0);
    lower->addWidget(m_button1, 2, 1, Qt::AlignRight | Qt::AlignBottom);
    lower->setColumnStretch(0, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->setSpacing(4);
    layout->addWidget(m_image1);
    layout->addLayout(lower);
    // Names for screen readers, once every control is made.
    nameControls(this);
}

void Tabout::setVisible(bool visible)
{
    // The logo is decoded only for a player who opens the window.
    if (visible)
        ensureBuilt();
    QWidget::setVisible(visible);
}

QUrl Tabout::webAddress()
{
    return QUrl(QString::fromLatin1(WebAddress));
}

QImage Tabout::picture(const QString &fileName)
{
    registerPictureResources();
    const QString path = QStringLiteral(":/pictures/") + fileName;
    // The built-in pictures are JPEG files, decoded without the plug-ins.
    const QResource resource(path);
    if (resource.isValid()) {
        const QImage decoded = decodeJpeg(resource.uncompressedData());
        if (!decoded.isNull())
            return decoded;
    }
    QImageReader reader(path);
    return reader.read();
}

QPixmap Tabout::logoPicture()
{
    return QPixmap::fromImage(picture(QStringLiteral("logo.jpg")));
}

QString Tabout::versionText() const
{
    return QString::fromLatin1(protocol::GameVersion);
}

void Tabout::setUrlOpener(UrlOpener opener)
{
    m_opener = std::move(opener);
}

void Tabout::setBackgroundPicture(const QPixmap &picture)
{
    if (picture.isNull())
        return;
    QPalette pal = palette();
    pal.setBrush(QPalette::Window, QBrush(picture));
    setPalette(pal);
}

void Tabout::showOver(QWidget *mainWindow)
{
    m_centreOn = mainWindow;
    show();
    centre();
    raise();
    activateWindow();
}

bool Tabout::openWebPage() const
{
    return m_opener && m_opener(webAddress());
}

void Tabout::Image1Click()
{
    hide();
}

void Tabout::Label7Click()
{
    openWebPage();
}

void Tabout::Button1Click()
{
    close();
}

bool Tabout::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton) {
            if (watched == m_image1) {
                Image1Click();
                return true;
            }
            if (watched == m_label7) {
                Label7Click();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Tabout::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    centre();
}

void Tabout::centre()
{
    centreWindow(this, m_centreOn ? m_centreOn.data() : parentWidget());
}

} // namespace zwonky
