// Temporary: replaced by the ICU-table codec.
#include "platform/Cp932.h"
namespace pel {
QString Cp932::decode(QByteArrayView bytes, Alternates*) { return QString::fromLatin1(bytes); }
Cp932::Encoded Cp932::encode(QStringView text, const Alternates*) { return {text.toLatin1(), -1}; }
bool Cp932::isStandIn(QChar) { return false; }
DecodedText decodeTextFile(QByteArrayView bytes) { return {Cp932::decode(bytes).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), {}}; }
Cp932::Encoded encodeTextFile(QStringView text, const TextSpelling&) { QString t = text.toString(); t.replace(u'\n', QStringLiteral("\r\n")); return Cp932::encode(t); }
}
