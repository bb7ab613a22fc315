#include "platform/ui/qt_translations.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <memory>

namespace {

QStringList ContextMenuTexts() {
    QLineEdit box;
    const std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
    QStringList texts;
    for (const QAction* action : menu->actions())
        if (!action->isSeparator()) texts << action->text().section('\t', 0, 0);
    return texts;
}

TEST(SpanishTranslations, TextBoxContextMenuIsInSpanish) {
    const QString file = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_es.qm";
    if (!QFileInfo::exists(file)) GTEST_SKIP() << "Qt's Spanish translations are not installed";
    const QStringList english = ContextMenuTexts();
    {
        ui::SpanishTranslations spanish;
        ASSERT_TRUE(spanish.Loaded());
        const QStringList texts = ContextMenuTexts();
        EXPECT_TRUE(texts.contains("&Deshacer")) << texts.join(", ").toStdString();
        EXPECT_TRUE(texts.contains("Cor&tar")) << texts.join(", ").toStdString();
        EXPECT_TRUE(texts.contains("Seleccionar todo")) << texts.join(", ").toStdString();
        for (const QString& text : english)
            EXPECT_FALSE(texts.contains(text)) << text.toStdString();
    }
    EXPECT_EQ(ContextMenuTexts(), english);  // removed with the object
}

}  // namespace
