#pragma once
#include <QColor>
#include <QInputMethodEvent>
#include <QList>

namespace pel {

// What a stretch of an input method's composition is, as the editor colours
// it. Input methods on this desktop mark the clause being converted by a
// background of their own (or reversed colours) and underline the rest;
// text not yet converted has no such clause.
enum class CompositionPart {
    Input,             // typed, not converted yet
    TargetConverted,   // the clause being converted
    Converted,         // the converted clauses beside it
};

struct CompositionColours {
    QColor text;
    QColor background;
    bool underline = false;
};

// The editor's colours for each part: blue on white underlined, cyan on
// blue, blue on cyan underlined.
CompositionColours compositionColours(CompositionPart part);

// The attributes an input method sent with a composition of `length`
// characters, with its text formats replaced by the editor's colours for
// each part; the cursor and every other attribute stay as they came.
QList<QInputMethodEvent::Attribute> restyleComposition(qsizetype length,
                                                       const QList<QInputMethodEvent::Attribute>& attributes);

} // namespace pel
