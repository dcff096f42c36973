#pragma once

// The controls of one panel at the panel's scale. At factor 1 the controls
// are exactly as their views made them; as the factor leaves 1 their
// logical look is taken down (place, size limits, margins, type) and from
// then on each change of the factor shows that look grown by the factor.
// Back at 1 the logical look is restored as it was taken.
//
// Views that move or re-size a control while the window is shown, or change
// its type, do it through the functions of `scaled` below, in logical
// pixels and points: inside a scaled tree they land at the tree's factor,
// anywhere else they act as the plain QWidget calls.

#include <QFont>
#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QRect>

#include <unordered_map>
#include <vector>

class QLayout;
class QWidget;

namespace zwonky {

class BoardScale;

class ScaledTree : public QObject
{
    Q_OBJECT
public:
    enum class Mode {
        Placed,  // the controls sit at fixed places: their places grow too
        LaidOut, // the root's layouts place the controls: only their measures grow
    };

    // Follows `scale` for the controls under `root` (not `root` itself,
    // whose place is its parent's business). The tree belongs to `root`.
    ScaledTree(QWidget *root, BoardScale &scale, Mode mode);

    // The tree a control belongs to: the nearest of its ancestors that has
    // one; null outside any.
    static ScaledTree *of(const QWidget *control);

    // Takes the look of the controls made under the root since the look was
    // taken down (a panel that makes its contents when first shown) and
    // shows them at the factor, as if they had been there all along.
    void adoptNewControls();

    qreal factor() const { return m_shown; }
    QRect logicalGeometry(const QWidget *control) const;
    void place(QWidget *control, const QRect &logical);
    QFont logicalFont(const QWidget *control) const;
    void setLogicalFont(QWidget *control, const QFont &font);

private:
    struct Look
    {
        QPointer<QWidget> control;
        QRect geometry;
        QSize minimum;
        QSize maximum;
        QMargins contents;
        QFont font;
        int indent = 0;
        int margin = 0;
        qreal documentMargin = -1;
        QString styleSheet;   // of a check box, whose mark grows through it
        int indicator = 0;    // the check mark's side, 0 for other controls
    };
    struct LayoutLook
    {
        QPointer<QLayout> layout;
        QMargins margins;
        int horizontal = -1; // spacing, or a grid's horizontal spacing
        int vertical = -1;   // a grid's vertical spacing
    };

    void follow(qreal factor);
    void capture();
    std::vector<QWidget *> controlsUnderRoot();
    void captureControl(QWidget *control);
    void captureLayout(QLayout *layout);
    void show(const Look &look);
    void show(const LayoutLook &look);
    void settleLayouts(bool enabled);
    Look &lookOf(QWidget *control);
    // The controls below `parent` that are the views' own, not the inner
    // parts of Qt's composite controls.
    static QList<QWidget *> ownControls(const QWidget *parent);

    QWidget *m_root;
    BoardScale &m_scale;
    const Mode m_mode;
    qreal m_shown = 1.0;
    std::unordered_map<const QWidget *, Look> m_looks;
    std::vector<LayoutLook> m_layouts;
};

namespace scaled {

// Logical place and size of a control, whatever the factor.
QRect geometry(const QWidget *control);
void place(QWidget *control, const QRect &logical);
void move(QWidget *control, QPoint logical);
void resize(QWidget *control, QSize logical);
// The type a control has at factor 1, and setting it.
QFont font(const QWidget *control);
void setFont(QWidget *control, const QFont &logical);
// Controls just made under `parent`: they join the tree of `parent` (its
// own, or its nearest ancestor's) at that tree's factor.
void adopt(QWidget *parent);

} // namespace scaled

} // namespace zwonky
