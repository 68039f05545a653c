#pragma once
#include <QString>
#include <memory>
#include <optional>

class QSettings;

namespace pel {

// One settings key ("SoftWare\ZELVO\<application>") with one group per
// section. Every value is written as a string, as the stored settings of
// earlier versions expect.
class RegistryKey {
public:
    explicit RegistryKey(const QString& application);
    ~RegistryKey();

    std::optional<QString> readString(const QString& section, const QString& name) const;
    QString readString(const QString& section, const QString& name, const QString& fallback) const;
    // Missing or non-numeric values read as the fallback.
    int readInteger(const QString& section, const QString& name, int fallback) const;
    bool readBool(const QString& section, const QString& name, bool fallback) const;

    void writeString(const QString& section, const QString& name, const QString& value);
    void writeInteger(const QString& section, const QString& name, int value);
    void writeBool(const QString& section, const QString& name, bool value);

    // Pushes pending writes to storage; false when the store cannot be written.
    bool flush();
    QString location() const;

private:
    std::unique_ptr<QSettings> settings_;
};

} // namespace pel
