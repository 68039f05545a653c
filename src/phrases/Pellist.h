#pragma once
#include "phrases/PhraseListWindow.h"

// The "ListBox" register window.
class TForm3 : public PhraseListWindow {
    Q_OBJECT
public:
    explicit TForm3(pel::EditorPort& editor, QWidget* parent = nullptr);
    static PhraseWindowConfig configuration();
};

extern TForm3* Form3;
