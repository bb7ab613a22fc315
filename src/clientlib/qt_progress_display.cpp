#include "clientlib/qt_progress_display.h"

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

#include "clientlib/utility_services.h"

namespace clientlib {

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QLabel* AddLabel(QWidget* window, QVBoxLayout* layout, const char* name) {
    auto* label = new QLabel(window);  // owned by the window
    label->setObjectName(name);
    label->setMinimumWidth(360);
    layout->addWidget(label);
    return label;
}

}  // namespace

QtProgressDisplay::QtProgressDisplay() = default;

QtProgressDisplay::~QtProgressDisplay() = default;

void QtProgressDisplay::ShowProgress(const std::string& title, bool /*flag*/) {
    if (!window_) {
        window_ = std::make_unique<QWidget>(nullptr, Qt::Dialog | Qt::WindowTitleHint);
        window_->setObjectName("ProgressDisplay");
        auto* layout = new QVBoxLayout(window_.get());  // owned by the window
        line1_ = AddLabel(window_.get(), layout, "lblLinea1");
        line2_ = AddLabel(window_.get(), layout, "lblLinea2");
        counter_ = AddLabel(window_.get(), layout, "lblContador");
        counter_->setAlignment(Qt::AlignRight);
        window_->adjustSize();
        UtilityServices().PrepareWindow(window_.get());
    }
    window_->setWindowTitle(Q(title));
    window_->show();
    window_->raise();
    Repaint();
}

void QtProgressDisplay::UpdateProgress(bool /*flag*/, const std::string& line1,
                                       const std::optional<std::string>& line2,
                                       const std::optional<std::string>& counter) {
    if (!window_) ShowProgress({}, false);
    line1_->setText(Q(line1));
    line2_->setText(Q(line2.value_or(std::string())));
    counter_->setText(Q(counter.value_or(std::string())));
    Repaint();
}

void QtProgressDisplay::CloseProgress() {
    if (!window_) return;
    window_->hide();
    window_.reset();
    line1_ = line2_ = counter_ = nullptr;
}

void QtProgressDisplay::Repaint() {
    // The work that reports progress runs on the window thread: let the window paint,
    // without taking the operator's input meanwhile.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace clientlib
