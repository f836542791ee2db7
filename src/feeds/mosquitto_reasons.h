#pragma once

#include <QString>

namespace vestrak {

// Why a call into the MQTT client library failed, in words: the library's own texts say
// "Unknown error" for several of its codes, and "Success" when errno was cleared. The errno is the
// one read right after the failing call.
QString ReasonOfClientResult(int result, int errorNumber);

// Why the TLS handshake failed, from the TLS library's first error line, as the client library logs
// it ("OpenSSL Error[0]: error:0A000086:SSL routines::certificate verify failed"); empty when the
// broker broke the session off before the TLS library said why.
QString ReasonOfTlsFailure(const QString& loggedError);

} // namespace vestrak
