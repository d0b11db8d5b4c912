// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QUrl>

namespace orv {

void QtDesktop::beep()
{
    QApplication::beep();
}

bool QtDesktop::askYesNo(QWidget *parent, const QString &caption, QuestionText &text)
{
    QMessageBox box(QMessageBox::Question, caption, text.text(), QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    QObject::connect(&text, &QuestionText::changed, &box, &QMessageBox::setText);
    return box.exec() == QMessageBox::Yes;
}

void QtDesktop::tellBeforeEnd(const QString &caption, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok);
    box.exec();
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

namespace {

// Qt's file dialog reads double quotes in the typed name as a list of names ("a"b.csv"
// becomes b.csv). Such a name is handed back as typed, so the caller can refuse it.
class FileDialog final : public QFileDialog {
public:
    using QFileDialog::QFileDialog;
    QString typedAsIs;

protected:
    void accept() override
    {
        if (auto *edit = findChild<QLineEdit *>(QStringLiteral("fileNameEdit")); edit && edit->text().contains(u'"')) {
            typedAsIs = directory().filePath(edit->text());
            QDialog::accept();
            return;
        }
        QFileDialog::accept();
    }
};

} // namespace

std::optional<QString> QtSaveDialog::askSaveName(QWidget *parent, const SaveRequest &request)
{
    FileDialog dialog(parent, request.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setNameFilter(request.filter);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (!request.suggestedName.isEmpty())
        dialog.selectFile(request.suggestedName);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    if (!dialog.typedAsIs.isEmpty())
        return dialog.typedAsIs;
    if (dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace orv
