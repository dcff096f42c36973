#include "widgets/plaintext.h"

#include <QLabel>
#include <QTextDocument>

namespace zwonky::plaintext {

void keep(QLabel *label)
{
    label->setTextFormat(Qt::PlainText);
}

void keep(QMessageBox *box)
{
    box->setTextFormat(Qt::PlainText);
}

QString toolTip(const QString &text)
{
    // A tool tip has no format of its own: a text Qt would take for HTML
    // goes as HTML that shows it, anything else as it is.
    return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal) : text;
}

std::unique_ptr<QMessageBox> box(QMessageBox::Icon icon, const QString &title, const QString &text,
                                 QMessageBox::StandardButtons buttons, QWidget *parent)
{
    auto shown = std::make_unique<QMessageBox>(icon, title, QString(), buttons, parent);
    keep(shown.get());
    shown->setText(text);
    return shown;
}

} // namespace zwonky::plaintext
