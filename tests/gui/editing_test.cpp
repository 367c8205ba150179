// Edit modes, view activation, keyboard navigation, picking and the status
// bar, driven through the real main window with mouse and key events.
#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <gtest/gtest.h>

#include <memory>

#include "app/loader.h"
#include "editing/qt/side_panel.h"
#include "gui/gui_support.h"
#include "preview3d/qt/dxdraw.h"
#include "views/canvas.h"

namespace facetor {
namespace {

// The sample model: mesh 0 "gem" (vertex 0 its culet at the origin), mesh 1
// "plinth" whose vertices 1 and 5 differ only in z, so that they share one
// spot in view 2, which looks along z.
constexpr int k_gem = 0;
constexpr int k_plinth = 1;

// How many pixels of a picture are not black.
int lit_pixels(const QImage& image)
{
    int lit = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            lit += (image.pixel(x, y) & 0xffffffu) != 0 ? 1 : 0;
        }
    }
    return lit;
}

class EditingWindow : public ::testing::Test {
  protected:
    void SetUp() override
    {
        folder_.write("dflt.3do", test::sample_model());
        // Tall enough that view 2 shows the whole plinth.
        w_ = test::start_editor(1000, 800);
        ASSERT_TRUE(test::activate(w_.get())) << "the window never became active";
    }

    Tloader& w() { return *w_; }
    const type_model& model() { return *w_->state().model; }

    template <typename T = QWidget> T* child(const char* name)
    {
        T* found = w_->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QPoint vertex_at(int view, int m, int v)
    {
        const type_vertex& vertex = model().mesh(m).vertices[v];
        return {vertex.screen_x[view], vertex.screen_y[view]};
    }

    // The colour drawn at a vertex's position in a view's picture.
    std::uint32_t colour_at(int view, int m, int v)
    {
        const PixelImage& image = w_->state().images.images[view];
        const QPoint p = vertex_at(view, m, v);
        if (p.x() < 0 || p.y() < 0 || p.x() >= image.width() || p.y() >= image.height()) {
            return 0;
        }
        return image.pixel(p.x(), p.y());
    }

    QString value(const char* grid, int row)
    {
        return child<QTableWidget>(grid)->item(row, 1)->text();
    }

    QColor background(const char* name) { return child(name)->palette().color(QPalette::Window); }

    void key_click(Qt::Key key) { QTest::keyClick(test::key_target(w_.get()), key); }

    void click(const char* name, QPoint at = {})
    {
        QWidget* widget = child(name);
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier,
                          at.isNull() ? widget->rect().center() : at);
        (void)test::wait_idle(*w_);
    }

    // Clicks a value cell of a property grid, which gives the grid the focus.
    void click_cell(const char* grid, int row)
    {
        auto* table = child<QTableWidget>(grid);
        const QRect cell = table->visualRect(table->model()->index(row, 1));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        (void)test::wait_idle(*w_);
    }

    test::WorkFolder folder_;
    test::ModalWatcher watcher_;
    std::unique_ptr<Tloader> w_;
};

QColor button_face()
{
    return QApplication::palette().color(QPalette::Button);
}

const QColor k_red_colour(255, 0, 0);

// A real number as the grids show it.
QString real_text(double value)
{
    return QString::number(value, 'g', 15)
        .replace(QLatin1Char('.'), QLatin1Char(SidePanel::decimal_point()));
}

TEST_F(EditingWindow, ActivatingTheWindowLeavesView2ActiveAndTheFocusOnFocuser)
{
    // A grid taking the focus would mark the side panel and disable the
    // navigation keys before the user has touched anything.
    EXPECT_EQ(w().state().view.active_view, 2);
    EXPECT_EQ(QApplication::focusWidget(), child("Focuser"));
    EXPECT_EQ(background("geoset_num"), button_face());
}

TEST_F(EditingWindow, ModeCommandsSwitchPageMenuButtonAndViewColours)
{
    struct Step {
        const char* how; // a toolbar button's name, or a key
        Qt::Key key;
        EditMode mode;
        const char* page;
        const char* menu_item;
        const char* button;
        std::uint32_t gem_vertex_5; // neither selected nor a corner of face 0
        std::uint32_t plinth_vertex_1;
        const char* grid; // a value written by the refresh of the new page
        int row;
        const char* shown;
    };
    const Step steps[] = {
        {"BFace", Qt::Key_unknown, face_mode, "face_panel", "&Face Mode", "BFace", k_white, k_white,
         "f_prop", 2, "4"},
        {"Bvertex", Qt::Key_unknown, vertex_mode, "vertex_panel", "&Vertex Mode", "Bvertex",
         k_yellow, k_yellow, "v_prop", 0, "0"},
        {"BMesh", Qt::Key_unknown, mesh_mode, "Mesh_panel", "Mes&h Mode", "BMesh", k_red, k_white,
         "m_prop", 0, "gem"},
        {"F9", Qt::Key_F9, vertex_mode, "vertex_panel", "&Vertex Mode", "Bvertex", k_yellow,
         k_yellow, "v_prop", 0, "0"},
        {"F10", Qt::Key_F10, face_mode, "face_panel", "&Face Mode", "BFace", k_white, k_white,
         "f_prop", 2, "4"},
        {"F11", Qt::Key_F11, mesh_mode, "Mesh_panel", "Mes&h Mode", "BMesh", k_red, k_white,
         "m_prop", 0, "gem"},
    };
    // Empty value cells before the first refresh of a page prove nothing, so
    // clear the ones the steps read.
    for (const char* grid : {"f_prop", "v_prop", "m_prop"}) {
        child<QTableWidget>(grid)->item(0, 1)->setText(QString());
        child<QTableWidget>(grid)->item(2, 1)->setText(QString());
    }
    auto* panel = child<SidePanel>("Base");
    for (const Step& s : steps) {
        SCOPED_TRACE(s.how);
        if (s.key == Qt::Key_unknown) {
            click(s.how);
        } else {
            QTest::keyClick(&w(), s.key);
            (void)test::wait_idle(w());
        }
        EXPECT_EQ(w().state().edit_mode, s.mode);
        EXPECT_EQ(panel->front_page()->objectName(), s.page);
        for (QAction* item : w().findChildren<QAction*>()) {
            if (item->isCheckable() && item->text().contains(QStringLiteral(" Mode"))) {
                EXPECT_EQ(item->isChecked(), item->text() == s.menu_item)
                    << item->text().toStdString();
            }
        }
        for (const char* button : {"BMesh", "BFace", "Bvertex"}) {
            EXPECT_EQ(child<QToolButton>(button)->isChecked(), qstrcmp(button, s.button) == 0)
                << button;
        }
        EXPECT_EQ(colour_at(2, k_gem, 5), s.gem_vertex_5);
        EXPECT_EQ(colour_at(2, k_plinth, 1), s.plinth_vertex_1);
        EXPECT_EQ(value(s.grid, s.row), s.shown);
    }
}

TEST_F(EditingWindow, F11InMeshModeRewritesTheMeshGrid)
{
    ASSERT_EQ(w().state().edit_mode, mesh_mode);
    child<QTableWidget>("m_prop")->item(0, 1)->setText("typed");
    QTest::keyClick(&w(), Qt::Key_F11);
    (void)test::wait_idle(w());
    EXPECT_EQ(value("m_prop", 0), "gem");
}

TEST_F(EditingWindow, ClickingAViewFramesItInRedAndMakesItActive)
{
    click_cell("m_prop", 1);
    ASSERT_EQ(w().state().view.active_view, 0);

    const struct {
        const char* view;
        int number;
    } clicks[] = {{"Image1", 1}, {"Image3", 3}, {"DXDraw", 4}, {"Image2", 2}};
    for (const auto& c : clicks) {
        SCOPED_TRACE(c.view);
        click(c.view);
        EXPECT_EQ(w().state().view.active_view, c.number);
        for (int dock = 1; dock <= 4; ++dock) {
            const QByteArray name = "Dock" + QByteArray::number(dock);
            EXPECT_EQ(background(name.constData()), dock == c.number ? k_red_colour : button_face())
                << name.constData();
        }
        EXPECT_EQ(background("geoset_num"), button_face());
        EXPECT_EQ(QApplication::focusWidget(), child("Focuser"));
    }
}

TEST_F(EditingWindow, PressOnADrawnVertexSelectsItAndShowsItsCoordinates)
{
    click("Bvertex");
    const QPoint spot = vertex_at(2, k_plinth, 1);
    ASSERT_EQ(vertex_at(2, k_plinth, 5), spot);
    ASSERT_TRUE(child("Image2")->rect().contains(spot)) << spot.x() << "," << spot.y();
    ASSERT_EQ(colour_at(2, k_plinth, 1), k_yellow);

    // Two vertices share the spot: presses there alternate between them.
    for (int v : {1, 5}) {
        SCOPED_TRACE(v);
        click("Image2", spot);
        EXPECT_EQ(model().sel_mesh, k_plinth);
        EXPECT_EQ(model().sel_vertex, v);
        const type_vertex& vertex = model().mesh(k_plinth).vertices[v];
        EXPECT_EQ(child<QLabel>("vertex_num")->text(), QStringLiteral("VERTEX: %1").arg(v));
        EXPECT_EQ(value("v_prop", 0), real_text(vertex.x));
        EXPECT_EQ(value("v_prop", 1), real_text(vertex.y));
        EXPECT_EQ(value("v_prop", 2), real_text(vertex.z));
        EXPECT_EQ(colour_at(2, k_plinth, v), k_red);
    }

    // The press is judged in the view that was active when it came; the
    // click that completes it then activates the pressed view.
    click("Image1", spot);
    EXPECT_EQ(model().sel_vertex, 1);
    EXPECT_EQ(w().state().view.active_view, 1);
}

TEST_F(EditingWindow, AFocusedGridDeactivatesTheViewsAndKeepsItsCursorOnArrows)
{
    click("Bvertex");
    click_cell("v_prop", 1);
    EXPECT_EQ(w().state().view.active_view, 0);
    EXPECT_EQ(background("geoset_num"), k_red_colour);
    for (const char* dock : {"Dock1", "Dock2", "Dock3", "Dock4"}) {
        EXPECT_EQ(background(dock), button_face()) << dock;
    }
    auto* grid = child<PropertyGrid>("v_prop");
    ASSERT_EQ(QApplication::focusWidget(), grid);
    ASSERT_EQ(grid->currentRow(), 1);

    for (Qt::Key arrow : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Down}) {
        key_click(arrow);
    }
    EXPECT_EQ(grid->currentRow(), 1);
    EXPECT_EQ(grid->currentColumn(), 1);

    // Typed characters still reach the cell; a command applies them first.
    key_click(Qt::Key_7);
    ASSERT_TRUE(grid->editing());
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "7");
    click("Bvertex");
    EXPECT_FALSE(grid->editing());
    EXPECT_EQ(value("v_prop", 1), "7");
    EXPECT_EQ(model().mesh(model().sel_mesh).vertices[model().sel_vertex].y, 7.0);
}

TEST_F(EditingWindow, HoldingAnArrowPansTheActiveViewUntilRelease)
{
    ASSERT_EQ(w().state().view.active_view, 2);
    const type_view& view = w().state().view.views[2];
    const int start_x = view.pan_x;
    const int start_y = view.pan_y;
    const int start_vertex_x = vertex_at(2, k_gem, 5).x();

    QTest::keyPress(test::key_target(&w()), Qt::Key_Left);
    // Several motion ticks while the key is down.
    EXPECT_TRUE(test::wait_for([&] { return view.pan_x >= start_x + 24; }));
    QTest::keyRelease(test::key_target(&w()), Qt::Key_Left);
    const int stopped = view.pan_x;
    // Once the timer is off no tick can move the view any more.
    EXPECT_TRUE(test::wait_for([&] { return !child<QTimer>("Timer1")->isActive(); }));

    EXPECT_EQ(view.pan_x, stopped);
    EXPECT_EQ((stopped - start_x) % 8, 0);
    EXPECT_EQ(view.pan_y, start_y);
    // The picture followed: the view was drawn again at the new offset.
    EXPECT_EQ(vertex_at(2, k_gem, 5).x(), start_vertex_x + (stopped - start_x));
    EXPECT_EQ(colour_at(2, k_gem, 5), k_red);
    // The other views did not move.
    EXPECT_EQ(w().state().view.views[1].pan_y, start_y);
    EXPECT_EQ(w().state().view.views[3].pan_x, start_x);
}

TEST_F(EditingWindow, HoldingAnArrowBesideThe3DViewMovesOneStepPerTick)
{
    auto* dxdraw = child<DXDraw>("DXDraw");
    ASSERT_TRUE(dxdraw->isVisible());
    ASSERT_GT(lit_pixels(dxdraw->grabFramebuffer()), 0) << "the model is not in the 3D view";
    // Composed through OpenGL, the window paid a whole-window upload for
    // every tick of a 2D view, and the pan fell behind the timer.
    EXPECT_EQ(w().windowHandle()->surfaceType(), QSurface::RasterSurface);

    int ticks = 0;
    QObject::connect(child<QTimer>("Timer1"), &QTimer::timeout, &w(), [&ticks] { ++ticks; });
    const type_view& view = w().state().view.views[2];
    const int start_x = view.pan_x;
    QTest::keyPress(test::key_target(&w()), Qt::Key_Left);
    // Half a second of ticks on an idle machine; a loaded one takes longer.
    EXPECT_TRUE(test::wait_for([&] { return ticks >= 25; }));
    QTest::keyRelease(test::key_target(&w()), Qt::Key_Left);

    // Every tick that fired moved the view one step (one may find the
    // application inactive).
    const int moved = view.pan_x - start_x;
    EXPECT_LE(moved, 8 * ticks);
    EXPECT_GE(moved, 8 * (ticks - 2));
    EXPECT_GT(lit_pixels(dxdraw->grabFramebuffer()), 0);
}

TEST_F(EditingWindow, StatusBarFollowsThePointerOverEveryView)
{
    const struct {
        const char* view;
        QPoint at;
    } moves[] = {{"Image2", {37, 54}}, {"Image3", {5, 120}}, {"Image1", {0, 9}}};
    for (const auto& m : moves) {
        SCOPED_TRACE(m.view);
        QTest::mouseMove(child(m.view), m.at);
        // The move goes through the X server.
        (void)test::wait_for(
            [&] { return child<QLabel>("StatusPanel0")->text() == QString::number(m.at.x()); });
        EXPECT_EQ(child<QLabel>("StatusPanel0")->text(), QString::number(m.at.x()));
        EXPECT_EQ(child<QLabel>("StatusPanel1")->text(), QString::number(m.at.y()));
    }
}

TEST_F(EditingWindow, NStepsTheSelectedMeshThroughTheEmptySlot)
{
    const struct {
        int mesh;
        const char* name;
        std::uint32_t gem_vertex_5, plinth_vertex_1;
    } steps[] = {
        {1, "plinth", k_white, k_red},
        {2, "", k_white, k_white}, // one past the last mesh: nothing is red
        {0, "gem", k_red, k_white},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.mesh);
        key_click(Qt::Key_N);
        (void)test::wait_idle(w());
        EXPECT_EQ(model().sel_mesh, s.mesh);
        EXPECT_EQ(child<QLabel>("mesh_num")->text(), QStringLiteral("MESH: %1").arg(s.mesh));
        EXPECT_EQ(value("m_prop", 0), s.name);
        for (int view = 1; view <= 3; ++view) {
            EXPECT_EQ(colour_at(view, k_gem, 5), s.gem_vertex_5) << "view " << view;
        }
        EXPECT_EQ(colour_at(2, k_plinth, 1), s.plinth_vertex_1);
    }
}

} // namespace
} // namespace facetor
