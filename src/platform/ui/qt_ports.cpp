#include "platform/ui/qt_ports.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

namespace ui {

namespace {

bool HasGuiApplication() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

}  // namespace

void QtEventPump::ProcessEvents() {
    if (QCoreApplication::instance() != nullptr) QCoreApplication::processEvents();
}

QtBusyPointer::~QtBusyPointer() {
    if (busy_ && HasGuiApplication()) QGuiApplication::restoreOverrideCursor();
}

void QtBusyPointer::SetBusy(bool busy) {
    if (busy == busy_ || !HasGuiApplication()) return;
    if (busy) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    } else {
        QGuiApplication::restoreOverrideCursor();
    }
    busy_ = busy;
}

}  // namespace ui
