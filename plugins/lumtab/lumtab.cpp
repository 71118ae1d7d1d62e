// The label printing library's one export. The module calls it through its
// report printing call (md::ui::PrintOneTable in the framework) with the
// report file name, the statement, three empty texts and the session's
// connection; texts arrive as zero-terminated GBK.
#include <QStringDecoder>

#include "labeljob.h"

namespace {

// GB18030 reads every GBK text the same and also the characters GBK lacks,
// which the caller encodes the same way.
QString fromGbk(const char* text) {
    if (!text) return QString();
    QStringDecoder decoder("GB18030");
    if (!decoder.isValid()) return QString::fromLocal8Bit(text);
    return decoder.decode(QByteArrayView(text));
}

}  // namespace

extern "C" Q_DECL_EXPORT int Print_OneTable(const char* reportFile, const char* sql, const char*,
                                            const char*, const char*,
                                            TRemoteUdpConnection* connection) {
    // Nothing may leave through a C interface; the job shows its own errors.
    try {
        return lumtab::printOneTable(fromGbk(reportFile), fromGbk(sql), connection);
    } catch (...) {
        return lumtab::kFailed;
    }
}
