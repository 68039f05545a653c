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
#include <QToolBar>

void TForm1::setupViewActions()
{
    // The switches set their check marks themselves from the bars' visibility.
    const auto viewSwitch = [this](const QString& name, const QString& caption, const QString& hint,
                                   void (TForm1::*handler)()) {
        CommandSpec spec = command(name, caption, hint, -1, handler);
        spec.checkable = true;
        return spec;
    };
    addCommands({
        viewSwitch(QStringLiteral("IConBar1"), QStringLiteral("標準アイコンバーの表示(&I)"),
                   QStringLiteral("アイコンバーの表示/非表示を選択します｡"), &TForm1::IConBar1Click),
        viewSwitch(QStringLiteral("NewTextBox1"), QStringLiteral("NewTextBoxの表示(&N)"),
                   QStringLiteral("NewTextBoxの表示/非表示を選択します｡"), &TForm1::NewTextBox1Click),
        viewSwitch(QStringLiteral("TimeBar1"), QStringLiteral("タイムバーの表示(&T)"),
                   QStringLiteral("タイムバーの表示/非表示を選択します｡"), &TForm1::TimeBar1Click),
        viewSwitch(QStringLiteral("WebPageBar1"), QStringLiteral("ﾎｰﾑﾍﾟｰｼﾞ制作用ﾊﾞｰの表示(&H)"),
                   QStringLiteral("ホームページ製作用のツールバーの表示/非表示を選択します｡"), &TForm1::WebPageBar1Click),
        viewSwitch(QStringLiteral("HtmLIconBar1"), QStringLiteral("Htmlアイコンバーの表示(&E)"),
                   QStringLiteral("最初の表示には二度押してください｡　　アイコンバーの表示/非表示を選択します｡"),
                   &TForm1::HtmLIconBar1Click),
        {QStringLiteral("DateTMAction"), QStringLiteral("DateTMAction"), QString(), -1, [this] { showToolWindow(Form11); }},
        {QStringLiteral("CalendarAction"), QStringLiteral("カレンダー"), QStringLiteral("カレンダーを表示します"), 23,
         [this] { showToolWindow(Form2); }},
        {QStringLiteral("ListBoxAction"), QStringLiteral("リストボックス"), QStringLiteral("リストボックスを表示します"), 25,
         [this] { showToolWindow(Form3); }},
        {QStringLiteral("JavaJavaAction"), QStringLiteral("JAVA"), QStringLiteral("Javaソースのリストボックスを表示します"), 26,
         [this] { showToolWindow(Form5); }},
        {QStringLiteral("ColorAction"), QStringLiteral("ColorBox"), QStringLiteral("HTMLツールを表示します"), 27,
         [this] { showToolWindow(Form4); }},
        {QStringLiteral("PaintAction"), QStringLiteral("絵画フォーム"), QStringLiteral("ペイントボックスを開きます"), -1,
         [this] { runModalWithMainHidden(Form6); }},
        {QStringLiteral("PlayerAction"), QStringLiteral("Player"), QStringLiteral("Playerを起動します"), 24,
         [this] { runModalWithMainHidden(Form7); }},
    });
    action(QStringLiteral("IConBar1"))->setChecked(true);
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
