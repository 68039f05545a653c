#pragma once
#include <QDateTime>
#include <QString>
#include <QUrl>
#include <memory>

namespace pel {

class Prompts;
class Dialogs;
class HelpSystem;
class MediaService;

// The system beep before prompts and on failed picture operations.
class Beep {
public:
    virtual ~Beep() = default;
    virtual void beep() = 0;
};

// Hands documents, pages and mail addresses to the programs the desktop
// associates with them. Never goes through a command shell.
class Shell {
public:
    virtual ~Shell() = default;
    // `target` is a local path, an http(s) address or a "mailto:" link.
    // When no program can take it the user is told so (also when the
    // desktop's launcher finds that out after this returned).
    virtual bool open(const QString& target) = 0;
    // The system's plain text editor on `path` (empty: no file).
    virtual bool startTextEditor(const QString& path) = 0;
};

// Wall-clock time and the time since the machine started.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // Milliseconds since boot, 64 bits: no wrap after 49.7 days.
    virtual qint64 uptimeMilliseconds() const = 0;
};

// One instance of each platform service. The program installs the real ones
// at start-up; tests install scripted doubles.
struct Services {
    std::shared_ptr<Prompts> prompts;
    std::shared_ptr<Dialogs> dialogs;
    std::shared_ptr<Beep> beep;
    std::shared_ptr<Shell> shell;
    std::shared_ptr<Clock> clock;
    std::shared_ptr<HelpSystem> help;
    std::shared_ptr<MediaService> media;
};

Services& services();
// Installs the real services for every slot that is still empty.
void installSystemServices();
// Drops every service; the program calls it while the application object is
// still there, since some services own windows.
void resetServices();

inline Prompts& prompts() { return *services().prompts; }
inline Dialogs& dialogs() { return *services().dialogs; }
inline Shell& shell() { return *services().shell; }
inline Clock& clock() { return *services().clock; }
inline HelpSystem& help() { return *services().help; }
inline MediaService& media() { return *services().media; }
inline void systemBeep() { services().beep->beep(); }

class SystemBeep final : public Beep {
public:
    void beep() override;
};

class SystemShell final : public Shell {
public:
    bool open(const QString& target) override;
    bool startTextEditor(const QString& path) override;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override;
    qint64 uptimeMilliseconds() const override;
};

// `target` as a URL: local paths become file URLs, addresses stay as given.
QUrl targetToUrl(const QString& target);
// What the user is told when the desktop's launcher (xdg-open) could not
// open `target` and ended with `launcherExitCode`; empty: nothing to tell.
QString shellOpenFailure(const QString& target, int launcherExitCode);

} // namespace pel
