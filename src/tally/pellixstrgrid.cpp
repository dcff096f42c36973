#include "tally/pellixstrgrid.h"

#include "net/fieldcursor.h"
#include "net/protocol.h"
#include "net/zwonkyerror.h"
#include "storage/filereplace.h"

#include <QFile>

namespace zwonky {

namespace {

// Sizes beyond any tally; they keep a damaged count from asking for
// gigabytes before the missing cells are noticed.
constexpr int MaxColumns = 1000;
constexpr int MaxRows = 1000000;

QList<QByteArray> splitLines(const QByteArray &text)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

int countField(const QList<QByteArray> &lines, int index, int maximum)
{
    if (index >= lines.size())
        throw ZwonkyError(QStringLiteral("Grid text is incomplete: the sizes are missing"));
    const int value = FieldCursor::toInt(protocol::decodeText(lines[index]));
    if (value < 1 || value > maximum)
        throw ZwonkyError(QStringLiteral("Grid text has an invalid size: %1").arg(value));
    return value;
}

} // namespace

StringGrid::StringGrid(int colCount, int rowCount) : m_colCount(qMax(0, colCount))
{
    setRowCount(rowCount);
}

void StringGrid::setColCount(int count)
{
    m_colCount = qMax(0, count);
    for (QStringList &row : m_rows)
        row.resize(m_colCount);
}

void StringGrid::setRowCount(int count)
{
    m_rows.resize(qMax(0, count));
    for (QStringList &row : m_rows)
        row.resize(m_colCount);
}

QString StringGrid::cell(int col, int row) const
{
    if (col < 0 || col >= m_colCount || row < 0 || row >= rowCount())
        return {};
    return m_rows[row][col];
}

void StringGrid::setCell(int col, int row, const QString &text)
{
    if (col < 0 || col >= m_colCount || row < 0 || row >= rowCount())
        return;
    m_rows[row][col] = text;
}

QByteArray gridToText(const StringGrid &grid)
{
    QByteArray text;
    text += QByteArray::number(grid.colCount()) + "\r\n";
    text += QByteArray::number(grid.rowCount()) + "\r\n";
    for (int col = 0; col < grid.colCount(); ++col) {
        for (int row = 0; row < grid.rowCount(); ++row) {
            QString cell = grid.cell(col, row);
            // A line break inside a name would shift every cell after it.
            cell.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
            text += protocol::encodeText(cell) + "\r\n";
        }
    }
    return text;
}

StringGrid gridFromText(const QByteArray &text)
{
    const QList<QByteArray> lines = splitLines(text);
    const int cols = countField(lines, 0, MaxColumns);
    const int rows = countField(lines, 1, MaxRows);
    const qint64 cells = qint64(cols) * rows;
    if (lines.size() - 2 < cells)
        throw ZwonkyError(QStringLiteral("Grid text is incomplete: %1 cells announced, %2 found")
                              .arg(cells)
                              .arg(lines.size() - 2));
    StringGrid grid(cols, rows);
    int line = 2;
    for (int col = 0; col < cols; ++col)
        for (int row = 0; row < rows; ++row)
            grid.setCell(col, row, protocol::decodeText(lines[line++]));
    return grid;
}

void SaveGridToFile(const StringGrid &grid, const QString &fileName)
{
    if (!replaceFileContents(fileName, gridToText(grid)))
        throw ZwonkyError(QStringLiteral("Cannot write file %1").arg(fileName));
}

void LoadGridFromFile(StringGrid &grid, const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw ZwonkyError(QStringLiteral("Cannot open file %1").arg(fileName));
    grid = gridFromText(file.readAll());
}

} // namespace zwonky
