// The program's own command line.
#include "app/CommandLine.h"

#include <QTest>

using PelmoraApp::CommandLine;

class TestCommandLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parse_data();
    void parse();
};

void TestCommandLine::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QStringList>("toolkit");
    QTest::addColumn<QString>("file");
    const int run = int(CommandLine::Action::Run), help = int(CommandLine::Action::Help),
              version = int(CommandLine::Action::Version);
    QTest::newRow("nothing") << QStringList{"pelmora"} << run << QStringList{"pelmora"} << QString();
    QTest::newRow("a file") << QStringList{"pelmora", "a.txt"} << run << QStringList{"pelmora", "a.txt"} << "a.txt";
    QTest::newRow("further files ignored") << QStringList{"pelmora", "a.txt", "b.txt"} << run
                                           << QStringList{"pelmora", "a.txt", "b.txt"} << "a.txt";
    QTest::newRow("help") << QStringList{"pelmora", "--help"} << help << QStringList{"pelmora", "--help"} << QString();
    QTest::newRow("short help") << QStringList{"pelmora", "-h"} << help << QStringList{"pelmora", "-h"} << QString();
    QTest::newRow("version") << QStringList{"pelmora", "--version"} << version << QStringList{"pelmora", "--version"}
                             << QString();
    QTest::newRow("version after a file") << QStringList{"pelmora", "a.txt", "--version"} << version
                                          << QStringList{"pelmora", "a.txt", "--version"} << "a.txt";
    QTest::newRow("dash file after separator") << QStringList{"pelmora", "--", "-file.txt"} << run
                                               << QStringList{"pelmora"} << "-file.txt";
    QTest::newRow("options after separator are files") << QStringList{"pelmora", "--", "--help"} << run
                                                        << QStringList{"pelmora"} << "--help";
    QTest::newRow("toolkit sees only what precedes") << QStringList{"pelmora", "-style", "fusion", "--", "-reverse"}
                                                     << run << QStringList{"pelmora", "-style", "fusion"} << "-reverse";
    QTest::newRow("second separator is a file") << QStringList{"pelmora", "--", "--"} << run << QStringList{"pelmora"}
                                                << "--";
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QStringList, toolkit);
    QFETCH(QString, file);
    const CommandLine line = CommandLine::parse(arguments);
    QCOMPARE(int(line.action), action);
    QCOMPARE(line.toolkitArguments, toolkit);
    // The toolkit removes its own options ("-style fusion") before the
    // program looks for its file.
    QStringList left = toolkit;
    if (left.size() >= 3 && left.at(1) == QLatin1String("-style"))
        left.remove(1, 2);
    if (line.action == CommandLine::Action::Run)
        QCOMPARE(line.file(left), file);
}

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
