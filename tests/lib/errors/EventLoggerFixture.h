#pragma once

#include "lib/errors/CEventLoggerStub.h"
#include "lib/errors/crvErr.h"
#include "platform/CallByName.h"
#include "platform/ComponentRegistration.h"
#include "tests/platform/RegistryFixture.h"

#include <QVariantList>

namespace corvid::test {

/// Fresh hives for every test, the component modules of plugins/ at hand,
/// and a look into the logger that a crvErr has attached.
class EventLoggerFixture : public RegistryFixture
{
protected:
    void TearDown() override
    {
        qunsetenv("TESSERA_RECORDING_LOGGER_FAIL");
        RegistryFixture::TearDown();
    }

    static void registerModule(const char *modulePath)
    {
        QString error;
        ASSERT_EQ(tessera::ComponentRegistration::registerModule(
                      QString::fromUtf8(modulePath), tessera::ComponentRegistration::Scope::CurrentUser, &error),
                  0)
            << qPrintable(error);
    }
    static void registerRecorder() { registerModule(CORVID_RECORDER_COMPONENT); }

    /// Makes the recording logger fail in the named members ("" for none).
    static void failIn(const char *members) { qputenv("TESSERA_RECORDING_LOGGER_FAIL", members); }

    /// The thread's proxy; reaching it through Logger() writes UserName.
    static tessera::CEventLoggerStub *proxyOf(tessera::crvErr &err)
    {
        return dynamic_cast<tessera::CEventLoggerStub *>(err.Logger());
    }

    /// The calls the recording logger received, those named \a member only
    /// when one is given; each without the member's name.
    static QList<QVariantList> calls(QObject *recorder, const QString &member = {})
    {
        QList<QVariantList> found;
        const QVariantList all
            = tessera::CallByName(recorder, QStringLiteral("Calls"), tessera::CallType::Get).toList();
        for (const QVariant &call : all) {
            QVariantList list = call.toList();
            if (member.isEmpty() || list.first().toString() == member)
                found.append(member.isEmpty() ? list : list.mid(1));
        }
        return found;
    }
};

} // namespace corvid::test
