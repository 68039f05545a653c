#pragma once
#include <QColor>
#include <QFont>
#include <QImage>
#include <QSize>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

#include "platform/TextEncoding.h"

class QWidget;
class QPrinter;

namespace pel {

// One entry of a file dialog's type list: the description the user sees and
// its patterns separated by ";" ("*.html;*.htm;").
struct FileFilter {
    QString description;
    QString patterns;
};

// The 文字コード field of the document file dialogs.
struct TextFileChoice {
    // Open: none is 自動判別. Save As: the encoding the file is written in.
    std::optional<FileEncoding> encoding;
    TextSpelling::LineBreak lineBreak = TextSpelling::LineBreak::CrLf;   // Save As only
    friend bool operator==(const TextFileChoice&, const TextFileChoice&) = default;
};

struct FileDialogRequest {
    QString title;
    QString directory;        // initial folder; empty for the dialog's own choice
    QString fileName;         // pre-filled file name
    QList<FileFilter> filters;
    int filterIndex = 0;      // 0-based entry selected at first
    QString defaultSuffix;    // without the dot
    bool picturePreview = false;
    // With a picture preview: the chosen file as a small picture beside the
    // file list (a null image when it cannot be shown).
    std::function<QImage(const QString& path, QSize room)> preview;
    // When given, the dialog offers a 文字コード choice starting from
    // *textFile (Open lists 自動判別 first; Save As shows the line-break
    // kind beside it), and writes the choice back when the user confirms.
    TextFileChoice* textFile = nullptr;
};

// The common dialogs. Everything the program asks through a system dialog
// goes through here so tests can answer without a person.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual std::optional<QString> openFile(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual std::optional<QString> saveFile(QWidget* parent, const FileDialogRequest& request) = 0;
    // The 文字コード choice alone, as Open offers it (自動判別 first), for
    // reading a file again: starts on choice.encoding; true when the user
    // confirmed, with the choice written back.
    virtual bool chooseTextEncoding(QWidget* parent, TextFileChoice& choice) = 0;
    // `apply` is called when the dialog's Apply button is pressed, if given.
    // With `colour`, the dialog also offers the text colour: it starts from
    // *colour and the choice is written back on OK (and before `apply`).
    virtual std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial,
                                            const std::function<void(const QFont&)>& apply = {},
                                            QColor* colour = nullptr) = 0;
    virtual std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) = 0;
    // The print dialog on `printer`; true when the user confirmed.
    virtual bool print(QWidget* parent, QPrinter& printer) = 0;
    // The printer set-up dialog on `printer`; true when the user confirmed.
    virtual bool printerSetup(QWidget* parent, QPrinter& printer) = 0;
};

// "Description (patterns)" lines as QFileDialog wants them.
QString toQtFilterString(const QList<FileFilter>& filters);

class QtDialogs final : public Dialogs {
public:
    std::optional<QString> openFile(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QString> saveFile(QWidget* parent, const FileDialogRequest& request) override;
    bool chooseTextEncoding(QWidget* parent, TextFileChoice& choice) override;
    std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial,
                                    const std::function<void(const QFont&)>& apply, QColor* colour) override;
    std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override;
    bool print(QWidget* parent, QPrinter& printer) override;
    bool printerSetup(QWidget* parent, QPrinter& printer) override;
};

} // namespace pel
