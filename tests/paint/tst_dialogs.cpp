// The paint form's three dialogs: texts, limits, positions and effects.
#include "PaintFixtures.h"
#include "PaintFormFixture.h"
#include "paint/ImageControl.h"
#include "platform/UpDown.h"
#include "platform/Hints.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace paintfx;

class TestDialogs : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<PaintForms> forms;

    static pel::UpDown* upDown(QDialog* dialog, const char* name)
    {
        return dialog->findChild<pel::UpDown*>(QString::fromLatin1(name));
    }
    static QLineEdit* edit(QDialog* dialog, const char* name)
    {
        return dialog->findChild<QLineEdit*>(QString::fromLatin1(name));
    }

private Q_SLOTS:
    void init() { forms = std::make_unique<PaintForms>(); }
    void cleanup() { forms.reset(); }

    void captionsAndTexts_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::newRow("8 caption") << "TForm8" << "" << "Fontの位置";
        QTest::newRow("8 label1") << "TForm8" << "Label1" << "左右の位置";
        QTest::newRow("8 label2") << "TForm8" << "Label2" << "上下の位置";
        QTest::newRow("9 caption") << "TForm9" << "" << "画像のサイズ";
        QTest::newRow("9 label1") << "TForm9" << "Label1" << "画像の高さサイズ";
        QTest::newRow("9 label2") << "TForm9" << "Label2" << "画像の横幅サイズ";
        QTest::newRow("10 caption") << "TForm10" << "" << "画像の移動";
        QTest::newRow("10 label1") << "TForm10" << "Label1" << "左右方向へ移動";
        QTest::newRow("10 label4") << "TForm10" << "Label4" << "定位置図形のサイズ変更　　　　　　　　　　";
        QTest::newRow("10 label5") << "TForm10" << "Label5" << "拡大はプラス縮小はマイナス";
        QTest::newRow("10 label6") << "TForm10" << "Label6" << "定位置図形の拡大／縮小は、変形します。";
        QTest::newRow("10 go") << "TForm10" << "Button2" << "&GO";
    }
    void captionsAndTexts()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, control);
        QFETCH(QString, text);
        QDialog* d = dialog == u"TForm8" ? static_cast<QDialog*>(forms->form8.get())
                   : dialog == u"TForm9" ? static_cast<QDialog*>(forms->form9.get())
                                         : static_cast<QDialog*>(forms->form10.get());
        QCOMPARE(d->objectName(), dialog);
        if (control.isEmpty()) {
            QCOMPARE(d->windowTitle(), text);
            QVERIFY(!(d->windowFlags() & Qt::WindowCloseButtonHint));
            QVERIFY(d->windowFlags() & Qt::WindowStaysOnTopHint);
            return;
        }
        QObject* child = d->findChild<QObject*>(control);
        QVERIFY(child);
        QCOMPARE(child->property("text").toString(), text);
    }

    void limitsAndStarts_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("upDown");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("start");
        QTest::newRow("8 x") << "8" << "UpDown1" << 0 << 800 << 5;
        QTest::newRow("8 y") << "8" << "UpDown2" << 0 << 600 << 5;
        QTest::newRow("9 height") << "9" << "UpDown1" << -100 << 600 << 128;
        QTest::newRow("9 width") << "9" << "UpDown2" << -100 << 800 << 128;
        QTest::newRow("10 h") << "10" << "UpDown1" << -200 << 600 << 0;
        QTest::newRow("10 v") << "10" << "UpDown2" << -200 << 800 << 0;
        QTest::newRow("10 s") << "10" << "UpDown3" << -10 << 50 << 0;
    }
    void limitsAndStarts()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, upDown);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, start);
        QDialog* d = dialog == u"8" ? static_cast<QDialog*>(forms->form8.get())
                   : dialog == u"9" ? static_cast<QDialog*>(forms->form9.get())
                                    : static_cast<QDialog*>(forms->form10.get());
        auto* control = d->findChild<pel::UpDown*>(upDown);
        QVERIFY(control);
        QCOMPARE(control->position(), start);
        QLineEdit* box = control->associate();
        QCOMPARE(box->text(), QString::number(start));

        // Typed numbers count once valid and within the limits.
        box->clear();
        QTest::keyClicks(box, QString::number(maximum + 1));
        QVERIFY(control->position() <= maximum);
        QTest::keyClicks(box, QStringLiteral("x"));
        QVERIFY(control->position() <= maximum);
        box->clear();
        QTest::keyClicks(box, QString::number(maximum));
        QCOMPARE(control->position(), maximum);
        // Arrows stop at the limits, without wrapping.
        control->step(+1);
        QCOMPARE(control->position(), maximum);
        QCOMPARE(box->text(), QString::number(maximum));
        control->setPosition(minimum);
        control->step(-1);
        QCOMPARE(control->position(), minimum);
        box->setText(QStringLiteral("x"));
        control->step(+1);
        QCOMPARE(control->position(), minimum + 1);
    }

    void controlPositions_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("8 edit1") << "8" << "Edit1" << QRect(96, 8, 40, 20);
        QTest::newRow("8 edit2") << "8" << "Edit2" << QRect(96, 32, 40, 20);
        QTest::newRow("8 ok") << "8" << "Button1" << QRect(176, 8, 30, 25);
        QTest::newRow("9 edit1") << "9" << "Edit1" << QRect(128, 16, 30, 20);
        QTest::newRow("9 ok") << "9" << "Button1" << QRect(200, 16, 35, 20);
        QTest::newRow("10 edit1") << "10" << "Edit1" << QRect(120, 8, 50, 20);
        QTest::newRow("10 edit3") << "10" << "Edit3" << QRect(80, 184, 89, 20);
        QTest::newRow("10 ok") << "10" << "Button1" << QRect(192, 8, 30, 20);
        QTest::newRow("10 go") << "10" << "Button2" << QRect(192, 184, 30, 20);
    }
    void controlPositions()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, control);
        QFETCH(QRect, geometry);
        QDialog* d = dialog == u"8" ? static_cast<QDialog*>(forms->form8.get())
                   : dialog == u"9" ? static_cast<QDialog*>(forms->form9.get())
                                    : static_cast<QDialog*>(forms->form10.get());
        auto* widget = d->findChild<QWidget*>(control);
        QVERIFY(widget);
        // Boxes may be wider than specified where a value would be cut.
        QCOMPARE(widget->pos(), geometry.topLeft());
        QCOMPARE(widget->height(), geometry.height());
        QVERIFY(widget->width() >= geometry.width());
        QVERIFY(widget->width() <= geometry.width() + 12);
    }

    void showingPutsTheSecondHintInTheStatusBar_data()
    {
        QTest::addColumn<int>("dialog");
        QTest::addColumn<QString>("status");
        QTest::newRow("8") << 8 << "上の位置を設定します";
        QTest::newRow("9") << 9 << "画像の横幅サイズを設定する";
        QTest::newRow("10") << 10 << "－は上へ　＋は下へそれぞれ移動します";
    }
    void showingPutsTheSecondHintInTheStatusBar()
    {
        QFETCH(int, dialog);
        QFETCH(QString, status);
        QDialog* d = dialog == 8 ? static_cast<QDialog*>(forms->form8.get())
                   : dialog == 9 ? static_cast<QDialog*>(forms->form9.get())
                                 : static_cast<QDialog*>(forms->form10.get());
        d->show();
        QCOMPARE(forms->form6->statusPanel(0), status);
        d->hide();
    }

    void fontChoiceKeepsTheDialogOpenUntilConfirmed()
    {
        TForm8* form8 = forms->form8.get();
        form8->show();
        form8->Button1Click();  // cancelled
        QVERIFY(form8->isVisible());
        QCOMPARE(forms->env.dialogs->fontRequests.size(), 1);
        QCOMPARE(forms->env.dialogs->fontRequests.first().pixelSize(), 12);

        QFont chosen(QStringLiteral("Serif"));
        chosen.setPixelSize(20);
        chosen.setBold(true);
        forms->env.dialogs->fontAnswers.enqueue(chosen);
        // Esc presses OK: it opens the font dialog too.
        QTest::keyClick(form8, Qt::Key_Escape);
        QVERIFY(!form8->isVisible());
        QCOMPARE(form8->result(), int(QDialog::Accepted));
        QCOMPARE(forms->form6->fontDialogFont().pixelSize(), 20);
        QVERIFY(forms->form6->fontDialogFont().bold());
    }

    void sizeDialogMakesANewPicture_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("width");
        QTest::addColumn<QSize>("size");
        QTest::newRow("start") << 128 << 128 << QSize(128, 128);
        QTest::newRow("wide") << 20 << 800 << QSize(800, 20);
        QTest::newRow("zero height") << 0 << 30 << QSize(0, 0);  // an empty picture
        QTest::newRow("negative") << -100 << -5 << QSize(0, 0);
    }
    void sizeDialogMakesANewPicture()
    {
        QFETCH(int, height);
        QFETCH(int, width);
        QFETCH(QSize, size);
        TForm9* form9 = forms->form9.get();
        forms->form6->canvas().pen().width = 6;
        forms->form6->bitmap().fill(Qt::red);
        upDown(form9, "UpDown1")->setPosition(height);
        upDown(form9, "UpDown2")->setPosition(width);
        form9->show();
        QTest::keyClick(form9, Qt::Key_Escape);  // Esc makes the picture as well
        QVERIFY(!form9->isVisible());
        QCOMPARE(forms->form6->bitmap().size(), size);
        QCOMPARE(forms->form6->image1()->size(), size);
        QCOMPARE(forms->form6->canvas().pen().width, 1);
        if (!size.isEmpty())
            QCOMPARE(forms->form6->bitmap().pixel(0, 0), kWhite);
    }

    void sizeDialogEnterPressesOk()
    {
        TForm9* form9 = forms->form9.get();
        upDown(form9, "UpDown1")->setPosition(16);
        upDown(form9, "UpDown2")->setPosition(32);
        form9->show();
        QTest::keyClick(edit(form9, "Edit1"), Qt::Key_Return);
        QVERIFY(!form9->isVisible());
        QCOMPARE(forms->form6->bitmap().size(), QSize(32, 16));
    }

    void moveDialogFeedsTheFigures()
    {
        TForm10* form10 = forms->form10.get();
        upDown(form10, "UpDown1")->setPosition(-200);
        upDown(form10, "UpDown2")->setPosition(7);
        upDown(form10, "UpDown3")->setPosition(10);
        const pel::FigureOffset o = form10->figureOffset();
        QCOMPARE(o.h, -200);
        QCOMPARE(o.v, 7);
        QCOMPARE(o.s, 10);
        for (const char* button : {"Button1", "Button2"}) {
            form10->show();
            form10->findChild<QPushButton*>(QString::fromLatin1(button))->click();
            QVERIFY(!form10->isVisible());
        }
        form10->show();
        QTest::keyClick(form10, Qt::Key_Escape);
        QVERIFY(!form10->isVisible());
        QCOMPARE(form10->figureOffset().h, -200);  // nothing is reset by closing
    }

    void hintsAsWritten()
    {
        QCOMPARE(pel::hintOf(forms->form10->Label1), QStringLiteral("|-は左へ　＋は右へそれぞれ移動します"));
        QCOMPARE(pel::hintOf(forms->form10->Edit1), QStringLiteral("－は、左へ　＋は右へそれぞれ移動します"));
        QCOMPARE(pel::hintOf(forms->form10->UpDown3), QStringLiteral("正三角形を拡大／縮小"));
        QCOMPARE(pel::hintOf(forms->form8->Edit1), QStringLiteral("左のいちを設定します｡"));
        QCOMPARE(pel::hintOf(forms->form9->Button1), QStringLiteral("サイズ設定|サイズ設定完了"));
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
