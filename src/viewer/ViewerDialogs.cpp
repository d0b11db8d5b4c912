// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/ViewerDialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QMessageBox>
#include <QSpinBox>

namespace orv {

namespace {

constexpr int kMinSide = 16, kMaxSide = 10000; // as the command line's --size

} // namespace

QStringList QtViewerDialogs::openNames(QWidget *parent)
{
    QFileDialog dialog(parent, QStringLiteral("Ouvrir un enregistrement"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilters({QStringLiteral("Enregistrements (*.csv)"), QStringLiteral("Tous les fichiers (*)")});
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

std::optional<QString> QtViewerDialogs::saveName(QWidget *parent, const QString &title, const QString &suggested,
                                                 const QString &filter)
{
    QFileDialog dialog(parent, title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(QFileInfo(suggested).suffix());
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QSize> QtViewerDialogs::pictureSize(QWidget *parent, QSize suggested)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Taille de l'image"));
    auto *form = new QFormLayout(&dialog);
    auto side = [&](int value, const QString &name) {
        auto *box = new QSpinBox(&dialog);
        box->setRange(kMinSide, kMaxSide);
        box->setValue(value);
        box->setSuffix(QStringLiteral(" pixels"));
        box->setAccessibleName(name);
        form->addRow(name + QStringLiteral(" :"), box);
        return box;
    };
    QSpinBox *width = side(suggested.width(), QStringLiteral("Largeur"));
    QSpinBox *height = side(suggested.height(), QStringLiteral("Hauteur"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return QSize(width->value(), height->value());
}

void QtViewerDialogs::inform(QWidget *parent, const QString &text)
{
    auto *box = new QMessageBox(QMessageBox::Information, QStringLiteral("Orvalin"), text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

} // namespace orv
