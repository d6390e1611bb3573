#pragma once
// Proportional form resizer: records the bounds (and font sizes) of the
// controls a form owns, and afterwards scales them by the ratio of the
// form's size to the recorded size, so the layout grows and shrinks with the
// window. Controls aligned to fill their parent's client area are left to
// the alignment; other aligned controls are scaled, then realigned.

#include "math/Errors.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QWidget;

namespace tensim {

class EResizerException : public Exception {
public:
    using Exception::Exception;
};

// The components a form owns, in the order the form created them; the form
// inserts each control as it creates it (Qt's child lists are grouped by
// parent). A component is listed once; destroyed ones drop out.
void InsertComponent(QWidget* Owner, QObject* Component);
std::vector<QObject*> Components(const QWidget* Owner);

// The recorded layout of one control.
class TSingleResizer {
public:
    TSingleResizer(QWidget* Control, QWidget* Owner, bool ResizeFonts, int MinFontSize,
                   int MaxFontSize);
    // Scales the control, or restores it exactly when the owner is back at
    // its recorded size. A label with the property "AutoSize" set true is
    // then fitted to its text.
    void Resize(double HeightRatio, double WidthRatio);

    QPointer<QWidget> Control; // null once the control is destroyed
    bool ScaleHeight = true, ScaleLeft = true, ScaleTop = true, ScaleWidth = true;
    bool ResizeFonts;
    int MinFontSize, MaxFontSize;
    bool HasFont; // sizes in points; the font itself is the control's
    int RecordedHeight, RecordedOwnerHeight, RecordedLeft, RecordedTop, RecordedWidth,
        RecordedOwnerWidth, RecordedFontSize;
    QPointer<QWidget> Owner;
};

// The owner (a form or panel) is the Qt parent. Sizes are the owner's
// width() and height().
class TFormResizer : public QObject {
public:
    explicit TFormResizer(QObject* AOwner);
    ~TFormResizer() override;

    bool ResizeFonts = false;
    int MinFontSize = 8;
    int MaxFontSize = 48;
    bool EnforceMinSize = false;
    // Called once per recorded control, after it was rescaled.
    std::function<void(QObject* Sender, QWidget* Control, double HeightRatio, double WidthRatio)>
        OnPostResize;

    virtual void PostResize(QWidget* Control, double HeightRatio, double WidthRatio);
    // Records the owner's size and its controls' layout; only the first call counts.
    virtual void RecordLayout();
    // Scales every recorded control to the owner's current size; nothing
    // before the layout is recorded.
    virtual void ResizeControls();
    // Turns the scaling of fonts on or off for the recorded controls too;
    // the next rescaling applies it. Fonts scaled before keep their size.
    void SetResizeFonts(bool On);
    // Scales one recorded control to the owner's current size, as
    // ResizeControls does; a control that is not recorded is left as it is.
    void ResizeControl(QWidget* Control);

private:
    QWidget* Owner() const;
    // The owner's height and width over the recorded ones.
    std::pair<double, double> Ratios() const;

    int FHeight = 0, FWidth = 0;
    std::vector<std::unique_ptr<TSingleResizer>> FResizers;
    bool FRecorded = false;
};

} // namespace tensim
