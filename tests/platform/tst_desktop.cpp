// What makes the program at home on a desktop: its data folder when it is
// installed read-only, the desktop's text editor, Japanese dialogs and
// media errors, and icons that fit their buttons.
#include "platform/DesktopEntry.h"
#include "platform/Dialogs.h"
#include "platform/GlyphIcons.h"
#include "platform/Localization.h"
#include "platform/MediaService.h"
#include "platform/ProgramDirectory.h"
#include "platform/Services.h"
#include "support/TestServices.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileIconProvider>
#include <QGroupBox>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTabWidget>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QScopeGuard>
#include <QTest>
#include <sys/stat.h>
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace pel;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Two starts of an installed program as a normal user: the registers beside
// the program are adopted once, and what the user saves stays the user's.
// Returns 0 or the number of the step that failed.
int installedProgramKeepsPhrases(const QString& program, const QString& user)
{
    DataFolderChoice first = chooseDataFolder(program, user, QString());
    if (!first.perUser || first.folder != QDir::toNativeSeparators(user) + QDir::separator())
        return 1;
    if (adoptRegisters(program, first.folder) != QStringList{QStringLiteral("COMBLOG.TXT"), QStringLiteral("COMBOLOG.bak")})
        return 2;
    if (readFile(first.folder + QStringLiteral("COMBLOG.TXT")) != "shipped\r\n")
        return 3;
    QFile saved(first.folder + QStringLiteral("COMBLOG.TXT"));
    if (!saved.open(QIODevice::WriteOnly) || saved.write("mine\r\n") != 6)
        return 4;
    saved.close();
    const DataFolderChoice second = chooseDataFolder(program, user, QString());
    if (second.folder != first.folder || !adoptRegisters(program, second.folder).isEmpty())
        return 5;
    if (readFile(second.folder + QStringLiteral("COMBLOG.TXT")) != "mine\r\n")
        return 6;
    return 0;
}

} // namespace

class TestDesktop : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void writableProgramFolderIsUsed();
    void installedFolderIsNeverUsed();
    void readOnlyProgramFolderAsNormalUser();
    void registersAreAdoptedOnce();
    void desktopEntryCommand_data();
    void desktopEntryCommand();
    void desktopEntryIsFoundInDataFolders();
    void qtDialogsSpeakJapanese();
    void mediaErrorsAreJapanese_data();
    void mediaErrorsAreJapanese();
    void fileDialogTypesAreJapanese();
    void fileFiltersShowTheirPatternsOnce_data();
    void fileFiltersShowTheirPatternsOnce();
    void launcherFailuresReachTheUser_data();
    void launcherFailuresReachTheUser();
    void printDialogSpeaksJapanese();
    void glyphsStayInsideTheirTile_data();
    void glyphsStayInsideTheirTile();
    void fallbackThemeSuppliesStandardIcons();
};

void TestDesktop::initTestCase()
{
    const QStringList loaded = installJapaneseUi();
    installIconTheme();
    QVERIFY2(loaded.contains(QStringLiteral("qtbase")),
             qPrintable(QStringLiteral("qtbase_ja not found in ") + translationFolders().join(u' ')));
}

void TestDesktop::writableProgramFolderIsUsed()
{
    QTemporaryDir program, user;
    const DataFolderChoice choice = chooseDataFolder(program.path(), user.path(), QStringLiteral("/usr/bin"));
    QVERIFY(!choice.perUser);
    QCOMPARE(choice.folder, QDir::toNativeSeparators(program.path()) + QDir::separator());
}

void TestDesktop::installedFolderIsNeverUsed()
{
    // Even where it could write (an administrator), an installed program
    // keeps the registers in the user's folder.
    QTemporaryDir program, user;
    const DataFolderChoice choice = chooseDataFolder(program.path(), user.path(), program.path() + QStringLiteral("/."));
    QVERIFY(choice.perUser);
    QCOMPARE(choice.folder, QDir::toNativeSeparators(user.path()) + QDir::separator());
}

void TestDesktop::readOnlyProgramFolderAsNormalUser()
{
    QTemporaryDir root;
    root.setAutoRemove(true);
    const QString program = root.filePath(QStringLiteral("bin"));
    const QString home = root.filePath(QStringLiteral("home"));
    const QString user = home + QStringLiteral("/.local/share/ZELVO/Pelmora");
    QVERIFY(QDir().mkpath(program) && QDir().mkpath(home));
    writeFile(program + QStringLiteral("/COMBLOG.TXT"), "shipped\r\n");
    writeFile(program + QStringLiteral("/COMBOLOG.bak"), "backup\r\n");
    QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther
                                               | QFile::ReadGroup | QFile::ExeGroup));
    const auto restore = qScopeGuard([&] { QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); });

    if (geteuid() != 0) {
        QCOMPARE(installedProgramKeepsPhrases(program, user), 0);
        return;
    }
    // Root ignores permissions: run the check as "nobody".
    const passwd* nobody = getpwnam("nobody");
    if (!nobody)
        QSKIP("no user \"nobody\" to drop privileges to");
    QVERIFY(chown(qPrintable(home), nobody->pw_uid, nobody->pw_gid) == 0);
    QVERIFY(chmod(qPrintable(root.path()), 0755) == 0);
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0)
            _exit(100);
        _exit(installedProgramKeepsPhrases(program, user));
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
}

void TestDesktop::registersAreAdoptedOnce()
{
    QTemporaryDir program, user;
    writeFile(program.filePath(QStringLiteral("HOMELOG.TXT")), "a\r\n");
    writeFile(program.filePath(QStringLiteral("JAVALOG.TXT")), "j\r\n");
    // The user already has a list of their own: nothing is copied over it.
    writeFile(user.filePath(QStringLiteral("JAVALOG.bak")), "own\r\n");
    QVERIFY(adoptRegisters(program.path(), user.path()).isEmpty());
    QVERIFY(!QFile::exists(user.filePath(QStringLiteral("HOMELOG.TXT"))));
    // A user folder that does not exist yet is created.
    const QString fresh = user.filePath(QStringLiteral("new/folder"));
    QCOMPARE(adoptRegisters(program.path(), fresh), (QStringList{QStringLiteral("HOMELOG.TXT"), QStringLiteral("JAVALOG.TXT")}));
    QCOMPARE(readFile(fresh + QStringLiteral("/JAVALOG.TXT")), QByteArray("j\r\n"));
}

void TestDesktop::desktopEntryCommand_data()
{
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("command");
    const QByteArray head = "[Desktop Entry]\nType=Application\nName=Editor\n";
    QTest::newRow("file code dropped") << head + "Exec=gedit %U\n" << QString() << QStringList{"gedit"};
    QTest::newRow("file code given") << head + "Exec=mousepad %F\n" << "/tmp/a b.txt" << QStringList{"mousepad", "/tmp/a b.txt"};
    QTest::newRow("url code given") << head + "Exec=kate -b %u\n" << "/tmp/a b.txt"
                                    << QStringList{"kate", "-b", "file:///tmp/a b.txt"};
    QTest::newRow("quoted program") << head + "Exec=\"/opt/My Editor/edit\" --new-window %f\n" << QString()
                                    << QStringList{"/opt/My Editor/edit", "--new-window"};
    QTest::newRow("escapes in quotes") << head + "Exec=sh -c \"echo \\\\\"hi\\\\\" 100%%\"\n" << QString()
                                       << QStringList{"sh", "-c", "echo \"hi\" 100%"};
    QTest::newRow("icon and name codes") << head + "Exec=xed %i %c %k\n" << QString() << QStringList{"xed"};
    QTest::newRow("other group ignored") << head + "Exec=gnome-text-editor\n[Desktop Action new]\nExec=other\n"
                                         << QString() << QStringList{"gnome-text-editor"};
    QTest::newRow("hidden") << head + "Hidden=true\nExec=gedit\n" << QString() << QStringList{};
    QTest::newRow("no exec") << head << QString() << QStringList{};
    QTest::newRow("unbalanced quote") << head + "Exec=\"gedit\n" << QString() << QStringList{};
}

void TestDesktop::desktopEntryCommand()
{
    QFETCH(QByteArray, entry);
    QFETCH(QString, file);
    QFETCH(QStringList, command);
    QCOMPARE(pel::desktopEntryCommand(entry, file), command);
}

void TestDesktop::desktopEntryIsFoundInDataFolders()
{
    QTemporaryDir home, system;
    QVERIFY(QDir().mkpath(system.filePath(QStringLiteral("applications/org"))));
    QVERIFY(QDir().mkpath(home.filePath(QStringLiteral("applications"))));
    writeFile(system.filePath(QStringLiteral("applications/editor.desktop")), "x");
    writeFile(system.filePath(QStringLiteral("applications/org/vendor.desktop")), "x");
    writeFile(home.filePath(QStringLiteral("applications/editor.desktop")), "x");
    const QStringList folders{home.filePath(QStringLiteral("applications")), system.filePath(QStringLiteral("applications"))};
    // The user's own entry comes first; "org-vendor.desktop" may sit in "org/".
    QCOMPARE(findDesktopEntry(QStringLiteral("editor.desktop"), folders), home.filePath(QStringLiteral("applications/editor.desktop")));
    QCOMPARE(findDesktopEntry(QStringLiteral("org-vendor.desktop"), folders),
             system.filePath(QStringLiteral("applications/org/vendor.desktop")));
    QVERIFY(findDesktopEntry(QStringLiteral("missing.desktop"), folders).isEmpty());
    QVERIFY(findDesktopEntry(QStringLiteral("../editor.desktop"), folders).isEmpty());
    QVERIFY(findDesktopEntry(QString(), folders).isEmpty());
}

void TestDesktop::qtDialogsSpeakJapanese()
{
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
    // Widgets take month names from the default locale whatever LANG says.
    QCOMPARE(QLocale().standaloneMonthName(12), QStringLiteral("12月"));
    QCOMPARE(QLocale().toString(QDate(2026, 12, 7), QStringLiteral("yyyy年M月")), QStringLiteral("2026年12月"));
}

void TestDesktop::mediaErrorsAreJapanese_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("cd");
    QTest::addColumn<bool>("timedOut");
    for (int code : {QMediaPlayer::NoError, QMediaPlayer::ResourceError, QMediaPlayer::FormatError,
                     QMediaPlayer::NetworkError, QMediaPlayer::AccessDeniedError})
        for (bool cd : {false, true})
            for (bool timedOut : {false, true})
                QTest::addRow("error %d cd %d timeout %d", code, cd, timedOut) << code << cd << timedOut;
}

void TestDesktop::mediaErrorsAreJapanese()
{
    QFETCH(int, code);
    QFETCH(bool, cd);
    QFETCH(bool, timedOut);
    const QString text = mediaErrorText(QMediaPlayer::Error(code), cd, timedOut);
    QVERIFY(!text.isEmpty());
    for (QChar c : text)
        QVERIFY2(c.unicode() > 0x7F || c.isDigit() || c == u'C' || c == u'D', qPrintable(text));
}

// The file dialog's type column, which Qt's catalogue leaves in English.
void TestDesktop::fileFiltersShowTheirPatternsOnce_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("patterns");
    QTest::addColumn<QString>("shown");
    QTest::newRow("patterns written in") << "テキストファイル(*.txt)" << "*.txt" << "テキストファイル(*.txt)";
    QTest::newRow("written with semicolons") << "JPEG (*.jpg;*.jpeg)" << "*.jpg;*.jpeg" << "JPEG (*.jpg *.jpeg)";
    QTest::newRow("not written") << "PDF ファイル" << "*.pdf" << "PDF ファイル (*.pdf)";
    QTest::newRow("other brackets") << "画像 (小)" << "*.bmp" << "画像 (小) (*.bmp)";
    QTest::newRow("written with commas, capitals") << "MIDIファイル(*.MID,*.RMI)" << "*.mid;*.rmi"
                                                  << "MIDIファイル(*.mid *.rmi)";
    QTest::newRow("written in part") << "メディアクリップ(*.AVI,*.MPG)" << "*.avi;*.mpg;mpeg;*.mov;*.qt"
                                     << "メディアクリップ(*.avi *.mpg mpeg *.mov *.qt)";
    QTest::newRow("spaces after") << "すべてのファイル(*.*)          " << "*.*;" << "すべてのファイル(*.*)";
}

// Qt reads a filter's patterns from its last brackets; the user sees them once.
void TestDesktop::fileFiltersShowTheirPatternsOnce()
{
    QFETCH(QString, description);
    QFETCH(QString, patterns);
    QFETCH(QString, shown);
    QCOMPARE(toQtFilterString({FileFilter{description, patterns}}), shown);
}

void TestDesktop::fileDialogTypesAreJapanese()
{
    QTemporaryDir folder;
    QCOMPARE(QFileIconProvider().type(QFileInfo(folder.path())), QStringLiteral("フォルダー"));
}

// A desktop without a browser: the launcher's refusal reaches the user.
void TestDesktop::launcherFailuresReachTheUser_data()
{
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");  // %1: the page; empty: nothing shown
    QTest::newRow("opened") << 0 << QString();
    QTest::newRow("the program would not start") << 4 << QStringLiteral("%1 を開くプログラムを起動できませんでした。");
    QTest::newRow("no program") << 3 << QStringLiteral("%1 を開くプログラムが見つかりません。");
    QTest::newRow("file gone") << 2 << QStringLiteral("ファイル %1 が見つかりません");
}

void TestDesktop::launcherFailuresReachTheUser()
{
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QTemporaryDir bin;
    const QString launcher = bin.filePath(QStringLiteral("xdg-open"));
    // A second target, which always fails, tells when both launchers ended.
    writeFile(launcher, "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.arg\"\ncase \"$1\" in *last*) exit 3;; esac\nexit "
                            + QByteArray::number(exitCode) + "\n");
    QVERIFY(QFile::setPermissions(launcher, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()) + ':' + path);
    auto prompts = std::make_shared<test::ScriptedPrompts>();
    services().prompts = prompts;
    const auto restore = qScopeGuard([&] {
        qputenv("PATH", path);
        services().prompts.reset();
    });

    const QString page = bin.filePath(QStringLiteral("ページ.html"));
    const QString last = bin.filePath(QStringLiteral("last.html"));
    QVERIFY(SystemShell().open(page));
    QTRY_COMPARE(readFile(launcher + QStringLiteral(".arg")), page.toUtf8());
    QVERIFY(SystemShell().open(last));
    QStringList expected{QStringLiteral("%1 を開くプログラムが見つかりません。").arg(last)};
    if (!message.isEmpty())
        expected << message.arg(page);
    QTRY_COMPARE(prompts->shown.size(), expected.size());
    QStringList texts = prompts->texts();
    texts.sort();
    expected.sort();
    QCOMPARE(texts, expected);
    QCOMPARE(prompts->shown.constFirst().caption, QStringLiteral("エラー"));
}

// Every caption, label and tip of the print dialog, options pane included:
// no English word left (accelerator letters, PDF and numbers aside).
void TestDesktop::printDialogSpeaksJapanese()
{
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    QPrintDialog dialog(&printer);
    const QRegularExpression allowed(QStringLiteral("\\(&?[A-Z]\\)|&|PDF|%\\d|\\.\\.\\.|<<|>>"));
    const QRegularExpression word(QStringLiteral("[A-Za-z]{2,}"));
    QStringList english;
    const auto check = [&](const QString& text) {
        if (QString(text).remove(allowed).contains(word))
            english << text;
    };
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        check(widget->toolTip());
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            check(button->text());
        else if (auto* label = qobject_cast<QLabel*>(widget))
            check(label->text());
        else if (auto* group = qobject_cast<QGroupBox*>(widget))
            check(group->title());
        else if (auto* tabs = qobject_cast<QTabWidget*>(widget))
            for (int i = 0; i < tabs->count(); ++i)
                check(tabs->tabText(i));
    }
    QVERIFY2(english.isEmpty(), qPrintable(english.join(u" | ")));
}

void TestDesktop::glyphsStayInsideTheirTile_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QColor>("tile");
    for (const char* label : {"☆", "○", "◇", "△", "CD", "URL", "IMG", "新", "絵", "<>", "W"})
        for (QRgb tile : {0xFFFFFFu, 0x404040u, 0x607080u, 0xC0E0FFu})
            QTest::addRow("%s on %06x", label, tile) << QString::fromUtf8(label) << QColor(tile);
}

void TestDesktop::glyphsStayInsideTheirTile()
{
    QFETCH(QString, label);
    QFETCH(QColor, tile);
    const QImage image = glyphIcon(label, tile).pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.size(), QSize(16, 16));
    // The ink: pixels that differ clearly from the tile. It must keep off
    // the tile's border and be strong enough to read.
    const QColor ink = tile.lightness() > 140 ? QColor(0x10, 0x10, 0x10) : QColor(Qt::white);
    int strong = 0;
    QRect inkBox;
    for (int y = 2; y < 14; ++y)
        for (int x = 2; x < 14; ++x) {
            const QColor pixel = image.pixelColor(x, y);
            const int fromTile = qAbs(pixel.lightness() - tile.lightness());
            if (fromTile > 40)
                inkBox |= QRect(x, y, 1, 1);
            if (qAbs(pixel.lightness() - ink.lightness()) < 60)
                ++strong;
        }
    // The ring just inside the border (its rounded corners aside) stays clear.
    for (int i = 3; i <= 12; ++i)
        for (const QPoint p : {QPoint(i, 1), QPoint(i, 14), QPoint(1, i), QPoint(14, i)})
            QVERIFY2(qAbs(image.pixelColor(p).lightness() - tile.lightness()) <= 40,
                     qPrintable(QStringLiteral("ink touches the border at %1,%2").arg(p.x()).arg(p.y())));
    QVERIFY2(!inkBox.isEmpty(), "nothing drawn");
    QVERIFY2(strong >= 6, qPrintable(QStringLiteral("only %1 pixels in full ink").arg(strong)));
}

void TestDesktop::fallbackThemeSuppliesStandardIcons()
{
    if (!QDir(QStringLiteral("/usr/share/icons/") + fallbackIconTheme()).exists())
        QSKIP("the fallback icon theme is not installed");
    for (const char* name : {"document-new", "edit-copy", "edit-find", "format-text-bold", "document-print"}) {
        const QIcon icon = QIcon::fromTheme(QString::fromLatin1(name));
        QVERIFY2(!icon.isNull(), name);
        // A picture drawn for the bars' size, not a larger one scaled down.
        QVERIFY2(icon.availableSizes().contains(QSize(16, 16)), name);
    }
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
