#include "platform/Dialogs.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace pel {

QString toQtFilterString(const QList<FileFilter>& filters)
{
    QStringList lines;
    for (const FileFilter& filter : filters) {
        QStringList patterns = filter.patterns.split(u';', Qt::SkipEmptyParts);
        lines << filter.description + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return lines.join(QStringLiteral(";;"));
}

namespace {

std::optional<QString> runFileDialog(QWidget* parent, const FileDialogRequest& request,
                                     QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    // We ask our own overwrite question where one is wanted.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!request.directory.isEmpty())
        dialog.setDirectory(request.directory);
    const QString filters = toQtFilterString(request.filters);
    dialog.setNameFilters(filters.split(QStringLiteral(";;")));
    if (request.filterIndex >= 0 && request.filterIndex < request.filters.size())
        dialog.selectNameFilter(filters.split(QStringLiteral(";;")).at(request.filterIndex));
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty() && !request.fileName.contains(u'*'))
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

} // namespace

std::optional<QString> QtDialogs::openFile(QWidget* parent, const FileDialogRequest& request)
{
    return runFileDialog(parent, request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtDialogs::saveFile(QWidget* parent, const FileDialogRequest& request)
{
    return runFileDialog(parent, request, QFileDialog::AcceptSave);
}

std::optional<QFont> QtDialogs::chooseFont(QWidget* parent, const QFont& initial,
                                           const std::function<void(const QFont&)>& apply)
{
    QFontDialog dialog(initial, parent);
    dialog.setOption(QFontDialog::DontUseNativeDialog, true);
    if (apply) {
        // QFontDialog has no Apply button of its own; add one that hands the
        // current choice to the caller without closing the dialog.
        if (auto* box = dialog.findChild<QDialogButtonBox*>()) {
            QPushButton* applyButton = box->addButton(QStringLiteral("適用(&A)"), QDialogButtonBox::ApplyRole);
            QObject::connect(applyButton, &QPushButton::clicked, &dialog,
                             [&dialog, &apply] { apply(dialog.currentFont()); });
        }
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedFont();
}

std::optional<QColor> QtDialogs::chooseColor(QWidget* parent, const QColor& initial)
{
    const QColor colour = QColorDialog::getColor(initial, parent);
    if (!colour.isValid())
        return std::nullopt;
    return colour;
}

bool QtDialogs::print(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtDialogs::printerSetup(QWidget* parent, QPrinter& printer)
{
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace pel
