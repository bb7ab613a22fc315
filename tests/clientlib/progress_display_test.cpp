#include "clientlib/progress_display.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QWindow>
#include <sstream>

#include "clientlib/qt_progress_display.h"

namespace {

using clientlib::RecordingProgressDisplay;

TEST(ProgressDisplay, InstalledDisplayReceivesTheCalls) {
    clientlib::progress().ShowProgress("nadie", false);  // the default shows nothing
    auto recording = std::make_shared<RecordingProgressDisplay>();
    auto previous = clientlib::SetProgressDisplay(recording);
    clientlib::progress().ShowProgress("Depurando", true);
    clientlib::progress().UpdateProgress(true, "Asientos", "lote 3", "30");
    clientlib::progress().CloseProgress();
    clientlib::SetProgressDisplay(previous);

    const auto& calls = recording->Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].kind, RecordingProgressDisplay::Call::Kind::Show);
    EXPECT_EQ(calls[0].title_or_line1, "Depurando");
    EXPECT_TRUE(calls[0].flag);
    EXPECT_EQ(calls[1].title_or_line1, "Asientos");
    EXPECT_EQ(calls[1].line2, "lote 3");
    EXPECT_EQ(calls[1].counter, "30");
    EXPECT_EQ(calls[2].kind, RecordingProgressDisplay::Call::Kind::Close);
}

TEST(ProgressDisplay, ConsoleFormRewritesOneLine) {
    std::ostringstream out;
    clientlib::ConsoleProgressDisplay d(out);
    d.ShowProgress("Depuración", false);
    d.UpdateProgress(false, "Asientos", "lote 10", "100");
    d.UpdateProgress(false, "Stock", std::nullopt, std::nullopt);
    d.CloseProgress();
    EXPECT_EQ(out.str(),
              "Depuración\n"
              "\rAsientos - lote 10 [100]"
              "\rStock                   \n");
}

TEST(ProgressDisplay, QtFormIsAModelessWindowWithTitleLinesAndCounter) {
    clientlib::QtProgressDisplay d;
    d.ShowProgress("Depurando", false);
    ASSERT_NE(d.Window(), nullptr);
    EXPECT_TRUE(d.Window()->isVisible());
    EXPECT_FALSE(d.Window()->isModal());
    EXPECT_EQ(d.Window()->windowTitle(), "Depurando");
    d.UpdateProgress(false, "Asientos", "lote 2", "20");
    EXPECT_EQ(d.Window()->findChild<QLabel*>("lblLinea1")->text(), "Asientos");
    EXPECT_EQ(d.Window()->findChild<QLabel*>("lblLinea2")->text(), "lote 2");
    EXPECT_EQ(d.Window()->findChild<QLabel*>("lblContador")->text(), "20");
    d.UpdateProgress(false, "Stock", std::nullopt, std::nullopt);
    EXPECT_EQ(d.Window()->findChild<QLabel*>("lblLinea2")->text(), "");
    d.CloseProgress();
    EXPECT_EQ(d.Window(), nullptr);
    d.CloseProgress();  // twice is harmless
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
  public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST(ProgressDisplay, QtFormShowsItsTextsWholeBesideTheWindowItReportsOn) {
    QWidget busy;
    busy.setGeometry(100, 80, 420, 300);
    busy.show();
    busy.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&busy));

    clientlib::QtProgressDisplay d;
    d.ShowProgress("Depurando Movimientos de Stock...", false);
    QWidget* window = d.Window();
    ASSERT_NE(window, nullptr);
    PaintCounter painted;
    window->findChild<QLabel*>("lblLinea2")->installEventFilter(&painted);
    d.UpdateProgress(false, "Eliminando Movimientos de Stock",
                     "Este proceso puede demorar unos minutos, por favor sea pasciente...", "");

    // Painted before the call returns: the work that follows may not let it paint for long.
    EXPECT_GT(painted.paints, 0);
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
    }
    EXPECT_GT(window->width(),
              QFontMetrics(window->font()).horizontalAdvance(window->windowTitle()));
    EXPECT_FALSE(window->frameGeometry().intersects(busy.frameGeometry()));
    EXPECT_EQ(window->windowHandle()->transientParent(), busy.windowHandle());

    // A shorter line later does not make it shrink and jump about.
    const QSize before = window->size();
    d.UpdateProgress(false, "Generando Saldo Inicial", "A1 Tornillo", "1");
    EXPECT_EQ(window->size(), before);
    d.CloseProgress();
}

}  // namespace
