#include "widgets/scaledtree.h"

#include "widgets/boardscale.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTextDocument>
#include <QTextEdit>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace zwonky {

namespace {

bool atOne(qreal factor) { return qFuzzyCompare(factor, 1.0); }

// Qt's composite controls place their own inner parts.
bool placesItsOwnParts(const QWidget *control)
{
    return qobject_cast<const QAbstractScrollArea *>(control)
        || qobject_cast<const QAbstractSpinBox *>(control)
        || qobject_cast<const QComboBox *>(control) || qobject_cast<const QLineEdit *>(control);
}

QTextDocument *documentOf(QWidget *control)
{
    if (auto *edit = qobject_cast<QTextEdit *>(control))
        return edit->document();
    if (auto *plain = qobject_cast<QPlainTextEdit *>(control))
        return plain->document();
    return nullptr;
}

// Size limits widen to the whole pixels around the grown size, so that they
// allow whatever size the grown edges of the control's place give it.
QSize scaledLimit(QSize logical, qreal factor, bool upper)
{
    auto one = [factor, upper](int length) {
        if (length >= QWIDGETSIZE_MAX)
            return QWIDGETSIZE_MAX;
        const qreal grown = length * factor;
        return int(std::min<qreal>(upper ? std::ceil(grown - 1e-9) : std::floor(grown + 1e-9),
                                   QWIDGETSIZE_MAX));
    };
    return {one(logical.width()), one(logical.height())};
}

QMargins scaledMargins(const BoardScale &scale, const QMargins &m)
{
    return {scale.length(m.left()), scale.length(m.top()), scale.length(m.right()),
            scale.length(m.bottom())};
}

} // namespace

ScaledTree::ScaledTree(QWidget *root, BoardScale &scale, Mode mode)
    : QObject(root), m_root(root), m_scale(scale), m_mode(mode)
{
    setObjectName(QStringLiteral("scaledTree"));
    connect(&scale, &BoardScale::changed, this, &ScaledTree::follow);
    if (!atOne(scale.factor()))
        follow(scale.factor());
}

ScaledTree *ScaledTree::of(const QWidget *control)
{
    for (const QWidget *up = control ? control->parentWidget() : nullptr; up;
         up = up->isWindow() ? nullptr : up->parentWidget()) {
        if (auto *tree = up->findChild<ScaledTree *>(QString(), Qt::FindDirectChildrenOnly))
            return tree;
    }
    return nullptr;
}

QList<QWidget *> ScaledTree::ownControls(const QWidget *parent)
{
    QList<QWidget *> controls;
    for (QObject *child : parent->children()) {
        auto *control = qobject_cast<QWidget *>(child);
        if (!control || control->isWindow() || control->objectName().startsWith(QLatin1String("qt_")))
            continue;
        controls << control;
    }
    return controls;
}

// ---------------------------------------------------------------- taking the look down

void ScaledTree::capture()
{
    m_looks.clear();
    m_layouts.clear();
    const std::vector<QWidget *> controls = controlsUnderRoot();
    if (m_mode == Mode::LaidOut && m_root->layout())
        captureLayout(m_root->layout());
    for (QWidget *control : controls)
        captureControl(control);
}

std::vector<QWidget *> ScaledTree::controlsUnderRoot()
{
    // The look is taken as the player saw it: polished, and the places
    // the layouts give laid out.
    m_root->ensurePolished();
    std::vector<QWidget *> pending{m_root};
    std::vector<QWidget *> controls;
    while (!pending.empty()) {
        QWidget *parent = pending.back();
        pending.pop_back();
        if (QLayout *layout = parent->layout(); layout && m_mode == Mode::Placed)
            layout->activate();
        for (QWidget *control : ownControls(parent)) {
            controls.push_back(control);
            if (!placesItsOwnParts(control))
                pending.push_back(control);
        }
    }
    return controls;
}

void ScaledTree::adoptNewControls()
{
    // At 1 the controls are as their views made them: the look is taken
    // when the factor leaves 1.
    if (atOne(m_shown))
        return;
    const std::size_t knownLayouts = m_layouts.size();
    if (QLayout *layout = m_root->layout(); layout && m_mode == Mode::LaidOut
        && std::none_of(m_layouts.begin(), m_layouts.end(),
                        [layout](const LayoutLook &look) { return look.layout == layout; }))
        captureLayout(layout);
    std::vector<QWidget *> added;
    for (QWidget *control : controlsUnderRoot()) {
        const auto found = m_looks.find(control);
        if (found != m_looks.end() && found->second.control)
            continue;
        captureControl(control);
        added.push_back(control);
    }
    if (m_mode == Mode::Placed)
        settleLayouts(false);
    for (QWidget *control : added)
        show(m_looks[control]);
    if (m_mode == Mode::LaidOut) {
        for (std::size_t i = knownLayouts; i < m_layouts.size(); ++i)
            show(m_layouts[i]);
        if (QLayout *layout = m_root->layout())
            layout->invalidate();
    }
}

void ScaledTree::captureControl(QWidget *control)
{
    Look look;
    look.control = control;
    look.geometry = control->geometry();
    look.minimum = control->minimumSize();
    look.maximum = control->maximumSize();
    look.contents = control->contentsMargins();
    look.font = control->font();
    if (const auto *label = qobject_cast<const QLabel *>(control)) {
        look.indent = label->indent();
        look.margin = label->margin();
    }
    if (const QTextDocument *document = documentOf(control))
        look.documentMargin = document->documentMargin();
    if (qobject_cast<const QCheckBox *>(control)) {
        look.styleSheet = control->styleSheet();
        look.indicator = control->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, control);
    }
    if (QLayout *layout = control->layout()) {
        if (m_mode == Mode::Placed)
            m_layouts.push_back({layout, {}, -1, -1});
        else
            captureLayout(layout);
    }
    m_looks[control] = look;
}

void ScaledTree::captureLayout(QLayout *layout)
{
    LayoutLook look;
    look.layout = layout;
    look.margins = layout->contentsMargins();
    if (auto *grid = qobject_cast<QGridLayout *>(layout)) {
        look.horizontal = grid->horizontalSpacing();
        look.vertical = grid->verticalSpacing();
    } else {
        look.horizontal = layout->spacing();
    }
    m_layouts.push_back(look);
    for (int i = 0; i < layout->count(); ++i)
        if (QLayout *inner = layout->itemAt(i)->layout())
            captureLayout(inner);
}

ScaledTree::Look &ScaledTree::lookOf(QWidget *control)
{
    auto found = m_looks.find(control);
    if (found == m_looks.end() || !found->second.control) {
        captureControl(control);
        found = m_looks.find(control);
    }
    return found->second;
}

// ---------------------------------------------------------------- showing it at a factor

void ScaledTree::follow(qreal factor)
{
    if (atOne(factor))
        factor = 1.0;
    if (qFuzzyCompare(factor, m_shown))
        return;
    if (atOne(m_shown))
        capture();
    m_shown = factor;
    // While grown, the layouts of placed controls would undo their places.
    if (m_mode == Mode::Placed && !atOne(factor))
        settleLayouts(false);
    for (auto it = m_looks.begin(); it != m_looks.end();) {
        if (!it->second.control) {
            it = m_looks.erase(it);
            continue;
        }
        show(it->second);
        ++it;
    }
    if (m_mode == Mode::LaidOut) {
        for (const LayoutLook &look : m_layouts)
            show(look);
        if (QLayout *layout = m_root->layout())
            layout->invalidate();
    } else if (atOne(factor)) {
        settleLayouts(true);
    }
}

void ScaledTree::show(const Look &look)
{
    QWidget *control = look.control;
    if (look.indicator > 0) {
        // The style draws the check mark at a fixed size; a style sheet sizes it.
        const QString grown = atOne(m_shown) ? look.styleSheet
            : look.styleSheet + QStringLiteral("QCheckBox::indicator{width:%1px;height:%1px;}")
                                    .arg(m_scale.length(look.indicator));
        if (control->styleSheet() != grown)
            control->setStyleSheet(grown);
    }
    control->setFont(m_scale.font(look.font, control->logicalDpiY()));
    if (look.minimum != QSize(0, 0) || look.maximum != QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)) {
        // Both limits at once, so that neither holds the other back.
        control->setMinimumSize(0, 0);
        control->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        control->setMinimumSize(scaledLimit(look.minimum, m_scale.factor(), false));
        control->setMaximumSize(scaledLimit(look.maximum, m_scale.factor(), true));
    }
    if (!look.contents.isNull())
        control->setContentsMargins(scaledMargins(m_scale, look.contents));
    if (auto *label = qobject_cast<QLabel *>(control)) {
        if (look.indent > 0)
            label->setIndent(m_scale.length(look.indent));
        if (look.margin > 0)
            label->setMargin(m_scale.length(look.margin));
    }
    if (look.documentMargin >= 0) {
        if (QTextDocument *document = documentOf(control))
            document->setDocumentMargin(look.documentMargin * m_scale.factor());
    }
    // Laid-out controls get their places from the layouts, which lay them
    // out again at the next chance; back at 1 they start from where they were.
    if (m_mode == Mode::Placed || atOne(m_shown))
        control->setGeometry(m_scale.rect(look.geometry));
}

void ScaledTree::show(const LayoutLook &look)
{
    QLayout *layout = look.layout;
    if (!layout)
        return;
    layout->setContentsMargins(scaledMargins(m_scale, look.margins));
    auto spacing = [this](int logical) { return logical < 0 ? logical : m_scale.length(logical); };
    if (auto *grid = qobject_cast<QGridLayout *>(layout)) {
        grid->setHorizontalSpacing(spacing(look.horizontal));
        grid->setVerticalSpacing(spacing(look.vertical));
    } else {
        layout->setSpacing(spacing(look.horizontal));
    }
}

void ScaledTree::settleLayouts(bool enabled)
{
    for (const LayoutLook &look : m_layouts) {
        if (!look.layout)
            continue;
        look.layout->setEnabled(enabled);
        if (enabled) {
            look.layout->invalidate();
            look.layout->activate();
        }
    }
}

// ---------------------------------------------------------------- views' changes

QRect ScaledTree::logicalGeometry(const QWidget *control) const
{
    if (atOne(m_shown))
        return control->geometry();
    const auto found = m_looks.find(control);
    if (found != m_looks.end() && found->second.control)
        return found->second.geometry;
    const QRect shown = control->geometry();
    return QRect(qRound(shown.x() / m_shown), qRound(shown.y() / m_shown),
                 qRound(shown.width() / m_shown), qRound(shown.height() / m_shown));
}

void ScaledTree::place(QWidget *control, const QRect &logical)
{
    if (atOne(m_shown)) {
        control->setGeometry(logical);
        return;
    }
    lookOf(control).geometry = logical;
    control->setGeometry(m_scale.rect(logical));
}

QFont ScaledTree::logicalFont(const QWidget *control) const
{
    if (!atOne(m_shown)) {
        const auto found = m_looks.find(control);
        if (found != m_looks.end() && found->second.control)
            return found->second.font;
    }
    return control->font();
}

void ScaledTree::setLogicalFont(QWidget *control, const QFont &font)
{
    if (atOne(m_shown)) {
        control->setFont(font);
        return;
    }
    lookOf(control).font = font;
    control->setFont(m_scale.font(font, control->logicalDpiY()));
}

// ---------------------------------------------------------------- for the views

namespace scaled {

QRect geometry(const QWidget *control)
{
    const ScaledTree *tree = ScaledTree::of(control);
    return tree ? tree->logicalGeometry(control) : control->geometry();
}

void place(QWidget *control, const QRect &logical)
{
    if (ScaledTree *tree = ScaledTree::of(control))
        tree->place(control, logical);
    else
        control->setGeometry(logical);
}

void move(QWidget *control, QPoint logical)
{
    place(control, QRect(logical, geometry(control).size()));
}

void resize(QWidget *control, QSize logical)
{
    place(control, QRect(geometry(control).topLeft(), logical));
}

QFont font(const QWidget *control)
{
    const ScaledTree *tree = ScaledTree::of(control);
    return tree ? tree->logicalFont(control) : control->font();
}

void setFont(QWidget *control, const QFont &logical)
{
    if (ScaledTree *tree = ScaledTree::of(control))
        tree->setLogicalFont(control, logical);
    else
        control->setFont(logical);
}

void adopt(QWidget *parent)
{
    ScaledTree *tree = parent->findChild<ScaledTree *>(QString(), Qt::FindDirectChildrenOnly);
    if (!tree)
        tree = ScaledTree::of(parent);
    if (tree)
        tree->adoptNewControls();
}

} // namespace scaled

} // namespace zwonky
