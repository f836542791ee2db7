#include "feeds/mosquitto_reasons.h"

#include <cstring>
#include <mosquitto.h>

namespace vestrak {

namespace {

struct TlsReason {
    const char* marker;
    const char* words;
};

// The TLS library's reasons that a broker's operator meets, in the order they are looked for.
constexpr TlsReason TlsReasons[] = {
    { "certificate verify failed",
        "the broker's certificate cannot be verified: it is not signed by a trusted certificate "
        "authority, has expired, or is not made out to this host" },
    { "certificate required", "the broker asks for a certificate of the client" },
    { "unknown ca", "the broker does not trust the client's certificate" },
    { "bad certificate", "the broker does not trust the client's certificate" },
    { "certificate expired", "the broker finds the client's certificate expired" },
    { "wrong version number", "the broker does not speak TLS on this port" },
    { "unexpected eof", "the broker closed the connection during the TLS handshake (is it a TLS port?)" },
    { "handshake failure", "the broker and the client share no TLS version or cipher" },
};

QString LibraryText(int result)
{
    QString text = QString::fromUtf8(mosquitto_strerror(result));
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

} // namespace

QString ReasonOfClientResult(int result, int errorNumber)
{
    switch (result) {
    case MOSQ_ERR_ERRNO:
        return errorNumber == 0 ? QStringLiteral("the connection failed without a reason from the system")
                                : QString::fromLocal8Bit(std::strerror(errorNumber));
    case MOSQ_ERR_CONN_LOST:
        return QStringLiteral("the broker closed the connection");
    case MOSQ_ERR_KEEPALIVE:
        return QStringLiteral("the broker stopped answering (no reply within the keep-alive time)");
    case MOSQ_ERR_EAI:
    case MOSQ_ERR_LOOKUP:
        return QStringLiteral("the broker's host name cannot be resolved");
    case MOSQ_ERR_NO_CONN:
        return QStringLiteral("the connection is not open");
    case MOSQ_ERR_PROTOCOL:
    case MOSQ_ERR_MALFORMED_PACKET:
        return QStringLiteral("the broker sent something that is not MQTT 3.1.1");
    case MOSQ_ERR_TLS:
    case MOSQ_ERR_TLS_HANDSHAKE:
        return QStringLiteral("the TLS handshake with the broker failed");
    case MOSQ_ERR_OVERSIZE_PACKET:
    case MOSQ_ERR_PAYLOAD_SIZE:
        return QStringLiteral("a message is larger than the broker or the client allows");
    case MOSQ_ERR_ADMINISTRATIVE_ACTION:
        return QStringLiteral("the broker's administrator ended the connection");
    case MOSQ_ERR_TIMEOUT:
        return QStringLiteral("the broker did not answer in time");
    case MOSQ_ERR_NOMEM:
        return QStringLiteral("out of memory");
    default:
        break;
    }
    QString text = LibraryText(result);
    if (text == QLatin1String("Unknown error"))
        return QStringLiteral("the MQTT client library failed with its code %1").arg(result);
    return text;
}

QString ReasonOfTlsFailure(const QString& loggedError)
{
    if (loggedError.isEmpty())
        return QStringLiteral("TLS: the broker broke off the session: it may ask for a certificate of the "
                              "client, or refuse the one given");
    for (const TlsReason& reason : TlsReasons) {
        if (loggedError.contains(QLatin1String(reason.marker), Qt::CaseInsensitive))
            return QStringLiteral("TLS: %1").arg(QLatin1String(reason.words));
    }
    // "error:0A000086:SSL routines::REASON": the reason is what follows the last colon pair.
    const qsizetype reasonStart = loggedError.lastIndexOf(QLatin1String("::"));
    return QStringLiteral("TLS: %1").arg(
        reasonStart < 0 ? loggedError : loggedError.mid(reasonStart + 2).trimmed());
}

} // namespace vestrak
