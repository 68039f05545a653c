#pragma once
#include <QObject>

class QSocketNotifier;

namespace pel {

// Turns the ways a desktop session ends a program without asking — SIGTERM,
// SIGHUP, SIGINT and the session manager's request to save — into one
// signal on the user-interface thread, so the program can store what the
// user has before it goes. Also makes a write beyond the file-size limit
// fail with an error (EFBIG) instead of killing the program.
class SessionEnd : public QObject {
    Q_OBJECT
public:
    explicit SessionEnd(QObject* parent = nullptr);
    ~SessionEnd() override;

    // Ignores SIGXFSZ; safe to call more than once.
    static void ignoreFileSizeSignal();

Q_SIGNALS:
    // `quit`: the process was told to end (a signal); otherwise the session
    // manager asks for the data to be stored and may end the program later.
    void ending(bool quit);

private:
    void readSignal();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace pel
