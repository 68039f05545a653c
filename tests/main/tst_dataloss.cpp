// Nothing the user has is lost: bad settings, unreadable or partly read
// registers, Clear, dropped files, the preview's save, file-size limits,
// unwritable stores, window sizes and the recovery copy.
#include "MainFixture.h"

#include "paint/PelPaint.h"
#include "phrases/PelJava.h"
#include "phrases/Pellist.h"
#include "phrases/PhraseList.h"
#include "phrases/PhraseRegister.h"
#include "platform/RecoveryStore.h"
#include "platform/RegistryKey.h"
#include "platform/SessionEnd.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QScreen>
#include <QTest>
#include <QUrl>

#include <sys/resource.h>
#include <unistd.h>

using Answer = pel::Prompts::Answer;
using pel::test::readFile;
using pel::test::writeFile;

namespace {
const QByteArray kPhrases = "one\r\ntwo\r\n";

void storeSetting(const char* section, const char* name, const QString& value)
{
    pel::RegistryKey key(QStringLiteral("Pelmora"));
    key.writeString(QString::fromLatin1(section), QString::fromLatin1(name), value);
    key.flush();
}

pel::PhraseList& registerList(const QString& file)
{
    if (file == u"HOMELOG.TXT")
        return Form3->list();
    if (file == u"JAVALOG.TXT")
        return Form5->list();
    return Form1->phraseBarList();
}

QString backupOf(const QString& file)
{
    return file == u"COMBLOG.TXT" ? QStringLiteral("COMBOLOG.bak") : QString(file).replace(QStringLiteral(".TXT"), QStringLiteral(".bak"));
}
} // namespace

class TestDataLoss : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { f = std::make_unique<MainFixture>(); }
    void cleanup() { f.reset(); }

    void badSettingsKeepStartingUp_data();
    void badSettingsKeepStartingUp();
    void registerFileKept_data();
    void registerFileKept();
    void clearAsksAndKeepsFiles();
    void droppedFileBecomesDocument_data();
    void droppedFileBecomesDocument();
    void previewSaveAsksBeforeOverwriting();
    void phraseTextIsWhatWasShown();
    void fileSizeLimitFailsCleanly();
    void garbageSettingsFileCloses();
    void storedSizesFitTheScreen_data();
    void storedSizesFitTheScreen();
    void recoveryCopyFollowsUnsavedText();
    void recoveryOffered_data();
    void recoveryOffered();

private:
    void closeAndEnd(std::initializer_list<Answer> answers = {});
    std::unique_ptr<MainFixture> f;
};

void TestDataLoss::closeAndEnd(std::initializer_list<Answer> answers)
{
    f->env->prompts->setAnswers(answers);
    QVERIFY(f->main().close());
    PelmoraApp::destroyWindows();
}

void TestDataLoss::badSettingsKeepStartingUp_data()
{
    QTest::addColumn<QStringList>("settings");  // section/name=value
    QTest::addColumn<int>("messages");
    QTest::newRow("font colour") << QStringList{"Option/FontColor=garbage"} << 1;
    QTest::newRow("font style") << QStringList{"Option/FontStyle=999"} << 1;
    QTest::newRow("every key") << QStringList{"Locate/Top=x", "Locate/left=x", "Locate/Height=x",
                                              "Locate/Width=x", "Locate/State=x", "Option/Font=",
                                              "Option/FontColor=x", "Option/FontSize=x", "Option/Color=x",
                                              "Option/WordWarp=x", "Option/FontStyle=x", "Option/FontPiech=-5"}
                               << 3;
}

void TestDataLoss::badSettingsKeepStartingUp()
{
    QFETCH(QStringList, settings);
    QFETCH(int, messages);
    for (const QString& setting : settings) {
        const auto parts = setting.split(u'=');
        const auto key = parts.first().split(u'/');
        storeSetting(key.first().toLatin1().constData(), key.last().toLatin1().constData(), parts.last());
    }
    writeFile(f->env->path("COMBLOG.TXT"), kPhrases);
    const QString argument = f->env->path("arg.txt");
    writeFile(argument, "text\r\n");
    f->start({argument});
    // Each bad value gets its message and its default; the register and the
    // command-line file are still loaded, so the close writes nothing empty.
    QCOMPARE(f->env->prompts->shown.size(), messages);
    QCOMPARE(f->main().phraseBarList().texts(), (QStringList{"one", "two"}));
    QCOMPARE(f->driver().text(), QStringLiteral("text\n"));
    closeAndEnd({Answer::No});
    QCOMPARE(readFile(f->env->path("COMBLOG.TXT")), kPhrases);
    QCOMPARE(readFile(f->env->path("COMBOLOG.bak")), kPhrases);
}

void TestDataLoss::registerFileKept_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("damage");
    QTest::addColumn<bool>("addEntry");
    for (const char* file : {"COMBLOG.TXT", "HOMELOG.TXT", "JAVALOG.TXT"}) {
        for (const char* damage : {"mode 000", "mode 200", "NUL"}) {
            for (bool add : {false, true})
                QTest::addRow("%s %s%s", file, damage, add ? " changed" : "") << file << damage << add;
        }
    }
}

void TestDataLoss::registerFileKept()
{
    QFETCH(QString, file);
    QFETCH(QString, damage);
    QFETCH(bool, addEntry);
    const bool permissions = damage.startsWith(u"mode");
    if (permissions && geteuid() == 0)
        QSKIP("root ignores file permissions; run-unprivileged.sh runs this as an ordinary user");
    const QByteArray bytes = permissions ? kPhrases : QByteArray("one\r\ntwo\0tail\r\nthree\r\n", 22);
    const QByteArray oldBackup = "old backup\r\n";
    const QString path = f->env->path(file);
    const QString backup = f->env->path(backupOf(file));
    writeFile(path, bytes);
    writeFile(backup, oldBackup);
    if (permissions)
        QFile::setPermissions(path, damage.endsWith(u"200") ? QFileDevice::WriteOwner : QFileDevice::Permissions{});
    f->start();
    if (permissions) {
        // Told once, with the file's path.
        QCOMPARE(f->env->prompts->shown.size(), 1);
        QVERIFY(f->env->prompts->shown.first().text.contains(QDir::toNativeSeparators(path)));
    }
    if (addEntry)
        registerList(file).Append(QStringLiteral("new"));
    closeAndEnd({Answer::No});
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!addEntry || permissions) {
        // Nothing the user did not delete is written over.
        QCOMPARE(readFile(path), bytes);
        QCOMPARE(readFile(backup), oldBackup);
    } else {
        // A changed list is written; the old file, tail and all, is its backup.
        QCOMPARE(readFile(path), QByteArray("one\r\ntwo\r\nnew\r\n"));
        QCOMPARE(readFile(backup), bytes);
    }
    // What was registered in a register that could not be read is kept aside.
    QCOMPARE(QFileInfo::exists(path + ".new"), addEntry && permissions);
    if (addEntry && permissions)
        QCOMPARE(readFile(path + ".new"), QByteArray("new\r\n"));
}

void TestDataLoss::clearAsksAndKeepsFiles()
{
    const QString argument = f->env->path("arg.txt");
    writeFile(argument, "from the command line");
    f->start({argument});
    const QString document = f->env->path("doc.txt");
    f->main().session().setFileName(document);
    f->main().show();
    QVERIFY(QTest::qWaitForWindowActive(&f->main()));
    // Typed through the focused control: each key release clears the
    // editor's own flag, yet Clear still asks.
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("abc"));
    QVERIFY(!f->main().session().modifiedFlag());
    f->env->prompts->setAnswers({Answer::No});
    f->run("ClearAction");
    QCOMPARE(f->env->prompts->texts(), QStringList{QStringLiteral("現在の内容を破棄します｡よろしいですか｡")});
    QVERIFY(f->driver().text().contains(u"abc"));
    f->env->prompts->setAnswers({Answer::Yes});
    f->run("ClearAction");
    // The document is emptied, not replaced by the command-line file, and
    // keeps its name.
    QCOMPARE(f->driver().text(), QString());
    QCOMPARE(f->main().session().fileName(), document);
}

void TestDataLoss::droppedFileBecomesDocument_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("no: let the text go") << Answer::No << true;
    QTest::newRow("cancel") << Answer::Cancel << false;
    QTest::newRow("yes: save first") << Answer::Yes << false;
}

void TestDataLoss::droppedFileBecomesDocument()
{
    QFETCH(Answer, answer);
    QFETCH(bool, replaced);
    f->start();
    const QString previous = f->env->path("previous.txt");
    f->main().session().setFileName(previous);
    f->driver().setText(QStringLiteral("unsaved"));
    const QString dropped = f->env->path("dropped.txt");
    writeFile(dropped, "dropped");
    f->env->prompts->setAnswers({answer});
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(dropped)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&f->main(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&f->main(), &drop);
    QCOMPARE(f->env->prompts->texts(), QStringList{QStringLiteral("編集中の文書があります｡\r\n保存しますか ?")});
    QCOMPARE(f->driver().text(), replaced ? QStringLiteral("dropped") : QStringLiteral("unsaved"));
    QCOMPARE(f->main().session().fileName(), replaced ? dropped : previous);
    if (replaced) {
        QCOMPARE(f->main().windowTitle(), QStringLiteral("dropped.txt"));
        QCOMPARE(f->main().ChangeIndicator(), QStringLiteral("　変更　なし"));
    }
    // Save writes where the text came from, never over the other document.
    f->run("SaveAction");
    QVERIFY(!QFileInfo::exists(previous) || !replaced);
}

void TestDataLoss::previewSaveAsksBeforeOverwriting()
{
    f->start();
    const QString existing = f->env->path("page.html");
    writeFile(existing, "keep");
    f->driver().setText(QStringLiteral("<HTML>"));
    f->main().session().setModifiedFlag(true);
    f->env->dialogs->saveAnswers.enqueue(existing);
    f->env->prompts->setAnswers({Answer::Cancel});
    f->run("BrowserAction");
    QCOMPARE(f->env->prompts->texts(),
             QStringList{QStringLiteral("page.html\r\nと同じ名前のファイルがあります。\r\n 上書きしてよろしいですか ?")});
    QCOMPARE(readFile(existing), QByteArray("keep"));
    QVERIFY(f->env->shell->opened.isEmpty());
}

void TestDataLoss::phraseTextIsWhatWasShown()
{
    f->start();
    QLineEdit* field = Form3->Edit1;
    // A character the code page cannot hold is refused with its name, and
    // the text stays in the field to be mended.
    field->setText(QStringLiteral("café€X"));
    Form3->Edit1Enter();
    QCOMPARE(Form3->list().count(), 0);
    QVERIFY2(f->env->prompts->texts().value(0).contains(QStringLiteral("「é」(U+00E9)")), qPrintable(f->env->prompts->texts().join(u'|')));
    QCOMPARE(field->text(), QStringLiteral("café€X"));
    // A pasted line break shows as a space, and is kept as one.
    field->setText(QStringLiteral("a\r\nb\nc"));
    const QString shown = field->displayText();
    Form3->Edit1Enter();
    QCOMPARE(Form3->list().texts(), QStringList{shown});
}

void TestDataLoss::fileSizeLimitFailsCleanly()
{
    f->start();
    const QString path = f->env->path("big.txt");
    writeFile(path, "old");
    f->main().session().setFileName(path);
    f->driver().setText(QString(20000, u'x'));
    pel::SessionEnd::ignoreFileSizeSignal();
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    f->run("SaveAction");
    setrlimit(RLIMIT_FSIZE, &saved);
    QCOMPARE(f->env->prompts->texts(), QStringList{QStringLiteral("ファイル %1 を作成できません").arg(path)});
    QCOMPARE(readFile(path), QByteArray("old"));
    QVERIFY(f->main().session().hasUnsavedChanges());
}

void TestDataLoss::garbageSettingsFileCloses()
{
    QByteArray garbage;
    for (int i = 0; i < 3000; ++i)
        garbage.append(char((i * 37 + 11) % 256));
    const QString location = pel::RegistryKey(QStringLiteral("Pelmora")).location();
    QVERIFY(QDir().mkpath(QFileInfo(location).absolutePath()));
    writeFile(location, garbage);
    f->start();
    f->env->prompts->shown.clear();
    QVERIFY(f->main().close());
    QVERIFY(f->env->prompts->shown.isEmpty());
    QCOMPARE(pel::RegistryKey(QStringLiteral("Pelmora")).readInteger(QStringLiteral("Option"), QStringLiteral("WordWarp"), -1), 1);
}

void TestDataLoss::storedSizesFitTheScreen_data()
{
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("top");
    QTest::newRow("huge") << "99999" << "99999" << "10";
    QTest::newRow("largest int") << "2147483647" << "2147483647" << "2147483647";
    QTest::newRow("negative") << "-400" << "-1" << "-99999";
}

void TestDataLoss::storedSizesFitTheScreen()
{
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QString, top);
    storeSetting("Locate", "Width", width);
    storeSetting("Locate", "Height", height);
    storeSetting("Locate", "Top", top);
    storeSetting("Option", "FontSize", width);
    pel::RegistryKey img(QStringLiteral("Img"));
    img.writeString(QStringLiteral("Locate"), QStringLiteral("Width"), width);
    img.writeString(QStringLiteral("Locate"), QStringLiteral("Height"), height);
    img.writeString(QStringLiteral("Locate"), QStringLiteral("Top"), top);
    img.flush();
    f->start();
    const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
    for (QWidget* window : {static_cast<QWidget*>(Form1), static_cast<QWidget*>(Form6)}) {
        QVERIFY2(desktop.contains(window->geometry()), window->objectName().toLatin1());
        QVERIFY(window->width() > 0 && window->height() > 0);
    }
    QVERIFY(f->editor().font().pointSize() <= 400);
}

void TestDataLoss::recoveryCopyFollowsUnsavedText()
{
    f->start();
    const QString copy = f->main().recoveryCopyPath();
    // Lines and a no-break space come back as typed.
    const QString draft = QStringLiteral("日本語の下書き\n二行目\u00a0です\n");
    pel::edit::type(f->session(), draft);
    QVERIFY(!QFileInfo::exists(copy));  // never on every key
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(copy), 3000);
    pel::RecoveryStore::Copy read;
    QTRY_VERIFY(pel::RecoveryStore::parse(readFile(copy), read) && read.text == draft);
    // Nobody else may read the user's text.
    const auto groupAndOthers = [](const QString& path) { return int(QFileInfo(path).permissions()) & 0x0077; };
    QCOMPARE(groupAndOthers(copy), 0);
    QCOMPARE(groupAndOthers(QFileInfo(copy).absolutePath()), 0);
    // Saved: the copy goes.
    const QString path = f->env->path("doc.txt");
    f->env->dialogs->saveAnswers.enqueue(path);
    f->run("SaveAction");
    QVERIFY(!QFileInfo::exists(copy));
}

void TestDataLoss::recoveryOffered_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::newRow("restore") << Answer::Yes;
    QTest::newRow("drop") << Answer::No;
}

void TestDataLoss::recoveryOffered()
{
    QFETCH(Answer, answer);
    // A copy left by a run that was killed: no lock beside it.
    QVERIFY(QDir().mkpath(f->env->recoveryDirectory()));
    const QString left = f->env->recoveryDirectory() + "/session-1-1.recover";
    writeFile(left, pel::RecoveryStore::serialize(QStringLiteral("失われない文章"), QStringLiteral("/tmp/a.txt")));
    // The lock of a killed run that kept no copy is cleared away.
    const QString staleLock = f->env->recoveryDirectory() + "/session-2-2.lock";
    writeFile(staleLock, "2147483646\npelmora\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    f->start();
    f->env->prompts->setAnswers({answer});
    f->main().offerRecovery();
    QCOMPARE(f->env->prompts->shown.size(), 1);
    QVERIFY(f->env->prompts->shown.first().text.contains(QStringLiteral("/tmp/a.txt")));
    QVERIFY(!QFileInfo::exists(left));
    QVERIFY(!QFileInfo::exists(staleLock));
    if (answer == Answer::No) {
        QCOMPARE(f->driver().text(), QString());
        return;
    }
    QCOMPARE(f->driver().text(), QStringLiteral("失われない文章"));
    QCOMPARE(f->main().session().fileName(), QStringLiteral("/tmp/a.txt"));
    QCOMPARE(f->main().windowTitle(), QStringLiteral("a.txt"));
    QCOMPARE(f->main().ChangeIndicator(), QStringLiteral("　変更　あり"));
    // The restored text is this run's unsaved document, with its own copy.
    QVERIFY(QFileInfo::exists(f->main().recoveryCopyPath()));
}

QTEST_MAIN(TestDataLoss)
#include "tst_dataloss.moc"
