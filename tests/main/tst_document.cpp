// The document's life: file commands, their prompts, the change indicator,
// the close of the main window, backups and restores.
#include "MainFixture.h"

#include "phrases/PelJava.h"
#include "phrases/Pellist.h"
#include "phrases/PhraseList.h"
#include "platform/RegistryKey.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTest>

using Answer = pel::Prompts::Answer;
using pel::test::readFile;
using pel::test::writeFile;

namespace {
const QString kUnsaved = QStringLiteral("編集中の文書があります｡\r\n保存しますか ?");
const QString kClose = QStringLiteral("文章は変更されています｡\r\n 保存しますか ?");
const QString kChanged = QStringLiteral("　変更　あり");
const QString kUnchanged = QStringLiteral("　変更　なし");
} // namespace

class TestDocument : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { f = std::make_unique<MainFixture>(); f->start(); }
    void cleanup() { f.reset(); }
    void fileChangedElsewhere_data();
    void fileChangedElsewhere();
    void changedFileOfferedOnActivation();
    void encodingChosenInTheDialogs();
    void reopenInAnotherEncoding_data();
    void reopenInAnotherEncoding();
    void reopenNeedsAFile();

    void indicatorFollowsChanges();
    void newOnEmptyEditorDoesNothing();
    void newAnswers_data();
    void newAnswers();
    void openAnswers_data();
    void openAnswers();
    void openLoadsFileAndSetsState();
    void openFailureKeepsEverything();
    void saveWithoutNameRunsSaveAs();
    void saveWritesCrLfShiftJis();
    void saveAsOverwriteAnswers_data();
    void saveAsOverwriteAnswers();
    void cancelledSaveAsKeepsFileName();
    void failedWriteKeepsOldFileAndReports();
    void unencodableCharacterStopsSave();
    void openedFileRoundTripsByteForByte_data();
    void openedFileRoundTripsByteForByte();
    void closeAnswers_data();
    void closeAnswers();
    void closeWritesSettingsAndBackups();
    void failedBackupLetsUserChoose();
    void restoreReadsBackup_data();
    void restoreReadsBackup();
    void restoreWithoutBackupReports();
    void winEndDoesNothing();
    void listFilesWrittenAtEnd();

private:
    std::unique_ptr<MainFixture> f;
    QString typeIntoEditor(const QString& text)
    {
        pel::edit::type(f->session(), text);
        return text;
    }
};

void TestDocument::indicatorFollowsChanges()
{
    QCOMPARE(f->main().ChangeIndicator(), QString());
    typeIntoEditor(QStringLiteral("あ"));
    QCOMPARE(f->main().ChangeIndicator(), kChanged);
    f->main().session().ReplaceEditorSelection(QStringLiteral("<B>"));
    QCOMPARE(f->main().ChangeIndicator(), kChanged);
}

void TestDocument::newOnEmptyEditorDoesNothing()
{
    f->run("NewAction");
    QVERIFY(f->env->prompts->shown.isEmpty());
    QCOMPARE(f->env->beep->count, 0);
    QCOMPARE(f->main().windowTitle(), QStringLiteral("Pelmora"));
}

void TestDocument::newAnswers_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("saveDialogShown");
    QTest::addColumn<QString>("textAfter");
    QTest::addColumn<QString>("indicatorAfter");
    QTest::newRow("yes, dialog cancelled") << int(Answer::Yes) << true << "abc" << kChanged;
    QTest::newRow("no") << int(Answer::No) << false << "" << kUnchanged;
    QTest::newRow("cancel") << int(Answer::Cancel) << false << "abc" << kChanged;
}

void TestDocument::newAnswers()
{
    QFETCH(int, answer);
    QFETCH(bool, saveDialogShown);
    QFETCH(QString, textAfter);
    QFETCH(QString, indicatorAfter);
    typeIntoEditor(QStringLiteral("abc"));
    f->env->prompts->answers.enqueue(Answer(answer));
    f->run("NewAction");
    QCOMPARE(f->env->prompts->texts(), QStringList{kUnsaved});
    QCOMPARE(f->env->prompts->shown.first().caption, QStringLiteral("確認"));
    QCOMPARE(f->env->prompts->shown.first().icon, pel::Prompts::Icon::Question);
    QCOMPARE(f->env->prompts->shown.first().buttons, pel::Prompts::Buttons::YesNoCancel);
    QCOMPARE(f->env->beep->count, 1);
    QCOMPARE(f->env->dialogs->saveRequests.size(), saveDialogShown ? 1 : 0);
    QCOMPARE(f->driver().text(), textAfter);
    QCOMPARE(f->main().ChangeIndicator(), indicatorAfter);
    QCOMPARE(f->main().windowTitle(), QStringLiteral("Pelmora"));
}

void TestDocument::openAnswers_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("saveDialogs");
    QTest::addColumn<int>("openDialogs");
    QTest::newRow("yes: save as, no open") << int(Answer::Yes) << 1 << 0;
    QTest::newRow("no: open") << int(Answer::No) << 0 << 1;
    QTest::newRow("cancel") << int(Answer::Cancel) << 0 << 0;
}

void TestDocument::openAnswers()
{
    QFETCH(int, answer);
    QFETCH(int, saveDialogs);
    QFETCH(int, openDialogs);
    typeIntoEditor(QStringLiteral("abc"));
    f->env->prompts->answers.enqueue(Answer(answer));
    f->run("OpenAction");
    QCOMPARE(f->env->prompts->texts(), QStringList{kUnsaved});
    QCOMPARE(f->env->dialogs->saveRequests.size(), saveDialogs);
    QCOMPARE(f->env->dialogs->openRequests.size(), openDialogs);
}

void TestDocument::openLoadsFileAndSetsState()
{
    const QString path = f->env->path(QStringLiteral("page.html"));
    writeFile(path, "line1\r\n\x82\xa0\r\n");  // "あ" in code page 932
    f->env->dialogs->openAnswers.enqueue(path);
    f->run("OpenAction");
    QVERIFY(f->env->prompts->shown.isEmpty());  // empty editor: no question
    const pel::FileDialogRequest& request = f->env->dialogs->openRequests.first();
    QCOMPARE(request.fileName, QStringLiteral("*.txt"));
    QCOMPARE(request.filters.size(), 4);
    QCOMPARE(request.filters.at(0).description, QStringLiteral("テキストファイル(*.txt)"));
    QCOMPARE(request.filters.at(1).patterns, QStringLiteral("*.html;*.htm;"));
    QCOMPARE(request.filters.at(3).description, QStringLiteral("すべてのファイル(*.*)          "));
    QCOMPARE(request.directory, f->env->programDirectory());
    QCOMPARE(f->driver().text(), QStringLiteral("line1\nあ\n"));
    QCOMPARE(f->main().session().fileName(), path);
    QCOMPARE(f->main().windowTitle(), QStringLiteral("page.html"));
    QCOMPARE(f->main().ChangeIndicator(), kUnchanged);
    QVERIFY(!f->main().session().modifiedFlag());
}

void TestDocument::openFailureKeepsEverything()
{
    typeIntoEditor(QStringLiteral("keep"));
    f->env->prompts->answers.enqueue(Answer::No);
    const QString missing = f->env->path(QStringLiteral("missing.txt"));
    f->env->dialogs->openAnswers.enqueue(missing);
    f->run("OpenAction");
    QCOMPARE(f->env->prompts->shown.last().text, QStringLiteral("ファイル %1 は開けません").arg(missing));
    QCOMPARE(f->driver().text(), QStringLiteral("keep"));
    QCOMPARE(f->main().session().fileName(), QString());
    QCOMPARE(f->main().ChangeIndicator(), kChanged);
}

void TestDocument::saveWithoutNameRunsSaveAs()
{
    typeIntoEditor(QStringLiteral("x"));
    f->run("SaveAction");
    QCOMPARE(f->env->dialogs->saveRequests.size(), 1);
    const pel::FileDialogRequest& request = f->env->dialogs->saveRequests.first();
    QCOMPARE(request.fileName, QStringLiteral("無題"));
    QCOMPARE(request.filters.at(3).description, QStringLiteral("すべてのファイル(*.*)"));
}

void TestDocument::saveWritesCrLfShiftJis()
{
    const QString path = f->env->path(QStringLiteral("new.txt"));
    typeIntoEditor(QStringLiteral("あ\nｱ\n"));
    f->env->dialogs->saveAnswers.enqueue(path);
    f->run("SaveAsAction");
    QCOMPARE(readFile(path), QByteArray("\x82\xa0\r\n\xb1\r\n"));
    QCOMPARE(f->main().windowTitle(), QStringLiteral("new.txt"));
    QVERIFY(!f->main().session().modifiedFlag());
    QCOMPARE(f->main().ChangeIndicator(), kChanged);  // saving leaves it
    typeIntoEditor(QStringLiteral("b"));
    f->run("SaveAction");  // no dialog, no question
    QCOMPARE(f->env->dialogs->saveRequests.size(), 1);
    QCOMPARE(readFile(path), QByteArray("\x82\xa0\r\n\xb1\r\nb"));
}

void TestDocument::saveAsOverwriteAnswers_data()
{
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<int>("dialogs");
    QTest::addColumn<bool>("overwritten");
    QTest::newRow("yes") << QList<int>{int(Answer::Yes)} << 1 << true;
    QTest::newRow("cancel") << QList<int>{int(Answer::Cancel)} << 1 << false;
    QTest::newRow("no, then dialog cancelled") << QList<int>{int(Answer::No)} << 2 << false;
}

void TestDocument::saveAsOverwriteAnswers()
{
    QFETCH(QList<int>, answers);
    QFETCH(int, dialogs);
    QFETCH(bool, overwritten);
    const QString path = f->env->path(QStringLiteral("exists.txt"));
    writeFile(path, "old");
    typeIntoEditor(QStringLiteral("new"));
    f->main().session().setModifiedFlag(true);
    for (int a : answers)
        f->env->prompts->answers.enqueue(Answer(a));
    f->env->dialogs->saveAnswers.enqueue(path);
    f->run("SaveAsAction");
    QCOMPARE(f->env->prompts->texts().first(),
             QStringLiteral("exists.txt\r\nと同じ名前のファイルがあります。\r\n 上書きしてよろしいですか ?"));
    QCOMPARE(f->env->dialogs->saveRequests.size(), dialogs);
    QCOMPARE(f->env->dialogs->saveRequests.last().fileName, QStringLiteral("無題"));
    QCOMPARE(readFile(path), overwritten ? QByteArray("new") : QByteArray("old"));
    QCOMPARE(f->main().windowTitle(), overwritten ? QStringLiteral("exists.txt") : QStringLiteral("Pelmora"));
    QVERIFY(f->main().session().modifiedFlag());  // the overwrite path leaves the flag
    // Only a file that was written becomes the document's.
    QCOMPARE(f->main().session().fileName(), overwritten ? path : QString());
}

void TestDocument::cancelledSaveAsKeepsFileName()
{
    const QString path = f->env->path(QStringLiteral("doc.txt"));
    typeIntoEditor(QStringLiteral("a"));
    f->env->dialogs->saveAnswers.enqueue(path);
    f->run("SaveAsAction");
    f->run("SaveAsAction");  // cancelled
    QCOMPARE(f->main().session().fileName(), path);
    // An existing file turned down at the overwrite question (No, then a
    // cancelled dialog; or Cancel) never becomes the document's file.
    const QString declined = f->env->path(QStringLiteral("other.txt"));
    writeFile(declined, "keep");
    for (Answer answer : {Answer::No, Answer::Cancel}) {
        f->env->dialogs->saveAnswers.enqueue(declined);
        f->env->prompts->answers.enqueue(answer);
        f->run("SaveAsAction");
        QCOMPARE(f->main().session().fileName(), path);
    }
    typeIntoEditor(QStringLiteral("b"));
    f->run("SaveAction");
    QCOMPARE(readFile(path), QByteArray("ab"));
    QCOMPARE(readFile(declined), QByteArray("keep"));
    QVERIFY(!QFileInfo::exists(QStringLiteral("無題")));
}

void TestDocument::failedWriteKeepsOldFileAndReports()
{
    // A folder of that name stands where the file should go.
    const QString path = f->env->path(QStringLiteral("folder.txt"));
    QVERIFY(QDir().mkpath(path));
    typeIntoEditor(QStringLiteral("text"));
    f->env->dialogs->saveAnswers.enqueue(path);
    f->env->prompts->answers.enqueue(Answer::Yes);  // it exists: overwrite
    f->run("SaveAsAction");
    QCOMPARE(f->env->prompts->shown.last().text, QStringLiteral("ファイル %1 を作成できません").arg(path));
    QCOMPARE(f->main().windowTitle(), QStringLiteral("Pelmora"));
    QVERIFY(QFileInfo(path).isDir());
}

void TestDocument::unencodableCharacterStopsSave()
{
    const QString path = f->env->path(QStringLiteral("emoji.txt"));
    writeFile(path, "before");
    f->env->dialogs->openAnswers.enqueue(path);
    f->run("OpenAction");
    f->driver().setText({});
    typeIntoEditor(QStringLiteral("ab\ncd😀e"));
    f->run("SaveAction");
    QCOMPARE(readFile(path), QByteArray("before"));
    const QString message = f->env->prompts->shown.last().text;
    QVERIFY2(message.contains(QStringLiteral("2行目の3文字目")), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("😀")), qPrintable(message));
    QCOMPARE(f->env->prompts->shown.last().caption, QStringLiteral("エラー"));
}

void TestDocument::openedFileRoundTripsByteForByte_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("plain crlf") << QByteArray("abc\r\ndef\r\n");
    QTest::newRow("no final break") << QByteArray("abc\r\ndef");
    QTest::newRow("lf only") << QByteArray("abc\ndef\n");
    QTest::newRow("cr only") << QByteArray("abc\rdef\r");
    QTest::newRow("mixed breaks") << QByteArray("a\r\nb\nc\rd\r\n");
    QTest::newRow("invalid bytes") << QByteArray("\x80\xa0\xfd\xfe\xff\x81\r\n");
    QTest::newRow("lone lead byte at end") << QByteArray("abc\x82");
    QTest::newRow("nec duplicate") << QByteArray("\xed\x40\xfa\x5c\x87\x90\x81\xe0");
    QTest::newRow("half-width katakana") << QByteArray("\xb1\xb2\xa5\xa1");
    QTest::newRow("nul byte") << QByteArray("a\0b", 3);
    QTest::newRow("empty") << QByteArray();
}

void TestDocument::openedFileRoundTripsByteForByte()
{
    QFETCH(QByteArray, bytes);
    const QString path = f->env->path(QStringLiteral("round.txt"));
    writeFile(path, bytes);
    f->env->dialogs->openAnswers.enqueue(path);
    f->run("OpenAction");
    // Changed elsewhere meanwhile: written over once the user agrees.
    writeFile(path, "overwritten");
    f->env->prompts->answers.enqueue(Answer::Yes);
    f->run("SaveAction");
    QCOMPARE(readFile(path), bytes);
}

void TestDocument::closeAnswers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("saveDialogAnswered");
    QTest::addColumn<bool>("closes");
    QTest::newRow("empty editor: no question") << "" << -1 << false << true;
    QTest::newRow("cancel") << "abc" << int(Answer::Cancel) << false << false;
    QTest::newRow("no") << "abc" << int(Answer::No) << false << true;
    QTest::newRow("yes, saved") << "abc" << int(Answer::Yes) << true << true;
    QTest::newRow("yes, save cancelled: stays open") << "abc" << int(Answer::Yes) << false << false;
}

void TestDocument::closeAnswers()
{
    QFETCH(QString, text);
    QFETCH(int, answer);
    QFETCH(bool, saveDialogAnswered);
    QFETCH(bool, closes);
    typeIntoEditor(text);
    if (answer >= 0)
        f->env->prompts->answers.enqueue(Answer(answer));
    const QString saved = f->env->path(QStringLiteral("saved.txt"));
    if (saveDialogAnswered)
        f->env->dialogs->saveAnswers.enqueue(saved);
    QCOMPARE(f->main().close(), closes);
    QCOMPARE(f->env->prompts->texts(), answer >= 0 ? QStringList{kClose} : QStringList{});
    QCOMPARE(QFileInfo::exists(f->env->path(QStringLiteral("COMBOLOG.bak"))), closes);
    QCOMPARE(QFileInfo::exists(pel::RegistryKey(QStringLiteral("Pelmora")).location()), closes);
    if (saveDialogAnswered)
        QCOMPARE(readFile(saved), QByteArray("abc"));
}

void TestDocument::closeWritesSettingsAndBackups()
{
    Form3->list().Append(QStringLiteral("ホーム"));
    Form5->list().Append(QStringLiteral("java"));
    f->main().phraseBarList().Append(QStringLiteral("combo"));
    QVERIFY(f->main().close());
    QCOMPARE(readFile(f->env->path(QStringLiteral("COMBOLOG.bak"))), QByteArray("combo\r\n"));
    QCOMPARE(readFile(f->env->path(QStringLiteral("HOMELOG.bak"))), QByteArray("\x83\x7a\x81\x5b\x83\x80\r\n"));
    QCOMPARE(readFile(f->env->path(QStringLiteral("JAVALOG.bak"))), QByteArray("java\r\n"));
    pel::RegistryKey key(QStringLiteral("Pelmora"));
    const QStringList names = {QStringLiteral("Locate/Top"), QStringLiteral("Locate/left"),
                               QStringLiteral("Locate/Height"), QStringLiteral("Locate/Width"),
                               QStringLiteral("Locate/State"), QStringLiteral("File/IniDir"),
                               QStringLiteral("Option/Font"), QStringLiteral("Option/FontColor"),
                               QStringLiteral("Option/FontSize"), QStringLiteral("Option/Color"),
                               QStringLiteral("Option/WordWarp"), QStringLiteral("Option/FontStyle"),
                               QStringLiteral("Option/FontPitch")};
    for (const QString& name : names) {
        const QStringList parts = name.split(u'/');
        QVERIFY2(key.readString(parts[0], parts[1]).has_value(), qPrintable(name));
    }
    QCOMPARE(key.readString(QStringLiteral("Option"), QStringLiteral("Color"), {}), QStringLiteral("clWhite"));
    QCOMPARE(key.readString(QStringLiteral("Option"), QStringLiteral("FontColor"), {}), QStringLiteral("clBlack"));
    QCOMPARE(key.readString(QStringLiteral("Option"), QStringLiteral("WordWarp"), {}), QStringLiteral("1"));
    QCOMPARE(key.readString(QStringLiteral("Option"), QStringLiteral("Font"), {}), QStringLiteral("ＭＳ Ｐゴシック"));
    QCOMPARE(key.readString(QStringLiteral("File"), QStringLiteral("IniDir"), {}), f->env->programDirectory());
}

void TestDocument::failedBackupLetsUserChoose()
{
    // HOMELOG.bak cannot be written: a folder stands in its place. The
    // failure is reported, the other backups are still written, and the
    // user chooses between staying and quitting; nobody is trapped.
    QVERIFY(QDir().mkpath(f->env->path(QStringLiteral("HOMELOG.bak"))));
    f->env->prompts->setAnswers({Answer::Ok, Answer::No});
    QVERIFY(!f->main().close());
    QCOMPARE(f->env->prompts->texts(),
             (QStringList{QStringLiteral("ファイル %1 を作成できません").arg(f->env->path(QStringLiteral("HOMELOG.bak"))),
                          QStringLiteral("保存できなかったファイルがあります｡\r\nこのまま終了しますか ?")}));
    QVERIFY(QFileInfo::exists(f->env->path(QStringLiteral("COMBOLOG.bak"))));
    QVERIFY(QFileInfo::exists(f->env->path(QStringLiteral("JAVALOG.bak"))));
    f->env->prompts->setAnswers({Answer::Ok, Answer::Yes});
    QVERIFY(f->main().close());
}

void TestDocument::restoreReadsBackup_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("backup");
    QTest::newRow("text box") << "COMBbakAction" << "COMBOLOG.bak";
    QTest::newRow("list box") << "ListAction" << "HOMELOG.bak";
    QTest::newRow("java") << "JAVAAction" << "JAVALOG.bak";
}

void TestDocument::restoreReadsBackup()
{
    QFETCH(QString, command);
    QFETCH(QString, backup);
    writeFile(f->env->path(backup), "one\r\ntwo\r\n");
    f->run(command.toLatin1().constData());
    pel::PhraseList& list = command == QLatin1String("COMBbakAction") ? f->main().phraseBarList()
                          : command == QLatin1String("ListAction")    ? Form3->list()
                                                                      : Form5->list();
    QCOMPARE(list.texts(), (QStringList{QStringLiteral("one"), QStringLiteral("two")}));
    QVERIFY(f->env->prompts->shown.isEmpty());
}

void TestDocument::restoreWithoutBackupReports()
{
    Form3->list().Append(QStringLiteral("stay"));
    f->run("ListAction");
    QCOMPARE(f->env->prompts->shown.last().text,
             QStringLiteral("ファイル %1 は開けません").arg(f->env->path(QStringLiteral("HOMELOG.bak"))));
    QCOMPARE(Form3->list().texts(), QStringList{QStringLiteral("stay")});
}

void TestDocument::winEndDoesNothing()
{
    typeIntoEditor(QStringLiteral("x"));
    f->run("WinEndAction");
    QVERIFY(f->env->prompts->shown.isEmpty());
    QCOMPARE(f->driver().text(), QStringLiteral("x"));
}

void TestDocument::listFilesWrittenAtEnd()
{
    f->main().phraseBarList().Append(QStringLiteral("a"));
    Form3->list().Append(QStringLiteral("b"));
    const QString dir = f->env->programDirectory();
    PelmoraApp::destroyWindows();  // the program ends
    QCOMPARE(readFile(dir + QStringLiteral("COMBLOG.TXT")), QByteArray("a\r\n"));
    QCOMPARE(readFile(dir + QStringLiteral("HOMELOG.TXT")), QByteArray("b\r\n"));
    QCOMPARE(readFile(dir + QStringLiteral("JAVALOG.TXT")), QByteArray());
}

QTEST_MAIN(TestDocument)
namespace {
// Another program writes the file anew and renames it over the old one.
void replaceBehindTheEditor(const QString& path, const QByteArray& bytes)
{
    writeFile(path + QStringLiteral(".new"), bytes);
    QFile::remove(path);
    QVERIFY(QFile::rename(path + QStringLiteral(".new"), path));
}
} // namespace

void TestDocument::fileChangedElsewhere_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("answer");   // to the overwrite question; -1: none asked
    QTest::addColumn<QString>("told");
    QTest::addColumn<QByteArray>("onDisk");
    const QByteArray mine("mine\r\nedited");
    QTest::newRow("replaced, kept") << "replace" << int(Answer::No) << "は他のプログラムによって変更されています" << QByteArray("theirs");
    QTest::newRow("replaced, overwritten") << "replace" << int(Answer::Yes) << "は他のプログラムによって変更されています" << mine;
    QTest::newRow("removed: saved anew") << "remove" << -1 << "は削除されたか移動されています" << mine;
    QTest::newRow("untouched: no question") << "none" << -1 << "" << mine;
}

// A file another program changed since it was opened is never written over
// without a question; one that is gone is saved anew, and the user is told.
void TestDocument::fileChangedElsewhere()
{
    QFETCH(QString, change);
    QFETCH(int, answer);
    QFETCH(QString, told);
    QFETCH(QByteArray, onDisk);
    const QString path = f->env->path(QStringLiteral("doc.txt"));
    writeFile(path, "mine\r\n");
    f->env->dialogs->openAnswers.enqueue(path);
    f->run("OpenAction");
    f->driver().placeCaret(f->session().document().length());
    f->session().ReplaceEditorSelection(QStringLiteral("edited"));
    if (change == u"replace")
        replaceBehindTheEditor(path, "theirs");
    else if (change == u"remove")
        QFile::remove(path);
    if (answer >= 0)
        f->env->prompts->answers.enqueue(Answer(answer));
    f->env->prompts->shown.clear();
    f->run("SaveAction");
    QCOMPARE(readFile(path), onDisk);
    QCOMPARE(f->env->prompts->shown.size(), told.isEmpty() ? 0 : 1);
    if (!told.isEmpty())
        QVERIFY(f->env->prompts->shown.constFirst().text.contains(told));
    // Once written, the file is the document's again: the next save asks nothing.
    if (onDisk != "theirs") {
        f->env->prompts->shown.clear();
        f->run("SaveAction");
        QVERIFY(f->env->prompts->shown.isEmpty());
    }
}

void TestDocument::changedFileOfferedOnActivation()
{
    const QString path = f->env->path(QStringLiteral("doc.txt"));
    writeFile(path, "old\r\n");
    f->env->dialogs->openAnswers.enqueue(path);
    f->run("OpenAction");
    f->main().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f->main()));
    replaceBehindTheEditor(path, "new text\r\n");
    f->env->prompts->answers.enqueue(Answer::Yes);
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(&f->main());
    QTRY_COMPARE(f->driver().text(), QStringLiteral("new text\n"));
    QVERIFY(f->env->prompts->shown.constFirst().text.contains(QStringLiteral("読み込み直しますか")));
    QCOMPARE(f->main().ChangeIndicator(), QStringLiteral("　変更　なし"));
    // Asked once per change.
    f->env->prompts->shown.clear();
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(&f->main());
    QCoreApplication::processEvents();
    QVERIFY(f->env->prompts->shown.isEmpty());
}

// The 文字コード fields: Open reads the file in the chosen encoding instead
// of the one detected; Save As starts on the document's own and writes the
// chosen one, with the chosen line breaks.
void TestDocument::encodingChosenInTheDialogs()
{
    using pel::TextEncoding;
    using LineBreak = pel::TextSpelling::LineBreak;
    const QString path = f->env->path(QStringLiteral("euc.txt"));
    writeFile(path, "\xa4\xa2\r\n");   // あ in EUC-JP, ､｢ in code page 932
    f->env->dialogs->openAnswers.enqueue(path);
    f->env->dialogs->textFileAnswers.enqueue({pel::FileEncoding{TextEncoding::EucJp, false}, LineBreak::CrLf});
    f->run("OpenAction");
    QCOMPARE(f->driver().text(), QStringLiteral("あ\n"));
    QVERIFY(!f->env->dialogs->textFileRequests.constLast().encoding);   // 自動判別 offered first
    const QString out = f->env->path(QStringLiteral("out.txt"));
    f->env->dialogs->saveAnswers.enqueue(out);
    f->env->dialogs->textFileAnswers.enqueue({pel::FileEncoding{TextEncoding::Utf8, false}, LineBreak::Lf});
    f->run("SaveAsAction");
    QCOMPARE(f->env->dialogs->textFileRequests.constLast().encoding->encoding, TextEncoding::EucJp);
    QCOMPARE(readFile(out), QByteArray("\xe3\x81\x82\n"));
    QCOMPARE(f->session().spelling().encoding, TextEncoding::Utf8);
}

// Reading the file again in another encoding, when detection was wrong.
void TestDocument::reopenInAnotherEncoding_data()
{
    QTest::addColumn<QString>("typed");   // an unsaved edit first
    QTest::addColumn<bool>("removed");    // the file is gone meanwhile
    QTest::addColumn<bool>("chosen");     // the 文字コード dialog confirmed
    QTest::addColumn<int>("answer");      // to the lost-changes question; -1: not asked
    QTest::addColumn<bool>("reread");
    QTest::newRow("unchanged") << QString() << false << true << -1 << true;
    QTest::newRow("edited, yes") << QStringLiteral("x") << false << true << int(Answer::Yes) << true;
    QTest::newRow("edited, no") << QStringLiteral("x") << false << true << int(Answer::No) << false;
    QTest::newRow("dialog cancelled") << QStringLiteral("x") << false << false << -1 << false;
    QTest::newRow("file gone") << QString() << true << true << -1 << false;
}

void TestDocument::reopenInAnotherEncoding()
{
    QFETCH(QString, typed);
    QFETCH(bool, removed);
    QFETCH(bool, chosen);
    QFETCH(int, answer);
    QFETCH(bool, reread);
    using pel::FileEncoding;
    using pel::TextEncoding;
    auto& dialogs = *f->env->dialogs;
    const QString path = f->env->path(QStringLiteral("utf8.txt"));
    const QByteArray bytes("\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e\r\n");   // 日本語 in UTF-8
    writeFile(path, bytes);
    dialogs.openAnswers.enqueue(path);
    dialogs.textFileAnswers.enqueue({FileEncoding{TextEncoding::Cp932, false}});
    f->run("OpenAction");
    f->driver().type(typed);
    const QString before = f->driver().text();
    if (removed)
        QFile::remove(path);
    if (chosen)
        dialogs.textFileAnswers.enqueue({FileEncoding{TextEncoding::Utf8, false}});
    if (answer >= 0)
        f->env->prompts->answers.enqueue(Answer(answer));
    f->env->prompts->shown.clear();
    f->run("ReopenAction");

    QVERIFY(dialogs.textFileRequests.constLast().encoding == FileEncoding{TextEncoding::Cp932});   // the document's own
    const QStringList told = f->env->prompts->texts();
    QCOMPARE(told.size(), int(answer >= 0) + int(removed));
    if (answer >= 0)
        QVERIFY(told.constFirst().contains(QStringLiteral("編集中の変更は失われます")));
    if (removed)
        QCOMPARE(told.constLast(), QStringLiteral("ファイル %1 は開けません").arg(path));
    const QString shown = f->child<QLabel>("EncodingLabel")->text();
    if (!reread) {
        QCOMPARE(f->driver().text(), before);
        QCOMPARE(shown, QStringLiteral("Shift_JIS  CR+LF"));
        QCOMPARE(f->main().ChangeIndicator(), typed.isEmpty() ? kUnchanged : kChanged);
        return;
    }
    QCOMPARE(f->driver().text(), QStringLiteral("日本語\n"));
    QCOMPARE(shown, QStringLiteral("UTF-8  CR+LF"));
    QCOMPARE(f->main().windowTitle(), QStringLiteral("utf8.txt"));
    QCOMPARE(f->main().ChangeIndicator(), kUnchanged);
    QVERIFY(!f->driver().undoable());
    f->run("SaveAction");
    QCOMPARE(readFile(path), bytes);
}

void TestDocument::reopenNeedsAFile()
{
    f->driver().type(QStringLiteral("new"));
    f->run("ReopenAction");
    QVERIFY(f->env->dialogs->textFileRequests.isEmpty());
    QCOMPARE(f->env->prompts->texts().size(), 1);
    QVERIFY(f->env->prompts->texts().constFirst().contains(QStringLiteral("保存されていない")));
    QCOMPARE(f->driver().text(), QStringLiteral("new"));
}

#include "tst_document.moc"
