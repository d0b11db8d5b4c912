// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Look.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QWidget>

namespace orv {

namespace {

// The fallbacks for the layout's font names.
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

} // namespace

QFont layoutFont(const QString &family, double points, bool bold)
{
    QFont f(family);
    // Sizes in pixels at the design resolution, so text fits the twip layout on any screen.
    f.setPixelSize(qRound(points * 96.0 / 72.0));
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    return f;
}

void useProgramLook()
{
    QApplication::setStyle(QStringLiteral("Fusion"));
    installFontSubstitutions();
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
