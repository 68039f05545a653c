// Settings values, colour strings and the checked, atomic file writer.
#include "platform/ColorNames.h"
#include "platform/RegistryKey.h"
#include "platform/SafeFile.h"
#include "support/TestServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <csignal>
#include <grp.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pel;

class TestStorage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void colorFromString_data();
    void colorFromString();
    void colorToString_data();
    void colorToString();
    void integersFallBackOnGarbage_data();
    void integersFallBackOnGarbage();
    void valuesAreStoredAsStrings();
    void writeReplacesContent();
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();
    void fullDiskKeepsOldFile();
    void linksStayLinks_data();
    void linksStayLinks();
    void ownerGroupAndModeKept_data();
    void ownerGroupAndModeKept();
    void writableFileInLockedFolder_data();
    void writableFileInLockedFolder();
    void readMissingOrFolderFails();
};

void TestStorage::colorFromString_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<uint>("value");
    QTest::newRow("black") << "clBlack" << true << 0x000000u;
    QTest::newRow("white") << "clWhite" << true << 0xFFFFFFu;
    QTest::newRow("red is low byte") << "clRed" << true << 0x0000FFu;
    QTest::newRow("window text") << "clWindowText" << true << 0x80000008u;
    QTest::newRow("any case") << "CLWHITE" << true << 0xFFFFFFu;
    QTest::newRow("dollar hex") << "$00FF8000" << true << 0x00FF8000u;
    QTest::newRow("decimal") << "255" << true << 255u;
    QTest::newRow("negative system colour") << "-2147483643" << true << 0x80000005u;
    QTest::newRow("garbage") << "blau" << false << 0u;
    QTest::newRow("empty") << "" << false << 0u;
    QTest::newRow("dollar garbage") << "$zz" << false << 0u;
}

void TestStorage::colorFromString()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(uint, value);
    const auto colour = pel::colorFromString(text);
    QCOMPARE(colour.has_value(), valid);
    if (valid)
        QCOMPARE(*colour, ColorValue(value));
}

void TestStorage::colorToString_data()
{
    QTest::addColumn<uint>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("black") << 0u << "clBlack";
    QTest::newRow("white") << 0xFFFFFFu << "clWhite";
    QTest::newRow("window text") << 0x80000008u << "clWindowText";
    QTest::newRow("unnamed") << 0x00123456u << "$00123456";
    QTest::newRow("unnamed hex letters upper") << 0x00ABCDEFu << "$00ABCDEF";
}

void TestStorage::colorToString()
{
    QFETCH(uint, value);
    QFETCH(QString, text);
    QCOMPARE(pel::colorToString(value), text);
    QCOMPARE(pel::colorFromString(text), std::optional<ColorValue>(value));
}

void TestStorage::integersFallBackOnGarbage_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("expected");
    QTest::newRow("number") << "42" << 42;
    QTest::newRow("negative") << "-7" << -7;
    QTest::newRow("text") << "abc" << 10;
    QTest::newRow("empty") << "" << 10;
    QTest::newRow("half number") << "12abc" << 10;
    QTest::newRow("too large") << "99999999999" << 10;
}

void TestStorage::integersFallBackOnGarbage()
{
    test::TestEnvironment env;
    QFETCH(QString, stored);
    QFETCH(int, expected);
    RegistryKey key(QStringLiteral("Pelmora"));
    key.writeString(QStringLiteral("Locate"), QStringLiteral("Top"), stored);
    QCOMPARE(key.readInteger(QStringLiteral("Locate"), QStringLiteral("Top"), 10), expected);
    QCOMPARE(key.readInteger(QStringLiteral("Locate"), QStringLiteral("Missing"), 10), 10);
}

void TestStorage::valuesAreStoredAsStrings()
{
    test::TestEnvironment env;
    {
        RegistryKey key(QStringLiteral("Pelmora"));
        key.writeInteger(QStringLiteral("Option"), QStringLiteral("FontSize"), 12);
        key.writeBool(QStringLiteral("Option"), QStringLiteral("WordWarp"), false);
        QVERIFY(key.flush());
    }
    const QString file = RegistryKey(QStringLiteral("Pelmora")).location();
    const QByteArray text = test::readFile(file);
    QVERIFY2(text.contains("FontSize=12"), text.constData());
    QVERIFY2(text.contains("WordWarp=0"), text.constData());
    QVERIFY(file.contains(QStringLiteral("ZELVO")));
}

void TestStorage::writeReplacesContent()
{
    test::TestEnvironment env;
    const QString path = env.path(QStringLiteral("a.txt"));
    test::writeFile(path, "old content that is longer");
    QVERIFY(writeWholeFile(path, "new"));
    QCOMPARE(test::readFile(path), QByteArray("new"));
    QVERIFY(writeWholeFile(path, QByteArray()));
    QCOMPARE(QFileInfo(path).size(), 0);
}

void TestStorage::failedWriteKeepsOldFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("read-only file in a read-only folder") << "readonly";
    QTest::newRow("path is a folder") << "folder";
    QTest::newRow("missing folder") << "missing";
}

void TestStorage::failedWriteKeepsOldFile()
{
    QFETCH(QString, kind);
    if (kind == QLatin1String("readonly") && ::geteuid() == 0)
        QSKIP("root writes into read-only folders");
    test::TestEnvironment env;
    QString path;
    if (kind == QLatin1String("readonly")) {
        const QString folder = env.path(QStringLiteral("locked"));
        QVERIFY(QDir().mkpath(folder));
        path = folder + QStringLiteral("/doc.txt");
        test::writeFile(path, "keep me");
        QFile::setPermissions(path, QFileDevice::ReadOwner);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    } else if (kind == QLatin1String("folder")) {
        path = env.path(QStringLiteral("afolder"));
        QVERIFY(QDir().mkpath(path));
    } else {
        path = env.path(QStringLiteral("no/such/folder/doc.txt"));
    }
    QVERIFY(!writeWholeFile(path, "replacement"));
    if (kind == QLatin1String("readonly")) {
        QCOMPARE(test::readFile(path), QByteArray("keep me"));
        QFile::setPermissions(env.path(QStringLiteral("locked")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
}

void TestStorage::fullDiskKeepsOldFile()
{
    // A file-size limit makes writes fail part-way, as a full disk does.
    test::TestEnvironment env;
    const QString path = env.path(QStringLiteral("doc.txt"));
    test::writeFile(path, "previous content");
    rlimit old{};
    QVERIFY(::getrlimit(RLIMIT_FSIZE, &old) == 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    QVERIFY(::setrlimit(RLIMIT_FSIZE, &small) == 0);
    const bool written = writeWholeFile(path, QByteArray(1 << 20, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);
    QVERIFY(!written);
    QCOMPARE(test::readFile(path), QByteArray("previous content"));
    // No temporary file is left behind.
    QCOMPARE(QDir(env.programDirectory()).entryList(QDir::Files), QStringList{QStringLiteral("doc.txt")});
}

void TestStorage::linksStayLinks_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("symbolic link") << "symbolic";
    QTest::newRow("relative link from another folder") << "relative";
    QTest::newRow("link to a link") << "chain";
    QTest::newRow("hard link") << "hard";
}

void TestStorage::linksStayLinks()
{
    QFETCH(QString, kind);
    test::TestEnvironment env;
    QVERIFY(QDir().mkpath(env.path(QStringLiteral("real"))) && QDir().mkpath(env.path(QStringLiteral("links"))));
    const QString target = env.path(QStringLiteral("real/real.txt"));
    const QString link = env.path(QStringLiteral("links/link.txt"));
    test::writeFile(target, "one");
    if (kind == u"symbolic") {
        QVERIFY(QFile::link(target, link));
    } else if (kind == u"relative") {
        QVERIFY(::symlink("../real/real.txt", QFile::encodeName(link).constData()) == 0);
    } else if (kind == u"chain") {
        QVERIFY(QFile::link(target, env.path(QStringLiteral("middle.txt"))));
        QVERIFY(QFile::link(env.path(QStringLiteral("middle.txt")), link));
    } else {
        QVERIFY(::link(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()) == 0);
    }
    QVERIFY(writeWholeFile(link, "two"));
    QCOMPARE(test::readFile(target), QByteArray("two"));
    QCOMPARE(test::readFile(link), QByteArray("two"));
    QCOMPARE(QFileInfo(link).isSymLink(), kind != u"hard");
    struct stat a {}, b {};
    QVERIFY(::stat(QFile::encodeName(target).constData(), &a) == 0 && ::stat(QFile::encodeName(link).constData(), &b) == 0);
    QCOMPARE(a.st_ino, b.st_ino);
}

void TestStorage::ownerGroupAndModeKept_data()
{
    QTest::addColumn<bool>("otherUser");   // the file belongs to someone else (root saves it)
    QTest::addColumn<uint>("mode");
    QTest::newRow("own file, 0700") << false << 0700u;
    QTest::newRow("own file, 0640") << false << 0640u;
    QTest::newRow("a user's 0640 file saved by root") << true << 0640u;
    QTest::newRow("a user's 0600 file saved by root") << true << 0600u;
}

void TestStorage::ownerGroupAndModeKept()
{
    QFETCH(bool, otherUser);
    QFETCH(uint, mode);
    const passwd* nobody = ::getpwnam("nobody");
    if (otherUser && (::geteuid() != 0 || !nobody))
        QSKIP("only root can give a file to another user");
    test::TestEnvironment env;
    const QByteArray path = QFile::encodeName(env.path(QStringLiteral("doc.txt")));
    test::writeFile(QString::fromLocal8Bit(path), "old");
    const uid_t uid = otherUser ? nobody->pw_uid : ::geteuid();
    const gid_t gid = otherUser ? nobody->pw_gid : ::getegid();
    QVERIFY(::chown(path.constData(), uid, gid) == 0);
    QVERIFY(::chmod(path.constData(), mode) == 0);
    QVERIFY(writeWholeFile(QString::fromLocal8Bit(path), "new"));
    QCOMPARE(test::readFile(QString::fromLocal8Bit(path)), QByteArray("new"));
    struct stat st {};
    QVERIFY(::stat(path.constData(), &st) == 0);
    QCOMPARE(st.st_uid, uid);
    QCOMPARE(st.st_gid, gid);
    QCOMPARE(uint(st.st_mode & 07777), mode);
}

void TestStorage::writableFileInLockedFolder_data()
{
    QTest::addColumn<qsizetype>("size");
    QTest::addColumn<bool>("written");
    QTest::newRow("fits") << qsizetype(100) << true;
    QTest::newRow("file-size limit: old bytes restored") << qsizetype(1 << 20) << false;
}

void TestStorage::writableFileInLockedFolder()
{
    // No temporary file can be made beside the file: it is written in place.
    QFETCH(qsizetype, size);
    QFETCH(bool, written);
    if (::geteuid() == 0)
        QSKIP("root writes into read-only folders; run-unprivileged.sh runs this as an ordinary user");
    test::TestEnvironment env;
    const QString folder = env.path(QStringLiteral("locked"));
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/doc.txt");
    const QByteArray old = QByteArray(3000, 'o');
    test::writeFile(path, old);
    QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    rlimit previous{};
    QVERIFY(::getrlimit(RLIMIT_FSIZE, &previous) == 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 4096;
    QVERIFY(::setrlimit(RLIMIT_FSIZE, &small) == 0);
    const QByteArray bytes(size, 'n');
    const bool result = writeWholeFile(path, bytes);
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(result, written);
    QCOMPARE(test::readFile(path), written ? bytes : old);
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("doc.txt")});
}

void TestStorage::readMissingOrFolderFails()
{
    test::TestEnvironment env;
    QVERIFY(!readWholeFile(env.path(QStringLiteral("missing.txt"))));
    QVERIFY(!readWholeFile(env.programDirectory()));
    test::writeFile(env.path(QStringLiteral("empty.txt")), QByteArray());
    const auto empty = readWholeFile(env.path(QStringLiteral("empty.txt")));
    QVERIFY(empty.has_value());
    QVERIFY(empty->isEmpty());
    QCOMPARE(cannotOpenMessage(QStringLiteral("/x/y.txt")), QStringLiteral("ファイル /x/y.txt は開けません"));
    QCOMPARE(cannotCreateMessage(QStringLiteral("/x/y.txt")), QStringLiteral("ファイル /x/y.txt を作成できません"));
}

QTEST_MAIN(TestStorage)
#include "tst_storage.moc"
