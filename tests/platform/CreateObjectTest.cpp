// Components by programmatic identifier: registration, creation and the
// registration tool, with the component modules built in plugins/.
#include "platform/CreateObject.h"

#include "platform/ComponentRegistration.h"
#include "platform/RuntimeError.h"
#include "platform/Win32Error.h"
#include "tests/common/TestSandbox.h"
#include "tests/platform/RegistryFixture.h"

#include <QFile>
#include <QProcess>

using tessera::ComponentRegistration;
using tessera::CreateObject;
using tessera::RuntimeError;
namespace Win32Error = tessera::Win32Error;

namespace {

const QString ProgId = QStringLiteral("EventLogger.crvEventLogger");
const QString SyslogModule = QStringLiteral(CORVID_SYSLOG_COMPONENT);
const QString RecorderModule = QStringLiteral(CORVID_RECORDER_COMPONENT);
const QString SyslogClass = QStringLiteral("{BA1BCC15-6742-4D8A-AB1D-09B9A1CEAEE1}");

class CreateObjectTest : public corvid::test::RegistryFixture
{
protected:
    // The number and description of the error CreateObject raises.
    static std::pair<qint32, QString> creationError(const QString &progId)
    {
        try {
            CreateObject(progId);
        } catch (const RuntimeError &e) {
            EXPECT_EQ(e.Source(), progId);
            return {e.Number(), e.Description()};
        }
        return {0, {}};
    }

    void registerClass(const QString &progId, const QString &modulePath, const QString &clsid = SyslogClass)
    {
        const HKEY classes = create(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Classes"));
        set(create(classes, progId + QStringLiteral("\\CLSID")), {}, clsid.toUtf8() + '\0', Registry::REG_SZ);
        set(create(classes, QStringLiteral("CLSID\\") + clsid + QStringLiteral("\\InprocServer32")), {},
            modulePath.toUtf8() + '\0', Registry::REG_SZ);
    }
};

TEST_F(CreateObjectTest, CreatesANewObjectOfARegisteredModuleEachTime)
{
    ASSERT_EQ(ComponentRegistration::registerModule(SyslogModule, ComponentRegistration::Scope::CurrentUser), 0);
    const HKEY server = open(Registry::HKEY_CLASSES_ROOT,
                             QStringLiteral("CLSID\\") + SyslogClass + QStringLiteral("\\InprocServer32"));
    ASSERT_NE(server, 0u);
    EXPECT_EQ(get(server, {}), SyslogModule.toUtf8() + '\0');

    const std::unique_ptr<QObject> first = CreateObject(QStringLiteral("eventlogger.CRVEVENTLOGGER"));
    const std::unique_ptr<QObject> second = CreateObject(ProgId);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first.get(), second.get());
    EXPECT_STREQ(first->metaObject()->className(), "eventlogger::SyslogEventLogger");
}

TEST_F(CreateObjectTest, MachineRegistrationServesEveryUser)
{
    ASSERT_EQ(ComponentRegistration::registerModule(SyslogModule, ComponentRegistration::Scope::Machine), 0);
    EXPECT_NE(CreateObject(ProgId), nullptr);
    ASSERT_EQ(ComponentRegistration::unregisterModule(SyslogModule, ComponentRegistration::Scope::Machine), 0);
    EXPECT_EQ(creationError(ProgId).first, RuntimeError::CantCreateObject);
}

TEST_F(CreateObjectTest, EveryMissingPieceGives429WithItsReason)
{
    EXPECT_EQ(creationError(ProgId),
              std::make_pair(429,
                             QStringLiteral("ActiveX component can't create object "
                                            "(\"EventLogger.crvEventLogger\" is not registered)")));
    EXPECT_EQ(creationError(QString()).first, 429);

    const QString missing = path(QStringLiteral("gone.so"));
    registerClass(ProgId, missing);
    EXPECT_TRUE(creationError(ProgId).second.contains(missing + QStringLiteral(" does not exist")));

    const QString text = path(QStringLiteral("text.so"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a module");
    file.close();
    registerClass(ProgId, text);
    EXPECT_TRUE(creationError(ProgId).second.contains(QStringLiteral("does not load")));

    // A module that does not hold the class.
    const QString otherClass = QStringLiteral("{00000000-0000-0000-0000-0000000000AB}");
    registerClass(ProgId, SyslogModule, otherClass);
    EXPECT_TRUE(creationError(ProgId).second.contains(QStringLiteral("does not create class ") + otherClass));
}

TEST_F(CreateObjectTest, RegistrationRefusesWhatIsNotAComponentModule)
{
    QString error;
    EXPECT_EQ(ComponentRegistration::registerModule(path(QStringLiteral("gone.so")),
                                                    ComponentRegistration::Scope::CurrentUser, &error),
              Win32Error::FileNotFound);
    EXPECT_TRUE(error.contains(QStringLiteral("does not exist")));
    // A shared library, but not a plugin.
    EXPECT_EQ(ComponentRegistration::registerModule(corvid::test::builtProgram(QStringLiteral("tessera-regsvr")),
                                                    ComponentRegistration::Scope::CurrentUser, &error),
              Win32Error::InvalidData);
    EXPECT_TRUE(subKeys(create(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Classes"))).isEmpty());
}

TEST_F(CreateObjectTest, UnregisteringKeepsAnIdentifierTakenOverByAnotherModule)
{
    using Scope = ComponentRegistration::Scope;
    ASSERT_EQ(ComponentRegistration::registerModule(RecorderModule, Scope::CurrentUser), 0);
    ASSERT_EQ(ComponentRegistration::registerModule(SyslogModule, Scope::CurrentUser), 0);
    ASSERT_EQ(ComponentRegistration::unregisterModule(RecorderModule, Scope::CurrentUser), 0);
    const std::unique_ptr<QObject> logger = CreateObject(ProgId);
    EXPECT_STREQ(logger->metaObject()->className(), "eventlogger::SyslogEventLogger");

    ASSERT_EQ(ComponentRegistration::unregisterModule(SyslogModule, Scope::CurrentUser), 0);
    EXPECT_EQ(creationError(ProgId).first, 429);
    EXPECT_EQ(open(Registry::HKEY_CLASSES_ROOT, QStringLiteral("CLSID\\") + SyslogClass), 0u);
    // Unregistering again finds nothing to remove and is no failure.
    EXPECT_EQ(ComponentRegistration::unregisterModule(SyslogModule, Scope::CurrentUser), 0);
}

TEST_F(CreateObjectTest, RegistrationToolRegistersAndRemoves)
{
    const auto run = [](const QStringList &args) {
        QProcess tool;
        tool.start(corvid::test::builtProgram(QStringLiteral("tessera-regsvr")), args);
        EXPECT_TRUE(tool.waitForFinished(30000));
        return tool.exitCode();
    };
    EXPECT_EQ(run({QStringLiteral("/s"), SyslogModule}), 0);
    Registry::closeAllHives();
    EXPECT_NE(CreateObject(ProgId), nullptr);
    EXPECT_EQ(run({QStringLiteral("/u"), SyslogModule}), 0);
    Registry::closeAllHives();
    EXPECT_EQ(creationError(ProgId).first, 429);
    EXPECT_EQ(run({path(QStringLiteral("gone.so"))}), 1);
    EXPECT_EQ(run({}), 2);
    EXPECT_EQ(run({SyslogModule, SyslogModule}), 2);
    EXPECT_EQ(run({QStringLiteral("--help")}), 0);
    EXPECT_EQ(run({QStringLiteral("/?")}), 0);
}

} // namespace
