#include "net/fieldcursor.h"

#include "net/zwonkyerror.h"

namespace zwonky {

QString FieldCursor::takeField()
{
    const qsizetype plus = m_text.indexOf(QLatin1Char('+'));
    if (plus < 0) {
        QString field = m_text;
        m_text.clear();
        return field;
    }
    QString field = m_text.left(plus);
    m_text.remove(0, plus + 1);
    return field;
}

int FieldCursor::takeInt()
{
    return toInt(takeField());
}

QString FieldCursor::takeRest()
{
    QString rest = m_text;
    m_text.clear();
    return rest;
}

int FieldCursor::takeRestInt()
{
    return toInt(takeRest());
}

int FieldCursor::toInt(const QString &text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    int value = 0;
    if (trimmed.startsWith(QLatin1Char('$')))
        value = trimmed.mid(1).toInt(&ok, 16);
    else if (!trimmed.isEmpty() && trimmed.size() <= 11)
        value = trimmed.toInt(&ok, 10);
    if (!ok)
        throw ZwonkyError(QStringLiteral("'%1' is not a valid integer value").arg(text.left(40)));
    return value;
}

} // namespace zwonky
