#include "dictionary/mydict.h"

#include "dictionary/busfaultguard.h"
#include "dictionary/keyshape.h"
#include "net/protocol.h"
#include "net/zwonkyerror.h"

#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace zwonky {

namespace {

constexpr auto NotFoundText = "English.dic dictionary not found!";
constexpr qsizetype MaxKeyLength = 255;   // keys are short strings
constexpr int FieldWidth = keyshape::FieldWidth;
static_assert(FieldWidth == TDictn::RecordSize - 1);
constexpr char RecordMarker = '\x1e';   // the first byte of every record
// Records whose markers are looked at when the list is opened.
constexpr int MarkerSamples = 16;

using KeyField = TDictn::KeyField;

char upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool blankChar(QChar c)
{
    return c.unicode() == u' ' || c.unicode() == 0;
}

// The character's byte in the word list's code page, Windows-1252. Latin-1
// characters are their own byte; the few others take the long way.
char listByte(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(u);
    return protocol::encodeText(QString(c)).at(0);
}

// Key and record text are compared in the same shape: NULs read as blanks,
// blanks trimmed off both ends, padded with blanks, ASCII letters
// upper-cased. False when nothing is left or when more than the field holds
// is left: such a key matches no record.
bool keyField(const QString &word, KeyField &key)
{
    const QStringView text = QStringView(word).left(MaxKeyLength);
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && blankChar(text[begin]))
        ++begin;
    while (end > begin && blankChar(text[end - 1]))
        --end;
    if (begin == end || end - begin > FieldWidth)
        return false;
    key.fill(' ');
    for (qsizetype i = begin; i < end; ++i) {
        const char byte = listByte(text[i]);
        key[static_cast<size_t>(i - begin)] = byte == '\0' ? ' ' : upper(byte);
    }
    return true;
}

// The record's 14-byte field in the shape of a key (without the blank that
// always follows it).
KeyField recordText(const char *field)
{
    int begin = 0;
    int end = FieldWidth;
    auto blank = [](char c) { return c == ' ' || c == '\0'; };
    while (begin < end && blank(field[begin]))
        ++begin;
    while (end > begin && blank(field[end - 1]))
        --end;
    KeyField text;
    text.fill(' ');
    for (int i = begin; i < end; ++i)
        text[static_cast<size_t>(i - begin)] = field[i] == '\0' ? ' ' : upper(field[i]);
    return text;
}

// Unsigned byte order of the record text against the key. The bits by
// which the record's marker (the byte before the field) differs from 0x1E
// are added to strayMarkers, but only for a field that is not in key shape:
// a zeroed record never is, and the usual probe costs nothing more.
int compareToKey(const char *field, const KeyField &key, unsigned &strayMarkers)
{
    // The shipped list holds nothing but fields in key shape: most probes
    // compare in place.
    if (keyshape::inKeyShape(field))
        return std::memcmp(field, key.data(), key.size());
    strayMarkers |= static_cast<unsigned char>(field[-1] ^ RecordMarker);
    const KeyField text = recordText(field);
    return std::memcmp(text.data(), key.data(), key.size());
}

} // namespace

template <typename Fetch>
TDictn::Search TDictn::searchRecords(const KeyField &key, qint64 lastIndex, Fetch fetch)
{
    // A local, so that the loop keeps it in a register.
    unsigned strayMarkers = 0;
    qint64 lo = 0;
    qint64 hi = lastIndex;
    while (hi >= lo) {
        const qint64 mid = lo + (hi - lo) / 2;
        const char *field = fetch(mid);
        if (!field)
            return Search{false, false, strayMarkers};
        const int order = compareToKey(field, key, strayMarkers);
        if (order == 0)
            return Search{true, true, strayMarkers};
        if (order < 0)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    return Search{false, true, strayMarkers};
}

TDictn::TDictn(QObject *parent, WorkingFileAhead *ahead)
    : QObject(parent)
{
    if (ahead) {
        m_path = ahead->path();
        m_list = ahead->list();
    } else {
        m_path = defaultWorkingFilePath();
        m_list = BuiltInList::fromResources();
    }
    OpenList(ahead);
}

TDictn::TDictn(const QString &workingFile, const QByteArray *builtIn, QObject *parent)
    : QObject(parent)
    , m_path(workingFile.isEmpty() ? QString() : QFileInfo(workingFile).absoluteFilePath())
{
    if (builtIn) {
        m_list.bytes = *builtIn;
        m_list.present = true;
    }
    OpenList(nullptr);
}

TDictn::~TDictn()
{
    CloseList();
}

void TDictn::OpenList(WorkingFileAhead *ahead)
{
    if (m_path.isEmpty()) {
        // No place for a working file: the list is searched in memory.
        useBuiltInInMemory();
        return;
    }
    // The path is absolute from creation, so the file removed at exit is
    // the one written here even if the current folder changes meanwhile.
    m_file.setFileName(m_path);
    // Made ahead on another thread, or made now.
    const WorkingFileOutcome outcome = ahead ? ahead->claim() : provideWorkingFile(m_path, m_list);
    m_createdFile = outcome.created;

    // Unbuffered: a probe reads its 15 bytes and nothing around them.
    if (!outcome.brokenFileLeft && m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        m_open = true;
        m_source = Source::WorkingFile;
        m_lastIndex = m_file.size() / RecordSize - 1;
        m_markerMask = markersAtOpen() ? 0xFFu : 0u;
        mapRecords();
        return;
    }
    if (m_createdFile) {
        QFile::remove(m_path);
        m_createdFile = false;
    }
    useBuiltInInMemory();
}

bool TDictn::markersAtOpen()
{
    // A list whose records do not all carry the marker (made by another
    // tool) is still searched, but a marker cannot tell that it broke.
    try {
        for (int sample = 0; sample < MarkerSamples && m_lastIndex >= 0; ++sample) {
            const qint64 index = m_lastIndex * sample / (MarkerSamples - 1);
            if (!readRecord(index) || m_record[0] != RecordMarker)
                return false;
        }
    } catch (const ZwonkyError &) {
        return false;   // the lookups will meet the same error and report it
    }
    return m_lastIndex >= 0;
}

void TDictn::useBuiltInInMemory()
{
    if (!m_list.present)
        return;
    m_open = true;
    m_source = Source::BuiltInMemory;
    m_lastIndex = m_list.bytes.size() / RecordSize - 1;
}

void TDictn::mapRecords()
{
    const qint64 length = (m_lastIndex + 1) * RecordSize;
    // Without the guard a file cut short would kill the process at the next
    // lookup; without a mapping the lookups read the file.
    if (length <= 0 || !BusFaultGuard::install())
        return;
    m_map = m_file.map(0, length);
    m_mappedLength = m_map ? length : 0;
}

void TDictn::readWithoutMapping()
{
    if (m_map)
        m_file.unmap(m_map);
    m_map = nullptr;
    m_mappedLength = 0;
}

void TDictn::CloseList()
{
    readWithoutMapping();
    if (m_file.isOpen())
        m_file.close();
    if (m_createdFile)
        QFile::remove(m_path);
    m_createdFile = false;
    m_open = false;
    m_source = Source::None;
}

bool TDictn::readRecord(qint64 index)
{
    if (!m_file.seek(index * RecordSize))
        throw ZwonkyError(QStringLiteral("Seek error in word list %1").arg(m_path));
    const qint64 got = m_file.read(m_record.data(), RecordSize);
    if (got < 0)
        throw ZwonkyError(QStringLiteral("Read error in word list %1").arg(m_path));
    return got == RecordSize;
}

TDictn::Search TDictn::searchWorkingFile(const KeyField &key)
{
    if (m_map) {
        const char *records = reinterpret_cast<const char *>(m_map);
        const qint64 lastIndex = m_lastIndex;
        Search search;
        const bool completed = BusFaultGuard::run(m_map, static_cast<size_t>(m_mappedLength), [&] {
            search = searchRecords(key, lastIndex, [records](qint64 index) {
                return records + index * RecordSize + 1;
            });
        });
        if (completed)
            return search;
        // The file was cut short since it was mapped. Read from now on, a
        // record that is gone is seen as gone.
        readWithoutMapping();
    }
    return searchRecords(key, m_lastIndex, [this](qint64 index) -> const char * {
        return readRecord(index) ? m_record.data() + 1 : nullptr;
    });
}

void TDictn::judgeFromBuiltIn()
{
    qWarning("Word list %s was cut or overwritten during the run; words are judged from the "
             "built-in list from now on", qPrintable(m_path));
    readWithoutMapping();
    m_file.close();
    useBuiltInInMemory();
}

bool TDictn::IsWord(const QString &word)
{
    if (!m_open)
        return false;
    KeyField key;
    if (!keyField(word, key))
        return false;

    if (m_source == Source::WorkingFile) {
        const Search search = searchWorkingFile(key);
        const bool trusted = search.intact && (search.strayMarkers & m_markerMask) == 0;
        // A miss over broken records says nothing: the list the file was
        // copied from answers instead. Without one the file is all there is.
        if (search.found || trusted || !m_list.present)
            return search.found;
        judgeFromBuiltIn();
    }
    const Search search = searchRecords(key, m_lastIndex, [this](qint64 index) -> const char * {
        const qint64 offset = index * RecordSize;
        if (offset + RecordSize > m_list.bytes.size())
            return nullptr;
        return m_list.bytes.constData() + offset + 1;
    });
    return search.found;
}

bool TDictn::isUsable() const
{
    return m_open;
}

QString TDictn::errorText() const
{
    return m_open ? QString() : QString::fromLatin1(NotFoundText);
}

} // namespace zwonky
