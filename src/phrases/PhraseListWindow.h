#pragma once
#include <QDialog>

#include "phrases/PhraseList.h"

namespace pel { class EditorPort; }

// The two list tool windows ("ListBox" and "JavaJava") are one class; what
// differs between them is a configuration.
struct PhraseWindowConfig {
    QString objectName;     // "TForm3", "TForm5"
    QString caption;        // "ListBox", "JavaJava"
    QString listFileName;   // "HOMELOG.TXT", "JAVALOG.TXT"
};

class PhraseListWindow : public QDialog {
    Q_OBJECT
public:
    PhraseListWindow(const PhraseWindowConfig& config, pel::EditorPort& editor, QWidget* parent = nullptr);
    ~PhraseListWindow() override;

    pel::PhraseList& list() { return list_; }
    const PhraseWindowConfig& config() const { return config_; }
    QString listFilePath() const;

protected:
    PhraseWindowConfig config_;
    pel::EditorPort& editor_;
    pel::PhraseList list_;
};
