#include "client/inifile.h"

#include "net/protocol.h"
#include "storage/filereplace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zwonky {

namespace {

QString cleanValue(const QByteArray &raw)
{
    QString value = protocol::decodeText(raw).trimmed();
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first)
            value = value.mid(1, value.size() - 2);
    }
    return value.left(IniFile::MaxValueLength);
}

// A value must stay on its line.
QString oneLine(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)) {}

bool IniFile::load()
{
    m_lines.clear();
    m_newline = "\n";
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();
    qsizetype start = 0;
    bool newlineSeen = false;
    while (start < data.size()) {
        const qsizetype lf = data.indexOf('\n', start);
        Line line;
        if (lf < 0) {
            line.text = data.mid(start);
            start = data.size();
        } else {
            const bool crlf = lf > start && data.at(lf - 1) == '\r';
            line.text = data.mid(start, lf - start - (crlf ? 1 : 0));
            line.ending = crlf ? QByteArray("\r\n") : QByteArray("\n");
            if (!newlineSeen) {
                m_newline = line.ending;
                newlineSeen = true;
            }
            start = lf + 1;
        }
        m_lines.append(line);
    }
    return true;
}

bool IniFile::sectionName(const QByteArray &line, QString *name)
{
    const QByteArray trimmed = line.trimmed();
    if (!trimmed.startsWith('['))
        return false;
    const qsizetype close = trimmed.indexOf(']');
    if (close < 0)
        return false;
    *name = protocol::decodeText(trimmed.mid(1, close - 1)).trimmed();
    return true;
}

bool IniFile::keyName(const QByteArray &line, QString *name, QByteArray *value)
{
    const qsizetype equals = line.indexOf('=');
    if (equals < 0)
        return false;
    const QString key = protocol::decodeText(line.left(equals)).trimmed();
    if (key.isEmpty() || key.startsWith(QLatin1Char(';')))
        return false;
    *name = key;
    if (value)
        *value = line.mid(equals + 1);
    return true;
}

IniFile::SectionSpan IniFile::findSection(const QString &section) const
{
    SectionSpan span;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        QString name;
        if (!sectionName(m_lines.at(i).text, &name))
            continue;
        if (span.header >= 0) {
            span.end = i;
            return span;
        }
        if (name.compare(section, Qt::CaseInsensitive) == 0)
            span.header = i;
    }
    if (span.header >= 0)
        span.end = m_lines.size();
    return span;
}

qsizetype IniFile::findKey(const SectionSpan &span, const QString &key) const
{
    if (span.header < 0)
        return -1;
    for (qsizetype i = span.header + 1; i < span.end; ++i) {
        QString name;
        if (keyName(m_lines.at(i).text, &name, nullptr)
            && name.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString IniFile::readString(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    const qsizetype index = findKey(findSection(section), key);
    if (index < 0)
        return defaultValue;
    QString name;
    QByteArray raw;
    keyName(m_lines.at(index).text, &name, &raw);
    return cleanValue(raw);
}

bool IniFile::hasKey(const QString &section, const QString &key) const
{
    return findKey(findSection(section), key) >= 0;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    const QByteArray text = protocol::encodeText(oneLine(key) + QLatin1Char('=') + oneLine(value));
    SectionSpan span = findSection(section);
    const qsizetype index = findKey(span, key);
    if (index >= 0) {
        m_lines[index].text = text;
        return;
    }
    if (span.header < 0) {
        if (!m_lines.isEmpty() && m_lines.back().ending.isEmpty())
            m_lines.back().ending = m_newline;
        m_lines.append({protocol::encodeText(QLatin1Char('[') + oneLine(section) + QLatin1Char(']')),
                        m_newline});
        m_lines.append({text, m_newline});
        return;
    }
    // After the section's last line that holds anything, so that blank lines
    // before the next section stay where they are.
    qsizetype insertAt = span.header + 1;
    for (qsizetype i = span.end - 1; i > span.header; --i) {
        if (!m_lines.at(i).text.trimmed().isEmpty()) {
            insertAt = i + 1;
            break;
        }
    }
    if (m_lines.at(insertAt - 1).ending.isEmpty())
        m_lines[insertAt - 1].ending = m_newline;
    m_lines.insert(insertAt, {text, m_newline});
}

QByteArray IniFile::contents() const
{
    QByteArray data;
    for (const Line &line : m_lines)
        data += line.text + line.ending;
    return data;
}

bool IniFile::save(QString *error)
{
    const QByteArray data = contents();
    // Replacing the file would get round its read-only mark: respect it.
    const QFileInfo existing(m_path);
    const bool readOnly = existing.exists() && !existing.isWritable();
    if (readOnly || !replaceFileContents(m_path, data)) {
        if (error) {
            *error = QStringLiteral("Unable to write to %1")
                         .arg(QDir::toNativeSeparators(QFileInfo(m_path).absoluteFilePath()));
        }
        return false;
    }
    return true;
}

} // namespace zwonky
