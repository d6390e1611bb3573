#include "controls/Easysize.h"

#include "controls/Align.h"

#include <QLabel>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace tensim {
namespace {

// The owner's component list, kept as a child of the owner.
class TComponentList : public QObject {
public:
    using QObject::QObject;
    std::vector<QPointer<QObject>> Items;
};

TComponentList* ComponentListOf(const QWidget* Owner)
{
    // A widget being destroyed leaves null entries in its child list.
    for (QObject* o : Owner->children())
        if (auto* list = dynamic_cast<TComponentList*>(o)) return list;
    return nullptr;
}

// Recorded * Ratio rounded halves to even, kept within what a widget can be.
int Scaled(int Recorded, double Ratio)
{
    const double v = std::nearbyint(Recorded * Ratio);
    return static_cast<int>(std::clamp(v, -double(QWIDGETSIZE_MAX), double(QWIDGETSIZE_MAX)));
}

// The control's font size in points; a font given in pixels is converted at
// the control's resolution.
int FontSize(const QWidget* Control)
{
    const QFont font = Control->font();
    if (font.pointSize() > 0) return font.pointSize();
    return static_cast<int>(std::nearbyint(font.pixelSize() * 72.0 / Control->logicalDpiY()));
}

QObject* CheckedOwner(QObject* AOwner)
{
    if (!AOwner) throw EResizerException("TFormResizer created without an owner");
    if (!AOwner->isWidgetType())
        throw EResizerException("TFormResizer owner must be a panel or form");
    return AOwner;
}

} // namespace

void InsertComponent(QWidget* Owner, QObject* Component)
{
    if (!Owner || !Component) return;
    TComponentList* list = ComponentListOf(Owner);
    if (!list) list = new TComponentList(Owner);
    for (const QPointer<QObject>& item : list->Items)
        if (item == Component) return;
    list->Items.emplace_back(Component);
}

std::vector<QObject*> Components(const QWidget* Owner)
{
    std::vector<QObject*> result;
    if (const TComponentList* list = Owner ? ComponentListOf(Owner) : nullptr)
        for (const QPointer<QObject>& item : list->Items)
            if (item) result.push_back(item);
    return result;
}

TSingleResizer::TSingleResizer(QWidget* Control, QWidget* Owner, bool ResizeFonts, int MinFontSize,
                               int MaxFontSize)
    : Control(Control), ResizeFonts(ResizeFonts), MinFontSize(MinFontSize),
      MaxFontSize(MaxFontSize), Owner(Owner)
{
    if (!Control) throw EResizerException("TSingleResizer created without a component link");
    if (!Owner) throw EResizerException("TSingleResizer created without a parent form link");
    // A label's width follows its text, not the window.
    ScaleWidth = !qobject_cast<QLabel*>(Control);
    HasFont = Control->metaObject()->indexOfProperty("font") >= 0;
    RecordedHeight = Control->height();
    RecordedOwnerHeight = Owner->height();
    RecordedLeft = Control->x();
    RecordedTop = Control->y();
    RecordedWidth = Control->width();
    RecordedOwnerWidth = Owner->width();
    RecordedFontSize = HasFont ? FontSize(Control) : 0;
}

void TSingleResizer::Resize(double HeightRatio, double WidthRatio)
{
    QWidget* const control = Control;
    if (!control || !Owner || GetAlign(control) == alClient) return;

    int left = control->x(), top = control->y();
    int width = control->width(), height = control->height();
    int fontSize = RecordedFontSize;
    if (Owner->height() == RecordedOwnerHeight && Owner->width() == RecordedOwnerWidth) {
        // Exactly the recorded bounds: no rounding drift survives a return
        // to the recorded size.
        if (ScaleHeight) height = RecordedHeight;
        if (ScaleLeft) left = RecordedLeft;
        if (ScaleTop) top = RecordedTop;
        if (ScaleWidth) width = RecordedWidth;
    } else {
        if (ScaleHeight) height = Scaled(RecordedHeight, HeightRatio);
        if (ScaleLeft) left = Scaled(RecordedLeft, WidthRatio);
        if (ScaleTop) top = Scaled(RecordedTop, HeightRatio);
        if (ScaleWidth) width = Scaled(RecordedWidth, WidthRatio);
        // The minimum wins when the limits cross.
        fontSize =
            std::max(std::min(Scaled(RecordedFontSize, HeightRatio), MaxFontSize), MinFontSize);
    }
    if (HasFont && ResizeFonts) {
        QFont font = control->font();
        font.setPointSize(std::max(1, fontSize)); // Qt takes no size below 1
        control->setFont(font);
    }

    SetBounds(control, left, top, width, height);
    auto* label = qobject_cast<QLabel*>(control);
    if (label && label->property("AutoSize").toBool()) {
        // Re-measure the text at the new font.
        const QSize text = label->sizeHint();
        SetBounds(label, label->x(), label->y(), text.width(), text.height());
        label->repaint();
    }
}

TFormResizer::TFormResizer(QObject* AOwner) : QObject(CheckedOwner(AOwner)) {}

TFormResizer::~TFormResizer() = default;

QWidget* TFormResizer::Owner() const
{
    return static_cast<QWidget*>(parent());
}

void TFormResizer::PostResize(QWidget* Control, double HeightRatio, double WidthRatio)
{
    if (OnPostResize) OnPostResize(this, Control, HeightRatio, WidthRatio);
}

void TFormResizer::RecordLayout()
{
    if (FRecorded) return;
    FRecorded = true;
    QWidget* const owner = Owner();
    FHeight = owner->height();
    FWidth = owner->width();
    for (QObject* component : Components(owner)) {
        if (!component->isWidgetType()) continue; // not a control
        auto* control = static_cast<QWidget*>(component);
        if (control->isWindow()) continue; // a window of its own is no part of the layout
        FResizers.push_back(std::make_unique<TSingleResizer>(control, owner, ResizeFonts,
                                                             MinFontSize, MaxFontSize));
    }
}

void TFormResizer::ResizeControls()
{
    // Without a recorded size there is nothing to scale against.
    if (!FRecorded || FHeight <= 0 || FWidth <= 0) return;
    QWidget* const owner = Owner();
    if (EnforceMinSize) {
        // geometry(), not pos(): a window's pos() includes its frame, and
        // the window would creep by the frame at each correction.
        if (owner->height() < FHeight) {
            const QRect at = owner->geometry();
            SetBounds(owner, at.x(), at.y(), at.width(), FHeight);
        }
        if (owner->width() < FWidth) {
            const QRect at = owner->geometry();
            SetBounds(owner, at.x(), at.y(), FWidth, at.height());
        }
    }
    const auto [heightRatio, widthRatio] = Ratios();
    for (const std::unique_ptr<TSingleResizer>& resizer : FResizers) {
        resizer->Resize(heightRatio, widthRatio);
        PostResize(resizer->Control, heightRatio, widthRatio);
    }
}

void TFormResizer::SetResizeFonts(bool On)
{
    ResizeFonts = On;
    for (const std::unique_ptr<TSingleResizer>& resizer : FResizers)
        resizer->ResizeFonts = On;
}

void TFormResizer::ResizeControl(QWidget* Control)
{
    if (!FRecorded || FHeight <= 0 || FWidth <= 0 || !Control) return;
    const auto [heightRatio, widthRatio] = Ratios();
    for (const std::unique_ptr<TSingleResizer>& resizer : FResizers)
        if (resizer->Control == Control) resizer->Resize(heightRatio, widthRatio);
}

std::pair<double, double> TFormResizer::Ratios() const
{
    return {double(Owner()->height()) / FHeight, double(Owner()->width()) / FWidth};
}

} // namespace tensim
