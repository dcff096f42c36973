#include "client/wordlistpanel.h"

namespace zwonky {

WordListPanel::WordListPanel(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("panel_wordlists"));
}

void WordListPanel::showEvent(QShowEvent *event)
{
    if (m_beforeShow)
        m_beforeShow();
    if (m_placement) {
        const QRect place = m_placement();
        if (place.isValid())
            setGeometry(place);
    }
    raise();
    QFrame::showEvent(event);
}

} // namespace zwonky
