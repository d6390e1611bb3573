#include "controls/StdCtrls.h"

#include <QFontMetrics>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

namespace tensim {
namespace {

TEST(StaticText, FitsItsCaptionUnlessToldNotTo)
{
    QWidget form;
    auto* text = new TStaticText(&form);
    QFont font = text->font();
    font.setPixelSize(32);
    text->setFont(font);
    text->SetCaption("n");
    const QFontMetrics metrics(font);
    EXPECT_EQ(text->size(), QSize(metrics.horizontalAdvance("n"), metrics.height()));
    text->SetCaption("1000");
    EXPECT_EQ(text->width(), metrics.horizontalAdvance("1000"));
    // A fixed size stays whatever the caption.
    text->SetAutoSize(false);
    text->resize(120, 38);
    text->SetCaption("123456");
    EXPECT_EQ(text->size(), QSize(120, 38));
    font.setPixelSize(11);
    text->setFont(font);
    EXPECT_EQ(text->size(), QSize(120, 38));
    text->SetAutoSize(true);
    EXPECT_EQ(text->height(), QFontMetrics(font).height());
}

TEST(StaticText, PaintsItsCaption)
{
    TStaticText text;
    text.SetCaption("=");
    QFont font = text.font();
    font.setPixelSize(32);
    text.setFont(font);
    const QImage picture = text.grab().toImage();
    int dark = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            dark += qGray(picture.pixel(x, y)) < 100;
    EXPECT_GT(dark, 20);
}

TEST(TrackBar, ReportsOnlyRealChangesAndKeepsToItsRange)
{
    TTrackBar bar;
    bar.SetRange(-20, 20);
    // Ticks only at the two ends.
    EXPECT_EQ(bar.tickInterval(), 40);
    EXPECT_EQ(bar.tickPosition(), QSlider::TicksBelow);
    std::vector<int> reported;
    bar.OnChange = [&](QObject* Sender) {
        EXPECT_EQ(Sender, &bar);
        reported.push_back(bar.Position());
    };
    struct Row {
        int Set;
        int Position;
    };
    const Row rows[] = {{0, 0}, {5, 5}, {5, 5}, {25, 20}, {99, 20}, {-21, -20}, {-20, -20}};
    for (const Row& row : rows) {
        bar.SetPosition(row.Set);
        EXPECT_EQ(bar.Position(), row.Position) << row.Set;
    }
    EXPECT_EQ(reported, std::vector<int>({5, 20, -20}));
    QTest::keyClick(&bar, Qt::Key_Right);
    QTest::keyClick(&bar, Qt::Key_Left);
    QTest::keyClick(&bar, Qt::Key_Left);
    EXPECT_EQ(reported, std::vector<int>({5, 20, -20, -19, -20}));
}

TEST(PageControl, TabsShareAWidthThatNoCaptionIsCutTo)
{
    TPageControl pages;
    pages.resize(230, 140);
    pages.addTab(new QWidget, "A");
    pages.addTab(new QWidget, "Un título mucho más largo");
    pages.SetTabWidth(50);
    pages.show();
    QTabBar* bar = pages.tabBar();
    EXPECT_EQ(bar->tabRect(0).width(), 50);
    EXPECT_GT(bar->tabRect(1).width(), bar->fontMetrics().horizontalAdvance(bar->tabText(1)));
    EXPECT_EQ(bar->elideMode(), Qt::ElideNone);
    pages.SetTabWidth(80);
    EXPECT_EQ(bar->tabRect(0).width(), 80);

    int changes = 0;
    pages.OnChange = [&](QObject* Sender) {
        EXPECT_EQ(Sender, &pages);
        ++changes;
    };
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    EXPECT_EQ(pages.currentIndex(), 1);
    EXPECT_EQ(changes, 1);
    pages.setCurrentIndex(1);
    EXPECT_EQ(changes, 1);
}

} // namespace
} // namespace tensim
