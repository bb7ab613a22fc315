#pragma once
// Qt's own Spanish texts for what Qt draws itself: the standard context menu of text boxes
// (Deshacer, Rehacer, Cortar, ...), the buttons of standard dialogs and the like. Installed
// for the lifetime of the object; the application must exist before and outlive it.
#include <QTranslator>

namespace ui {

class SpanishTranslations {
  public:
    SpanishTranslations();
    ~SpanishTranslations();
    SpanishTranslations(const SpanishTranslations&) = delete;
    SpanishTranslations& operator=(const SpanishTranslations&) = delete;

    // False when Qt's Spanish translation file was not found (the texts stay in English).
    bool Loaded() const { return loaded_; }

  private:
    QTranslator translator_;
    bool loaded_ = false;
};

}  // namespace ui
