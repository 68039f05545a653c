#pragma once
// The paint form and its dialogs, created and connected as the program
// creates them, with a scripted editor behind them.
#include "paint/ImageSize.h"
#include "paint/PelFont.h"
#include "paint/PelPaint.h"
#include "paint/PelPreview.h"
#include "paint/PelSizepas.h"
#include "platform/EditorPort.h"
#include "support/TestServices.h"

#include <memory>

namespace paintfx {

class FakeEditor final : public pel::EditorPort {
public:
    QString selection;
    void ReplaceEditorSelection(const QString& text) override { selection = text; }
    QString selectedText() const override { return selection; }
    void showAboutModal() override {}
};

struct PaintForms {
    pel::test::TestEnvironment env;
    FakeEditor editor;
    std::unique_ptr<TForm6> form6;
    std::unique_ptr<TForm9> form9;
    std::unique_ptr<TForm8> form8;
    std::unique_ptr<TForm10> form10;
    std::unique_ptr<TForm12> form12;

    PaintForms()
    {
        form6 = std::make_unique<TForm6>(editor);
        form9 = std::make_unique<TForm9>(*form6);
        form8 = std::make_unique<TForm8>(*form6);
        form10 = std::make_unique<TForm10>(*form6);
        form12 = std::make_unique<TForm12>();
        form6->paintDialogs = {form8.get(), form9.get(), form10.get(), form12.get()};
        form12->setPicture(&form6->canvas());
        QObject::connect(form8.get(), &TForm8::textPositionChanged, form6.get(), &TForm6::setTextPosition);
        QObject::connect(form10.get(), &TForm10::figureOffsetChanged, form6.get(), &TForm6::setFigureOffset);
        form6->setTextPosition(form8->textPosition());
        form6->setFigureOffset(form10->figureOffset());
    }
};

} // namespace paintfx
