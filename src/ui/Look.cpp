#include "Look.h"

#include <QFont>
#include <QPalette>
#include <QWidget>

namespace orv {

QColor systemColor(int n)
{
    switch (n) {
    case 3: return {128, 128, 128};
    case 5: return {255, 255, 255};
    case 6: return {0, 0, 0};
    case 8: return {0, 0, 0};
    case 10: return {212, 208, 200};
    case 11: return {212, 208, 200};
    case 15: return {212, 208, 200};
    case 16: return {128, 128, 128};
    default: return {212, 208, 200};
    }
}

QColor rgbValue(quint32 value)
{
    return {static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
            static_cast<int>((value >> 16) & 0xFF)};
}

quint32 rgbNumber(const QColor &c)
{
    return static_cast<quint32>(c.red()) + 256u * static_cast<quint32>(c.green())
        + 65536u * static_cast<quint32>(c.blue());
}

QFont layoutFont(const QString &family, double points, bool bold)
{
    QFont f(family);
    // Sizes in pixels at the design resolution, so text fits the twip layout on any screen.
    f.setPixelSize(qRound(points * 96.0 / 72.0));
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    return f;
}

void installFontSubstitutions()
{
    const QStringList sans = {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                              QStringLiteral("DejaVu Sans")};
    const QStringList serif = {QStringLiteral("Liberation Serif"), QStringLiteral("Tinos"),
                               QStringLiteral("DejaVu Serif")};
    QFont::insertSubstitutions(QStringLiteral("Arial"), sans);
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sans);
    QFont::insertSubstitutions(QStringLiteral("Microsoft Sans Serif"), sans);
    QFont::insertSubstitutions(QStringLiteral("MS Serif"), serif);
}

void setColors(QWidget *w, const QColor &back, const QColor &text)
{
    QPalette pal = w->palette();
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
        pal.setColor(role, back);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        pal.setColor(role, text);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

} // namespace orv
