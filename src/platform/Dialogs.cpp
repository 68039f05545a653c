#include "platform/Dialogs.h"

#include "platform/ModalOwner.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QTreeView>
#include <QGridLayout>
#include <QLabel>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>

#include <algorithm>

namespace pel {

QString toQtFilterString(const QList<FileFilter>& filters)
{
    // Qt reads a filter's patterns from its last brackets, separated by
    // spaces. Descriptions often end in patterns of their own, written with
    // commas or semicolons ("MIDIファイル(*.MID,*.RMI)"): those brackets give
    // way to the patterns the filter really takes, so the user sees them
    // once. Other brackets ("画像 (小)") stay and the patterns follow.
    static const QRegularExpression ownPatterns(QStringLiteral("\\(([^()]*\\*[^()]*)\\)\\s*$"));
    static const QRegularExpression separators(QStringLiteral("[,;\\s]+"));
    QStringList lines;
    for (const FileFilter& filter : filters) {
        const QString shown = u'(' + filter.patterns.split(u';', Qt::SkipEmptyParts).join(u' ') + u')';
        const QString& description = filter.description;
        const QRegularExpressionMatch written = ownPatterns.match(description);
        const QStringList words = written.hasMatch()
            ? written.captured(1).split(separators, Qt::SkipEmptyParts) : QStringList();
        const bool allPatterns = !words.isEmpty()
            && std::all_of(words.begin(), words.end(), [](const QString& w) { return w.contains(u'*'); });
        if (allPatterns)
            lines << description.left(written.capturedStart()) + shown;
        else
            lines << description + u' ' + shown;
    }
    return lines.join(QStringLiteral(";;"));
}

namespace {

// The chosen picture, small, to the right of the file list.
void addPicturePreview(QFileDialog& dialog, const std::function<QImage(const QString&, QSize)>& preview)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (!grid)
        return;
    const QSize room(160, 160);
    auto* shown = new QLabel(&dialog);
    shown->setObjectName(QStringLiteral("PicturePreview"));
    shown->setFixedSize(room + QSize(8, 8));
    shown->setAlignment(Qt::AlignCenter);
    shown->setFrameShape(QFrame::StyledPanel);
    grid->addWidget(shown, 1, grid->columnCount(), grid->rowCount() - 1, 1, Qt::AlignTop);
    QObject::connect(&dialog, &QFileDialog::currentChanged, shown, [shown, preview, room](const QString& path) {
        const QImage image = QFileInfo(path).isFile() ? preview(path, room) : QImage();
        shown->setPixmap(image.isNull() ? QPixmap() : QPixmap::fromImage(image));
    });
}

// The toolkit sizes the detail view's columns for short English words:
// Japanese type names and full dates would end in an ellipsis.
void widenFileColumns(QFileDialog& dialog)
{
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!view)
        return;
    const QFontMetrics metrics(view->font());
    const QString widest[] = {QStringLiteral("999.9 キロバイト"), QStringLiteral("平文テキストドキュメント"),
                              QStringLiteral("2026/12/31 23:59")};
    int width = view->header()->sectionSize(0);
    for (int column = 1; column <= 3; ++column) {
        view->header()->resizeSection(column, metrics.horizontalAdvance(widest[column - 1]) + 24);
        width += view->header()->sectionSize(column);
    }
    // Room for the columns beside the places list.
    const QSize size = dialog.sizeHint();
    dialog.resize(std::max(size.width(), width + 240), std::max(size.height(), 440));
}

// The 文字コード list, on `start` (none: 自動判別, listed first when
// `automatic`); returns what reads the choice back.
std::function<std::optional<FileEncoding>()> fillEncodingBox(QComboBox& box, const std::optional<FileEncoding>& start,
                                                             bool automatic)
{
    box.setObjectName(QStringLiteral("EncodingBox"));
    QList<FileEncoding> offered = offeredTextEncodings();
    if (start && !offered.contains(*start))
        offered << *start;
    if (automatic)
        box.addItem(QStringLiteral("自動判別"));
    for (const FileEncoding& e : offered)
        box.addItem(textEncodingName(e.encoding, e.bom));
    const int first = automatic ? 1 : 0;
    box.setCurrentIndex(start ? first + int(offered.indexOf(*start)) : 0);
    return [&box, offered, first]() -> std::optional<FileEncoding> {
        const int index = box.currentIndex() - first;
        return index >= 0 && index < offered.size() ? std::optional(offered.at(index)) : std::nullopt;
    };
}

QLabel* encodingLabel(QComboBox* box, QWidget* parent)
{
    auto* label = new QLabel(QStringLiteral("文字コード(&E):"), parent);
    label->setBuddy(box);
    return label;
}

// The 文字コード field (and on Save As the line-break field) below the
// file type; returns what writes the choice back.
std::function<void()> addTextFileChoice(QFileDialog& dialog, TextFileChoice& choice, bool saving)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (!grid)
        return [] {};
    auto* encodings = new QComboBox(&dialog);
    const auto chosenEncoding = fillEncodingBox(*encodings, choice.encoding, !saving);
    auto* row = new QHBoxLayout;
    row->addWidget(encodings);
    QComboBox* breaks = nullptr;
    if (saving) {
        breaks = new QComboBox(&dialog);
        breaks->setObjectName(QStringLiteral("LineBreakBox"));
        for (const auto lineBreak : {TextSpelling::LineBreak::CrLf, TextSpelling::LineBreak::Lf, TextSpelling::LineBreak::Cr})
            breaks->addItem(lineBreakName(lineBreak), int(lineBreak));
        breaks->setCurrentIndex(breaks->findData(int(choice.lineBreak)));
        auto* breakLabel = new QLabel(QStringLiteral("改行(&L):"), &dialog);
        breakLabel->setBuddy(breaks);
        row->addSpacing(12);
        row->addWidget(breakLabel);
        row->addWidget(breaks);
    }
    row->addStretch(1);
    const int at = grid->rowCount();
    grid->addWidget(encodingLabel(encodings, &dialog), at, 0);
    grid->addLayout(row, at, 1);
    return [&choice, chosenEncoding, breaks] {
        choice.encoding = chosenEncoding();
        if (breaks)
            choice.lineBreak = TextSpelling::LineBreak(breaks->currentData().toInt());
    };
}

std::optional<QString> runFileDialog(QWidget* parent, const FileDialogRequest& request,
                                     QFileDialog::AcceptMode mode)
{
    QWidget* const owner = modalOwner(parent);
    QFileDialog dialog(owner, request.title);
    keepAboveOwner(&dialog, owner);
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
    if (request.fileName.contains(u'*')) {
        // A pattern in the name field, as the dialog is asked to start.
        if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            name->setText(request.fileName);
    } else if (!request.fileName.isEmpty()) {
        dialog.selectFile(request.fileName);
    }
    if (request.picturePreview && request.preview)
        addPicturePreview(dialog, request.preview);
    std::function<void()> takeTextFileChoice;
    if (request.textFile)
        takeTextFileChoice = addTextFileChoice(dialog, *request.textFile, mode == QFileDialog::AcceptSave);
    widenFileColumns(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    if (takeTextFileChoice)
        takeTextFileChoice();
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

namespace {

QIcon swatch(const QColor& colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, 15, 15);
    return pixmap;
}

// The text colour is one of the font's effects: a button beside the
// strike-out and underline boxes picks it and shows it as a swatch.
void addColourChoice(QFontDialog& dialog, QColor& colour)
{
    QGroupBox* effects = nullptr;
    for (QGroupBox* box : dialog.findChildren<QGroupBox*>())
        if (box->findChild<QCheckBox*>())
            effects = box;
    auto* button = new QPushButton(swatch(colour), QStringLiteral("色(&C)..."), effects ? static_cast<QWidget*>(effects) : &dialog);
    button->setObjectName(QStringLiteral("FontColorButton"));
    if (effects && effects->layout())
        effects->layout()->addWidget(button);
    else if (dialog.layout())
        dialog.layout()->addWidget(button);
    // The sample shows the colour too.
    auto* sample = dialog.findChild<QLineEdit*>(QStringLiteral("qt_fontDialog_sampleEdit"));
    const auto show = [button, sample](const QColor& c) {
        button->setIcon(swatch(c));
        if (sample) {
            QPalette palette = sample->palette();
            palette.setColor(QPalette::Text, c);
            sample->setPalette(palette);
        }
    };
    show(colour);
    QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, &colour, show] {
        const QColor chosen = QColorDialog::getColor(colour, &dialog, QStringLiteral("色の設定"));
        if (chosen.isValid()) {
            colour = chosen;
            show(colour);
        }
    });
}

} // namespace

bool QtDialogs::chooseTextEncoding(QWidget* parent, TextFileChoice& choice)
{
    QWidget* const owner = modalOwner(parent);
    QDialog dialog(owner);
    keepAboveOwner(&dialog, owner);
    dialog.setWindowTitle(QStringLiteral("文字コードの指定"));
    auto* encodings = new QComboBox(&dialog);
    const auto chosenEncoding = fillEncodingBox(*encodings, choice.encoding, true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addWidget(encodingLabel(encodings, &dialog));
    row->addWidget(encodings, 1);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(row);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    choice.encoding = chosenEncoding();
    return true;
}

std::optional<QFont> QtDialogs::chooseFont(QWidget* parent, const QFont& initial,
                                           const std::function<void(const QFont&)>& apply, QColor* colour)
{
    QWidget* const owner = modalOwner(parent);
    // The windows ask for fonts by the names they were designed with and in
    // pixels; the dialog lists installed families in points and would fall
    // back to the toolkit's own font. It starts on the font really drawn.
    const QFontInfo drawn(initial);
    QFont start = initial;
    start.setFamilies({drawn.family()});
    if (start.pointSizeF() <= 0)
        start.setPointSizeF(drawn.pointSizeF());
    // Left as it started, the caller's own name and size come back.
    const auto asAsked = [&initial, &drawn, &start](QFont chosen) {
        if (chosen.family() == drawn.family())
            chosen.setFamilies(initial.families().isEmpty() ? QStringList{initial.family()} : initial.families());
        // The dialog offers whole points: 19 pixels shows as 14.
        if (initial.pixelSize() > 0 && qAbs(chosen.pointSizeF() - start.pointSizeF()) < 0.5)
            chosen.setPixelSize(initial.pixelSize());
        return chosen;
    };
    QFontDialog dialog(start, owner);
    keepAboveOwner(&dialog, owner);
    dialog.setOption(QFontDialog::DontUseNativeDialog, true);
    QColor chosenColour = colour ? *colour : QColor();
    if (colour)
        addColourChoice(dialog, chosenColour);
    if (apply) {
        // QFontDialog has no Apply button of its own; add one that hands the
        // current choice to the caller without closing the dialog.
        if (auto* box = dialog.findChild<QDialogButtonBox*>()) {
            QPushButton* applyButton = box->addButton(QStringLiteral("適用(&A)"), QDialogButtonBox::ApplyRole);
            QObject::connect(applyButton, &QPushButton::clicked, &dialog, [&dialog, &apply, &asAsked, colour, &chosenColour] {
                if (colour)
                    *colour = chosenColour;
                apply(asAsked(dialog.currentFont()));
            });
        }
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    if (colour)
        *colour = chosenColour;
    return asAsked(dialog.selectedFont());
}

std::optional<QColor> QtDialogs::chooseColor(QWidget* parent, const QColor& initial)
{
    QWidget* const owner = modalOwner(parent);
    QColorDialog dialog(initial, owner);
    keepAboveOwner(&dialog, owner);
    if (dialog.exec() != QDialog::Accepted || !dialog.selectedColor().isValid())
        return std::nullopt;
    return dialog.selectedColor();
}

bool QtDialogs::print(QWidget* parent, QPrinter& printer)
{
    QWidget* const owner = modalOwner(parent);
    QPrintDialog dialog(&printer, owner);
    keepAboveOwner(&dialog, owner);
    return dialog.exec() == QDialog::Accepted;
}

bool QtDialogs::printerSetup(QWidget* parent, QPrinter& printer)
{
    QWidget* const owner = modalOwner(parent);
    QPageSetupDialog dialog(&printer, owner);
    keepAboveOwner(&dialog, owner);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace pel
