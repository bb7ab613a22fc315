#pragma once
// The purge window's two 32x32 pictures, drawn in code.
#include <QPixmap>

namespace purge {

QPixmap BasuraPicture();   // a heap of crumpled papers
QPixmap TachitoPicture();  // a waste bin

}  // namespace purge
