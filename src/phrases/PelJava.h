#pragma once
#include "phrases/PhraseListWindow.h"

// The "JavaJava" register window.
class TForm5 : public PhraseListWindow {
    Q_OBJECT
public:
    explicit TForm5(pel::EditorPort& editor, QWidget* parent = nullptr);
    static PhraseWindowConfig configuration();
};

extern TForm5* Form5;
