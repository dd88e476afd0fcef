#include "formfonts.h"

#include <QStringList>

namespace {

const QStringList fontFamilies = {
    QStringLiteral("MS Shell Dlg 2"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
    QStringLiteral("Helvetica"),      QStringLiteral("Nimbus Sans"),
};

constexpr qreal windowPointSize = 7.5;
constexpr qreal titlePointSize = 13.5;

} // namespace

QFont FormFonts::windowFont(QFont font)
{
    font.setFamilies(fontFamilies);
    font.setPointSizeF(windowPointSize);
    return font;
}

QFont FormFonts::titleFont(QFont windowFont)
{
    windowFont.setFamilies(QStringList{QStringLiteral("MS Sans Serif")} + fontFamilies);
    windowFont.setPointSizeF(titlePointSize);
    windowFont.setWeight(QFont::Normal);
    windowFont.setBold(false);
    windowFont.setItalic(false);
    return windowFont;
}
