#include "app/cli/StreamFailureReporter.h"

#include "lib/errors/crvErr.h"

namespace quillon {

StreamFailureReporter::StreamFailureReporter(std::FILE *stream)
    : m_stream(stream)
{ }

void StreamFailureReporter::showMessage(const QString &text)
{
    const QByteArray line = QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).toLocal8Bit() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), m_stream);
    std::fflush(m_stream);
}

void StreamFailureReporter::showError(const tessera::RuntimeError &error, const QString &descriptionText)
{
    showMessage(descriptionText + QLatin1String("\r\n") + tessera::crvErr::global().GetErrorMessage(error));
}

} // namespace quillon
