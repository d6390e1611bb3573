#include "controls/Easysize.h"

#include "controls/Align.h"
#include "tests/QtPrint.h"

#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace tensim {
namespace {

// A form that registers its controls as it creates them.
struct Form {
    QWidget Window;
    TFormResizer* Resizer = new TFormResizer(&Window);

    Form(int Width = 800, int Height = 600) { Window.resize(Width, Height); }

    template <class T = QWidget> T* Add(QWidget* Parent, int Left, int Top, int Width, int Height)
    {
        auto* control = new T(Parent ? Parent : &Window);
        control->setGeometry(Left, Top, Width, Height);
        InsertComponent(&Window, control);
        return control;
    }

    void ResizeTo(int Width, int Height)
    {
        // As a resize on screen would: realign, then rescale.
        const QRect at = Window.geometry(); // pos() would include a frame
        SetBounds(&Window, at.x(), at.y(), Width, Height);
        Resizer->ResizeControls();
    }
};

TEST(FormResizer, ScalesAndRestoresExactly)
{
    Form form;
    auto* button = form.Add<QPushButton>(nullptr, 16, 16, 65, 21);
    // Halves go to the even neighbour: 10 x 1.25 = 12.5 and 14 x 1.25 = 17.5.
    auto* halves = form.Add(nullptr, 10, 14, 10, 14);
    form.Resizer->RecordLayout();

    form.ResizeTo(1000, 750);
    EXPECT_EQ(button->geometry(), QRect(20, 20, 81, 26));
    EXPECT_EQ(halves->geometry(), QRect(12, 18, 12, 18));
    form.ResizeTo(800, 600);
    EXPECT_EQ(button->geometry(), QRect(16, 16, 65, 21));

    // Every size is scaled from the recorded bounds, not from the last ones,
    // and the recorded size brings back the recorded bounds.
    std::mt19937 random(7);
    for (int i = 0; i < 100; ++i) {
        const int width = std::uniform_int_distribution<int>(200, 2000)(random);
        const int height = std::uniform_int_distribution<int>(150, 1500)(random);
        form.ResizeTo(width, height);
        const double wr = width / 800.0, hr = height / 600.0;
        const QRect expected(int(std::nearbyint(10 * wr)), int(std::nearbyint(14 * hr)),
                             int(std::nearbyint(10 * wr)), int(std::nearbyint(14 * hr)));
        ASSERT_EQ(halves->geometry(), expected) << width << " x " << height;
    }
    form.ResizeTo(800, 600);
    EXPECT_EQ(button->geometry(), QRect(16, 16, 65, 21));
    EXPECT_EQ(halves->geometry(), QRect(10, 14, 10, 14));
}

TEST(FormResizer, NestedControlsScaleWithTheOwner)
{
    // The owner may be a panel; a control inside a group box scales with the
    // owner, not with the box.
    Form form(1000, 1000);
    auto* panel = form.Add(nullptr, 0, 0, 400, 200);
    TFormResizer resizer(panel);
    auto* box = new QGroupBox(panel);
    box->setGeometry(40, 20, 200, 100);
    auto* edit = new QWidget(box);
    edit->setGeometry(10, 30, 100, 20);
    InsertComponent(panel, box);
    InsertComponent(panel, edit);
    resizer.RecordLayout();
    SetBounds(panel, 0, 0, 600, 100);
    resizer.ResizeControls();
    EXPECT_EQ(box->geometry(), QRect(60, 10, 300, 50));
    EXPECT_EQ(edit->geometry(), QRect(15, 15, 150, 10));
}

TEST(FormResizer, LabelWidthIsNotScaled)
{
    Form form;
    auto* label = form.Add<QLabel>(nullptr, 10, 20, 100, 16);
    auto* fitted = form.Add<QLabel>(nullptr, 40, 40, 300, 50);
    fitted->setText("# de incrementos");
    fitted->setProperty("AutoSize", true);
    form.Resizer->RecordLayout();

    form.ResizeTo(1600, 750);
    EXPECT_EQ(label->geometry(), QRect(20, 25, 100, 20));
    // An auto-sized label is fitted to its text where its left and top went.
    EXPECT_EQ(fitted->geometry(), QRect(QPoint(80, 50), fitted->sizeHint()));
    EXPECT_LT(fitted->width(), 300);

    form.ResizeTo(800, 600);
    EXPECT_EQ(label->geometry(), QRect(10, 20, 100, 16));
    EXPECT_EQ(fitted->geometry(), QRect(QPoint(40, 40), fitted->sizeHint()));
}

TEST(FormResizer, FontLimits)
{
    Form form;
    form.Resizer->ResizeFonts = true;
    auto* button = form.Add<QPushButton>(nullptr, 0, 0, 10, 10);
    QFont font = button->font();
    font.setPointSize(10);
    button->setFont(font);
    auto* pixels = form.Add<QLabel>(nullptr, 0, 0, 10, 10);
    font.setPixelSize(32);
    pixels->setFont(font);
    const int pixelPoints = int(std::nearbyint(32 * 72.0 / pixels->logicalDpiY()));
    auto* small = form.Add(nullptr, 0, 0, 10, 10);
    font.setPointSize(6);
    small->setFont(font);
    auto* client = form.Add(nullptr, 0, 0, 10, 10);
    SetAlign(client, alClient);
    client->setFont(font);
    form.Resizer->RecordLayout();

    form.ResizeTo(800, 420); // 10 x 0.7 = 7, raised to the minimum 8
    EXPECT_EQ(button->font().pointSize(), 8);
    form.ResizeTo(800, 1200);
    EXPECT_EQ(button->font().pointSize(), 20);
    EXPECT_EQ(pixels->font().pointSize(), std::min(2 * pixelPoints, 48));
    form.ResizeTo(800, 3600); // 60, lowered to the maximum 48
    EXPECT_EQ(button->font().pointSize(), 48);
    EXPECT_EQ(small->font().pointSize(), 36);
    // The client control is left to the alignment, font and all.
    EXPECT_EQ(client->font().pointSize(), 6);
    EXPECT_EQ(client->geometry(), QRect(0, 0, 800, 3600));
    form.ResizeTo(800, 600);
    EXPECT_EQ(button->font().pointSize(), 10);
    EXPECT_EQ(pixels->font().pointSize(), pixelPoints);
    // Back at the recorded size the recorded font returns, below the minimum.
    EXPECT_EQ(small->font().pointSize(), 6);
    EXPECT_EQ(client->geometry(), QRect(0, 0, 800, 600));
    EXPECT_EQ(pixels->font().pixelSize(), -1); // now given in points
}

TEST(FormResizer, CrossedFontLimitsGiveTheMinimum)
{
    Form form;
    form.Resizer->ResizeFonts = true;
    form.Resizer->MinFontSize = 30;
    form.Resizer->MaxFontSize = 20;
    auto* button = form.Add<QPushButton>(nullptr, 0, 0, 10, 10);
    QFont font = button->font();
    font.setPointSize(10);
    button->setFont(font);
    form.Resizer->RecordLayout();
    for (const int height : {300, 700, 6000}) {
        form.ResizeTo(800, height);
        EXPECT_EQ(button->font().pointSize(), 30) << height;
    }
}

TEST(FormResizer, FontsKeepTheirSizeUnlessRecordedWithResizeFonts)
{
    Form form;
    auto* button = form.Add<QPushButton>(nullptr, 0, 0, 10, 10);
    QFont font = button->font();
    font.setPointSize(10);
    button->setFont(font);
    form.Resizer->RecordLayout();
    form.Resizer->ResizeFonts = true; // too late: copied when recording
    form.ResizeTo(1600, 1200);
    EXPECT_EQ(button->font().pointSize(), 10);
    EXPECT_EQ(button->geometry(), QRect(0, 0, 20, 20));
}

TEST(FormResizer, RecordsOnceInCreationOrder)
{
    Form form;
    auto* box = form.Add<QGroupBox>(nullptr, 100, 100, 300, 200);
    auto* inner = form.Add(box, 10, 20, 30, 40);
    auto* outer = form.Add(nullptr, 8, 8, 16, 16);
    // Registered twice, but one record; not a control: no record.
    InsertComponent(&form.Window, inner);
    QObject timerLike;
    InsertComponent(&form.Window, &timerLike);
    form.Resizer->RecordLayout();

    inner->setGeometry(0, 0, 1, 1);
    form.Resizer->RecordLayout(); // no second recording
    std::vector<QWidget*> order;
    form.Resizer->OnPostResize = [&](QObject* Sender, QWidget* Control, double HeightRatio,
                                     double WidthRatio) {
        EXPECT_EQ(Sender, form.Resizer);
        EXPECT_EQ(HeightRatio, 0.5);
        EXPECT_EQ(WidthRatio, 1.5);
        order.push_back(Control);
    };
    form.ResizeTo(1200, 300);
    EXPECT_EQ(order, (std::vector<QWidget*>{box, inner, outer}));
    EXPECT_EQ(inner->geometry(), QRect(15, 10, 45, 20));
    EXPECT_EQ(Components(&form.Window).size(), 4u);
}

TEST(FormResizer, NothingBeforeRecordingAndDestroyedControlsAreSkipped)
{
    Form form;
    auto* kept = form.Add(nullptr, 40, 40, 40, 40);
    auto* gone = form.Add(nullptr, 80, 80, 40, 40);
    int calls = 0;
    std::vector<QWidget*> seen;
    form.Resizer->OnPostResize = [&](QObject*, QWidget* Control, double, double) {
        ++calls;
        seen.push_back(Control);
    };
    form.ResizeTo(400, 300);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(kept->geometry(), QRect(40, 40, 40, 40));

    form.Resizer->RecordLayout(); // at 400 x 300
    delete gone;
    form.ResizeTo(800, 600);
    EXPECT_EQ(kept->geometry(), QRect(80, 80, 80, 80));
    EXPECT_EQ(seen, (std::vector<QWidget*>{kept, nullptr}));
    EXPECT_EQ(Components(&form.Window), (std::vector<QObject*>{kept}));
}

TEST(FormResizer, EnforceMinSize)
{
    Form form;
    form.Resizer->EnforceMinSize = true;
    auto* button = form.Add(nullptr, 16, 16, 65, 21);
    form.Resizer->RecordLayout();
    form.ResizeTo(700, 900);
    EXPECT_EQ(form.Window.size(), QSize(800, 900));
    EXPECT_EQ(button->geometry(), QRect(16, 24, 65, 32));
    form.ResizeTo(400, 300);
    EXPECT_EQ(form.Window.size(), QSize(800, 600));
    EXPECT_EQ(button->geometry(), QRect(16, 16, 65, 21));

    // A window on screen, with a frame, is held at its size where it stands.
    Form shown;
    shown.Resizer->EnforceMinSize = true;
    shown.Resizer->RecordLayout();
    shown.Window.move(100, 80);
    shown.Window.show();
    const QRect before = shown.Window.geometry();
    shown.Window.resize(500, 400); // as the user shrinks it
    shown.Resizer->ResizeControls();
    EXPECT_EQ(shown.Window.geometry(), before);
}

// The main window's regions: aligned bands and columns around a client
// panel, which the resizer leaves to the alignment.
TEST(FormResizer, AlignedControlsAreScaledThenRealigned)
{
    Form form(792, 573);
    auto* band1 = form.Add<QGroupBox>(nullptr, 0, 0, 792, 169);
    SetAlign(band1, alTop);
    auto* inner = form.Add(band1, 32, 16, 201, 145);
    auto* band2 = form.Add<QGroupBox>(nullptr, 0, 169, 792, 248);
    SetAlign(band2, alTop);
    auto* left = form.Add<QGroupBox>(nullptr, 0, 417, 233, 156);
    SetAlign(left, alLeft);
    auto* client = form.Add(nullptr, 233, 417, 326, 156);
    SetAlign(client, alClient);
    auto* chart = form.Add(client, 0, 0, 150, 154);
    SetAlign(chart, alLeft);
    auto* right = form.Add<QGroupBox>(nullptr, 559, 417, 233, 156);
    SetAlign(right, alRight);
    const std::vector<QWidget*> all = {band1, inner, band2, left, client, chart, right};
    // Titles and colours for the pictures.
    band1->setTitle("Tensores de flujo y deformación");
    band2->setTitle("Distorsión");
    left->setTitle("Tipo de flujo");
    right->setTitle("Visualizar");
    for (const auto& [w, colour] :
         {std::pair<QWidget*, QColor>{inner, Qt::cyan}, {client, Qt::yellow}, {chart, Qt::green}}) {
        QPalette palette = w->palette();
        palette.setColor(QPalette::Window, colour);
        w->setPalette(palette);
        w->setAutoFillBackground(true);
    }
    std::vector<QRect> design;
    for (QWidget* w : all)
        design.push_back(w->geometry());
    form.Resizer->RecordLayout();

    std::vector<QWidget*> posted;
    form.Resizer->OnPostResize = [&](QObject*, QWidget* Control, double, double) {
        posted.push_back(Control);
    };
    form.Window.show();
    form.Window.grab().save(QString(TENSIM_BUILD_DIR) + "/resizer_design.png");
    form.ResizeTo(990, 716); // ratios 1.25 and 1.2495...
    EXPECT_EQ(posted, all);  // the client panel too, though it was not scaled
    EXPECT_EQ(band1->geometry(), QRect(0, 0, 990, 211));
    EXPECT_EQ(inner->geometry(), QRect(40, 20, 251, 181));
    EXPECT_EQ(band2->geometry(), QRect(0, 211, 990, 310));
    EXPECT_EQ(left->geometry(), QRect(0, 521, 291, 195));
    EXPECT_EQ(right->geometry(), QRect(699, 521, 291, 195));
    EXPECT_EQ(client->geometry(), QRect(291, 521, 408, 195));
    EXPECT_EQ(chart->geometry(), QRect(0, 0, 188, 195));

    form.Window.grab().save(QString(TENSIM_BUILD_DIR) + "/resizer_enlarged.png");

    form.ResizeTo(792, 573);
    for (size_t i = 0; i < all.size(); ++i)
        EXPECT_EQ(all[i]->geometry(), design[i]) << i;
}

TEST(FormResizer, Exceptions)
{
    auto message = [](auto Make) {
        try {
            Make();
        } catch (const Exception& e) {
            EXPECT_NE(dynamic_cast<const EResizerException*>(&e), nullptr);
            return std::string(e.what());
        }
        return std::string("no exception");
    };
    QObject notAControl;
    QWidget control;
    EXPECT_EQ(message([] { TFormResizer r(nullptr); }), "TFormResizer created without an owner");
    EXPECT_EQ(message([&] { TFormResizer r(&notAControl); }),
              "TFormResizer owner must be a panel or form");
    EXPECT_TRUE(notAControl.children().isEmpty());
    EXPECT_EQ(message([&] { TSingleResizer r(nullptr, &control, false, 8, 48); }),
              "TSingleResizer created without a component link");
    EXPECT_EQ(message([&] { TSingleResizer r(&control, nullptr, false, 8, 48); }),
              "TSingleResizer created without a parent form link");
}

} // namespace
} // namespace tensim
