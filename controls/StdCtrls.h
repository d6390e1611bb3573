#pragma once
// Plain controls of the program's windows: a static text that paints its
// caption (not a QLabel, whose width the form resizer would leave alone), a
// horizontal track bar that reports only real changes of its position, and
// a page control whose tabs can share one width.

#include "math/Events.h"

#include <QSlider>
#include <QString>
#include <QTabWidget>
#include <QWidget>

namespace tensim {

class TStaticText : public QWidget {
    Q_OBJECT
public:
    explicit TStaticText(QWidget* Parent = nullptr);

    QString Caption() const { return FCaption; }
    // Repaints; with AutoSize the control is first fitted to the new text.
    void SetCaption(const QString& Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    Qt::Alignment Alignment() const { return FAlignment; }
    void SetAlignment(Qt::Alignment Value);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* Event) override;
    void changeEvent(QEvent* Event) override;

private:
    void FitToCaption();

    QString FCaption;
    bool FAutoSize = true;
    Qt::Alignment FAlignment = Qt::AlignLeft | Qt::AlignTop;
};

// Tick marks only at the two ends of the range.
class TTrackBar : public QSlider {
    Q_OBJECT
public:
    explicit TTrackBar(QWidget* Parent = nullptr);

    int Position() const { return value(); }
    // Held to the range; a position equal to the current one fires nothing.
    void SetPosition(int Value) { setValue(Value); }
    void SetRange(int Min, int Max);

    TNotifyEvent OnChange;
};

class TPageControl : public QTabWidget {
    Q_OBJECT
public:
    explicit TPageControl(QWidget* Parent = nullptr);

    // The width of every tab in pixels; a caption that needs more widens its
    // tab. 0 sizes each tab to its caption.
    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int Value);

    // The active page changed.
    TNotifyEvent OnChange;

private:
    int FTabWidth = 0;
};

} // namespace tensim
