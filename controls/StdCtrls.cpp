#include "controls/StdCtrls.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QTabBar>

#include <algorithm>

namespace tensim {

TStaticText::TStaticText(QWidget* Parent) : QWidget(Parent)
{
    FitToCaption();
}

void TStaticText::SetCaption(const QString& Value)
{
    if (Value == FCaption) return;
    FCaption = Value;
    if (FAutoSize) FitToCaption();
    update();
}

void TStaticText::SetAutoSize(bool Value)
{
    FAutoSize = Value;
    if (FAutoSize) FitToCaption();
}

void TStaticText::SetAlignment(Qt::Alignment Value)
{
    FAlignment = Value;
    update();
}

QSize TStaticText::sizeHint() const
{
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(FCaption), metrics.height());
}

void TStaticText::FitToCaption()
{
    resize(sizeHint());
}

void TStaticText::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(rect(), static_cast<int>(FAlignment), FCaption);
}

void TStaticText::changeEvent(QEvent* Event)
{
    QWidget::changeEvent(Event);
    if (Event->type() == QEvent::FontChange && FAutoSize) FitToCaption();
}

TTrackBar::TTrackBar(QWidget* Parent) : QSlider(Qt::Horizontal, Parent)
{
    setTickPosition(QSlider::TicksBelow);
    SetRange(0, 10);
    connect(this, &QSlider::valueChanged, this, [this] {
        if (OnChange) OnChange(this);
    });
}

void TTrackBar::SetRange(int Min, int Max)
{
    setRange(Min, Max);
    setTickInterval(std::max(1, Max - Min));
}

namespace {

class TTabBar : public QTabBar {
public:
    explicit TTabBar(const int& Width) : FWidth(Width) {}

protected:
    QSize tabSizeHint(int Index) const override
    {
        // A caption wider than the setting widens its tab rather than being cut.
        QSize size = QTabBar::tabSizeHint(Index);
        size.setWidth(std::max(size.width(), FWidth));
        return size;
    }

private:
    const int& FWidth; // the page control's setting
};

} // namespace

TPageControl::TPageControl(QWidget* Parent) : QTabWidget(Parent)
{
    setTabBar(new TTabBar(FTabWidth));
    tabBar()->setElideMode(Qt::ElideNone);
    connect(this, &QTabWidget::currentChanged, this, [this] {
        if (OnChange) OnChange(this);
    });
}

void TPageControl::SetTabWidth(int Value)
{
    FTabWidth = std::max(0, Value);
    // Setting the icon size marks the tab bar's layout for a new pass.
    tabBar()->setIconSize(tabBar()->iconSize());
}

} // namespace tensim
