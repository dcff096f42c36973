#include "windows/installertransfer.h"

#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>

namespace zwonky {

namespace {

constexpr char UserAgent[] = "Mozilla/3.0 (compatible)";
constexpr char AcceptedTypes[] = "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";
// A stalled server would otherwise keep the download running for ever.
constexpr int StallTimeoutMs = 60000;

} // namespace

InstallerTransfer::InstallerTransfer(QObject *parent) : QObject(parent)
{
    m_http = new QNetworkAccessManager(this);
    m_http->setProxy(QNetworkProxy(QNetworkProxy::NoProxy));
}

InstallerTransfer::~InstallerTransfer()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

bool InstallerTransfer::open(const QString &path)
{
    m_received = 0;
    m_bodyBegun = false;
    m_writeFailed = false;
    m_file = std::make_unique<QSaveFile>(path);
    return m_file->open(QIODevice::WriteOnly);
}

void InstallerTransfer::get(const QUrl &address)
{
    QNetworkRequest request(address);
    request.setHeader(QNetworkRequest::UserAgentHeader, QString::fromLatin1(UserAgent));
    request.setRawHeader("Accept", AcceptedTypes);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setTransferTimeout(StallTimeoutMs);
    m_reply = m_http->get(request);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &InstallerTransfer::replyMetaDataChanged);
    connect(m_reply, &QNetworkReply::readyRead, this, &InstallerTransfer::replyReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &InstallerTransfer::replyFinished);
}

void InstallerTransfer::abort()
{
    if (m_reply)
        m_reply->abort();
}

QString InstallerTransfer::fileName() const
{
    return m_file ? m_file->fileName() : QString();
}

bool InstallerTransfer::settle(bool keep)
{
    if (!m_file)
        return keep;
    if (keep)
        keep = m_file->commit();
    else
        m_file->cancelWriting();
    m_file.reset();
    return keep;
}

void InstallerTransfer::replyMetaDataChanged()
{
    if (!m_reply)
        return;
    const qsizetype lines = m_reply->rawHeaderPairs().size();
    for (qsizetype i = 0; i < lines; ++i)
        emit headerLine();
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const int code = status.toInt();
    if (!m_bodyBegun && status.isValid() && code >= 200 && code < 300) {
        m_bodyBegun = true;
        emit bodyBegun();
    }
}

bool InstallerTransfer::append(const QByteArray &data)
{
    if (m_file->write(data) != data.size()) {
        // Out of disk space or the like: the download cannot succeed.
        m_writeFailed = true;
        return false;
    }
    m_received += data.size();
    emit bodyReceived(m_received);
    return true;
}

void InstallerTransfer::replyReadyRead()
{
    if (!m_reply)
        return;
    const QByteArray data = m_reply->readAll();
    if (!m_bodyBegun || data.isEmpty() || !m_file)
        return;
    if (!append(data))
        m_reply->abort();
}

void InstallerTransfer::replyFinished()
{
    QNetworkReply *reply = m_reply.data();
    if (!reply)
        return;
    if (reply->error() == QNetworkReply::NoError && m_bodyBegun && !m_writeFailed && m_file) {
        // Bytes that arrived with the end of the transfer.
        const QByteArray rest = reply->readAll();
        if (!rest.isEmpty())
            append(rest);
    }
    const bool complete = reply->error() == QNetworkReply::NoError && m_bodyBegun && !m_writeFailed;
    reply->disconnect(this);
    reply->deleteLater();
    m_reply = nullptr;
    emit finished(complete);
}

} // namespace zwonky
