#pragma once

// One download of the lobby installer: an HTTP GET on the UI thread whose
// body goes into a QSaveFile, so the file appears whole or not at all.
// Only a successful answer (2xx) counts as the body; an error page or a
// redirection is read and dropped.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class QSaveFile;

namespace zwonky {

class InstallerTransfer : public QObject
{
    Q_OBJECT

public:
    explicit InstallerTransfer(QObject *parent = nullptr);
    // A transfer still running is dropped without a finished() signal.
    ~InstallerTransfer() override;

    // Opens the target file for a new transfer; false when it cannot be
    // opened (call settle() to drop it).
    bool open(const QString &path);
    // Sends the request; the body goes into the file opened before.
    void get(const QUrl &address);
    // Stops the transfer; finished(false) is emitted before this returns.
    void abort();
    bool isRunning() const { return !m_reply.isNull(); }

    // The file of the current transfer (empty when none was opened).
    QString fileName() const;
    // Ends the transfer's file: kept when `keep` and it could be completed,
    // otherwise removed. Returns whether it was kept (with no file: `keep`).
    bool settle(bool keep);

signals:
    // One for each header line of the answer.
    void headerLine();
    // The answer is a success: its body is the installer.
    void bodyBegun();
    // The body's bytes written so far.
    void bodyReceived(qint64 total);
    // The transfer is over; complete when the whole body was received and written.
    void finished(bool complete);

private:
    void replyMetaDataChanged();
    void replyReadyRead();
    void replyFinished();
    bool append(const QByteArray &data);

    QNetworkAccessManager *m_http = nullptr;
    QPointer<QNetworkReply> m_reply;
    std::unique_ptr<QSaveFile> m_file;
    qint64 m_received = 0;
    bool m_bodyBegun = false;
    bool m_writeFailed = false;
};

} // namespace zwonky
