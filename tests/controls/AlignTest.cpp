#include "controls/Align.h"

#include "tests/QtPrint.h"

#include <QDialog>
#include <QEvent>
#include <QGroupBox>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <utility>
#include <vector>

namespace tensim {
namespace {

QWidget* Child(QWidget* Parent, TAlign Align, int Width, int Height)
{
    auto* w = new QWidget(Parent);
    w->resize(Width, Height);
    SetAlign(w, Align);
    return w;
}

// One of each alignment, in a child order that is not the placement order.
struct Layout {
    std::unique_ptr<QWidget> Parent = std::make_unique<QWidget>();
    QWidget* Client;
    QWidget* Left;
    QWidget* Top1;
    QWidget* Bottom;
    QWidget* Right;
    QWidget* Top2;
    QWidget* Free;

    Layout()
    {
        Parent->resize(400, 300);
        Client = Child(Parent.get(), alClient, 10, 10);
        Left = Child(Parent.get(), alLeft, 60, 10);
        Top1 = Child(Parent.get(), alTop, 10, 50);
        Bottom = Child(Parent.get(), alBottom, 10, 40);
        Right = Child(Parent.get(), alRight, 70, 10);
        Top2 = Child(Parent.get(), alTop, 10, 20);
        Free = new QWidget(Parent.get());
        Free->setGeometry(5, 6, 7, 8);
    }
};

TEST(Align, ChildOrderTopBottomLeftRightClient)
{
    Layout l;
    EXPECT_EQ(l.Top1->geometry(), QRect(0, 0, 400, 50));
    EXPECT_EQ(l.Top2->geometry(), QRect(0, 50, 400, 20));
    EXPECT_EQ(l.Bottom->geometry(), QRect(0, 260, 400, 40));
    EXPECT_EQ(l.Left->geometry(), QRect(0, 70, 60, 190));
    EXPECT_EQ(l.Right->geometry(), QRect(330, 70, 70, 190));
    EXPECT_EQ(l.Client->geometry(), QRect(60, 70, 270, 190));
    EXPECT_EQ(l.Free->geometry(), QRect(5, 6, 7, 8)); // not aligned, not moved
    EXPECT_EQ(GetAlign(l.Free), alNone);
    EXPECT_EQ(GetAlign(l.Right), alRight);
}

TEST(Align, NestedControlsFollowTheirParents)
{
    Layout l;
    QWidget* header = Child(l.Client, alTop, 5, 30);
    QWidget* body = Child(l.Client, alClient, 5, 5);
    QWidget* side = Child(body, alRight, 25, 5);
    EXPECT_EQ(header->geometry(), QRect(0, 0, 270, 30));
    EXPECT_EQ(body->geometry(), QRect(0, 30, 270, 160));
    EXPECT_EQ(side->geometry(), QRect(245, 0, 25, 160));

    // A window on screen realigns from Qt's resize events alone.
    l.Parent->show();
    l.Parent->resize(500, 400);
    EXPECT_EQ(l.Bottom->geometry(), QRect(0, 360, 500, 40));
    EXPECT_EQ(l.Client->geometry(), QRect(60, 70, 370, 290));
    EXPECT_EQ(body->geometry(), QRect(0, 30, 370, 260));
    EXPECT_EQ(side->geometry(), QRect(345, 0, 25, 260));

    // So does a child changing size by plain Qt calls.
    l.Top1->resize(l.Top1->width(), 80);
    EXPECT_EQ(l.Top1->geometry(), QRect(0, 0, 500, 80));
    EXPECT_EQ(l.Client->geometry(), QRect(60, 100, 370, 260));
    EXPECT_EQ(side->geometry(), QRect(345, 0, 25, 230));
    l.Left->move(200, 200); // an aligned control cannot be moved away
    EXPECT_EQ(l.Left->geometry(), QRect(0, 100, 60, 260));
}

TEST(Align, SetBoundsRealignsAWindowNotOnScreen)
{
    Layout l;
    QWidget* body = Child(l.Client, alClient, 5, 5);
    // Only height counts for a top control, only width for a left one.
    SetBounds(l.Top1, 33, 44, 10, 10);
    SetBounds(l.Left, 33, 44, 100, 5);
    EXPECT_EQ(l.Top1->geometry(), QRect(0, 0, 400, 10));
    EXPECT_EQ(l.Left->geometry(), QRect(0, 30, 100, 230));
    EXPECT_EQ(l.Client->geometry(), QRect(100, 30, 230, 230));
    EXPECT_EQ(body->geometry(), QRect(0, 0, 230, 230));

    SetBounds(l.Parent.get(), 0, 0, 200, 100);
    EXPECT_EQ(l.Bottom->geometry(), QRect(0, 60, 200, 40));
    EXPECT_EQ(l.Client->geometry(), QRect(100, 30, 30, 30));
    EXPECT_EQ(body->geometry(), QRect(0, 0, 30, 30));

    // Not enough room: the controls overlap and nothing gets a negative size.
    SetBounds(l.Parent.get(), 0, 0, 100, 50);
    EXPECT_EQ(l.Right->geometry(), QRect(30, 30, 70, 0));
    EXPECT_EQ(l.Client->geometry(), QRect(100, 30, 0, 0));
}

TEST(Align, HiddenChildrenTakeNoSpace)
{
    for (const bool onScreen : {false, true}) {
        SCOPED_TRACE(onScreen);
        QWidget panel;
        panel.resize(400, 100);
        // The charts of the main window: two left, two right, one pair hidden.
        QWidget* chart1 = Child(&panel, alLeft, 150, 10);
        QWidget* chart2 = Child(&panel, alRight, 152, 10);
        QWidget* chart3 = Child(&panel, alLeft, 150, 10);
        QWidget* chart4 = Child(&panel, alRight, 152, 10);
        chart3->hide();
        chart4->hide();
        if (onScreen) panel.show();
        EXPECT_EQ(chart1->geometry(), QRect(0, 0, 150, 100));
        EXPECT_EQ(chart2->geometry(), QRect(248, 0, 152, 100));

        chart1->hide();
        chart2->hide();
        chart3->show();
        chart4->show();
        EXPECT_EQ(chart3->geometry(), QRect(0, 0, 150, 100));
        EXPECT_EQ(chart4->geometry(), QRect(248, 0, 152, 100));

        chart1->show();
        EXPECT_EQ(chart1->geometry(), QRect(0, 0, 150, 100));
        EXPECT_EQ(chart3->geometry(), QRect(150, 0, 150, 100));
    }
}

// A window on screen with one aligned control and a client control.
struct ShownForm {
    QWidget Window;
    QWidget* Aligned;
    QWidget* Client;

    ShownForm(int Width, int Height, TAlign Align, int Size)
    {
        Window.resize(Width, Height);
        Aligned = Child(&Window, Align, Size, Size);
        Client = Child(&Window, alClient, 10, 10);
        Window.show();
    }
};

TEST(Align, MovingAControlIntoAnotherWindowAndBack)
{
    ShownForm shown(400, 100, alLeft, 150);
    QWidget& form = shown.Window;
    QWidget* chart1 = shown.Aligned;
    QWidget* client = shown.Client;
    EXPECT_EQ(client->geometry(), QRect(150, 0, 250, 100));

    // Enlarge: borrowed by a dialog and filling it; the form closes the gap.
    QDialog dialog;
    dialog.resize(300, 200);
    const QRect bounds = chart1->geometry();
    chart1->setParent(&dialog);
    SetAlign(chart1, alClient);
    chart1->show();
    EXPECT_EQ(client->geometry(), QRect(0, 0, 400, 100));
    EXPECT_EQ(chart1->geometry(), QRect(0, 0, 300, 200));
    dialog.show();
    dialog.resize(350, 250);
    EXPECT_EQ(chart1->geometry(), QRect(0, 0, 350, 250));

    // Back, no longer aligned, at its former bounds.
    SetAlign(chart1, alNone);
    SetBounds(chart1, bounds.x(), bounds.y(), bounds.width(), bounds.height());
    chart1->setParent(&form);
    chart1->show();
    EXPECT_EQ(chart1->geometry(), QRect(0, 0, 150, 100));
    EXPECT_EQ(client->geometry(), QRect(0, 0, 400, 100));

    // An aligned control moved to a new parent is placed there.
    QWidget other;
    other.resize(90, 80);
    SetAlign(chart1, alBottom);
    chart1->setParent(&other);
    chart1->show();
    EXPECT_EQ(chart1->geometry(), QRect(0, -20, 90, 100));
}

struct ResizeCounter : QObject {
    int Count = 0;
    bool eventFilter(QObject*, QEvent* Event) override
    {
        if (Event->type() == QEvent::Resize) ++Count;
        return false;
    }
};

TEST(Align, DestroyedChildrenFreeTheirSpace)
{
    ShownForm shown(300, 200, alTop, 40);
    QWidget& form = shown.Window;
    QWidget* client = shown.Client;
    delete shown.Aligned;
    EXPECT_EQ(client->geometry(), QRect(0, 0, 300, 200));

    // A parent destroyed with its aligned children does not place them
    // while it goes: their resize handlers could reach what is already gone.
    auto* panel = new QWidget(&form);
    SetAlign(panel, alLeft);
    panel->show();
    EXPECT_EQ(client->geometry(), QRect(100, 0, 200, 200));
    ResizeCounter counter;
    for (QWidget* c : {Child(panel, alTop, 10, 10), Child(panel, alClient, 10, 10),
                       Child(panel, alClient, 10, 10), Child(panel, alBottom, 10, 10)})
        c->installEventFilter(&counter);
    panel->findChildren<QWidget*>()[1]->hide();
    counter.Count = 0;
    delete panel;
    EXPECT_EQ(counter.Count, 0);
    EXPECT_EQ(client->geometry(), QRect(0, 0, 300, 200));
}

TEST(Align, GroupBoxPlacesItsChildrenBelowItsTitle)
{
    QGroupBox box("Distorsión");
    box.resize(500, 248);
    QWidget* left = Child(&box, alLeft, 222, 10);
    QWidget* right = Child(&box, alRight, 222, 10);
    const QRect inner = box.contentsRect();
    ASSERT_GT(inner.top(), 0);
    EXPECT_EQ(left->geometry(), QRect(inner.left(), inner.top(), 222, inner.height()));
    EXPECT_EQ(right->geometry(), QRect(inner.right() + 1 - 222, inner.top(), 222, inner.height()));

    // A box whose title comes later moves its children down then.
    QGroupBox late;
    late.resize(300, 100);
    QWidget* client = Child(&late, alClient, 1, 1);
    const int before = client->y();
    late.setTitle("Finita");
    EXPECT_GT(client->y(), before);
    EXPECT_EQ(client->geometry(), late.contentsRect());
}

// Random layouts whose fixed sizes fit: the aligned controls keep their own
// height (top, bottom) or width (left, right), tile the parent without
// overlapping, and, with one client control, cover it.
TEST(Align, RandomLayoutsTileTheParent)
{
    std::mt19937 random(2024);
    const TAlign kinds[] = {alTop, alBottom, alLeft, alRight};
    for (int round = 0; round < 200; ++round) {
        QWidget parent;
        const int width = std::uniform_int_distribution<int>(100, 900)(random);
        const int height = std::uniform_int_distribution<int>(100, 700)(random);
        parent.resize(width, height);
        const int count = std::uniform_int_distribution<int>(0, 8)(random);
        const int clientAt = std::uniform_int_distribution<int>(0, count)(random);
        int freeWidth = width, freeHeight = height;
        std::vector<std::pair<QWidget*, int>> fixed; // control and its own size
        QWidget* client = nullptr;
        for (int i = 0; i <= count; ++i) {
            if (i == clientAt) client = Child(&parent, alClient, 1, 1);
            if (i == count) break;
            const TAlign kind = kinds[random() % 4];
            const bool vertical = kind == alTop || kind == alBottom;
            int& room = vertical ? freeHeight : freeWidth;
            const int size = std::uniform_int_distribution<int>(0, room / 3)(random);
            room -= size;
            fixed.emplace_back(
                vertical ? Child(&parent, kind, 1, size) : Child(&parent, kind, size, 1), size);
        }
        long area = client->width() * client->height();
        for (const auto& [control, size] : fixed) {
            const TAlign kind = GetAlign(control);
            EXPECT_EQ(kind == alTop || kind == alBottom ? control->height() : control->width(),
                      size);
            EXPECT_TRUE(parent.rect().contains(control->geometry()) || size == 0);
            EXPECT_FALSE(control->geometry().intersects(client->geometry()));
            for (const auto& other : fixed) {
                if (other.first != control) {
                    EXPECT_FALSE(control->geometry().intersects(other.first->geometry()));
                }
            }
            area += control->width() * control->height();
        }
        ASSERT_EQ(area, long(width) * height) << "round " << round;
    }
}

} // namespace
} // namespace tensim
