#include "platform/RegistryKey.h"

#include <QSettings>

namespace pel {

RegistryKey::RegistryKey(const QString& application)
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            QStringLiteral("ZELVO"), application))
{
}

RegistryKey::~RegistryKey() = default;

static QString keyOf(const QString& section, const QString& name)
{
    return section + u'/' + name;
}

std::optional<QString> RegistryKey::readString(const QString& section, const QString& name) const
{
    const QVariant value = settings_->value(keyOf(section, name));
    if (!value.isValid())
        return std::nullopt;
    return value.toString();
}

QString RegistryKey::readString(const QString& section, const QString& name, const QString& fallback) const
{
    return readString(section, name).value_or(fallback);
}

int RegistryKey::readInteger(const QString& section, const QString& name, int fallback) const
{
    const auto text = readString(section, name);
    if (!text)
        return fallback;
    bool ok = false;
    const int value = text->trimmed().toInt(&ok);
    return ok ? value : fallback;
}

bool RegistryKey::readBool(const QString& section, const QString& name, bool fallback) const
{
    return readInteger(section, name, fallback ? 1 : 0) != 0;
}

void RegistryKey::writeString(const QString& section, const QString& name, const QString& value)
{
    settings_->setValue(keyOf(section, name), value);
}

void RegistryKey::writeInteger(const QString& section, const QString& name, int value)
{
    writeString(section, name, QString::number(value));
}

void RegistryKey::writeBool(const QString& section, const QString& name, bool value)
{
    writeString(section, name, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool RegistryKey::flush()
{
    settings_->sync();
    // A store that could not be parsed when it was read reports FormatError
    // for good, although the values have been written over it; only an
    // access error means the settings were not stored.
    return settings_->status() != QSettings::AccessError;
}

QString RegistryKey::location() const
{
    return settings_->fileName();
}

} // namespace pel
