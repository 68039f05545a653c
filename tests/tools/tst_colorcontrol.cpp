#include "support/TestServices.h"
#include "tools/ClickableControls.h"
#include "tools/PelTool.h"
#include "tools/ToolTestSupport.h"

#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <memory>

class TestColorControl : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<pel::test::TestEnvironment> env;
    pel::test::FakeEditorPort editor;
    std::unique_ptr<TForm4> form;

    template <typename T>
    T* control(const QString& name) const
    {
        T* child = form->findChild<T*>(name);
        if (!child)
            qFatal("no control %s", qPrintable(name));
        return child;
    }
    QString field(int n) const { return control<ClickEdit>(QStringLiteral("Edit%1").arg(n))->text(); }
    QColor background() const { return form->palette().color(QPalette::Window); }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<pel::test::TestEnvironment>();
        editor = {};
        form = std::make_unique<TForm4>(editor);
        form->show();
    }
    void cleanup()
    {
        form.reset();
        env.reset();
    }

    void startState()
    {
        QCOMPARE(form->windowTitle(), u"ColorControl"_qs);
        QCOMPARE(form->size(), QSize(417, 240));
        QVERIFY(!(form->windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(form->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(background(), QColor(Qt::white));
        for (int i = 1; i <= 3; ++i) {
            auto* bar = control<QScrollBar>(QStringLiteral("ScrollBar%1").arg(i));
            QCOMPARE(bar->minimum(), 0);
            QCOMPARE(bar->maximum(), 255);
            QCOMPARE(bar->value(), 255);
            QCOMPARE(bar->singleStep(), 1);
            QCOMPARE(bar->pageStep(), 16);
            QCOMPARE(field(i), u"255"_qs);
            QCOMPARE(field(i + 3), u"FF"_qs);
        }
        QCOMPARE(control<ClickEdit>(u"Edit1"_qs)->toolTip(), u"赤の色番"_qs);
        QVERIFY(control<ClickEdit>(u"Edit2"_qs)->toolTip().isEmpty());
        QCOMPARE(control<QPushButton>(u"Button2"_qs)->toolTip(), u"バージョン情報"_qs);
        QCOMPARE(control<QLabel>(u"Label19"_qs)->text(),
                 u"スクロールバーの四角いボタンをドラッグさせて背景色を変えて下さい。　　　　　　文字色と背景色を　組み合わせて、　　好きな配色を作って下さい｡　　　　　　"_qs);
    }

    void barMovesOnlyItsRow_data()
    {
        QTest::addColumn<int>("bar");
        QTest::addColumn<int>("value");
        QTest::addColumn<QColor>("expectedBackground");
        QTest::addColumn<QString>("decimal");
        QTest::addColumn<QString>("hex");
        QTest::newRow("green to 0 gives magenta") << 2 << 0 << QColor(255, 0, 255) << "0" << "00";
        QTest::newRow("red to 10") << 1 << 10 << QColor(10, 255, 255) << "10" << "0A";
        QTest::newRow("blue to 128") << 3 << 128 << QColor(255, 255, 128) << "128" << "80";
        QTest::newRow("red to 1") << 1 << 1 << QColor(1, 255, 255) << "1" << "01";
        QTest::newRow("blue to 175") << 3 << 175 << QColor(255, 255, 175) << "175" << "AF";
    }
    void barMovesOnlyItsRow()
    {
        QFETCH(int, bar);
        QFETCH(int, value);
        QFETCH(QColor, expectedBackground);
        QFETCH(QString, decimal);
        QFETCH(QString, hex);
        // Mark the other rows so a rewrite would show.
        for (int row = 1; row <= 3; ++row)
            if (row != bar) {
                control<ClickEdit>(QStringLiteral("Edit%1").arg(row))->setText(u"keep"_qs);
                control<ClickEdit>(QStringLiteral("Edit%1").arg(row + 3))->setText(u"k"_qs);
            }
        control<QScrollBar>(QStringLiteral("ScrollBar%1").arg(bar))->setValue(value);
        QCOMPARE(background(), expectedBackground);
        QCOMPARE(field(bar), decimal);
        QCOMPARE(field(bar + 3), hex);
        for (int row = 1; row <= 3; ++row)
            if (row != bar) {
                QCOMPARE(field(row), u"keep"_qs);
                QCOMPARE(field(row + 3), u"k"_qs);
            }
        QVERIFY(editor.inserted.isEmpty());
    }

    void arrowAndPageSteps()
    {
        auto* bar = control<QScrollBar>(u"ScrollBar1"_qs);
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(field(1), u"254"_qs);
        QCOMPARE(field(4), u"FE"_qs);
        bar->triggerAction(QAbstractSlider::SliderPageStepSub);
        QCOMPARE(field(1), u"238"_qs);
        QCOMPARE(field(4), u"EE"_qs);
        QCOMPARE(background(), QColor(238, 255, 255));
    }

    void colourLabelsInsertTheirCodes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QColor>("drawnIn");
        QTest::addColumn<QString>("tip");
        const QColor windowText = QApplication::palette().color(QPalette::Text);
        QTest::newRow("Label1") << "Label1" << "clRed" << "FF0000" << QColor(0xFF0000) << u"赤"_qs;
        QTest::newRow("Label2") << "Label2" << "clGreen" << "008000" << QColor(0x008000) << u"緑"_qs;
        QTest::newRow("Label3") << "Label3" << "clBlue" << "0000FF" << QColor(0x0000FF) << u"青"_qs;
        QTest::newRow("Label4") << "Label4" << "clMaroon" << "880000" << QColor(0x800000) << u"栗毛色"_qs;
        QTest::newRow("Label5") << "Label5" << "clOlive" << "808000" << QColor(0x808000) << u"オリーブ色"_qs;
        QTest::newRow("Label6") << "Label6" << "clNavy" << "000080" << QColor(0x000080) << u"濃紺色"_qs;
        QTest::newRow("Label7") << "Label7" << "clPurple" << "80008A" << QColor(0x800080) << u"紫色"_qs;
        QTest::newRow("Label8") << "Label8" << "clTeal" << "008080" << QColor(0x008080) << u"暗青緑色"_qs;
        QTest::newRow("Label9") << "Label9" << "Purple" << "800080" << QColor(0x800080) << u"濃紫色"_qs;
        QTest::newRow("Label10") << "Label10" << "clLime" << "108080" << QColor(0x008080) << u"濃緑色"_qs;
        QTest::newRow("Label11") << "Label11" << "clLtGray" << "808080" << QColor(0x808080) << u"灰色"_qs;
        QTest::newRow("Label12") << "Label12" << "clSilver" << "C0C0C0" << QColor(0xC0C0C0) << u"銀色"_qs;
        QTest::newRow("Label13") << "Label13" << "ciLtGreen" << "00FF00" << QColor(0x00FF00) << u"黄緑色"_qs;
        QTest::newRow("Label14") << "Label14" << "clYellow" << "FFFF00" << QColor(0xFFFF00) << u"黄色"_qs;
        QTest::newRow("Label15") << "Label15" << "clFuchsia" << "FF00FF" << QColor(0xFF00FF) << u"赤紫色"_qs;
        QTest::newRow("Label16") << "Label16" << "clAqua" << "00FFFF" << QColor(0x00FFFF) << u"空色"_qs;
        QTest::newRow("Label17") << "Label17" << "clWhite" << "FFFFFF" << QColor(0xFFFFFF) << u"白色"_qs;
        QTest::newRow("Label18") << "Label18" << "clBlack" << "000000" << windowText << u"黒色"_qs;
        QTest::newRow("Label20") << "Label20" << "Windows2000" << "306EA5" << QColor(0x0000FF)
                                 << u"Windows2000のテーマーカラー"_qs;
    }
    void colourLabelsInsertTheirCodes()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, code);
        QFETCH(QColor, drawnIn);
        QFETCH(QString, tip);
        auto* label = control<ClickLabel>(name);
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->palette().color(QPalette::WindowText), drawnIn);
        QCOMPARE(label->toolTip(), tip);
        QVERIFY(label->font().bold());
        // The code does not follow the bars.
        control<QScrollBar>(u"ScrollBar2"_qs)->setValue(3);
        QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(editor.inserted, QStringList{code});
        // The label keeps its own text colour on the new background.
        QCOMPARE(label->palette().color(QPalette::WindowText), drawnIn);
        QCOMPARE(label->palette().color(QPalette::Window), QColor(255, 3, 255));
    }

    void fieldClicksInsertTheirText()
    {
        QTest::mouseClick(control<ClickEdit>(u"Edit1"_qs), Qt::LeftButton);
        control<QScrollBar>(u"ScrollBar2"_qs)->setValue(0);
        QTest::mouseClick(control<ClickEdit>(u"Edit2"_qs), Qt::LeftButton);
        QTest::mouseClick(control<ClickEdit>(u"Edit3"_qs), Qt::LeftButton);
        for (int n = 4; n <= 6; ++n)
            QTest::mouseClick(control<ClickEdit>(QStringLiteral("Edit%1").arg(n)), Qt::LeftButton);
        QCOMPARE(editor.inserted,
                 (QStringList{u"Red = 255"_qs, u"Green = 0"_qs, u"Blue = 255"_qs, u"FF"_qs, u"00"_qs, u"FF"_qs}));
        QCOMPARE(editor.inserted.mid(3).join(QString()), u"FF00FF"_qs);
    }

    void typedTextIsInsertedAsTyped()
    {
        auto* hex = control<ClickEdit>(u"Edit4"_qs);
        hex->setFocus();
        hex->selectAll();
        QTest::keyClicks(hex, u"zz9"_qs);
        QTest::mouseClick(hex, Qt::LeftButton);
        auto* decimal = control<ClickEdit>(u"Edit3"_qs);
        decimal->clear();
        QTest::keyClicks(decimal, u"x-1"_qs);
        QTest::mouseClick(decimal, Qt::LeftButton);
        QCOMPARE(editor.inserted, (QStringList{u"zz9"_qs, u"Blue = x-1"_qs}));
        QCOMPARE(control<QScrollBar>(u"ScrollBar1"_qs)->value(), 255);
        QCOMPARE(control<QScrollBar>(u"ScrollBar3"_qs)->value(), 255);
        QCOMPARE(background(), QColor(Qt::white));
    }

    void infoHidesWhileTheAboutBoxIsUp()
    {
        bool visibleDuringAbout = true;
        editor.onAbout = [&] { visibleDuringAbout = form->isVisible(); };
        QTest::mouseClick(control<QPushButton>(u"Button2"_qs), Qt::LeftButton);
        QCOMPARE(editor.aboutShown, 1);
        QVERIFY(!visibleDuringAbout);
        QVERIFY(form->isVisible());
    }

    void stateSurvivesHiding()
    {
        control<QScrollBar>(u"ScrollBar3"_qs)->setValue(0);
        QTest::mouseClick(control<QPushButton>(u"Button1"_qs), Qt::LeftButton);
        QVERIFY(!form->isVisible());
        form->show();
        QTest::keyClick(form.get(), Qt::Key_Escape);
        QVERIFY(!form->isVisible());
        form->show();
        QCOMPARE(background(), QColor(255, 255, 0));
        QCOMPARE(field(6), u"00"_qs);
        QVERIFY(editor.inserted.isEmpty());
    }
};

QTEST_MAIN(TestColorControl)
#include "tst_colorcontrol.moc"
