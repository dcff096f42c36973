#pragma once

// A grid of text cells and its text file form:
//   column count CR LF
//   row count CR LF
//   then every cell on a line of its own, column by column (all rows of
//   column 0 from the top, then column 1, ...), in Windows-1252.
// A cell cannot hold a line break; one is written as a space.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace zwonky {

class StringGrid
{
public:
    explicit StringGrid(int colCount = 1, int rowCount = 1);

    int colCount() const { return m_colCount; }
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    // Resizing keeps the cells that stay inside; new cells are empty.
    void setColCount(int count);
    void setRowCount(int count);

    // Cells outside the grid read as empty and ignore writes.
    QString cell(int col, int row) const;
    void setCell(int col, int row, const QString &text);

    bool operator==(const StringGrid &other) const = default;

private:
    int m_colCount;
    QList<QStringList> m_rows;
};

QByteArray gridToText(const StringGrid &grid);
// Throws ZwonkyError when the text is not a whole grid.
StringGrid gridFromText(const QByteArray &text);

// Both throw ZwonkyError on failure. The save replaces the file atomically.
void SaveGridToFile(const StringGrid &grid, const QString &fileName);
void LoadGridFromFile(StringGrid &grid, const QString &fileName);

} // namespace zwonky
