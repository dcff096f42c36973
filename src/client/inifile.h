#pragma once

// A small INI file reader/writer. The file may be shared with other
// programs, so everything this program does not write stays as it was,
// byte for byte: other sections, comments, blank lines, line endings.
//
//   file    = { line }
//   line    = "[" section "]" | key "=" value | anything else (kept as is)
//
// Section and key names match without regard to letter case. A value is
// read with its surrounding blanks removed; a value in matching single or
// double quotes loses them; at most its first 2047 characters are used.
// Text is in the Western single-byte code page, like the wire.

#include <QByteArray>
#include <QList>
#include <QString>

namespace zwonky {

class IniFile
{
public:
    static constexpr qsizetype MaxValueLength = 2047;

    explicit IniFile(QString path);

    QString path() const { return m_path; }

    // Reads the file; a missing or unreadable file reads as empty. Returns
    // whether the file was there.
    bool load();

    // The value of a key, or the default when the section or key is missing.
    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue = QString()) const;
    bool hasKey(const QString &section, const QString &key) const;

    // Replaces the key's line (keeping its line ending), or adds the key at
    // the end of its section, creating the section when it is missing.
    // Changes only the memory copy; save() writes it.
    void writeString(const QString &section, const QString &key, const QString &value);

    // Replaces the file atomically. On failure the file keeps its old
    // contents and the error text is "Unable to write to <path>".
    bool save(QString *error = nullptr);

    QByteArray contents() const;

private:
    struct Line
    {
        QByteArray text;   // without its line ending
        QByteArray ending; // "\r\n", "\n" or "" (last line without one)
    };
    // [first, end) lines of a section's body, or first = -1 when missing.
    struct SectionSpan
    {
        qsizetype header = -1;
        qsizetype end = -1;
    };

    SectionSpan findSection(const QString &section) const;
    qsizetype findKey(const SectionSpan &span, const QString &key) const;
    static bool sectionName(const QByteArray &line, QString *name);
    static bool keyName(const QByteArray &line, QString *name, QByteArray *value);

    QString m_path;
    QList<Line> m_lines;
    QByteArray m_newline = "\n";
};

} // namespace zwonky
