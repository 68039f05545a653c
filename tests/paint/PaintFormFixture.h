#pragma once
// The paint form and its three dialogs, created as the program creates them,
// with a scripted editor behind them.
#include "paint/ImageSize.h"
#include "paint/PelFont.h"
#include "paint/PelPaint.h"
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

    PaintForms()
    {
        form6 = std::make_unique<TForm6>(editor);
        Form6 = form6.get();
        form9 = std::make_unique<TForm9>(editor);
        Form9 = form9.get();
        form8 = std::make_unique<TForm8>(editor);
        Form8 = form8.get();
        form10 = std::make_unique<TForm10>(editor);
        Form10 = form10.get();
    }
    ~PaintForms()
    {
        Form10 = nullptr;
        Form8 = nullptr;
        Form9 = nullptr;
        Form6 = nullptr;
    }
};

} // namespace paintfx
