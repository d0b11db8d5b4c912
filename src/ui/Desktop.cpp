#include "Desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace orv {

void QtDesktop::beep()
{
    QApplication::beep();
}

bool QtDesktop::askYesNo(QWidget *parent, const QString &caption, const QString &text)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtDesktop::inform(QWidget *parent, const QString &caption, const QString &text)
{
    // open() returns at once, so the window's timers keep running behind the box.
    auto *box = new QMessageBox(QMessageBox::Information, caption, text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

bool QtDesktop::openLink(const QString &link)
{
    return QDesktopServices::openUrl(QUrl(link, QUrl::TolerantMode));
}

bool QtSaveDialog::ShowSave(QWidget *parent)
{
    QFileDialog dialog(parent, DialogTitle);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(DefaultExt);
    dialog.setNameFilter(Filter);
    QFileDialog::Options options;
    if (!(Flags & 0x2))
        options |= QFileDialog::DontConfirmOverwrite;
    dialog.setOptions(options);
    if (!FileName.isEmpty())
        dialog.selectFile(FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    const QString chosen = dialog.selectedFiles().constFirst();
    // Names whose folder does not exist are refused, as the dialog promises.
    if ((Flags & 0x800) && !QFileInfo(chosen).absoluteDir().exists())
        return false;
    FileName = chosen;
    return true;
}

} // namespace orv
