#include "InteractionTestSupport.h"

#include "diagram/InvalidArgumentError.h"
#include "diagram/ZoomRequest.h"
#include "qtdraw/QtDrawContext.h"
#include "render/NullDrawContext.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPainter>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

void RecordingShell::OpenZoomWindow(const std::string& path) {
    ZoomOpen open;
    open.path = path;
    open.requestSet = g_bZoomOpen;
    open.xFrom = g_zoomXFrom;
    open.xTo = g_zoomXTo;
    open.diagram = std::make_unique<CDiagram>(&zoomHost);
    open.loaded = open.diagram->LoadFile(path);
    if (open.loaded) {
        CNullDrawContext first;
        open.diagram->Paint(first);
        open.title = g_strZoomTitle;
    }
    zooms.push_back(std::move(open));
}

InputWidget::InputWidget(CDiagram& diagram, IViewShell& shell) : input(*this, diagram, shell) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void InputWidget::Guarded(const std::function<void()>& action) {
    try {
        action();
    } catch (const InvalidArgumentError& error) {
        errors.push_back(error.what());
    }
}

void InputWidget::mousePressEvent(QMouseEvent* event) {
    Guarded([&] { input.MousePress(*event); });
}
void InputWidget::mouseMoveEvent(QMouseEvent* event) {
    Guarded([&] { input.MouseMove(*event); });
}
void InputWidget::mouseReleaseEvent(QMouseEvent* event) {
    Guarded([&] { input.MouseRelease(*event); });
}
void InputWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    Guarded([&] { input.MouseDoubleClick(*event); });
}
void InputWidget::keyPressEvent(QKeyEvent* event) {
    Guarded([&] { input.KeyPress(*event); });
}

LoadedView::LoadedView(const std::string& content) : LoadedView() {
    path = dir.Write("data.txt", content).string();
    EXPECT_TRUE(diagram.LoadFile(path));
    Paint();
}

LoadedView::LoadedView() {
    host.client = Rect{0, 0, 800, 500};
    widget = std::make_unique<InputWidget>(diagram, shell);
    widget->resize(800, 500);
    widget->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(widget.get()));
}

void LoadedView::Paint() {
    QImage image(800, 500, QImage::Format_RGB32);
    QPainter painter(&image);
    CQtDrawContext context(painter);
    diagram.Paint(context);
}

int LoadedView::PixelOfX(double x) {
    return diagram.PixelAtValue(x, 0.0).x;
}

int LoadedView::PixelOfY(double y) {
    return diagram.PixelAtValue(0.0, y).y;
}

int ExactPixelOfX(LoadedView& view, double x) {
    const int guess = view.PixelOfX(x);
    for (int p = guess - 2; p <= guess + 2; ++p) {
        double value = 0.0;
        if (view.diagram.ValueAtPixel(p, 0, &value, nullptr) && value == x)
            return p;
    }
    ADD_FAILURE() << "no pixel maps to X = " << x;
    return guess;
}

void DoubleClick(QWidget& widget, Qt::MouseButton button, QPoint at,
                 Qt::KeyboardModifiers modifiers) {
    QTest::mousePress(&widget, button, modifiers, at);
    QTest::mouseRelease(&widget, button, modifiers, at);
    QTest::mouseDClick(&widget, button, modifiers, at);
    QTest::mouseRelease(&widget, button, modifiers, at);
}

void Drag(QWidget& widget, QPoint from, QPoint to) {
    QTest::mousePress(&widget, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(&widget, (from + to) / 2);
    QTest::mouseMove(&widget, to);
    QTest::mouseRelease(&widget, Qt::LeftButton, Qt::NoModifier, to);
}

void CloseNextMessageBox(QWidget* owner, QString* text) {
    auto* timer = new QTimer;
    auto* waited = new QElapsedTimer;
    waited->start();
    QObject::connect(timer, &QTimer::timeout, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box && box != owner) {
            *text = box->text();
            box->buttons().front()->click();
        } else if (waited->elapsed() < 5000) {
            return;
        } else {
            ADD_FAILURE() << "no message box appeared";
        }
        timer->deleteLater();
        delete waited;
    });
    timer->start(20);
}

std::string TwoCurveFile() {
    std::string file = "X=number\nTwo curves\nX;A;B\n";
    for (int x = 0; x <= 10; ++x)
        file += std::to_string(x) + ";" + std::to_string(2 * x) + ";20\n";
    return file;
}
