// Every file of the fuzz corpora (seeds and the inputs that once found a
// fault) through its target's check, in the ordinary build: no crash, no
// check broken, and no more memory than the limit below.
#include "FuzzChecks.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>

using namespace pel::fuzz;

class TestFuzzCorpus : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(settings_.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_.path());
        // The decoders promise to stay within their limits whatever a file
        // claims; a run past this address space fails the allocation.
        const rlimit limit{rlim_t(4) << 30, rlim_t(4) << 30};
        QCOMPARE(setrlimit(RLIMIT_AS, &limit), 0);
    }

    void everyTargetHasSeeds_data()
    {
        QTest::addColumn<QString>("target");
        for (const Target& target : targets())
            QTest::newRow(target.name) << QString::fromLatin1(target.name);
    }

    void everyTargetHasSeeds()
    {
        QFETCH(QString, target);
        QVERIFY(!QDir(QStringLiteral(PEL_FUZZ_CORPUS "/") + target).entryList(QDir::Files).isEmpty());
    }

    void replay_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("path");
        for (const Target& target : targets()) {
            const QDir folder(QStringLiteral(PEL_FUZZ_CORPUS "/") + QLatin1String(target.name));
            for (const QString& name : folder.entryList(QDir::Files, QDir::Name)) {
                const QString row = QLatin1String(target.name) + u'/' + name;
                QTest::newRow(qPrintable(row)) << QString::fromLatin1(target.name) << folder.filePath(name);
            }
        }
    }

    void replay()
    {
        QFETCH(QString, target);
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const Check check = checkFor(target);
        QVERIFY(check);
        const QString failure = check(bytes);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }

private:
    QTemporaryDir settings_;
};

QTEST_MAIN(TestFuzzCorpus)
#include "tst_corpus.moc"
