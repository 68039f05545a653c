#include "platform/RecoveryStore.h"

#include "platform/LineBreaks.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStatusBar>
#include <QSysInfo>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#endif

namespace pel {

namespace {

const QByteArray kMagic1 = "Pelmora recovery 1\n";
const QByteArray kMagic2 = "Pelmora recovery 2\n";
const QByteArray kLockMagic = "Pelmora lock 2\n";
const QString kCopySuffix = QStringLiteral(".recover");
const QString kLockSuffix = QStringLiteral(".lock");

QString& folderOverride()
{
    static QString folder;
    return folder;
}

QString lockPathOf(const QString& copyPath)
{
    return copyPath.chopped(kCopySuffix.size()) + kLockSuffix;
}

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// Temporary file and rename; committed only when every byte was written.
// QSaveFile alone is not enough: the bytes it buffers go to the disk in its
// commit, and a short write there (file-size limit, full disk) would still
// be renamed into place.
bool writeOwnerOnly(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.setPermissions(kOwnerOnly);
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 chunk = file.write(bytes.constData() + written, bytes.size() - written);
        if (chunk <= 0) {
            file.cancelWriting();
            return false;
        }
        written += chunk;
    }
    if (!file.flush()) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return false;
    QFile::setPermissions(path, kOwnerOnly);
    return true;
}

struct ProcessState {
    bool runs = false;
    QByteArray startTime;  // empty where the system does not say
};

ProcessState processState(qint64 pid)
{
    if (pid <= 0)
        return {};
#if defined(Q_OS_LINUX)
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray line = stat.readAll();
    // The name in parentheses may hold spaces; the fields after it do not.
    const qsizetype nameEnd = line.lastIndexOf(')');
    if (nameEnd < 0)
        return {true, {}};
    const QList<QByteArray> fields = line.mid(nameEnd + 2).split(' ');
    // Field 3 is the state (a zombie has ended), field 22 the start time in
    // clock ticks after boot.
    const QByteArray state = fields.value(0);
    if (state == "Z" || state == "X")
        return {};
    return {true, fields.value(19)};
#elif defined(Q_OS_UNIX)
    return {::kill(pid_t(pid), 0) == 0 || errno == EPERM, {}};
#else
    return {true, {}};
#endif
}

// Whether the run that wrote the lock at `lockPath` still runs. No lock:
// the run has ended.
bool lockFileHolderRuns(const QString& lockPath)
{
    QFile file(lockPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.read(1024);
    file.close();
    if (bytes.startsWith(kLockMagic))
        return RecoveryStore::lockHolderRuns(bytes);
    // A lock of an earlier version, held through the toolkit's lock file;
    // anything else names no run.
    bool isNumber = false;
    bytes.left(bytes.indexOf('\n')).toLongLong(&isNumber);
    if (!isNumber)
        return false;
    QLockFile lock(lockPath);
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0))
        return true;
    lock.unlock();  // removes the file
    return false;
}

} // namespace

QString RecoveryStore::folder()
{
    if (!folderOverride().isEmpty())
        return folderOverride();
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)
           + QStringLiteral("/recovery");
}

void RecoveryStore::setFolder(const QString& folder)
{
    folderOverride() = folder;
}

QByteArray RecoveryStore::lockOfThisRun()
{
    const qint64 pid = QCoreApplication::applicationPid();
    return kLockMagic + QByteArray::number(pid) + '\n' + QSysInfo::bootUniqueId() + '\n'
           + processState(pid).startTime + '\n';
}

bool RecoveryStore::lockHolderRuns(const QByteArray& lock)
{
    if (!lock.startsWith(kLockMagic))
        return false;
    const QList<QByteArray> lines = lock.mid(kLockMagic.size()).split('\n');
    bool ok = false;
    const qint64 pid = lines.value(0).toLongLong(&ok);
    if (!ok)
        return false;
    // Process ids start again with every boot.
    const QByteArray boot = lines.value(1);
    const QByteArray thisBoot = QSysInfo::bootUniqueId();
    if (!boot.isEmpty() && !thisBoot.isEmpty() && boot != thisBoot)
        return false;
    const ProcessState state = processState(pid);
    if (!state.runs)
        return false;
    // The id may have gone to a later process, even to a later run of this
    // program: only the same start time is the same process.
    const QByteArray started = lines.value(2);
    return started.isEmpty() || state.startTime.isEmpty() || started == state.startTime;
}

RecoveryStore::RecoveryStore(const QString& kind)
    : kind_(kind),
      writer_(std::make_unique<QThreadPool>()),
      generation_(std::make_shared<std::atomic<quint64>>(0))
{
    writer_->setMaxThreadCount(1);
    const QString base = folder() + QStringLiteral("/%1-%2-%3")
                                        .arg(kind_)
                                        .arg(QCoreApplication::applicationPid())
                                        .arg(QDateTime::currentMSecsSinceEpoch());
    copyPath_ = base + kCopySuffix;
    lockPath_ = base + kLockSuffix;
    if (ensureFolder())
        locked_ = writeOwnerOnly(lockPath_, lockOfThisRun());
}

RecoveryStore::~RecoveryStore()
{
    writer_->waitForDone();
    // The copy stays when there is one: the work was not closed normally.
    if (locked_)
        QFile::remove(lockPath_);
}

bool RecoveryStore::ensureFolder() const
{
    const QString path = folder();
    if (!QDir().mkpath(path))
        return false;
    // The copies hold the user's text: nobody else may look into the folder.
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return true;
}

QByteArray RecoveryStore::serialize(const Document& document)
{
    const QByteArray text = lineBreaks::toNewlines(document.text).toUtf8();
    QByteArray header;
    {
        QDataStream out(&header, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << document.fileName << quint8(document.spelling.lineBreak) << quint32(document.marks.size());
        for (const CodeMark& mark : document.marks)
            out << qint64(mark.position) << mark.code;
        // The text's length: a copy cut short shows itself.
        out << quint64(text.size());
    }
    return kMagic2 + header + text;
}

QByteArray RecoveryStore::serialize(const QString& text, const QString& documentFileName)
{
    return serialize(Document{text, {}, {}, documentFileName});
}

bool RecoveryStore::parse(const QByteArray& bytes, Copy& copy)
{
    if (bytes.startsWith(kMagic1)) {
        const qsizetype nameEnd = bytes.indexOf('\n', kMagic1.size());
        if (nameEnd < 0)
            return false;
        copy.documentFileName = QString::fromUtf8(bytes.mid(kMagic1.size(), nameEnd - kMagic1.size()));
        copy.text = lineBreaks::toNewlines(QString::fromUtf8(bytes.mid(nameEnd + 1)));
        copy.marks.clear();
        copy.spelling = {};
        copy.whole = true;
        return true;
    }
    if (!bytes.startsWith(kMagic2))
        return false;
    QDataStream in(bytes.sliced(kMagic2.size()));
    in.setVersion(QDataStream::Qt_6_0);
    QString fileName;
    quint8 lineBreak = 0;
    quint32 markCount = 0;
    in >> fileName >> lineBreak >> markCount;
    CodeMarks marks;
    for (quint32 i = 0; i < markCount && in.status() == QDataStream::Ok; ++i) {
        qint64 position = 0;
        quint16 code = 0;
        in >> position >> code;
        marks.append({qsizetype(position), code});
    }
    quint64 textBytes = 0;
    in >> textBytes;
    if (in.status() != QDataStream::Ok || lineBreak > quint8(TextSpelling::LineBreak::Cr))
        return false;
    const qsizetype start = kMagic2.size() + qsizetype(in.device()->pos());
    const qsizetype available = bytes.size() - start;
    copy.whole = quint64(available) >= textBytes;
    copy.text = lineBreaks::toNewlines(QString::fromUtf8(bytes.mid(start, copy.whole ? qsizetype(textBytes) : available)));
    // A character cut in two is no character.
    if (!copy.whole && copy.text.endsWith(QChar::ReplacementCharacter))
        copy.text.chop(1);
    // Marks as the document keeps them: inside the text, one a position,
    // in order.
    marks.removeIf([&](const CodeMark& mark) { return mark.position < 0 || mark.position >= copy.text.size(); });
    std::stable_sort(marks.begin(), marks.end(),
                     [](const CodeMark& a, const CodeMark& b) { return a.position < b.position; });
    marks.erase(std::unique(marks.begin(), marks.end(),
                            [](const CodeMark& a, const CodeMark& b) { return a.position == b.position; }),
                marks.end());
    copy.marks = marks;
    copy.spelling.lineBreak = TextSpelling::LineBreak(lineBreak);
    copy.documentFileName = fileName;
    return true;
}

bool RecoveryStore::writeCopy(const QByteArray& bytes)
{
    const bool written = ensureFolder() && writeOwnerOnly(copyPath_, bytes);
    report(written);
    return written;
}

void RecoveryStore::report(bool written)
{
    if (written_.exchange(written) == written)
        return;
    if (!written)
        qWarning("recovery copy %s could not be written", qPrintable(QDir::toNativeSeparators(copyPath_)));
    if (watcher_ && watcherContext_) {
        QMetaObject::invokeMethod(watcherContext_.data(), [watcher = watcher_, written] { watcher(written); },
                                  Qt::QueuedConnection);
    }
}

void RecoveryStore::setWriteWatcher(QObject* context, std::function<void(bool)> watcher)
{
    writer_->waitForDone();
    watcherContext_ = context;
    watcher_ = std::move(watcher);
}

void RecoveryStore::saveWith(std::function<QByteArray()> produce)
{
    const quint64 mine = ++*generation_;
    auto generation = generation_;
    writer_->start([this, produce = std::move(produce), mine, generation] {
        // A newer copy is on its way: this one would only be overwritten.
        if (generation->load() != mine)
            return;
        writeCopy(produce());
    });
}

void RecoveryStore::save(const Document& document)
{
    saveWith([document] { return serialize(document); });
}

bool RecoveryStore::saveBytesNow(const QByteArray& bytes)
{
    ++*generation_;
    writer_->waitForDone();
    return writeCopy(bytes);
}

bool RecoveryStore::saveNow(const Document& document)
{
    return saveBytesNow(serialize(document));
}

void RecoveryStore::remove()
{
    ++*generation_;
    writer_->waitForDone();
    QFile::remove(copyPath_);
}

bool RecoveryStore::exists() const
{
    return QFileInfo::exists(copyPath_);
}

QList<RecoveryStore::Left> RecoveryStore::leftCopies() const
{
    const QDir dir(folder());
    const QString prefix = kind_ + u'-';
    // Locks of ended runs that kept no copy are only clutter.
    for (const QString& name : dir.entryList({prefix + u'*' + kLockSuffix}, QDir::Files)) {
        const QString lockPath = dir.filePath(name);
        if (lockPath == lockPath_ || QFileInfo::exists(lockPath.chopped(kLockSuffix.size()) + kCopySuffix))
            continue;
        if (!lockFileHolderRuns(lockPath))
            QFile::remove(lockPath);
    }
    QList<Left> copies;
    const QFileInfoList files = dir.entryInfoList({prefix + u'*' + kCopySuffix}, QDir::Files,
                                                  QDir::Time | QDir::Reversed);
    for (const QFileInfo& info : files) {
        const QString path = info.absoluteFilePath();
        if (path == QFileInfo(copyPath_).absoluteFilePath() || lockFileHolderRuns(lockPathOf(path)))
            continue;
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            copies.append({file.readAll(), path});
    }
    return copies;
}

QList<RecoveryStore::Copy> RecoveryStore::orphans() const
{
    QList<Copy> copies;
    for (const Left& left : leftCopies()) {
        Copy copy;
        if (parse(left.bytes, copy)) {
            copy.path = left.path;
            copies << copy;
        }
    }
    return copies;
}

void RecoveryStore::discard(const QString& copyPath)
{
    QFile::remove(copyPath);
    QFile::remove(lockPathOf(copyPath));
}

void showRecoveryState(QStatusBar* bar, bool copiesWritten)
{
    if (!bar)
        return;
    auto* notice = bar->findChild<QLabel*>(QStringLiteral("RecoveryNotice"));
    if (!notice) {
        notice = new QLabel(bar);
        notice->setObjectName(QStringLiteral("RecoveryNotice"));
        bar->addPermanentWidget(notice);
    }
    if (!copiesWritten) {
        notice->setText(QStringLiteral("控えを保存できません｡異常終了すると未保存の変更は失われます｡"));
        notice->setToolTip(QStringLiteral("クラッシュに備えた控えを %1 に保存できません｡\n"
                                          "ディスクの空きと書き込みの権限を確かめてください｡")
                               .arg(QDir::toNativeSeparators(RecoveryStore::folder())));
        notice->setStyleSheet(QStringLiteral("QLabel { color: #b00000; }"));
        notice->show();
        return;
    }
    notice->setText(QStringLiteral("控えを再び保存できるようになりました｡"));
    notice->setToolTip(QString());
    notice->setStyleSheet(QString());
    notice->show();
    // Good news needs saying only for a while.
    QTimer::singleShot(15000, notice, [notice] {
        if (notice->styleSheet().isEmpty())
            notice->hide();
    });
}

} // namespace pel
