// The kept text of a document follows every kind of edit.
#include "main/DocumentText.h"

#include <QRandomGenerator>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

class DocumentTextTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void followsRandomEdits_data();
    void followsRandomEdits();
    void followsLoadsAndUndo();
};

void DocumentTextTest::followsRandomEdits_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed : {1u, 2u, 3u, 4u, 5u})
        QTest::addRow("seed %u", seed) << seed;
}

void DocumentTextTest::followsRandomEdits()
{
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    QTextDocument document;
    document.setPlainText(QStringLiteral("一行目\nsecond line\n\nlast"));
    pel::DocumentText kept(&document);
    QCOMPARE(kept.text(), document.toRawText());

    const QString pieces[] = {QStringLiteral("a"), QStringLiteral("漢字"), QStringLiteral("\n"),
                              QStringLiteral("x\ny\nz"), QString::fromUcs4(U"\U0002000B"), QString(300, u'w')};
    for (int step = 0; step < 400; ++step) {
        QTextCursor cursor(&document);
        const int length = document.characterCount() - 1;
        const int at = random.bounded(length + 1);
        cursor.setPosition(at);
        switch (random.bounded(4)) {
        case 0:
        case 1:
            cursor.insertText(pieces[random.bounded(int(std::size(pieces)))]);
            break;
        case 2:
            cursor.setPosition(qMin(length, at + random.bounded(12)), QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
            break;
        case 3:
            cursor.setPosition(qMin(length, at + random.bounded(8)), QTextCursor::KeepAnchor);
            cursor.insertText(pieces[random.bounded(int(std::size(pieces)))]);
            break;
        }
        if (step % 7 == 0)
            QCOMPARE(kept.text(), document.toRawText());
    }
    QCOMPARE(kept.text(), document.toRawText());
}

void DocumentTextTest::followsLoadsAndUndo()
{
    QTextDocument document;
    pel::DocumentText kept(&document);
    QCOMPARE(kept.text(), QString());
    document.setPlainText(QStringLiteral("abc\ndef"));
    QCOMPARE(kept.text(), document.toRawText());

    QTextCursor cursor(&document);
    cursor.setPosition(4);
    cursor.insertText(QStringLiteral("XY"));
    QCOMPARE(kept.text(), document.toRawText());
    document.undo();
    QCOMPARE(kept.text(), document.toRawText());
    document.redo();
    QCOMPARE(kept.text(), document.toRawText());

    // More than it patches: read anew.
    cursor.insertText(QString(200000, u'z'));
    QCOMPARE(kept.text(), document.toRawText());
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    QCOMPARE(kept.text(), QString());
    document.setPlainText(QStringLiteral("new\ntext"));
    QCOMPARE(kept.text(), document.toRawText());
    document.clear();
    QCOMPARE(kept.text(), QString());
}

QTEST_MAIN(DocumentTextTest)
#include "tst_documenttext.moc"
