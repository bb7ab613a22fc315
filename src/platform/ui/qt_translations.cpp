#include "platform/ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace ui {

SpanishTranslations::SpanishTranslations() {
    // The program speaks Spanish whatever the machine's language.
    loaded_ = translator_.load(QStringLiteral("qtbase_es"),
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
              QCoreApplication::installTranslator(&translator_);
}

SpanishTranslations::~SpanishTranslations() {
    if (loaded_) QCoreApplication::removeTranslator(&translator_);
}

}  // namespace ui
