#include "support/TestServices.h"
#include "tools/ClickableControls.h"
#include "tools/PelTime.h"
#include "tools/ToolTestSupport.h"
#include "platform/UpDown.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>

class TestPelTime : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<pel::test::TestEnvironment> env;
    pel::test::FakeEditorPort editor;
    std::unique_ptr<TForm11> form;

    template <typename T>
    T* control(const char* name) const
    {
        T* child = form->findChild<T*>(QString::fromLatin1(name));
        if (!child)
            qFatal("no control %s", name);
        return child;
    }

    QStringList labelTexts() const
    {
        QStringList texts;
        for (const char* name : {"Label6", "Label7", "Label8", "Label9", "Label10", "Label11", "Label12", "Label13"})
            texts << control<ClickLabel>(name)->text();
        return texts;
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<pel::test::TestEnvironment>();
        env->clock->current = QDateTime(QDate(2026, 12, 7), QTime(13, 5, 9));
        editor.inserted.clear();
        form = std::make_unique<TForm11>(editor);
    }
    void cleanup()
    {
        form.reset();
        env.reset();
    }

    void window()
    {
        QCOMPARE(form->windowTitle(), u"PelTime"_qs);
        QCOMPARE(form->size(), QSize(372, 443));
        QVERIFY(form->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(form->windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!(form->windowFlags() & Qt::WindowSystemMenuHint));
        QVERIFY(control<QPushButton>("Button1")->isDefault());
        QCOMPARE(control<QPushButton>("Button1")->text(), u"入力"_qs);
        QCOMPARE(control<QPushButton>("Button2")->text(), u"閉じる"_qs);
        QCOMPARE(control<ClickLabel>("Label8")->toolTip(), u"元号、時刻が二桁で表示"_qs);
        QCOMPARE(control<ClickLabel>("Label12")->toolTip(), u"西暦、年二桁　月日、二桁で表示"_qs);
        QCOMPARE(control<QLineEdit>("Edit1")->toolTip(), u"何時ですか?"_qs);
        QCOMPARE(control<ClickLabel>("Label6")->palette().color(QPalette::WindowText), QColor(0, 255, 0));
        QCOMPARE(control<ClickLabel>("Label10")->palette().color(QPalette::WindowText), QColor(255, 255, 0));
        QCOMPARE(form->palette().color(QPalette::Window), QColor(0, 0x80, 0x80));
    }

    void labelsCarryTheTimeFromTheStart()
    {
        // No design names: a click right after start-up already inserts a date.
        QCOMPARE(labelTexts(), (QStringList{u"令和年12月07日(月曜日)"_qs, u"令和年12月7日(月曜日)"_qs,
                                            u"午後 01時 05分 09秒"_qs, u"午後 1時 5分 9秒"_qs, u"2026/12/07"_qs,
                                            u"2026/12/7"_qs, u"26/12/07"_qs, u"26/12/7"_qs}));
    }

    void timerRefreshesEveryLabel()
    {
        auto* timer = control<QTimer>("Timer1");
        QCOMPARE(timer->interval(), 1000);
        QVERIFY(timer->isActive());  // also while the window is hidden
        QVERIFY(!form->isVisible());

        env->clock->current = QDateTime(QDate(2005, 3, 1), QTime(0, 30, 0));
        form->Timer1Timer();
        QCOMPARE(labelTexts(), (QStringList{u"平成年03月01日(火曜日)"_qs, u"平成年3月1日(火曜日)"_qs,
                                            u"午前 12時 30分 00秒"_qs, u"午前 12時 30分 0秒"_qs, u"2005/03/01"_qs,
                                            u"2005/3/1"_qs, u"05/03/01"_qs, u"05/3/1"_qs}));
    }

    void timerFiresOnItsOwn()
    {
        env->clock->current = QDateTime(QDate(2026, 12, 7), QTime(0, 0, 0));
        QTRY_COMPARE_WITH_TIMEOUT(control<ClickLabel>("Label8")->text(), u"午前 12時 00分 00秒"_qs, 3000);
    }

    void clickInsertsTheLabelText_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : {"Label6", "Label7", "Label8", "Label9", "Label10", "Label11", "Label12", "Label13"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void clickInsertsTheLabelText()
    {
        QFETCH(QString, name);
        form->show();
        auto* label = form->findChild<ClickLabel*>(name);
        QVERIFY(label);
        QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(editor.inserted, QStringList{label->text()});
        QVERIFY(!label->text().isEmpty());
    }

    void doubleClickInsertsOnce()
    {
        form->show();
        auto* label = control<ClickLabel>("Label10");
        pel::test::doubleClick(label);
        QCOMPARE(editor.inserted, QStringList{u"2026/12/07"_qs});
    }

    void fieldsStartAtZero()
    {
        QCOMPARE(control<QLineEdit>("Edit1")->text(), u"0"_qs);
        QCOMPARE(control<QLineEdit>("Edit2")->text(), u"0"_qs);
    }

    void upDownLimits_data()
    {
        QTest::addColumn<QString>("upDown");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("expected");
        QTest::newRow("hour up to 23") << "UpDown1" << "Edit1" << "22" << true << "23";
        QTest::newRow("hour stays at 23") << "UpDown1" << "Edit1" << "23" << true << "23";
        QTest::newRow("hour down from 23") << "UpDown1" << "Edit1" << "23" << false << "22";
        QTest::newRow("hour stays at 0") << "UpDown1" << "Edit1" << "0" << false << "0";
        QTest::newRow("hour above range comes back to 23") << "UpDown1" << "Edit1" << "40" << true << "23";
        QTest::newRow("hour no leading zero") << "UpDown1" << "Edit1" << "08" << true << "9";
        QTest::newRow("minute stays at 0") << "UpDown2" << "Edit2" << "0" << false << "0";
        QTest::newRow("minute up to 59") << "UpDown2" << "Edit2" << "58" << true << "59";
        QTest::newRow("minute stays at 59") << "UpDown2" << "Edit2" << "59" << true << "59";
        QTest::newRow("minute down") << "UpDown2" << "Edit2" << "30" << false << "29";
        QTest::newRow("text counts from the arrows' position") << "UpDown2" << "Edit2" << "abc" << true << "1";
    }
    void upDownLimits()
    {
        QFETCH(QString, upDown);
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(bool, up);
        QFETCH(QString, expected);
        form->show();
        auto* arrows = form->findChild<pel::UpDown*>(upDown);
        auto* edit = form->findChild<QLineEdit*>(field);
        QVERIFY(arrows && edit);
        edit->setText(typed);
        QTest::mouseClick(up ? arrows->upButton() : arrows->downButton(), Qt::LeftButton);
        QCOMPARE(edit->text(), expected);
        QVERIFY(editor.inserted.isEmpty());
    }

    void arrowKeysInTheField()
    {
        form->show();
        auto* edit = control<QLineEdit>("Edit1");
        for (int i = 0; i < 30; ++i)
            QTest::keyClick(edit, Qt::Key_Up);
        QCOMPARE(edit->text(), u"23"_qs);
        QTest::keyClick(edit, Qt::Key_Down);
        QCOMPARE(edit->text(), u"22"_qs);
    }

    void enterInsertsTheTime_data()
    {
        QTest::addColumn<QString>("hour");
        QTest::addColumn<QString>("minute");
        QTest::addColumn<QString>("expected");
        QTest::newRow("13 and 0") << "13" << "0" << u"13時0分"_qs;
        QTest::newRow("no padding") << "9" << "5" << u"9時5分"_qs;
        QTest::newRow("typed text as typed") << "朝" << "" << u"朝時分"_qs;
        QTest::newRow("out of range as typed") << "25" << "075" << u"25時075分"_qs;
    }
    void enterInsertsTheTime()
    {
        QFETCH(QString, hour);
        QFETCH(QString, minute);
        QFETCH(QString, expected);
        form->show();
        control<QLineEdit>("Edit1")->setText(hour);
        control<QLineEdit>("Edit2")->setText(minute);
        QTest::mouseClick(control<QPushButton>("Button1"), Qt::LeftButton);
        QCOMPARE(editor.inserted, QStringList{expected});
        // Fields keep their values.
        QCOMPARE(control<QLineEdit>("Edit1")->text(), hour);
    }

    void returnKeyPressesInput()
    {
        form->show();
        QApplication::setActiveWindow(form.get());
        auto* hour = control<QLineEdit>("Edit1");
        hour->setFocus();
        QTest::keyClicks(hour, u"7"_qs);  // appended to "0"
        QTest::keyClick(hour, Qt::Key_Return);
        QCOMPARE(editor.inserted, QStringList{u"07時0分"_qs});
        QCOMPARE(QApplication::focusWidget(), control<QLineEdit>("Edit2"));
    }

    void closeAndEscapeHide()
    {
        form->show();
        QTest::mouseClick(control<QPushButton>("Button2"), Qt::LeftButton);
        QVERIFY(!form->isVisible());
        form->show();
        QTest::keyClick(form.get(), Qt::Key_Escape);
        QVERIFY(!form->isVisible());
        QVERIFY(editor.inserted.isEmpty());
        QVERIFY(control<QTimer>("Timer1")->isActive());
    }
};

QTEST_MAIN(TestPelTime)
#include "tst_peltime.moc"
