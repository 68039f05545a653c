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

    // The session manager asks for the data to be stored (its save
    // request); public for the tests, which have no session manager.
    void saveRequested();

Q_SIGNALS:
    // `quit`: the process was told to end (a signal, or the session
    // manager's die request after its save request); otherwise the session
    // manager asks for the data to be stored and may end the program later.
    void ending(bool quit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void readSignal();

    bool saveRequested_ = false;

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace pel
