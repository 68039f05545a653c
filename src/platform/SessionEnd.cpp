#include "platform/SessionEnd.h"

#include <QEvent>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace pel {

#ifdef Q_OS_UNIX
namespace {
int signalPipe[2] = {-1, -1};

extern "C" void forwardSignal(int number)
{
    // Only async-signal-safe work here: the number goes down the pipe and
    // the event loop does the rest.
    const char byte = char(number);
    [[maybe_unused]] const auto written = ::write(signalPipe[0], &byte, 1);
}
} // namespace
#endif

void SessionEnd::ignoreFileSizeSignal()
{
#ifdef Q_OS_UNIX
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

SessionEnd::SessionEnd(QObject* parent) : QObject(parent)
{
    ignoreFileSizeSignal();
#ifdef Q_OS_UNIX
    if (signalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) == 0) {
        ::fcntl(signalPipe[0], F_SETFL, O_NONBLOCK);
        ::fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
        struct sigaction action = {};
        action.sa_handler = forwardSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (int number : {SIGTERM, SIGHUP, SIGINT})
            ::sigaction(number, &action, nullptr);
    }
    if (signalPipe[1] >= 0) {
        notifier_ = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &SessionEnd::readSignal);
    }
#endif
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { saveRequested(); });
    }
}

SessionEnd::~SessionEnd()
{
#ifdef Q_OS_UNIX
    // Back to the defaults: a signal after this object is gone ends the
    // program as usual.
    for (int number : {SIGTERM, SIGHUP, SIGINT})
        std::signal(number, SIG_DFL);
#endif
}

void SessionEnd::saveRequested()
{
    // The die request that follows comes as the toolkit's quit event, which
    // would close the windows and so ask the close question with nobody
    // there to answer it.
    if (!saveRequested_) {
        saveRequested_ = true;
        QCoreApplication::instance()->installEventFilter(this);
    }
    Q_EMIT ending(false);
}

bool SessionEnd::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit) {
        // Everything was stored at the save request (and is stored again):
        // the program ends as at a signal, without questions.
        Q_EMIT ending(true);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void SessionEnd::readSignal()
{
#ifdef Q_OS_UNIX
    char byte = 0;
    bool received = false;
    while (::read(signalPipe[1], &byte, 1) == 1)
        received = true;
    if (received)
        Q_EMIT ending(true);
#endif
}

} // namespace pel
