#pragma once

#include <QString>

namespace zwonky {

// Reads the fields of one message's argument text: "take a field" is the text
// before the first "+" (and deletes through that "+"); "take the rest" is all
// that remains. A field without a following "+" is the whole remainder.
class FieldCursor
{
public:
    explicit FieldCursor(QString text) : m_text(std::move(text)) {}

    QString takeField();
    // A field that must be a number; throws ZwonkyError when it is not one,
    // which ends the handling of that one message.
    int takeInt();
    QString takeRest();
    // The rest read as one number (for messages whose whole argument is a number).
    int takeRestInt();

    QString remaining() const { return m_text; }
    bool atEnd() const { return m_text.isEmpty(); }

    // Decimal text as the protocol writes it; "$" + hex is accepted too, as
    // the integer reader of the settings file does. Throws on anything else.
    static int toInt(const QString &text);

private:
    QString m_text;
};

} // namespace zwonky
