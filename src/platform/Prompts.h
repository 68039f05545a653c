#pragma once
#include <QString>

class QWidget;

namespace pel {

// The program's message boxes. Every question and error of the program goes
// through here, so the texts, captions, buttons and icons are the same
// everywhere and tests can answer them.
class Prompts {
public:
    enum class Answer { Yes, No, Cancel, Ok };
    enum class Buttons { YesNoCancel, YesNo, Ok };
    enum class Icon { Question, Error, Warning, Information, None };

    virtual ~Prompts() = default;

    // A message box with an explicit caption, icon and set of buttons.
    // Yes is the default button; Escape and the close box answer Cancel
    // (No for a Yes/No box).
    virtual Answer show(QWidget* parent, const QString& caption, const QString& text,
                        Buttons buttons, Icon icon) = 0;

    // Confirmation box: caption "確認", question icon.
    Answer confirm(QWidget* parent, const QString& text, Buttons buttons = Buttons::YesNoCancel);
    // Error box: caption "エラー", error icon, OK.
    void error(QWidget* parent, const QString& text);
    // Plain message with the application title "Pelmora" as caption.
    void message(QWidget* parent, const QString& text);
    // The application's standard error box for an error a handler did not
    // catch: the message, OK, the application title as caption.
    void applicationError(QWidget* parent, const QString& text);
};

// The Qt message boxes.
class QtPrompts final : public Prompts {
public:
    Answer show(QWidget* parent, const QString& caption, const QString& text, Buttons buttons,
                Icon icon) override;
};

// For the end of a session, when nobody is there to answer: shows nothing,
// answers No to questions and OK to messages.
class SilentPrompts final : public Prompts {
public:
    Answer show(QWidget*, const QString&, const QString&, Buttons buttons, Icon) override
    {
        return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    }
};

} // namespace pel
