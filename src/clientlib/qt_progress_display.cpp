#include "clientlib/qt_progress_display.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QScreen>
#include <QThread>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "clientlib/utility_services.h"

namespace clientlib {

namespace {

// Room the window manager takes around a window (title bar and borders) before the window
// is shown and its real frame is known.
constexpr int kTitleBar = 32;
constexpr int kBorder = 6;
constexpr int kGap = 8;

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QLabel* AddLabel(QWidget* window, QVBoxLayout* layout, const char* name) {
    auto* label = new QLabel(window);  // owned by the window
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    layout->addWidget(label);
    return label;
}

QRect Area(const QWidget* w) {
    const QScreen* screen = w->screen() != nullptr ? w->screen() : QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

// The width a title bar needs for the title and the window manager's buttons.
int TitleWidth(const QWidget* w) {
    QFont font = w->font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(w->windowTitle()) * 6 / 5 + 120;
}

}  // namespace

QtProgressDisplay::QtProgressDisplay() = default;

QtProgressDisplay::~QtProgressDisplay() = default;

void QtProgressDisplay::ShowProgress(const std::string& title, bool /*flag*/) {
    if (!window_) {
        anchor_ = QApplication::activeWindow();
        window_ = std::make_unique<QWidget>(
            nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        window_->setObjectName("ProgressDisplay");
        auto* layout = new QVBoxLayout(window_.get());  // owned by the window
        line1_ = AddLabel(window_.get(), layout, "lblLinea1");
        line2_ = AddLabel(window_.get(), layout, "lblLinea2");
        counter_ = AddLabel(window_.get(), layout, "lblContador");
        counter_->setAlignment(Qt::AlignRight);
        UtilityServices().PrepareWindow(window_.get());
        if (anchor_ != nullptr) {
            // Kept above the window it reports on, without a parent that would own it.
            window_->winId();
            window_->windowHandle()->setTransientParent(anchor_->windowHandle());
        }
    }
    window_->setWindowTitle(Q(title));
    Fit();
    Place();
    window_->show();
    window_->raise();
    Paint();
}

void QtProgressDisplay::UpdateProgress(bool /*flag*/, const std::string& line1,
                                       const std::optional<std::string>& line2,
                                       const std::optional<std::string>& counter) {
    if (!window_) ShowProgress({}, false);
    line1_->setText(Q(line1));
    line2_->setText(Q(line2.value_or(std::string())));
    counter_->setText(Q(counter.value_or(std::string())));
    const QSize before = window_->size();
    Fit();
    if (window_->size() != before) Place();
    Paint();
}

void QtProgressDisplay::CloseProgress() {
    if (!window_) return;
    window_->hide();
    window_.reset();
    line1_ = line2_ = counter_ = nullptr;
}

void QtProgressDisplay::Fit() {
    // Grows to its texts and title and never shrinks while it is open, so it does not jump
    // about as the lines change; never wider than the screen.
    window_->layout()->activate();
    const QSize hint = window_->sizeHint();
    const int widest = Area(window_.get()).width() - 2 * kBorder;
    const int width =
        std::min(std::max({window_->width(), hint.width(), TitleWidth(window_.get())}), widest);
    const int height = std::max(window_->isVisible() ? window_->height() : 0, hint.height());
    if (width != window_->width() || height != window_->height()) {
        window_->setFixedSize(width, height);
    }
}

void QtProgressDisplay::Place() {
    const QRect area = Area(window_.get());
    const QSize outer = window_->size() + QSize(2 * kBorder, kTitleBar + kBorder);
    const auto inside = [&](QRect r) {
        r.moveLeft(std::clamp(r.left(), area.left(),
                              std::max(area.left(), area.right() + 1 - outer.width())));
        r.moveTop(std::clamp(r.top(), area.top(),
                             std::max(area.top(), area.bottom() + 1 - outer.height())));
        return r;
    };
    // With nothing to keep clear, or no room beside it: at the foot of the screen.
    QPoint at = inside(QRect(QPoint(area.left() + (area.width() - outer.width()) / 2,
                                    area.bottom() + 1 - outer.height()),
                             outer))
                    .topLeft();
    if (anchor_ != nullptr && anchor_->isVisible()) {
        const QRect busy = anchor_->frameGeometry();
        const int centredX = busy.left() + (busy.width() - outer.width()) / 2;
        const int centredY = busy.top() + (busy.height() - outer.height()) / 2;
        // Below the window, else above it, else to its right or left; slid along that side
        // to stay on the screen.
        const QPoint choices[] = {{centredX, busy.bottom() + 1 + kGap},
                                  {centredX, busy.top() - kGap - outer.height()},
                                  {busy.right() + 1 + kGap, centredY},
                                  {busy.left() - kGap - outer.width(), centredY}};
        for (const QPoint& p : choices) {
            const QRect place = inside(QRect(p, outer));
            if (!place.intersects(busy)) {
                at = place.topLeft();
                break;
            }
        }
    }
    window_->move(at);
}

void QtProgressDisplay::Paint() {
    // The caller goes on working as soon as this returns: wait (briefly) until the window
    // system shows the window, then paint it at once, without taking the operator's input.
    QElapsedTimer waited;
    waited.start();
    while (window_->windowHandle() != nullptr && !window_->windowHandle()->isExposed() &&
           waited.elapsed() < 1000) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(5);
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    window_->repaint();
}

}  // namespace clientlib
