#pragma once
// What the tool window tests share: an editor that records what the windows
// put into it, and a double-click as a real mouse sends it.
#include "platform/EditorPort.h"

#include <QApplication>
#include <QMouseEvent>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <functional>

namespace pel::test {

class FakeEditorPort final : public EditorPort {
public:
    QStringList inserted;
    int aboutShown = 0;
    std::function<void()> onAbout;  // runs while the "about box" is up

    void ReplaceEditorSelection(const QString& text) override { inserted << text; }
    QString selectedText() const override { return {}; }
    void showAboutModal() override
    {
        ++aboutShown;
        if (onAbout)
            onAbout();
    }
};

// Press, release, double-click, release: QTest::mouseDClick leaves out the
// first release, which is where a single click is reported.
inline void doubleClick(QWidget* widget, QPoint pos = QPoint())
{
    if (pos.isNull())
        pos = widget->rect().center();
    QTest::mouseClick(widget, Qt::LeftButton, {}, pos);
    const QPointF local(pos);
    const QPointF global(widget->mapToGlobal(pos));
    QMouseEvent dbl(QEvent::MouseButtonDblClick, local, global, Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(widget, &dbl);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, {});
    QApplication::sendEvent(widget, &release);
}

} // namespace pel::test
