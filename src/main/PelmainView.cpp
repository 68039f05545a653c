// View switches for the bars, the tool windows, and files dropped on the window.
#include "main/Pelmain.h"

#include "paint/PelPaint.h"
#include "phrases/PelJava.h"
#include "phrases/Pellist.h"
#include "platform/Hints.h"
#include "tools/PelPlayer.h"
#include "tools/PelTime.h"
#include "tools/PelTool.h"
#include "tools/Pelnew.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QToolBar>

QAction* TForm1::addViewSwitch(const QString& name, const QString& caption, const QString& hint,
                               void (TForm1::*handler)())
{
    auto* entry = new QAction(caption, this);
    entry->setObjectName(name);
    entry->setCheckable(true);
    pel::setHint(entry, hint);
    actions_.insert(name, entry);
    // The handler sets the check mark itself from the bar's visibility.
    connect(entry, &QAction::triggered, this, handler);
    return entry;
}

void TForm1::setupViewActions()
{
    addViewSwitch(QStringLiteral("IConBar1"), QStringLiteral("標準アイコンバーの表示(&I)"),
                  QStringLiteral("アイコンバーの表示/非表示を選択します｡"), &TForm1::IConBar1Click)
        ->setChecked(true);
    addViewSwitch(QStringLiteral("NewTextBox1"), QStringLiteral("NewTextBoxの表示(&N)"),
                  QStringLiteral("NewTextBoxの表示/非表示を選択します｡"), &TForm1::NewTextBox1Click);
    addViewSwitch(QStringLiteral("TimeBar1"), QStringLiteral("タイムバーの表示(&T)"),
                  QStringLiteral("タイムバーの表示/非表示を選択します｡"), &TForm1::TimeBar1Click);
    addViewSwitch(QStringLiteral("WebPageBar1"), QStringLiteral("ﾎｰﾑﾍﾟｰｼﾞ制作用ﾊﾞｰの表示(&H)"),
                  QStringLiteral("ホームページ製作用のツールバーの表示/非表示を選択します｡"), &TForm1::WebPageBar1Click);
    addViewSwitch(QStringLiteral("HtmLIconBar1"), QStringLiteral("Htmlアイコンバーの表示(&E)"),
                  QStringLiteral("最初の表示には二度押してください｡　　アイコンバーの表示/非表示を選択します｡"),
                  &TForm1::HtmLIconBar1Click);

    addCommand(QStringLiteral("DateTMAction"), QStringLiteral("DateTMAction"), QString(), -1);
    addCommand(QStringLiteral("CalendarAction"), QStringLiteral("カレンダー"), QStringLiteral("カレンダーを表示します"), 23);
    addCommand(QStringLiteral("ListBoxAction"), QStringLiteral("リストボックス"), QStringLiteral("リストボックスを表示します"), 25);
    addCommand(QStringLiteral("JavaJavaAction"), QStringLiteral("JAVA"), QStringLiteral("Javaソースのリストボックスを表示します"), 26);
    addCommand(QStringLiteral("ColorAction"), QStringLiteral("ColorBox"), QStringLiteral("HTMLツールを表示します"), 27);
    addCommand(QStringLiteral("PaintAction"), QStringLiteral("絵画フォーム"), QStringLiteral("ペイントボックスを開きます"), -1);
    addCommand(QStringLiteral("PlayerAction"), QStringLiteral("Player"), QStringLiteral("Playerを起動します"), 24);
    connect(action(QStringLiteral("DateTMAction")), &QAction::triggered, this, [this] { showToolWindow(Form11); });
    connect(action(QStringLiteral("CalendarAction")), &QAction::triggered, this, [this] { showToolWindow(Form2); });
    connect(action(QStringLiteral("ListBoxAction")), &QAction::triggered, this, [this] { showToolWindow(Form3); });
    connect(action(QStringLiteral("JavaJavaAction")), &QAction::triggered, this, [this] { showToolWindow(Form5); });
    connect(action(QStringLiteral("ColorAction")), &QAction::triggered, this, [this] { showToolWindow(Form4); });
    connect(action(QStringLiteral("PaintAction")), &QAction::triggered, this, [this] { runModalWithMainHidden(Form6); });
    connect(action(QStringLiteral("PlayerAction")), &QAction::triggered, this, [this] { runModalWithMainHidden(Form7); });
}

// A bar's own visibility flag, whether or not its window is on screen.
static bool barShown(const QWidget* bar)
{
    return !bar->isHidden();
}

void TForm1::IConBar1Click()
{
    ToolBar5->setHidden(barShown(ToolBar5));
    action(QStringLiteral("IConBar1"))->setChecked(barShown(ToolBar5));
}

void TForm1::NewTextBox1Click()
{
    ToolBar3->setHidden(barShown(ToolBar3));
    action(QStringLiteral("NewTextBox1"))->setChecked(barShown(ToolBar3));
}

void TForm1::TimeBar1Click()
{
    ControlBar2->setHidden(barShown(ControlBar2));
    action(QStringLiteral("TimeBar1"))->setChecked(barShown(ControlBar2));
}

void TForm1::WebPageBar1Click()
{
    ToolBar2->setHidden(barShown(ToolBar2));
    action(QStringLiteral("WebPageBar1"))->setChecked(barShown(ToolBar2));
}

void TForm1::HtmLIconBar1Click()
{
    QAction* entry = action(QStringLiteral("HtmLIconBar1"));
    PageScroller1->setHidden(barShown(PageScroller1));
    entry->setChecked(barShown(PageScroller1));
    ToolBar4->setHidden(!barShown(PageScroller1));
    if (!barShown(ToolBar4))
        PageScroller1->hide();
    entry->setChecked(barShown(PageScroller1));
}

void TForm1::showToolWindow(QWidget* window)
{
    if (!window)
        return;
    window->show();
    window->raise();
    window->activateWindow();
}

void TForm1::runModalWithMainHidden(QWidget* window)
{
    auto* dialog = qobject_cast<QDialog*>(window);
    if (!dialog)
        return;
    const QRect bounds = geometry();
    hide();
    dialog->exec();
    // Back where it was, not centred again; unless the program is ending.
    if (!closing_) {
        setGeometry(bounds);
        show();
    }
}

void TForm1::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.constFirst().isLocalFile())
        return;
    event->acceptProposedAction();
    // Only the first file. It becomes the document as with Open, after the
    // same question, so a later Save never writes it over another file.
    if (mayReplaceDocument())
        openDocument(urls.constFirst().toLocalFile());
}
