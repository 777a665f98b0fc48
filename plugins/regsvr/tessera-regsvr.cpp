// tessera-regsvr: registers a component module in the registry's classes
// root, as the original platform's regsvr32 registered its servers.
//
//     tessera-regsvr [/u] [/machine] [/s] MODULE.so
//
// /u removes the registration, /machine works on the machine's hive instead
// of the current user's, /s prints nothing on success. The exit code is 0 on
// success, else 1 (2 for a bad command line).
#include "platform/ComponentRegistration.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

using tessera::ComponentRegistration;

namespace {

int usage()
{
    std::fputs("usage: tessera-regsvr [/u] [/machine] [/s] MODULE\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    bool unregister = false;
    bool silent = false;
    auto scope = ComponentRegistration::Scope::CurrentUser;
    QString module;
    const QStringList args = app.arguments().mid(1);
    for (const QString &arg : args) {
        if (arg.compare(QLatin1String("/u"), Qt::CaseInsensitive) == 0)
            unregister = true;
        else if (arg.compare(QLatin1String("/machine"), Qt::CaseInsensitive) == 0)
            scope = ComponentRegistration::Scope::Machine;
        else if (arg.compare(QLatin1String("/s"), Qt::CaseInsensitive) == 0)
            silent = true;
        // Anything else names the module (an absolute path starts with "/" too).
        else if (module.isEmpty())
            module = arg;
        else
            return usage();
    }
    if (module.isEmpty())
        return usage();

    QString error;
    const qint32 rc = unregister ? ComponentRegistration::unregisterModule(module, scope, &error)
                                 : ComponentRegistration::registerModule(module, scope, &error);
    if (rc != 0) {
        std::fprintf(stderr, "tessera-regsvr: %s\n", qUtf8Printable(error));
        return 1;
    }
    if (!silent)
        std::printf("%s %s\n", unregister ? "Unregistered" : "Registered", qUtf8Printable(module));
    return 0;
}
