#include "lib/errors/modEventLoggerSupport.h"

#include "lib/errors/ErrorFieldsText_p.h"
#include "platform/CallByName.h"
#include "platform/CreateObject.h"
#include "platform/Integer16.h"
#include "platform/VariantConvert.h"
#include "support/csFiles.h"
#include "support/csSystem.h"
#include "support/csText.h"

#include <QCoreApplication>

#include <unistd.h>

namespace tessera {

namespace {

const QLatin1String CRLF("\r\n");

QVariant readProperty(QObject *object, const char *name)
{
    return CallByName(object, QLatin1String(name), CallType::Get);
}

// A version number of the application object, passed on as 16-bit.
QVariant versionNumber(QObject *appObject, const char *name)
{
    return QVariant::fromValue(toInteger16(variantToLong(readProperty(appObject, name))));
}

} // namespace

QString errorFieldsText(const RuntimeError &error)
{
    QString text;
    if (error.Number() != 0)
        text += QLatin1String("Error number: ") + cs::csGetErrorNumber(error.Number()) + CRLF;
    if (!error.Description().isEmpty()) {
        QString description = error.Description();
        description.replace(CRLF, QLatin1String(" "));
        text += QLatin1String("Description:  ") + description + CRLF + CRLF;
    }
    if (!error.Source().isEmpty())
        text += QLatin1String("Source:       ") + error.Source() + CRLF;
    if (!error.HelpFile().isEmpty())
        text += QLatin1String("Help file:    ") + error.HelpFile() + CRLF;
    if (error.HelpContext() != 0)
        text += QLatin1String("Help context: ") + cs::csGetErrorNumber(error.HelpContext()) + CRLF;
    return text;
}

QString unknownRunTimeErrorText()
{
    return QStringLiteral("Unknown run-time error.");
}

namespace modEventLoggerSupport {

std::unique_ptr<QObject> CreateEventLogger(QObject *AppObject, QString &LastError)
{
    LastError.clear();
    std::unique_ptr<QObject> logger;
    try {
        logger = CreateObject(QStringLiteral("EventLogger.crvEventLogger"));
    } catch (const RuntimeError &e) {
        LastError = FormatErrorObject(e);
    }
    if (!logger)
        return nullptr;
    try {
        CallByName(logger.get(), QStringLiteral("InitEventLogger2"), CallType::Method,
                   {cs::csGetComputerName(), cs::csGetUserName(), readProperty(AppObject, "Title"),
                    versionNumber(AppObject, "Major"), versionNumber(AppObject, "Minor"),
                    versionNumber(AppObject, "Revision"), qint32(QCoreApplication::applicationPid()),
                    qint32(::gettid()), cs::csGetLongFileName(cs::csGetEXEModuleFullFileName())});
    } catch (const RuntimeError &e) {
        LastError = FormatErrorObject(e);
    }
    return logger;
}

QString FormatErrorObject(const RuntimeError &Error)
{
    QString text = errorFieldsText(Error);
    if (text.isEmpty())
        return unknownRunTimeErrorText();
    if (text.endsWith(CRLF))
        text.chop(2);
    return text;
}

} // namespace modEventLoggerSupport

} // namespace tessera
