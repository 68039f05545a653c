#pragma once
// The HTML authoring commands as data: one row per command, one runner.
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace pel { class EditorPort; }

namespace pel::html {

enum class Shape {
    Wrap,   // opening text + selected text + closing text
    Fixed,  // one text replaces the selection; the selection is not read
};

struct HtmlCommand {
    QString name;         // action ("BAction") or click handler ("JavaSclipt8Click")
    bool isAction = true; // false: run by a click handler of a menu entry or button
    QString caption;
    QString hint;         // "short|long", or one text for both; empty: none
    int icon = -1;        // number in the main window's image list; -1: none
    QString category;     // grouping label of the action list; empty for handlers
    Shape shape = Shape::Fixed;
    // Texts as their lines; the editor's line break joins them. Fixed
    // commands keep their text in `opening`.
    QStringList opening;
    QStringList closing;

    QString openingText() const { return opening.join(u'\n'); }
    QString closingText() const { return closing.join(u'\n'); }
    // What replaces `selection` (editor line breaks, '\n').
    QString result(const QString& selection) const;
};

// Every insertion command of the home-page tool set, in a fixed order.
const QList<HtmlCommand>& htmlCommands();
// nullptr when there is no command of that name.
const HtmlCommand* findHtmlCommand(QStringView name);

// Runs `command` on the editor: reads the selection when the shape needs
// it, forms the result and replaces the selection with it.
void runHtmlCommand(const HtmlCommand& command, EditorPort& editor);

// The prefectures of the selection-box template, in its order.
const QStringList& prefectureNames();

} // namespace pel::html
