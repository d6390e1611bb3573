#include "controls/Align.h"

#include <QEvent>
#include <QPointer>
#include <QScopeGuard>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace tensim {
namespace {

const char* const AlignProperty = "tensimAlign";

// Watches one widget: realigns its children when it changes size, and its
// parent when it is aligned and changes size, position, visibility or
// parent. It is a child of the widget it watches, so it lives as long.
class TAligner : public QObject {
public:
    explicit TAligner(QWidget* Watched) : QObject(Watched) { Watched->installEventFilter(this); }
    bool eventFilter(QObject* Watched, QEvent* Event) override;

    // Set while the widget places its children, whose geometry events must
    // not start the same placement again.
    bool Aligning = false;
};

TAligner* AlignerOf(const QWidget* W)
{
    // A parent being destroyed leaves null entries in its child list.
    for (QObject* o : W->children())
        if (auto* a = dynamic_cast<TAligner*>(o)) return a;
    return nullptr;
}

void Watch(QWidget* W)
{
    if (W && !AlignerOf(W)) new TAligner(W);
}

bool TAligner::eventFilter(QObject* Watched, QEvent* Event)
{
    auto* w = static_cast<QWidget*>(Watched); // only widgets are watched
    const bool aligned = GetAlign(w) != alNone;
    switch (Event->type()) {
    case QEvent::Resize:
        if (aligned) AlignControls(w->parentWidget());
        AlignControls(w);
        break;
    case QEvent::ContentsRectChange:
    case QEvent::ChildRemoved:
        AlignControls(w);
        break;
    case QEvent::Move:
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        // The ...ToParent events come with explicit show and hide only, not
        // when an ancestor is shown, hidden or destroyed.
        if (aligned) AlignControls(w->parentWidget());
        break;
    case QEvent::ParentChange:
        if (aligned) {
            Watch(w->parentWidget());
            AlignControls(w->parentWidget());
        }
        break;
    default:
        break;
    }
    return false;
}

} // namespace

TAlign GetAlign(const QWidget* Control)
{
    const QVariant v = Control ? Control->property(AlignProperty) : QVariant();
    return v.isValid() ? static_cast<TAlign>(v.toInt()) : alNone;
}

void SetAlign(QWidget* Control, TAlign Align)
{
    if (!Control) return;
    Control->setProperty(AlignProperty, static_cast<int>(Align));
    Watch(Control);
    Watch(Control->parentWidget());
    AlignControls(Control->parentWidget());
}

void AlignControls(QWidget* Parent)
{
    // Only a widget that ever had an aligned child carries an aligner.
    TAligner* aligner = Parent ? AlignerOf(Parent) : nullptr;
    if (!aligner || aligner->Aligning) return;
    aligner->Aligning = true;
    const auto reset = qScopeGuard([guarded = QPointer<TAligner>(aligner)] {
        if (guarded) guarded->Aligning = false;
    });

    // A resize handler of a child could change the child list: work on a copy.
    std::vector<QPointer<QWidget>> children;
    for (QObject* o : Parent->children())
        if (o && o->isWidgetType()) children.emplace_back(static_cast<QWidget*>(o));

    const QRect area = Parent->contentsRect();
    int left = area.left(), top = area.top();
    int right = left + area.width(), bottom = top + area.height();
    for (const TAlign pass : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (const QPointer<QWidget>& c : children) {
            if (!c || c->isWindow() || c->isHidden() || GetAlign(c) != pass) continue;
            const QSize before = c->size();
            const int width = std::max(0, right - left), height = std::max(0, bottom - top);
            switch (pass) {
            case alTop:
                c->setGeometry(left, top, width, c->height());
                top += c->height();
                break;
            case alBottom:
                c->setGeometry(left, bottom - c->height(), width, c->height());
                bottom -= c->height();
                break;
            case alLeft:
                c->setGeometry(left, top, c->width(), height);
                left += c->width();
                break;
            case alRight:
                c->setGeometry(right - c->width(), top, c->width(), height);
                right -= c->width();
                break;
            default:
                c->setGeometry(left, top, width, height);
                break;
            }
            // Qt reports no resize of a widget that is not on screen.
            if (c && c->size() != before) AlignControls(c);
        }
    }
}

void SetBounds(QWidget* Control, int Left, int Top, int Width, int Height)
{
    if (!Control) return;
    Control->setGeometry(Left, Top, std::max(0, Width), std::max(0, Height));
    if (GetAlign(Control) != alNone) AlignControls(Control->parentWidget());
    AlignControls(Control);
}

} // namespace tensim
